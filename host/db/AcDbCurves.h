// The simple entities the host models besides texts: lines and circles.
#pragma once

#include "host/db/AcDbEntity.h"

class AcDbLine : public AcDbEntity {
public:
    ACRX_DECLARE_MEMBERS(AcDbLine)
    AcDbLine();
    AcDbLine(const AcGePoint3d& start, const AcGePoint3d& end);
    AcGePoint3d startPoint() const;
    AcGePoint3d endPoint() const;
    Acad::ErrorStatus setStartPoint(const AcGePoint3d& point);
    Acad::ErrorStatus setEndPoint(const AcGePoint3d& point);
};

class AcDbCircle : public AcDbEntity {
public:
    ACRX_DECLARE_MEMBERS(AcDbCircle)
    AcDbCircle();
    AcDbCircle(const AcGePoint3d& center, double radius);
    AcGePoint3d center() const;
    Acad::ErrorStatus setCenter(const AcGePoint3d& point);
    double radius() const;
    Acad::ErrorStatus setRadius(double radius);  // eInvalidInput for 0 or less
};
