#include "render/FontLibrary.h"

#include <gtest/gtest.h>

#include "platform/fs/MemoryFileSystem.h"
#include "tests/render/RenderTestSupport.h"

namespace kestrin::render {
namespace {

struct Library {
    test::DejaVuFonts system;
    std::vector<std::string> notes;
    FontLibrary fonts;
    explicit Library(std::string drawingFolder = "", std::vector<std::string> support = {test::distDir()})
        : fonts(std::move(drawingFolder), std::move(support), [this](const std::string& n) { notes.push_back(n); }) {}
};

std::string dejaVuBytes() {
    const auto f = fonts::FontService::system().findFile("DejaVuSans.ttf");
    return f ? test::readAll(f->path) : std::string();
}

TEST(FontLibrary, OutlineFontsByFileNameByFamilyOrAStandIn) {
    Library lib;
    const TextFonts byFile = lib.fonts.fonts({"C:\\Windows\\Fonts\\DEJAVUSANS.TTF", "", {}});
    ASSERT_NE(byFile.outline, nullptr);
    EXPECT_EQ(byFile.outline->name(), "DejaVu Sans");
    EXPECT_FALSE(byFile.replaced);
    // A style with no file, only the family of its extended data; bold is a face of its own.
    const TextFonts serif = lib.fonts.fonts({"", "DejaVu Serif", {}});
    const TextFonts bold = lib.fonts.fonts({"", "dejavu serif", {true, false}});
    ASSERT_TRUE(serif.outline && bold.outline);
    EXPECT_EQ(serif.outline->name(), "DejaVu Serif");
    EXPECT_GT(bold.outline->glyph(U'a')->advance.x, serif.outline->glyph(U'a')->advance.x);
    // A file the system lacks: its family, else a stand-in, said once.
    const TextFonts family = lib.fonts.fonts({"serif-copy.ttf", "DejaVu Serif", {}});
    ASSERT_TRUE(family.outline);
    EXPECT_EQ(family.outline->name(), "DejaVu Serif");
    EXPECT_TRUE(lib.notes.empty()) << lib.notes.front();
    for (int k = 0; k < 2; ++k) {
        const TextFonts gone = lib.fonts.fonts({"kestrin-gone.ttf", "Kestrin Gone", {}});
        ASSERT_TRUE(gone.outline);
        EXPECT_EQ(gone.outline->name(), "DejaVu Sans");
    }
    ASSERT_EQ(lib.notes.size(), 1u);
    EXPECT_EQ(lib.notes[0], "font 'kestrin-gone.ttf' not found; its texts are drawn with DejaVu Sans");
}

TEST(FontLibrary, AFontBesideTheDrawingComesFirstAndABrokenOneIsNamed) {
    const std::string bytes = dejaVuBytes();
    ASSERT_FALSE(bytes.empty());
    fs::MemoryFileSystem memory;
    memory.addFile("/drawing/Own Font.TTF", bytes);
    memory.addFile("/drawing/broken.ttf", "no font");
    memory.setCurrentDirectory("/");
    fs::MemoryFileSystem::Installed installed(memory);
    Library lib("/drawing", {});
    const TextFonts own = lib.fonts.fonts({"own font.ttf", "", {}});
    ASSERT_TRUE(own.outline);
    EXPECT_EQ(own.outline->name(), "DejaVu Sans");
    EXPECT_TRUE(lib.notes.empty());
    // Here the system's fonts are out of reach too: the built-in font stands in.
    const TextFonts broken = lib.fonts.fonts({"broken.ttf", "", {}});
    EXPECT_EQ(broken.outline, nullptr);
    EXPECT_TRUE(broken.replaced);
    ASSERT_EQ(lib.notes.size(), 1u);
    EXPECT_NE(lib.notes[0].find("/drawing/broken.ttf: cannot read the font"), std::string::npos) << lib.notes[0];
    EXPECT_NE(lib.notes[0].find("; its texts are drawn with the built-in font"), std::string::npos);
}

TEST(FontLibrary, AMissingShapeFontFallsBackToTheAlternateFontThenToTheOwnFont) {
    fs::MemoryFileSystem memory;
    memory.addFile("/support/alt.shx", test::shx({{'A', {0x14, 0}}}, 8, 2));
    memory.setCurrentDirectory("/");
    fs::MemoryFileSystem::Installed installed(memory);
    Library lib("", {"/support"});
    // No alternate: the own font, which has Cyrillic.
    const TextFonts none = lib.fonts.fonts({"romans.shx", "", {}});
    EXPECT_TRUE(none.replaced);
    EXPECT_TRUE(none.style->has(0xC6)) << "Ж";
    lib.fonts.setAlternate("alt.shx");
    const TextFonts alternate = lib.fonts.fonts({"romans.shx", "", {}});
    EXPECT_FALSE(alternate.replaced);
    EXPECT_EQ(alternate.style->above(), 8);
    EXPECT_EQ(alternate.fallback, &lib.fonts.builtin()) << "what the alternate lacks comes from the own font";
    // An alternate that is missing too: the own font again.
    lib.fonts.setAlternate("alsogone.shx");
    EXPECT_TRUE(lib.fonts.fonts({"romans.shx", "", {}}).replaced);
    ASSERT_EQ(lib.notes.size(), 3u);
    EXPECT_EQ(lib.notes[0], "font 'romans.shx' not found; its texts are drawn with the built-in font");
    EXPECT_EQ(lib.notes[1], "font 'romans.shx' not found; its texts are drawn with the drawing's alternate font 'alt.shx'");
    EXPECT_EQ(lib.notes[2], lib.notes[0]);
}

TEST(OutlineText, GlyphsAreFilledOutlinesAtTheCapitalsHeight) {
    Library lib;
    const TextFonts sans = lib.fonts.fonts({"DejaVuSans.ttf", "", {}});
    ASSERT_TRUE(sans.outline);
    TextParams p;
    p.text = "HE";
    p.height = 10;
    const PlacedText placed = placeText(p, sans);
    EXPECT_TRUE(placed.strokes.empty());
    ASSERT_FALSE(placed.areas.empty());
    const Box box = boxOf(placed.areas);
    EXPECT_NEAR(box.maxY, 10, 1e-6) << "a capital is the text's height";
    EXPECT_NEAR(box.minY, 0, 1e-6);
    // Code page bytes, escapes and control codes are the characters they stand for.
    auto advance = [&](const std::string& s) { return shapeLine(s, sans).advance; };
    EXPECT_DOUBLE_EQ(advance("\xc6"), sans.outline->glyph(U'Ж')->advance.x);
    EXPECT_DOUBLE_EQ(advance("\\U+2713"), sans.outline->glyph(U'\u2713')->advance.x);
    EXPECT_DOUBLE_EQ(advance("%%d"), sans.outline->glyph(U'\u00B0')->advance.x);
    EXPECT_DOUBLE_EQ(advance("%%065"), advance("A"));
    // A character no font has: a question mark.
    EXPECT_DOUBLE_EQ(advance("\\U+E000"), advance("?"));
    // Lines over and under are strokes.
    EXPECT_EQ(shapeLine("%%uH", sans).strokes.size(), 1u);
    EXPECT_DOUBLE_EQ(shapeLine("HH", sans, 2).advance, 2 * advance("HH")) << "tracking";
}

TEST(OutlineText, EscapedCharactersInAShapeFont) {
    const auto zor = test::zorFont();
    const TextFonts own{zor.get(), zor.get()};
    // A character the code page holds is drawn as the code page's byte; others by number, else '?'.
    EXPECT_DOUBLE_EQ(shapeLine("\\U+0416", own).advance, shapeLine("\xc6", own).advance);
    EXPECT_DOUBLE_EQ(shapeLine("\\U+2713", own).advance, shapeLine("?", own).advance);
    auto numbered = ShxFont::parse(test::shx({{'?', {0x14, 0}}, {0x2713, {0x80, 0}}}, 10, 2), "unicode");
    const TextFonts byNumber{numbered.get(), numbered.get()};
    EXPECT_DOUBLE_EQ(shapeLine("\\U+2713", byNumber).advance, 8);
}

}  // namespace
}  // namespace kestrin::render
