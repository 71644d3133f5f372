// Number display and the rotation test of stepped lines.
#include "plugin/palette/PaletteNumbers.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "host/api/HostRuntime.h"
#include "plugin/palette/TextProperties.h"

TEST(PaletteNumbers, WholeNumbersTruncateTowardZeroAndStayInRange) {
    EXPECT_EQ(formatWhole(3), "3");
    EXPECT_EQ(formatWhole(-7.6), "-7");
    EXPECT_EQ(formatWhole(7.99), "7");
    EXPECT_EQ(formatWhole(-0.4), "0");
    EXPECT_EQ(formatWhole(1e300), "2147483647");
    EXPECT_EQ(formatWhole(-1e300), "-2147483648");
    EXPECT_EQ(formatWhole(std::numeric_limits<double>::quiet_NaN()), "0");
}

TEST(PaletteNumbers, DegreesAreRoundedToTheNearestWholeDegree) {
    // Held in radians, these come back a hair below the whole degree.
    for (int degrees : {15, 30, 45, 60, 90, 120, 135, 180, 270})
        EXPECT_EQ(formatDegrees(degrees * kDegreesToRadians), std::to_string(degrees)) << degrees;
    EXPECT_EQ(formatDegrees(14.4 * kDegreesToRadians), "14");
    EXPECT_EQ(formatDegrees(-30 * kDegreesToRadians), "-30");
    EXPECT_EQ(formatDegrees(0), "0");
}

TEST(PaletteNumbers, DistancesFollowTheDrawingUnitsWithOneDecimal) {
    kestrin::host::HostRuntime::instance().reset();
    EXPECT_EQ(std::atof(formatDistance(2.5).c_str()), 2.5);
    EXPECT_EQ(std::atof(formatDistance(1.04).c_str()), 1.0);
    EXPECT_EQ(std::atof(formatDistance(15.0).c_str()), 15.0);
}

TEST(PaletteNumbers, RotationTestAcceptsQuarterTurnsInsideAndTheTwoExactTexts) {
    for (const char* yes : {"0", "90", "45", "0.5", "89.9", "91", "179.9", "181", "269", "271", "359.99", "45abc"})
        EXPECT_TRUE(rotationAllowsOffset(yes)) << yes;
    for (const char* no : {"180", "270", "0.0", "90.0", "00", "-45", "-0", "360", "400", "", "abc", " 90"})
        EXPECT_FALSE(rotationAllowsOffset(no)) << no;
}
