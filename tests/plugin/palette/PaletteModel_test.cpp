// The palette's model over the line's record: takes checked against the
// bounds, refusals said once and put back, and the step from line to line.
#include "plugin/palette/PaletteModel.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "base/Cp1251.h"
#include "tests/host/api/HostFixture.h"

using namespace kestrin::literals;

namespace {

class PaletteModelTest : public kestrin::test::HostTest {
protected:
    TextProperties record;
    PalettePreview preview{record};
    PaletteModel model{record, preview};
};

TEST_F(PaletteModelTest, ValuesBeyondTheBoundsAreNotTakenAndTheRecordKeepsItsOwn) {
    record.height = 2.5;
    EXPECT_FALSE(model.takeHeight(0));
    EXPECT_FALSE(model.takeHeight(2e12));
    EXPECT_EQ(record.height, 2.5);
    EXPECT_TRUE(model.takeHeight(7));
    EXPECT_EQ(record.height, 7);
    EXPECT_FALSE(model.takeSlantOfLine(86));
    EXPECT_TRUE(model.takeSlantOfLine(-15));
    EXPECT_NEAR(record.oblique, -15 * std::numbers::pi / 180, 1e-15);
    EXPECT_FALSE(model.takeRotation(std::nan("")));
    EXPECT_TRUE(model.takeRotation(450));
    EXPECT_EQ(model.inForce(PaletteModel::kRotation), "90") << "brought into one turn";
    EXPECT_FALSE(model.takeOffsetX(-2e12));
    EXPECT_TRUE(model.takeOffsetY(-10));
    EXPECT_EQ(model.inForce(PaletteModel::kOffsetY), "-10");
    EXPECT_EQ(model.inForce(PaletteModel::kOffsetX), "") << "no step shows as an empty box";
}

TEST_F(PaletteModelTest, ARefusalIsSaidOnceUntilTheBoxTakesAValueOrIsPutBack) {
    model.refuse(PaletteModel::kHeight);
    model.refuse(PaletteModel::kHeight);
    const std::string said = "\nВысота букв должна быть больше 0 и не больше 1000000000000.\n"_cp;
    std::string out = output();
    ASSERT_NE(out.find(said), std::string::npos) << out;
    EXPECT_EQ(out.find(said, out.find(said) + 1), std::string::npos) << "once";
    EXPECT_TRUE(model.refused(PaletteModel::kHeight));
    EXPECT_TRUE(model.putBack(PaletteModel::kHeight));
    EXPECT_FALSE(model.putBack(PaletteModel::kHeight)) << "nothing left to put back";
    model.refuse(PaletteModel::kHeight);
    out = output();
    EXPECT_NE(out.find(said, out.find(said) + 1), std::string::npos) << "said again after the put-back";
    EXPECT_TRUE(model.takeHeight(3));
    EXPECT_FALSE(model.refused(PaletteModel::kHeight)) << "a taken value ends the refusal";
}

TEST_F(PaletteModelTest, TheStepMovesTheNextLineOnlyWhereTheRotationAndTheBoundsAllowIt) {
    EXPECT_FALSE(PaletteModel::offsetMode("", "0"));
    EXPECT_TRUE(PaletteModel::offsetMode("", "-10"));
    record.insertionPoint = AcGePoint3d(5, 50, 0);
    model.stepByOffsets("0", "", "-10");
    EXPECT_EQ(record.insertionPoint.y, 40);
    model.stepByOffsets("180", "", "-10");
    EXPECT_EQ(record.insertionPoint.y, 40) << "a half turn keeps the line where it is";
    model.stepByOffsets("0", "2e12", "-10");
    EXPECT_EQ(record.insertionPoint.y, 40) << "a step beyond the bounds is not taken";

    record.offsetX = 3;
    EXPECT_FALSE(model.learnOffsets(2e12, 5));
    EXPECT_EQ(record.offsetX, 3) << "the old step stays";
    EXPECT_NE(output().find("\nСмещение должно быть от -1000000000000 до 1000000000000.\n"_cp), std::string::npos);
    EXPECT_TRUE(model.refused(PaletteModel::kOffsetX));
    EXPECT_FALSE(model.refused(PaletteModel::kOffsetY));
    EXPECT_TRUE(model.learnOffsets(0, -12.5));
    EXPECT_EQ(record.offsetY, -12.5) << "exact, as picked";
}

}  // namespace
