// How the palette reads and shows numbers: texts are parsed with atof/atoi
// where they are used; distances by the host's number text, angles and
// offsets as whole numbers.
#pragma once

#include <string>

// A height, width factor or angle in the drawing's linear units, one decimal.
std::string formatDistance(double value);
// "%i" of the value truncated toward zero (offsets); values beyond the int
// range are clamped to it, and NaN shows as 0.
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
