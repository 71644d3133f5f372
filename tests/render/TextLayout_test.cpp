#include "render/TextLayout.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "tests/render/RenderTestSupport.h"

namespace kestrin::render {
namespace {

TextFonts zor() {
    static auto font = test::zorFont();
    return {font.get(), font.get()};
}

PlacedText place(const std::string& s, HAlign h, VAlign v, Vec2 at = {100, 50}, double height = 10) {
    TextParams p;
    p.text = s;
    p.first = {0, 0};
    p.second = at;
    p.height = height;
    p.h = h;
    p.v = v;
    return placeText(p, zor());
}

TEST(TextLayout, HorizontalJustificationPutsTheAdvanceAroundTheAlignmentPoint) {
    const double width = shapeLine("ABC", zor()).advance * 10 / 21;
    const PlacedText left = place("ABC", HAlign::Left, VAlign::Baseline);
    EXPECT_NEAR(left.toWorld({0, 0}).x, 0, 1e-9) << "left on the baseline: the first point, not the second";
    const PlacedText center = place("ABC", HAlign::Center, VAlign::Baseline);
    const double advance = center.advance;
    EXPECT_NEAR(center.toWorld({advance / 2, 0}).x, 100, 1e-9);
    EXPECT_NEAR(center.toWorld({0, 0}).x, 100 - width / 2, 1e-9);
    const PlacedText right = place("ABC", HAlign::Right, VAlign::Baseline);
    EXPECT_NEAR(right.toWorld({advance, 0}).x, 100, 1e-9);
    EXPECT_NEAR(right.toWorld({advance, 0}).y, 50, 1e-9);
    // The strokes of a centred text lie about evenly on both sides of its point.
    const Box box = boxOf(center.strokes);
    EXPECT_NEAR(box.center().x, 100, 1.0);
}

TEST(TextLayout, VerticalJustificationUsesTheFontsHeights) {
    const PlacedText top = place("E", HAlign::Left, VAlign::Top);
    EXPECT_NEAR(top.toWorld({0, 21}).y, 50, 1e-9) << "capital height on the alignment point";
    EXPECT_NEAR(boxOf(top.strokes).maxY, 50, 0.5);
    const PlacedText bottom = place("E", HAlign::Left, VAlign::Bottom);
    EXPECT_NEAR(bottom.toWorld({0, -7}).y, 50, 1e-9) << "descender depth on the alignment point";
    const PlacedText middle = place("E", HAlign::Left, VAlign::Middle);
    EXPECT_NEAR(middle.toWorld({0, 10.5}).y, 50, 1e-9);
    const PlacedText mid = place("EE", HAlign::Middle, VAlign::Baseline);
    EXPECT_NEAR(mid.toWorld({mid.advance / 2, 10.5}).x, 100, 1e-9);
    EXPECT_NEAR(mid.toWorld({mid.advance / 2, 10.5}).y, 50, 1e-9);
}

TEST(TextLayout, RotationTurnsTheBaselineAboutTheInsertionPoint) {
    TextParams p;
    p.text = "LINE";
    p.first = {5, 5};
    p.height = 2.1;
    p.rotationDeg = 90;
    const PlacedText t = placeText(p, zor());
    const Vec2 start = t.toWorld({0, 0}), end = t.toWorld({t.advance, 0});
    EXPECT_NEAR(start.x, 5, 1e-9);
    EXPECT_NEAR(start.y, 5, 1e-9);
    EXPECT_NEAR(end.x, 5, 1e-9) << "the baseline runs straight up";
    EXPECT_GT(end.y, 5);
    const Box box = boxOf(t.strokes);
    EXPECT_LE(box.maxX, 5 + 1e-9) << "capitals rise to the left of an upward baseline";
}

TEST(TextLayout, WidthFactorAndObliquingShapeTheGlyphs) {
    TextParams p;
    p.text = "H";
    p.height = 21;
    const Box plain = boxOf(placeText(p, zor()).strokes);
    p.widthFactor = 2;
    const Box wide = boxOf(placeText(p, zor()).strokes);
    EXPECT_NEAR(wide.maxX - wide.minX, 2 * (plain.maxX - plain.minX), 1e-6);
    EXPECT_NEAR(wide.maxY, plain.maxY, 1e-9);
    p.widthFactor = 1;
    p.obliqueDeg = 45;
    const PlacedText slanted = placeText(p, zor());
    // A 45 degree slant moves the capital's top right by its height; the baseline stays.
    EXPECT_NEAR(slanted.toWorld({0, 21}).x, 21, 1e-9);
    EXPECT_NEAR(slanted.toWorld({5, 0}).x, 5, 1e-9);
}

TEST(TextLayout, AlignedAndFitSpanTheTwoPoints) {
    TextParams p;
    p.text = "ABCD";
    p.first = {0, 0};
    p.second = {30, 40};  // 50 long, rising
    p.height = 3;
    p.h = HAlign::Aligned;
    const PlacedText aligned = placeText(p, zor());
    const Vec2 end = aligned.toWorld({aligned.advance, 0});
    EXPECT_NEAR(end.x, 30, 1e-9);
    EXPECT_NEAR(end.y, 40, 1e-9);
    const double height = std::hypot(aligned.toWorld({0, 21}).x, aligned.toWorld({0, 21}).y);
    EXPECT_GT(height, 3) << "aligned text grows to fill the span";
    p.h = HAlign::Fit;
    const PlacedText fit = placeText(p, zor());
    const Vec2 fitEnd = fit.toWorld({fit.advance, 0});
    EXPECT_NEAR(fitEnd.x, 30, 1e-9);
    EXPECT_NEAR(fitEnd.y, 40, 1e-9);
    EXPECT_NEAR(std::hypot(fit.toWorld({0, 21}).x, fit.toWorld({0, 21}).y), 3, 1e-9) << "fit keeps the height";
    // Both points the same: placed as typed from the first point.
    p.second = p.first;
    const PlacedText none = placeText(p, zor());
    EXPECT_NEAR(none.toWorld({21, 0}).x, 3, 1e-9);
}

TEST(TextLayout, ControlCodes) {
    const TextFonts f = zor();
    // %%nnn and the character itself draw the same shape; %%% is a percent sign.
    EXPECT_DOUBLE_EQ(shapeLine("%%065", f).advance, shapeLine("A", f).advance);
    EXPECT_DOUBLE_EQ(shapeLine("%%65", f).advance, shapeLine("A", f).advance);
    EXPECT_DOUBLE_EQ(shapeLine("%%%", f).advance, shapeLine("%", f).advance);
    // Three digits at most: %%0651 is A then 1.
    EXPECT_DOUBLE_EQ(shapeLine("%%0651", f).advance, shapeLine("A1", f).advance);
    // An unknown code is drawn as typed; a lone %% at the end too.
    EXPECT_DOUBLE_EQ(shapeLine("%%q", f).advance, shapeLine("%", f).advance * 2 + shapeLine("q", f).advance);
    EXPECT_DOUBLE_EQ(shapeLine("A%%", f).advance, shapeLine("A", f).advance + 2 * shapeLine("%", f).advance);
    // Symbols of the own font at the palette's numbers, in either letter case.
    EXPECT_DOUBLE_EQ(shapeLine("%%c", f).advance, shapeLine("%%36", f).advance);
    EXPECT_DOUBLE_EQ(shapeLine("%%D", f).advance, shapeLine("%%127", f).advance);
    EXPECT_DOUBLE_EQ(shapeLine("%%p", f).advance, shapeLine("%%95", f).advance);
}

TEST(TextLayout, OverAndUnderLinesSpanTheToggledText) {
    const TextFonts f = zor();
    const double a = shapeLine("A", f).advance;
    const ShapedLine plain = shapeLine("AAA", f);
    const ShapedLine lined = shapeLine("A%%uA%%UA%%o", f);
    ASSERT_EQ(lined.strokes.size(), plain.strokes.size() + 1) << "one underline; %%o without text draws nothing";
    // The rule is the one stroke that the plain text lacks, below the baseline.
    const auto rule = std::find_if(lined.strokes.begin(), lined.strokes.end(), [](const Polyline& s) {
        return s.size() == 2 && s[0].y == s[1].y && s[0].y < 0;
    });
    ASSERT_NE(rule, lined.strokes.end());
    const Polyline& under = *rule;
    EXPECT_NEAR(under[0].x, a, 1e-9);
    EXPECT_NEAR(under[1].x, 2 * a, 1e-9);
    EXPECT_LT(under[0].y, 0);
    // Left open: runs to the end; the overline sits above the capitals.
    const ShapedLine open = shapeLine("A%%OAA", f);
    const Polyline& over = open.strokes.back();
    EXPECT_NEAR(over[0].x, a, 1e-9);
    EXPECT_NEAR(over[1].x, 3 * a, 1e-9);
    EXPECT_GT(over[0].y, 21);
}

TEST(TextLayout, RaiseAndLowerShapesMoveTheFollowingGlyphs) {
    const TextFonts f = zor();
    const Box plain = boxOf(shapeLine("2", f).strokes);
    const Box raised = boxOf(shapeLine("%%1722%%173", f).strokes);
    EXPECT_NEAR(raised.minY - plain.minY, 10.5, 1e-9);
    EXPECT_NEAR(raised.maxY - raised.minY, plain.maxY - plain.minY, 1e-9) << "the shapes move the pen, nothing more";
    const Box after = boxOf(shapeLine("%%172%%1732", f).strokes);
    EXPECT_NEAR(after.minY, plain.minY, 1e-9) << "back on the baseline";
}

TEST(TextLayout, BuiltinSymbolsForFontsWithoutThem) {
    auto other = ShxFont::parse(test::shx({{65, {0x10, 0}}}, 42, 10), "other");
    const Glyph d = symbolGlyph('d', *other);
    ASSERT_FALSE(d.strokes.empty());
    EXPECT_GT(d.box.maxY, 30) << "the degree sign sits near the capital height (42)";
    EXPECT_GT(symbolGlyph('c', *other).advance.x, d.advance.x);
    // Characters the style's font lacks come from the fallback font, at the style font's height.
    const TextFonts mixed{other.get(), test::zorFont().get()};
    const ShapedLine line = shapeLine("AB", mixed);
    EXPECT_NEAR(line.advance, 1 + test::zorFont()->glyph('B')->advance.x * 2, 1e-9);
}

TEST(TextLayout, AReplacedFontDrawsTheCodePagesLettersNotItsOwnShapes) {
    auto font = test::zorFont();
    const TextFonts own{font.get(), font.get(), false};
    const TextFonts replaced{font.get(), font.get(), true};
    const std::string yo = "\xa8", ye = "\xc5", numero = "\xb9";
    // In the own font's style, 168 is the font's own shape (a Greek letter).
    EXPECT_DOUBLE_EQ(shapeLine(yo, own).advance, font->glyph(168)->advance.x);
    // In place of a missing text font: E with two dots over it; No. as the number sign.
    const ShapedLine e = shapeLine(ye, replaced), yoLine = shapeLine(yo, replaced);
    EXPECT_DOUBLE_EQ(yoLine.advance, e.advance);
    EXPECT_EQ(yoLine.strokes.size(), e.strokes.size() + 2);
    EXPECT_GT(boxOf(yoLine.strokes).maxY, boxOf(e.strokes).maxY);
    EXPECT_DOUBLE_EQ(shapeLine(numero, replaced).advance, font->glyph('#')->advance.x);
    // Shapes by number stay shapes by number.
    EXPECT_DOUBLE_EQ(shapeLine("%%168", replaced).advance, font->glyph(168)->advance.x);
}

}  // namespace
}  // namespace kestrin::render
