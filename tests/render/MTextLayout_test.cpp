#include "render/MTextLayout.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "tests/render/RenderTestSupport.h"

namespace kestrin::render {
namespace {

// A font whose characters are one upright stroke 10 high, 8 apart (a space
// moves on without one): each line's characters start on its baseline.
const MTextFonts& bars() {
    static const std::vector<int> bar = {0xA4, 0x02, 0xAC, 0x80, 0};
    static auto font = ShxFont::parse(test::shx({{' ', {0x02, 0x80, 0}}, {'1', bar}, {'2', bar}, {'?', bar}, {'E', bar}}, 10, 2), "bars");
    static const MTextFonts fonts = [](const FontRequest*) { return TextFonts{font.get(), font.get()}; };
    return fonts;
}

std::vector<MTextPiece> lay(std::string_view content, MTextFrame frame) {
    MTextFormat f;
    f.height = frame.height;
    return layoutMText(parseMText(content, f), frame, bars());
}

Box boxOfAll(const std::vector<MTextPiece>& pieces) {
    Box b;
    for (const MTextPiece& p : pieces) b.add(boxOf(p.strokes));
    return b;
}

// The baselines of the lines: where the characters' strokes start.
std::set<long> rows(const std::vector<MTextPiece>& pieces) {
    std::set<long> out;
    for (const MTextPiece& p : pieces)
        for (const Polyline& s : p.strokes)
            out.insert(std::lround(boxOf({s}).minY * 100));
    return out;
}

double wordWidth(const std::string& w, double height) {
    return shapeLine(w, bars()(nullptr)).advance * height / 10;
}

TEST(MTextLayout, WordsWrapToTheWidthAndParagraphsBreak) {
    MTextFrame frame;
    frame.height = 2;
    const double w = wordWidth("EEE", 2), space = wordWidth(" ", 2);
    // Room for two words a line: three lines of two, two and one.
    frame.width = 2 * w + space + 0.01;
    EXPECT_EQ(rows(lay("EEE EEE EEE EEE EEE", frame)).size(), 3u);
    // No width: one line; a paragraph break still breaks it.
    frame.width = 0;
    EXPECT_EQ(rows(lay("EEE EEE EEE EEE EEE", frame)).size(), 1u);
    EXPECT_EQ(rows(lay("EEE\\PEEE", frame)).size(), 2u);
    // A word wider than the text stays whole, alone on its line; a fixed space does not break.
    frame.width = w;
    EXPECT_EQ(rows(lay("EEEEEEEE EE", frame)).size(), 2u);
    EXPECT_EQ(rows(lay("EEE\\~EEE", frame)).size(), 1u);
    // Formatting inside a word does not make a break there.
    EXPECT_EQ(rows(lay("EE{\\H1;E}E EE", frame)).size(), 2u);
}

TEST(MTextLayout, LinesAreSpacedByTheirHeightAndTheFactor) {
    MTextFrame frame;
    frame.height = 3;
    // Top left: the first capitals end at the insertion point; baselines 5/3 of the height apart.
    Box b = boxOfAll(lay("E\\PE\\PE", frame));
    EXPECT_NEAR(b.maxY, 0, 1e-6);
    EXPECT_NEAR(b.minY, -3 - 2 * 5.0, 1e-6);
    EXPECT_NEAR(b.minX, 0, 1.0);
    frame.spacing = 2;
    EXPECT_NEAR(boxOfAll(lay("E\\PE", frame)).minY, -3 - 10.0, 1e-6);
    // A taller line pushes the next one down, unless the spacing is exact.
    frame.spacing = 1;
    EXPECT_NEAR(boxOfAll(lay("E\\P\\H6;E", frame)).minY, -3 - 10.0 - 0, 1e-6);
    frame.exactSpacing = true;
    EXPECT_NEAR(boxOfAll(lay("E\\P\\H6;E", frame)).minY, -3 - 5.0, 1e-6);
    // An empty paragraph takes its room too.
    frame.exactSpacing = false;
    EXPECT_NEAR(boxOfAll(lay("E\\P\\PE", frame)).minY, -3 - 10.0, 1e-6);
}

TEST(MTextLayout, TheAttachmentPointPlacesTheBlock) {
    MTextFrame frame;
    frame.height = 2;
    const double w = wordWidth("EE", 2);
    frame.attachment = 5;  // middle centre
    Box b = boxOfAll(lay("EE\\PEE", frame));
    EXPECT_NEAR(b.minX, -w / 2, 1e-9) << "each line centred on the point";
    EXPECT_NEAR(b.maxY, (2 + 10.0 / 3) / 2, 1e-6) << "half of capital height plus one line step above";
    frame.attachment = 9;  // bottom right: the last baseline at the point, lines ending there
    b = boxOfAll(lay("EE\\PE", frame));
    EXPECT_NEAR(b.minY, 0, 1e-6);
    EXPECT_NEAR(b.minX, -w, 1e-9) << "the longer line ends at the point";
}

TEST(MTextLayout, StacksColoursAndLines) {
    MTextFrame frame;
    frame.height = 10;
    // 1 over 2 across a bar: the bar at half the height (the baseline is at
    // -10, below the insertion point), the parts at 0.7 of it above and below.
    const auto fraction = lay("\\S1/2;", frame);
    ASSERT_EQ(fraction.size(), 1u);
    const auto& strokes = fraction[0].strokes;
    const auto bar = std::find_if(strokes.begin(), strokes.end(), [](const Polyline& s) {
        return s.size() == 2 && s[0].y == s[1].y && std::abs(s[0].y + 5) < 1e-9;
    });
    ASSERT_NE(bar, strokes.end());
    double above = -1e9, below = 1e9;
    for (const Polyline& s : strokes) {
        if (&s == &*bar) continue;
        const Box b = boxOf({s});
        if (b.minY > -5) above = std::max(above, b.maxY);
        else below = std::min(below, b.minY);
        EXPECT_GE(b.minX, (*bar)[0].x - 1e-9);
        EXPECT_LE(b.maxX, (*bar)[1].x + 1e-9);
    }
    EXPECT_NEAR(above, -5 + 1 + 7, 1e-9) << "the numerator's capitals";
    EXPECT_NEAR(below, -5 - 1 - 7, 1e-9) << "the denominator's baseline";
    // A colour of its own makes a piece of its own.
    const auto coloured = lay("{\\C1;E} E", frame);
    ASSERT_EQ(coloured.size(), 2u);
    ASSERT_TRUE(coloured[0].color);
    EXPECT_EQ(coloured[0].color->index, 1);
    EXPECT_FALSE(coloured[1].color);
    // An underline runs on under the space between underlined words.
    const auto under = lay("\\LE E\\l", frame);
    double from = 1e9, to = -1e9;
    for (const Polyline& s : under[0].strokes)
        if (s.size() == 2 && s[0].y == s[1].y && s[0].y < 0) {
            from = std::min(from, s[0].x);
            to = std::max(to, s[1].x);
        }
    EXPECT_NEAR(from, 0, 1e-9);
    EXPECT_NEAR(to, 2 * wordWidth("E", 10) + wordWidth(" ", 10), 1e-6);
}

}  // namespace
}  // namespace kestrin::render
