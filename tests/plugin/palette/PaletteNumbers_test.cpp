// Number display and the rotation test of stepped lines.
#include "plugin/palette/PaletteNumbers.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "host/api/HostRuntime.h"
#include "plugin/palette/TextProperties.h"

// A field never shows a wrapped or clamped integer: a value beyond the int
// range shows its own digits.
TEST(PaletteNumbers, WholeNumbersTruncateTowardZeroAndAreNeverWrapped) {
    EXPECT_EQ(formatWhole(3), "3");
    EXPECT_EQ(formatWhole(-7.6), "-7");
    EXPECT_EQ(formatWhole(7.99), "7");
    EXPECT_EQ(formatWhole(-0.4), "0");
    EXPECT_EQ(formatWhole(3e9), "3000000000");
    EXPECT_EQ(formatWhole(-kMaxOffset), "-1000000000000");
    EXPECT_EQ(formatWhole(1e30), "1000000000000000019884624838656");
    EXPECT_EQ(formatWhole(std::numeric_limits<double>::quiet_NaN()), "0");
    EXPECT_EQ(formatWhole(std::numeric_limits<double>::infinity()), "0");
    EXPECT_EQ(formatDegrees(3e9 * kDegreesToRadians), "3000000000");
}

TEST(PaletteNumbers, RotationsAreBroughtIntoOneTurnAndNonFiniteOnesRefused) {
    double radians = -1;
    ASSERT_TRUE(rotationFromDegrees(450, radians));
    EXPECT_EQ(formatDegrees(radians), "90");
    ASSERT_TRUE(rotationFromDegrees(-90, radians));
    EXPECT_EQ(formatDegrees(radians), "270");
    ASSERT_TRUE(rotationFromDegrees(1e308, radians));
    EXPECT_GE(radians, 0);
    EXPECT_LT(radians, 2 * 3.141592653589793);
    ASSERT_TRUE(rotationFromDegrees(15, radians));
    EXPECT_EQ(radians, 15 * kDegreesToRadians) << "an angle inside the turn is taken exactly";
    radians = 1;
    EXPECT_FALSE(rotationFromDegrees(std::numeric_limits<double>::infinity(), radians));
    EXPECT_FALSE(rotationFromDegrees(std::nan(""), radians));
    EXPECT_EQ(radians, 1);

    double picked = 1.7e308 * kDegreesToRadians;  // as a drawing may hold it
    ASSERT_TRUE(normaliseRotation(picked));
    EXPECT_GE(picked, 0);
    EXPECT_LT(picked, 2 * 3.141592653589793);
    double kept = 0.2617993877991494;
    ASSERT_TRUE(normaliseRotation(kept));
    EXPECT_EQ(kept, 0.2617993877991494);
    double negative = -kDegreesToRadians * 30;
    ASSERT_TRUE(normaliseRotation(negative));
    EXPECT_EQ(formatDegrees(negative), "330");
    double bad = std::numeric_limits<double>::infinity();
    EXPECT_FALSE(normaliseRotation(bad));
}

TEST(PaletteNumbers, SizesSlantsAndOffsetsHaveNamedBounds) {
    EXPECT_TRUE(isTextSize(2.5));
    EXPECT_TRUE(isTextSize(kMaxTextSize));
    for (double bad : {0.0, -1.0, 1e13, std::numeric_limits<double>::infinity(), std::nan("")})
        EXPECT_FALSE(isTextSize(bad)) << bad;
    EXPECT_TRUE(isSlantDegrees(-85));
    EXPECT_TRUE(isSlantDegrees(85));
    EXPECT_FALSE(isSlantDegrees(85.5));
    EXPECT_FALSE(isSlantDegrees(std::nan("")));
    EXPECT_TRUE(isOffset(-kMaxOffset));
    EXPECT_FALSE(isOffset(1e13));
}

TEST(PaletteNumbers, WholeNumbersAreReadLikeAtoiWithoutOverflow) {
    EXPECT_EQ(parseWhole(" -12x"), -12);
    EXPECT_EQ(parseWhole("7.9"), 7);
    EXPECT_EQ(parseWhole(""), 0);
    EXPECT_EQ(parseWhole("- 3"), 0);
    EXPECT_DOUBLE_EQ(parseWhole("99999999999999999999"), 1e20);
    EXPECT_TRUE(holdsNumber(" 5"));
    EXPECT_TRUE(holdsNumber("0"));
    for (const char* none : {"", "-", ".", " ", "abc"}) EXPECT_FALSE(holdsNumber(none)) << none;
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
