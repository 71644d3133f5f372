#include "plugin/palette/PaletteNumbers.h"

#include <cctype>
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

constexpr double kFullTurn = 6.283185307179586;

// Whole digits of a value already truncated or rounded; never "-0".
std::string formatIntegral(double value) {
    if (!std::isfinite(value) || value == 0) return "0";
    char text[400];
    std::snprintf(text, sizeof text, "%.0f", value);
    return text;
}

}  // namespace

bool isTextSize(double value) { return std::isfinite(value) && value > 0 && value <= kMaxTextSize; }

bool isSlantDegrees(double degrees) { return std::isfinite(degrees) && std::fabs(degrees) <= kMaxSlantDegrees; }

bool isOffset(double value) { return std::isfinite(value) && std::fabs(value) <= kMaxOffset; }

bool rotationFromDegrees(double degrees, double& radians) {
    if (!std::isfinite(degrees)) return false;
    if (degrees < 0 || degrees >= 360) {
        degrees = std::fmod(degrees, 360.0);
        if (degrees < 0) degrees += 360;
        if (degrees >= 360) degrees = 0;
    }
    radians = degrees * kDegreesToRadians;
    return true;
}

bool normaliseRotation(double& radians) {
    if (!std::isfinite(radians)) return false;
    if (radians >= 0 && radians < kFullTurn) return true;
    double turned = std::fmod(radians, kFullTurn);
    if (turned < 0) turned += kFullTurn;
    radians = turned >= kFullTurn ? 0 : turned;
    return true;
}

bool holdsNumber(const std::string& text) {
    const char* start = text.c_str();
    char* end = nullptr;
    std::strtod(start, &end);
    return end != start;
}

double parseWhole(const std::string& text) {
    std::size_t i = 0;
    while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i]))) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    double value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) value = value * 10 + (text[i] - '0');
    return negative ? -value : value;
}

std::string formatWhole(double value) { return formatIntegral(std::trunc(value)); }

std::string formatDegrees(double radians) { return formatIntegral(std::round(radians * kRadiansToDegrees)); }

bool rotationAllowsOffset(const std::string& rotationText) {
    if (rotationText == "0" || rotationText == "90") return true;
    const double degrees = std::atof(rotationText.c_str());
    return (degrees > 0 && degrees < 90) || (degrees > 90 && degrees < 180) || (degrees > 180 && degrees < 270) ||
           (degrees > 270 && degrees < 360);
}
