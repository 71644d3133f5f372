#include "platform/fonts/FontService.h"

#include <gtest/gtest.h>

#include "platform/fs/MemoryFileSystem.h"
#include "platform/fs/Path.h"

namespace kestrin::fonts {
namespace {

// fonts-dejavu-core, which the tests install.
FontService& fonts() { return FontService::system(); }

std::string dejaVuSans() {
    const auto f = fonts().findFile("DejaVuSans.ttf");
    return f ? f->path : std::string();
}

TEST(FontService, FindsInstalledFontsByFileNameAndByFamily) {
    const auto byFile = fonts().findFile("dejavusans.TTF");
    ASSERT_TRUE(byFile) << "any letter case";
    EXPECT_EQ(fs::fileName(byFile->path), "DejaVuSans.ttf");
    EXPECT_FALSE(fonts().findFile("kestrin-no-such-font.ttf"));

    const auto regular = fonts().findFamily("dejavu serif", {});
    ASSERT_TRUE(regular);
    EXPECT_EQ(regular->family, "DejaVu Serif");
    const auto bold = fonts().findFamily("DejaVu Serif", {true, false});
    ASSERT_TRUE(bold);
    EXPECT_NE(bold->path, regular->path) << "the bold face is a file of its own";
    EXPECT_FALSE(fonts().findFamily("Kestrin No Such Family", {})) << "no family stands in for another here";

    // A family the system lacks has a stand-in; so has no family at all.
    const auto standIn = fonts().substitute("Kestrin No Such Family", {});
    ASSERT_TRUE(standIn);
    EXPECT_FALSE(standIn->path.empty());
    ASSERT_TRUE(fonts().substitute("", {}));
}

TEST(FontService, ReadsAFaceThroughTheFileServices) {
    const std::string path = dejaVuSans();
    ASSERT_FALSE(path.empty());
    auto bytes = fs::FileSystem::current().readFile(path);
    ASSERT_TRUE(bytes);
    // The same bytes at a path only the in-memory file system has.
    fs::MemoryFileSystem memory;
    memory.addFile("/fonts/held.ttf", *bytes);
    std::shared_ptr<const OutlineFace> face;
    {
        fs::MemoryFileSystem::Installed installed(memory);
        auto loaded = fonts().load("/fonts/held.ttf", 0);
        ASSERT_TRUE(loaded) << loaded.error().message();
        face = *loaded;
    }
    const FaceMetrics& m = face->metrics();
    EXPECT_EQ(m.family, "DejaVu Sans");
    EXPECT_GT(m.unitsPerEm, 0);
    EXPECT_GT(m.ascender, 0);
    EXPECT_GT(m.descender, 0) << "below the baseline, positive";

    // "O" is two closed contours (the ring); a space none, but an advance.
    const auto o = face->glyph(U'O');
    ASSERT_TRUE(o);
    EXPECT_EQ(o->contours.size(), 2u);
    EXPECT_GT(o->advance, 0);
    for (const Contour& c : o->contours) {
        ASSERT_FALSE(c.segments.empty());
        EXPECT_DOUBLE_EQ(c.segments.back().to.x, c.start.x) << "each contour closes";
        EXPECT_DOUBLE_EQ(c.segments.back().to.y, c.start.y);
    }
    const auto space = face->glyph(U' ');
    ASSERT_TRUE(space);
    EXPECT_TRUE(space->contours.empty());
    EXPECT_GT(space->advance, 0);
    // Cyrillic and a check mark are there; a private-use character is not.
    EXPECT_TRUE(face->glyph(U'Ж'));
    EXPECT_TRUE(face->glyph(U'\u2713'));
    EXPECT_FALSE(face->glyph(U'\U000F0000'));
}

TEST(FontService, AFileThatIsNoFontOrNotThereIsNamed) {
    fs::MemoryFileSystem memory;
    memory.addFile("/fonts/notes.ttf", "not a font at all");
    fs::MemoryFileSystem::Installed installed(memory);
    auto broken = fonts().load("/fonts/notes.ttf", 0);
    ASSERT_FALSE(broken);
    EXPECT_NE(broken.error().message().find("/fonts/notes.ttf: cannot read the font"), std::string::npos)
        << broken.error().message();
    auto missing = fonts().load("/fonts/gone.ttf", 0);
    ASSERT_FALSE(missing);
    EXPECT_NE(missing.error().message().find("/fonts/gone.ttf"), std::string::npos);
}

}  // namespace
}  // namespace kestrin::fonts
