#include "plugin/palette/PaletteModel.h"

#include <cstdlib>

#include "base/Cp1251.h"
#include "host/api/Arx.h"
#include "plugin/frame/SystemVariables.h"
#include "plugin/palette/PaletteNumbers.h"

using namespace kestrin::literals;

bool PaletteModel::take(Box box, bool valid, const std::function<void()>& store) {
    if (!valid) return false;
    refused_[box] = false;
    store();
    return true;
}

bool PaletteModel::takeHeight(double height) {
    return take(kHeight, isTextSize(height), [&] { record_.height = height; });
}

bool PaletteModel::takeWidthOfLine(double widthFactor) {
    return take(kWidth, isTextSize(widthFactor), [&] { record_.widthFactor = widthFactor; });
}

bool PaletteModel::takeWidthOfStyle(double widthFactor, const std::string& styleName) {
    return take(kWidth, isTextSize(widthFactor), [&] { preview_.setWidthOfStyle(widthFactor, styleName); });
}

bool PaletteModel::takeSlantOfLine(double degrees) {
    return take(kSlant, isSlantDegrees(degrees), [&] { record_.oblique = degrees * kDegreesToRadians; });
}

bool PaletteModel::takeSlantOfStyle(double degrees) {
    return take(kSlant, isSlantDegrees(degrees), [&] { preview_.setSlantDegrees(degrees); });
}

bool PaletteModel::takeRotation(double degrees) {
    double radians = 0;
    return take(kRotation, rotationFromDegrees(degrees, radians), [&] { record_.rotation = radians; });
}

bool PaletteModel::takeOffsetX(double offset) {
    return take(kOffsetX, isOffset(offset), [&] { record_.offsetX = offset; });
}

bool PaletteModel::takeOffsetY(double offset) {
    return take(kOffsetY, isOffset(offset), [&] { record_.offsetY = offset; });
}

void PaletteModel::refuse(Box box) {
    if (refused_[box]) return;
    refused_[box] = true;
    acutPrintf("%s", refusal(box).c_str());
}

void PaletteModel::forgetRefusals() {
    for (bool& r : refused_) r = false;
}

bool PaletteModel::putBack(Box box) {
    if (!refused_[box]) return false;
    refused_[box] = false;
    return true;
}

namespace {

std::string sizeRefusal(const std::string& what) {
    return what + " должна быть больше 0 и не больше "_cp + formatWhole(kMaxTextSize) + ".\n";
}

std::string rangeRefusal(const std::string& what, double bound) {
    const std::string b = formatWhole(bound);
    return what + " от -"_cp + b + " до "_cp + b + ".\n";
}

}  // namespace

std::string PaletteModel::refusal(Box box) {
    switch (box) {
        case kHeight: return sizeRefusal("\nВысота букв"_cp);
        case kWidth: return sizeRefusal("\nШирина букв"_cp);
        case kSlant: return rangeRefusal("\nНаклон должен быть"_cp, kMaxSlantDegrees);
        case kRotation: return "\nПоворот текста должен быть конечным числом градусов.\n"_cp;
        case kOffsetX:
        case kOffsetY: return rangeRefusal("\nСмещение должно быть"_cp, kMaxOffset);
        case kBoxes: break;
    }
    return {};
}

std::string PaletteModel::inForce(Box box) const {
    switch (box) {
        case kHeight: {
            double height = record_.height;
            if (height == 0) getRealVar("TEXTSIZE", height);  // shown while the record's is unknown
            return formatDistance(height);
        }
        case kWidth: return formatDistance(record_.widthFactor);
        case kSlant: return formatDistance(record_.oblique * kRadiansToDegrees);
        case kRotation: return formatDegrees(record_.rotation);
        case kOffsetX: return record_.offsetX == 0 ? std::string() : formatWhole(record_.offsetX);
        case kOffsetY: return record_.offsetY == 0 ? std::string() : formatWhole(record_.offsetY);
        case kBoxes: break;
    }
    return {};
}

bool PaletteModel::offsetMode(const std::string& offsetX, const std::string& offsetY) {
    return std::atof(offsetX.c_str()) != 0 || std::atof(offsetY.c_str()) != 0;
}

void PaletteModel::stepByOffsets(const std::string& rotation, const std::string& offsetX, const std::string& offsetY) {
    if (!rotationAllowsOffset(rotation)) return;
    const double dx = std::atof(offsetX.c_str());
    const double dy = std::atof(offsetY.c_str());
    if (!isOffset(dx) || !isOffset(dy)) return;  // refused when typed; the line stays
    record_.insertionPoint.x += dx;
    record_.insertionPoint.y += dy;
}

bool PaletteModel::learnOffsets(double dx, double dy) {
    if (!isOffset(dx)) refuse(kOffsetX);
    if (!isOffset(dy)) refuse(kOffsetY);
    if (!isOffset(dx) || !isOffset(dy)) return false;
    record_.offsetX = dx;
    record_.offsetY = dy;
    return true;
}

void PaletteModel::moveTextFrom(const AcGePoint3d& from) {
    if (!preview_.moveText(from, record_.insertionPoint)) record_.insertionPoint = from;
}
