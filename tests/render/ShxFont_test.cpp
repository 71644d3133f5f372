#include "render/ShxFont.h"

#include <gtest/gtest.h>

#include "tests/render/RenderTestSupport.h"

namespace kestrin::render {
namespace {

using test::shx;

void expectNear(Vec2 got, Vec2 want, double tol = 1e-9) {
    EXPECT_NEAR(got.x, want.x, tol);
    EXPECT_NEAR(got.y, want.y, tol);
}

TEST(ShxFont, RefusesWhatIsNoShapeFontNamingFileAndPlace) {
    auto message = [](const std::string& bytes) {
        try {
            ShxFont::parse(bytes, "f.shx");
        } catch (const FontError& e) {
            return std::string(e.what());
        }
        return std::string("accepted");
    };
    EXPECT_EQ(message("AutoCAD-86 unifont 1.0\r\n\x1a"),
              "f.shx: byte 0: not an SHX shape font (no \"AutoCAD-86 shapes 1.0\" signature)");
    EXPECT_NE(message("AutoCAD-86 shapes 1.0\r\n").find("byte 23: the shape index is missing"), std::string::npos);
    std::string good = shx({{65, {0x14, 0}}});
    EXPECT_EQ(message(good), "accepted");
    EXPECT_NE(message(good.substr(0, good.size() - 6)).find("runs past the end of the file"), std::string::npos);
    // An index claiming more shapes than the file holds.
    std::string many = good;
    many[28] = '\x7f';
    EXPECT_NE(message(many).find("runs past the end"), std::string::npos);
    EXPECT_NE(message(shx({{65, {0x14, 0}}}, 0)).find("no font record"), std::string::npos);
}

TEST(ShxFont, VectorCodesPenUpAndDownAndTheAdvance) {
    // Up 2 right (no ink), then a stroke 3 up and 1 diagonal down-right, pen up 1 right.
    auto font = ShxFont::parse(shx({{65, {2, 0x20, 1, 0x34, 0x1E, 2, 0x10, 0}}}), "t");
    const Glyph* g = font->glyph(65);
    ASSERT_NE(g, nullptr);
    ASSERT_EQ(g->strokes.size(), 1u);
    ASSERT_EQ(g->strokes[0].size(), 3u);
    expectNear(g->strokes[0][0], {2, 0});
    expectNear(g->strokes[0][1], {2, 3});
    expectNear(g->strokes[0][2], {3, 2});
    expectNear(g->advance, {4, 2});
    EXPECT_EQ(font->glyph(65), g) << "a glyph is read once and kept";
    EXPECT_EQ(font->glyph(66), nullptr);
    EXPECT_EQ(font->above(), 10);
    EXPECT_EQ(font->below(), 2);
}

TEST(ShxFont, PushPopScaleAndSubShapes) {
    // Shape 66: push, draw 2 up, pop (back to 0,0), halve the scale, draw 4 right (2 units),
    // double it again, then shape 65 (a 1-right stroke) from where the pen is.
    auto font = ShxFont::parse(shx({{65, {0x10, 0}}, {66, {5, 0x24, 6, 3, 2, 0x40, 4, 2, 7, 65, 0}}}), "t");
    const Glyph* g = font->glyph(66);
    ASSERT_NE(g, nullptr);
    ASSERT_EQ(g->strokes.size(), 3u);
    expectNear(g->strokes[0].back(), {0, 2});
    expectNear(g->strokes[1].front(), {0, 0});
    expectNear(g->strokes[1].back(), {2, 0});
    expectNear(g->strokes[2].back(), {3, 0});
    expectNear(g->advance, {3, 0});
}

TEST(ShxFont, VerticalOnlyCommandsAreSkippedWithTheirOperands) {
    // 14 skips the following 8,(0,-10) whole; then a stroke 1 right.
    auto font = ShxFont::parse(shx({{65, {14, 8, 0, 0xF6, 0x10, 14, 3, 2, 0}}}), "t");
    const Glyph* g = font->glyph(65);
    ASSERT_EQ(g->strokes.size(), 1u);
    expectNear(g->advance, {1, 0});
}

TEST(ShxFont, OctantArcsInEitherSignEncoding) {
    // Clockwise from octant 4 over 2, written sign and magnitude (0xC2) and as
    // two's complement of -0x42 (0xBE).
    auto font = ShxFont::parse(shx({{65, {10, 4, 0xC2, 0}}, {66, {10, 4, 0xBE, 0}}, {67, {10, 4, 0x42, 0}}}), "t");
    const Glyph* sm = font->glyph(65);
    const Glyph* tc = font->glyph(66);
    const Glyph* ccw = font->glyph(67);
    // Centre 4 right of the pen; from 180 degrees clockwise by 90: ends at (4, 4).
    expectNear(sm->advance, {4, 4}, 1e-9);
    expectNear(tc->advance, sm->advance, 1e-9);
    // Counter-clockwise from 180 by 90: ends at (4, -4).
    expectNear(ccw->advance, {4, -4}, 1e-9);
    // A full circle (span 0) comes back to the start.
    auto full = ShxFont::parse(shx({{65, {10, 3, 0x00, 0}}}), "t");
    expectNear(full->glyph(65)->advance, {0, 0}, 1e-9);
    EXPECT_NEAR(full->glyph(65)->box.minX, -6, 1e-9);  // centre 3 left of the pen
}

TEST(ShxFont, BulgeArcs) {
    // A half circle (bulge 127) to 4 right bows below the chord when counter-clockwise.
    auto font = ShxFont::parse(shx({{65, {12, 4, 0, 127, 0}}, {66, {13, 4, 0, 0x81, 0, 4, 0, 0, 0, 0}}}), "t");
    const Glyph* g = font->glyph(65);
    expectNear(g->advance, {4, 0});
    EXPECT_NEAR(g->box.minY, -2, 1e-9);
    EXPECT_NEAR(g->box.maxY, 0, 1e-9);
    // Bulge -127 bows above; a 0 bulge is a straight segment.
    const Glyph* h = font->glyph(66);
    expectNear(h->advance, {4, 4});
    EXPECT_NEAR(h->box.maxY, 4, 1e-9);
    EXPECT_NEAR(h->box.minY, 0, 1e-9);
}

TEST(ShxFont, BrokenShapesDrawWhatTheyHaveAndNeverLoop) {
    // A displacement cut short; a shape that calls itself.
    auto font = ShxFont::parse(shx({{65, {0x10, 8, 3}}, {66, {0x10, 7, 66, 0}}}), "t");
    const Glyph* cut = font->glyph(65);
    ASSERT_NE(cut, nullptr);
    expectNear(cut->advance, {1, 0});
    const Glyph* self = font->glyph(66);
    ASSERT_NE(self, nullptr);
    EXPECT_GT(self->advance.x, 1);
    EXPECT_LT(self->advance.x, 20);
}

TEST(ShxFont, OwnFontHasTheSymbolsAndRaiseLowerShapes) {
    auto font = test::zorFont();
    EXPECT_EQ(font->above(), 21);
    EXPECT_EQ(font->below(), 7);
    EXPECT_EQ(font->shapeName(36), "DIAMETER");
    // 172 raises the pen by half the capital height, 173 brings it back; they draw nothing.
    const Glyph* up = font->glyph(172);
    const Glyph* down = font->glyph(173);
    ASSERT_NE(up, nullptr);
    EXPECT_TRUE(up->strokes.empty());
    EXPECT_NEAR(up->advance.y + down->advance.y, 0, 1e-9);
    EXPECT_NEAR(up->advance.y, 10.5, 1e-9);
}

}  // namespace
}  // namespace kestrin::render
