// How the palette reads and shows numbers: texts are parsed with atof/atoi
// where they are used; distances by the host's number text, angles and
// offsets as whole numbers.
#pragma once

#include <string>

// What the palette takes from the user or from a drawing. A value beyond
// these is refused before it reaches an entity, a style or a system
// variable: the host draws nothing sensible with it and a drawing holding
// an overflowing one cannot be saved.
inline constexpr double kMaxTextSize = 1e12;    // height and width factor: above 0, up to this
inline constexpr double kMaxSlantDegrees = 85;  // the host's limit of the obliquing angle, either way
inline constexpr double kMaxOffset = 1e12;      // the step to the next line, on either axis

bool isTextSize(double value);
bool isSlantDegrees(double degrees);
bool isOffset(double value);
// A rotation in degrees, any finite one, as radians in [0, 2 pi). False,
// leaving `radians` alone, for NaN and infinity.
bool rotationFromDegrees(double degrees, double& radians);
// A rotation in radians brought into [0, 2 pi); an angle already there is
// kept exactly. False, leaving it alone, for NaN and infinity.
bool normaliseRotation(double& radians);
// Whether atof would read a number from `text` (not so for "", "-", ".").
bool holdsNumber(const std::string& text);
// atoi's reading (leading blanks, a sign, digits) without its overflow.
double parseWhole(const std::string& text);

// A height, width factor or angle in the drawing's linear units, one decimal.
std::string formatDistance(double value);
// The value truncated toward zero, in whole digits however large (offsets);
// NaN and infinity show as 0.
std::string formatWhole(double value);
// An angle in radians shown in whole degrees, rounded to the nearest degree
// so that 15 degrees held as 14.999999999999998 still shows 15.
std::string formatDegrees(double radians);

// Whether a new or moved line is stepped by the offsets at this rotation
// text: exactly "0" or "90", or a value strictly inside one of the quarter
// turns 0-90, 90-180, 180-270, 270-360. Other spellings of 0 and 90, the
// values 180 and 270, negative values and 360 or more keep the line where
// the old one is.
bool rotationAllowsOffset(const std::string& rotationText);
