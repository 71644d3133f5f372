#include "plugin/palette/PaletteNumbers.h"

#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "host/api/Arx.h"
#include "plugin/palette/TextProperties.h"

std::string formatDistance(double value) {
    char text[128] = "";
    if (acdbRToS(value, -1, 1, text) != RTNORM) return {};
    return text;
}

namespace {

int clampToInt(double value) {
    if (std::isnan(value)) return 0;
    if (value >= static_cast<double>(INT_MAX)) return INT_MAX;
    if (value <= static_cast<double>(INT_MIN)) return INT_MIN;
    return static_cast<int>(value);  // truncates toward zero
}

std::string formatInt(int value) {
    char text[16];
    std::snprintf(text, sizeof text, "%i", value);
    return text;
}

}  // namespace

std::string formatWhole(double value) { return formatInt(clampToInt(value)); }

std::string formatDegrees(double radians) { return formatInt(clampToInt(std::round(radians * kRadiansToDegrees))); }

bool rotationAllowsOffset(const std::string& rotationText) {
    if (rotationText == "0" || rotationText == "90") return true;
    const double degrees = std::atof(rotationText.c_str());
    return (degrees > 0 && degrees < 90) || (degrees > 90 && degrees < 180) || (degrees > 180 && degrees < 270) ||
           (degrees > 270 && degrees < 360);
}
