// The shape-code decoder that the font reader and the shape compiler share:
// each command with its operands, lists ended by 0,0, and where it stops.
#include "render/ShapeCodes.h"

#include <gtest/gtest.h>

namespace kestrin::render {
namespace {

using Kind = ShapeCommand::Kind;

std::string bytes(std::initializer_list<int> values) {
    std::string out;
    for (int v : values) out += static_cast<char>(static_cast<unsigned char>(v & 0xFF));
    return out;
}

std::vector<ShapeCommand> decodeAll(const std::string& codes, std::optional<ShapeDecodeError>* error = nullptr) {
    std::vector<ShapeCommand> out;
    auto problem = decodeShape(codes, [&](const ShapeCommand& c) { out.push_back(c); });
    if (error) *error = problem;
    return out;
}

TEST(ShapeCodes, EveryCommandWithItsOperandsUpToTheEndingZero) {
    const auto commands = decodeAll(bytes({0x34, 2, 4, 3, 5, 6, 7, 65, 8, -3, 4, 9, 1, -1, 2, 2, 0, 0, 10, 7, 0x9C, 11,
                                           16, 0, 1, 2, 0x12, 12, 3, 4, -127, 13, 1, 1, 64, 0, 0, 14, 15, 0, 99}));
    std::vector<Kind> kinds;
    for (const auto& c : commands) kinds.push_back(c.kind);
    EXPECT_EQ(kinds, (std::vector<Kind>{Kind::Vector, Kind::PenUp, Kind::MultiplyScale, Kind::Push, Kind::Pop,
                                        Kind::SubShape, Kind::Displacements, Kind::Displacements, Kind::OctantArc,
                                        Kind::FractionalArc, Kind::BulgeArcs, Kind::BulgeArcs, Kind::VerticalOnly,
                                        Kind::Unknown, Kind::End}))
        << "the byte after the ending 0 is not read";
    EXPECT_EQ(commands[0].length, 3);
    EXPECT_EQ(commands[0].direction, 4);
    EXPECT_EQ(commands[2].value, 3);
    EXPECT_EQ(commands[5].value, 65);
    ASSERT_EQ(commands[6].steps.size(), 1u);
    EXPECT_EQ(commands[6].steps[0].dx, -3);
    ASSERT_EQ(commands[7].steps.size(), 2u) << "without the ending 0,0";
    EXPECT_EQ(commands[7].steps[1].dy, 2);
    EXPECT_EQ(commands[8].radius, 7);
    EXPECT_EQ(commands[8].octants, 0x9C);
    EXPECT_EQ(commands[8].octantsAt, 20u);
    EXPECT_EQ(commands[9].radius, 1 * 256 + 2);
    EXPECT_EQ(commands[9].startOffset, 16);
    EXPECT_EQ(commands[10].steps[0].bulge, -127);
    ASSERT_EQ(commands[11].steps.size(), 1u);
    EXPECT_EQ(commands[11].steps[0].bulge, 64);
}

TEST(ShapeCodes, OperandsPastTheEndStopItNamingWhatAndWhere) {
    std::optional<ShapeDecodeError> error;
    auto commands = decodeAll(bytes({2, 3}), &error);
    ASSERT_TRUE(error);
    EXPECT_EQ(error->at, 1u);
    EXPECT_EQ(error->what, "a scale factor");
    EXPECT_EQ(commands.size(), 1u);

    // A list first comes with the steps it has.
    commands = decodeAll(bytes({9, 1, 1, 2, 2, 3}), &error);
    ASSERT_TRUE(error);
    EXPECT_EQ(error->what, "displacements ending 0,0");
    ASSERT_EQ(commands.size(), 1u);
    EXPECT_EQ(commands[0].steps.size(), 2u);
    decodeAll(bytes({13, 1, 1}), &error);
    ASSERT_TRUE(error);
    EXPECT_EQ(error->what, "a bulge arc");
    decodeAll(bytes({11, 0, 0, 1, 2}), &error);
    ASSERT_TRUE(error);
    EXPECT_EQ(error->what, "a fractional arc");

    // Without an ending 0 every whole command is read, and that is no error.
    commands = decodeAll(bytes({1, 0x14}), &error);
    EXPECT_FALSE(error);
    EXPECT_EQ(commands.size(), 2u);
}

}  // namespace
}  // namespace kestrin::render
