// AcDbMText: multiline text. Its contents may be longer than one DXF tag
// holds: the record keeps them in 250-byte group 3 chunks before group 1.
#pragma once

#include "host/db/AcDbEntity.h"

class AcDbMText : public AcDbEntity {
public:
    ACRX_DECLARE_MEMBERS(AcDbMText)
    AcDbMText();

    char* contents() const;  // a copy the caller frees with free()
    Acad::ErrorStatus setContents(const char* text);
    AcGePoint3d location() const;
    Acad::ErrorStatus setLocation(const AcGePoint3d& point);
    double textHeight() const;
    Acad::ErrorStatus setTextHeight(double height);  // eInvalidInput for 0 or less
    double width() const;
    Acad::ErrorStatus setWidth(double width);  // eInvalidInput below 0

protected:
    void onAppend(kestrin::db::DrawingStore& store) override;
};
