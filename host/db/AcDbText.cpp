#include "host/db/AcDbText.h"

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <numbers>
#include <utility>

#include "host/db/DrawingStore.h"
#include "host/db/HeaderVariables.h"

using namespace kestrin::db;

namespace {

const Subclass kText{"AcDbText", 0, {10, 20, 30, 40, 1, 50, 41, 51, 7, 71, 72, 11, 21, 31, 210, 220, 230}};
constexpr double kDegree = std::numbers::pi / 180.0;
constexpr double kMaxOblique = 85.0 * kDegree;

double degreesToRadians(double degrees) { return degrees * kDegree; }

}  // namespace

ACRX_DEFINE_MEMBERS(AcDbText, AcDbEntity)

AcDbText::AcDbText() : AcDbText(AcGePoint3d::kOrigin, "") {}

AcDbText::AcDbText(const AcGePoint3d& position, const char* text, AcDbObjectId style, double height, double rotation)
    : AcDbText("TEXT", nullptr) {
    setPosition(position);
    setTextString(text != nullptr ? text : "");
    if (std::isfinite(height) && height > 0) setHeight(height);
    if (rotation != 0) setRotation(rotation);
    if (!style.isNull()) setTextStyle(style);
}

AcDbText::AcDbText(const char* dxfType, const char* ownMarker) : AcDbEntity(dxfType), ownMarker_(ownMarker) {
    auto& tags = writeRecord().tags;
    tags.push(100, "AcDbText");
    tags.push(10, "0.0");
    tags.push(20, "0.0");
    tags.push(30, "0.0");
    tags.push(40, "0.0");
    tags.push(1, "");
    if (ownMarker == nullptr) tags.push(100, "AcDbText");  // the section of the vertical mode
}

Subclass AcDbText::verticalSection() const {
    if (ownMarker_ == nullptr) return Subclass{"AcDbText", 1, {73}};
    return Subclass{ownMarker_, 0, {280, 3, 2, 70, 73, 74}};
}

int AcDbText::verticalCode() const { return ownMarker_ == nullptr ? 73 : 74; }

AcGePoint3d AcDbText::position() const { return pointTag(readRecord(), kText, 10).value_or(AcGePoint3d::kOrigin); }

Acad::ErrorStatus AcDbText::setPosition(const AcGePoint3d& p) {
    if (!std::isfinite(p.x) || !std::isfinite(p.y) || !std::isfinite(p.z)) return Acad::eInvalidInput;
    setPointTag(writeRecord(), kText, 10, p);
    return Acad::eOk;
}

AcGePoint3d AcDbText::alignmentPoint() const {
    const auto& record = readRecord();
    if (auto p = pointTag(record, kText, 11)) return *p;
    return position();
}

Acad::ErrorStatus AcDbText::setAlignmentPoint(const AcGePoint3d& p) {
    if (!std::isfinite(p.x) || !std::isfinite(p.y) || !std::isfinite(p.z)) return Acad::eInvalidInput;
    setPointTag(writeRecord(), kText, 11, p);
    return Acad::eOk;
}

char* AcDbText::textString() const {
    const std::string text = stringTag(readRecord(), kText, 1);
    char* out = static_cast<char*>(std::malloc(text.size() + 1));
    std::memcpy(out, text.c_str(), text.size() + 1);
    return out;
}

const char* AcDbText::textStringConst() const {
    const auto value = tagValue(readRecord(), kText, 1);
    return value ? keptString(*value) : "";
}

Acad::ErrorStatus AcDbText::setTextString(const char* text) {
    if (text == nullptr) return Acad::eInvalidInput;
    if (std::strpbrk(text, "\r\n") != nullptr) return Acad::eInvalidInput;  // one line only
    setTag(writeRecord(), kText, 1, text);
    return Acad::eOk;
}

AcDbObjectId AcDbText::textStyle() const {
    const std::string name = stringTag(readRecord(), kText, 7, "Standard");
    if (store() == nullptr) return AcDbObjectId::kNull;
    return AcDbObjectId(store()->findTableEntry("STYLE", name, false));
}

Acad::ErrorStatus AcDbText::setTextStyle(AcDbObjectId style) {
    if (style.isNull()) return Acad::eNullObjectId;
    const Entry* e = style.entry();
    if (e->place != Place::TableEntry || e->record.type != "STYLE") return Acad::eNotThatKindOfClass;
    if (store() != nullptr && e->store != store()) return Acad::eInvalidInput;  // a style of another drawing
    setTag(writeRecord(), kText, 7, DrawingStore::recordName(*e));
    return Acad::eOk;
}

double AcDbText::height() const { return realTag(readRecord(), kText, 40, 0); }

Acad::ErrorStatus AcDbText::setHeight(double h) {
    if (!std::isfinite(h) || h <= 0) return Acad::eInvalidInput;
    setRealTag(writeRecord(), kText, 40, h);
    return Acad::eOk;
}

double AcDbText::widthFactor() const { return realTag(readRecord(), kText, 41, 1.0); }

Acad::ErrorStatus AcDbText::setWidthFactor(double f) {
    if (!std::isfinite(f) || f <= 0) return Acad::eInvalidInput;
    setRealTag(writeRecord(), kText, 41, f);
    return Acad::eOk;
}

double AcDbText::oblique() const { return degreesToRadians(realTag(readRecord(), kText, 51, 0)); }

Acad::ErrorStatus AcDbText::setOblique(double angle) {
    if (!std::isfinite(angle) || std::fabs(angle) > kMaxOblique + 1e-12) return Acad::eInvalidInput;
    setRealTag(writeRecord(), kText, 51, toDegrees(angle));
    return Acad::eOk;
}

double AcDbText::rotation() const { return degreesToRadians(realTag(readRecord(), kText, 50, 0)); }

Acad::ErrorStatus AcDbText::setRotation(double angle) {
    // The record keeps degrees: a finite angle in radians may still have no
    // finite value in degrees, and a drawing holding one cannot be saved.
    const double degrees = toDegrees(angle);
    if (!std::isfinite(angle) || !std::isfinite(degrees)) return Acad::eInvalidInput;
    setRealTag(writeRecord(), kText, 50, degrees);
    return Acad::eOk;
}

AcDb::TextHorzMode AcDbText::horizontalMode() const {
    const long long mode = integerTag(readRecord(), kText, 72, 0);
    return mode >= 0 && mode <= 5 ? static_cast<AcDb::TextHorzMode>(mode) : AcDb::kTextLeft;
}

Acad::ErrorStatus AcDbText::setHorizontalMode(AcDb::TextHorzMode mode) {
    if (mode < AcDb::kTextLeft || mode > AcDb::kTextFit) return Acad::eInvalidInput;
    auto& record = writeRecord();
    // A justified text is placed by its alignment point: give it one.
    if (mode != AcDb::kTextLeft && !pointTag(record, kText, 11)) setPointTag(record, kText, 11, position());
    setIntegerTag(record, kText, 72, mode);
    return Acad::eOk;
}

AcDb::TextVertMode AcDbText::verticalMode() const {
    const long long mode = integerTag(readRecord(), verticalSection(), verticalCode(), 0);
    return mode >= 0 && mode <= 3 ? static_cast<AcDb::TextVertMode>(mode) : AcDb::kTextBase;
}

Acad::ErrorStatus AcDbText::setVerticalMode(AcDb::TextVertMode mode) {
    if (mode < AcDb::kTextBase || mode > AcDb::kTextTop) return Acad::eInvalidInput;
    auto& record = writeRecord();
    if (mode != AcDb::kTextBase && !pointTag(record, kText, 11)) setPointTag(record, kText, 11, position());
    setIntegerTag(record, verticalSection(), verticalCode(), mode);
    return Acad::eOk;
}

void AcDbText::onAppend(DrawingStore& store) {
    auto& record = writeRecord();
    if (realTag(record, kText, 40, 0) <= 0) {
        const auto size = readVariable(std::as_const(store).header(), "TEXTSIZE");
        setRealTag(record, kText, 40, size && size->real > 0 ? size->real : 2.5);
    }
    if (!tagValue(record, kText, 7)) {
        const auto style = readVariable(std::as_const(store).header(), "TEXTSTYLE");
        setTag(record, kText, 7, style && !style->text.empty() ? style->text : "Standard");
    }
}
