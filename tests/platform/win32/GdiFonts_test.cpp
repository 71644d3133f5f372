// Outline fonts through GDI: the system's own by family, and a font file
// (Linux's DejaVu Sans, reached through Wine's drive Z:) read from its bytes.
#include <gtest/gtest.h>

#include "platform/fonts/FontService.h"

namespace kestrin::fonts {
namespace {

FontService& fonts() { return FontService::system(); }

TEST(GdiFonts, AFontFileIsReadFromItsBytesWithClosedContours) {
    auto loaded = fonts().load("Z:\\usr\\share\\fonts\\truetype\\dejavu\\DejaVuSans.ttf", 0);
    ASSERT_TRUE(loaded) << loaded.error().message();
    const OutlineFace& face = **loaded;
    EXPECT_EQ(face.metrics().family, "DejaVu Sans");
    EXPECT_EQ(face.metrics().unitsPerEm, 2048);
    EXPECT_GT(face.metrics().ascender, 0);
    EXPECT_GT(face.metrics().descender, 0);
    const auto o = face.glyph(U'O');
    ASSERT_TRUE(o);
    EXPECT_EQ(o->contours.size(), 2u);
    EXPECT_GT(o->advance, 0);
    for (const Contour& c : o->contours) {
        ASSERT_FALSE(c.segments.empty());
        EXPECT_DOUBLE_EQ(c.segments.back().to.x, c.start.x);
        EXPECT_DOUBLE_EQ(c.segments.back().to.y, c.start.y);
    }
    const auto space = face.glyph(U' ');
    ASSERT_TRUE(space);
    EXPECT_TRUE(space->contours.empty());
    EXPECT_TRUE(face.glyph(U'Ж'));
    EXPECT_FALSE(face.glyph(U'\U000F0000'));
}

TEST(GdiFonts, FamiliesAndStandIns) {
    EXPECT_FALSE(fonts().findFamily("Kestrin No Such Family", {}));
    const auto standIn = fonts().substitute("Kestrin No Such Family", {});
    ASSERT_TRUE(standIn);
    auto face = fonts().load(standIn->path, standIn->face);
    ASSERT_TRUE(face) << face.error().message();
    EXPECT_TRUE((*face)->glyph(U'A'));
    EXPECT_FALSE(fonts().load("Z:\\kestrin\\no-such-font.ttf", 0));
}

}  // namespace
}  // namespace kestrin::fonts
