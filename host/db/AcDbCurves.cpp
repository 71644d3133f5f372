#include "host/db/AcDbCurves.h"

#include <cmath>

#include "host/db/RecordTags.h"

using namespace kestrin::db;

namespace {
const Subclass kLine{"AcDbLine", 0, {39, 10, 20, 30, 11, 21, 31, 210, 220, 230}};
const Subclass kCircle{"AcDbCircle", 0, {39, 10, 20, 30, 40, 210, 220, 230}};

bool finite(const AcGePoint3d& p) { return std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z); }
}  // namespace

ACRX_DEFINE_MEMBERS(AcDbLine, AcDbEntity)

AcDbLine::AcDbLine() : AcDbEntity("LINE") {
    writeRecord().tags.push(100, "AcDbLine");
    setPointTag(writeRecord(), kLine, 10, AcGePoint3d::kOrigin);
    setPointTag(writeRecord(), kLine, 11, AcGePoint3d::kOrigin);
}

AcDbLine::AcDbLine(const AcGePoint3d& start, const AcGePoint3d& end) : AcDbLine() {
    setStartPoint(start);
    setEndPoint(end);
}

AcGePoint3d AcDbLine::startPoint() const { return pointTag(readRecord(), kLine, 10).value_or(AcGePoint3d::kOrigin); }
AcGePoint3d AcDbLine::endPoint() const { return pointTag(readRecord(), kLine, 11).value_or(AcGePoint3d::kOrigin); }

Acad::ErrorStatus AcDbLine::setStartPoint(const AcGePoint3d& p) {
    if (!finite(p)) return Acad::eInvalidInput;
    setPointTag(writeRecord(), kLine, 10, p);
    return Acad::eOk;
}

Acad::ErrorStatus AcDbLine::setEndPoint(const AcGePoint3d& p) {
    if (!finite(p)) return Acad::eInvalidInput;
    setPointTag(writeRecord(), kLine, 11, p);
    return Acad::eOk;
}

ACRX_DEFINE_MEMBERS(AcDbCircle, AcDbEntity)

AcDbCircle::AcDbCircle() : AcDbEntity("CIRCLE") {
    writeRecord().tags.push(100, "AcDbCircle");
    setPointTag(writeRecord(), kCircle, 10, AcGePoint3d::kOrigin);
    setRealTag(writeRecord(), kCircle, 40, 1.0);
}

AcDbCircle::AcDbCircle(const AcGePoint3d& c, double r) : AcDbCircle() {
    setCenter(c);
    setRadius(r);
}

AcGePoint3d AcDbCircle::center() const { return pointTag(readRecord(), kCircle, 10).value_or(AcGePoint3d::kOrigin); }

Acad::ErrorStatus AcDbCircle::setCenter(const AcGePoint3d& p) {
    if (!finite(p)) return Acad::eInvalidInput;
    setPointTag(writeRecord(), kCircle, 10, p);
    return Acad::eOk;
}

double AcDbCircle::radius() const { return realTag(readRecord(), kCircle, 40, 0); }

Acad::ErrorStatus AcDbCircle::setRadius(double r) {
    if (!std::isfinite(r) || r <= 0) return Acad::eInvalidInput;
    setRealTag(writeRecord(), kCircle, 40, r);
    return Acad::eOk;
}
