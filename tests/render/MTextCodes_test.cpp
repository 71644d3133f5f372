#include "render/MTextCodes.h"

#include <gtest/gtest.h>

namespace kestrin::render {
namespace {

using K = MTextToken::Kind;

std::vector<MTextToken> parse(std::string_view s) {
    MTextFormat f;
    f.height = 2;
    return parseMText(s, f);
}

// The tokens as text: words as typed, " " a space, "~" a fixed space, "|" a
// tab, "/" a new paragraph, "[a^b]" a stack.
std::string shape(const std::vector<MTextToken>& tokens) {
    std::string out;
    for (const MTextToken& t : tokens) {
        switch (t.kind) {
            case K::Text: out += t.text; break;
            case K::Space: out += t.nonBreaking ? "~" : " "; break;
            case K::Tab: out += "|"; break;
            case K::Paragraph: out += "/"; break;
            case K::Stack: out += "[" + t.text + t.stack + t.lower + "]"; break;
        }
        out += '.';
    }
    return out;
}

TEST(MTextCodes, WordsSpacesParagraphsAndEscapedCharacters) {
    EXPECT_EQ(shape(parse("One two\\Pthree\\~four")), "One. .two./.three.~.four.");
    EXPECT_EQ(shape(parse("a\\\\b \\{c\\}")), "a\\b. .{c}.");
    EXPECT_EQ(shape(parse("line\nnext\tcol^Jcaret^Itab^ hat")), "line./.next.|.col./.caret.|.tab^hat.");
    EXPECT_EQ(shape(parse("\\Ncolumn\\Xdim")), "/.column./.dim.");
    // Escapes of single-line text pass through for the glyphs; unknown codes stay as typed.
    EXPECT_EQ(shape(parse("\\U+2264 %%d \\Zx")), "\\U+2264. .%%d. .\\Zx.");
}

TEST(MTextCodes, FormattingHoldsToTheEndOfItsBraces) {
    const auto t = parse("a{\\H3;\\W0.5;\\Q15;\\T2;\\C1;b}c\\H1.5x;\\c16711680;d");
    ASSERT_EQ(t.size(), 4u);
    EXPECT_EQ(t[0].format.height, 2);
    EXPECT_FALSE(t[0].format.color);
    const MTextFormat& b = t[1].format;
    EXPECT_EQ(t[1].text, "b");
    EXPECT_EQ(b.height, 3);
    EXPECT_EQ(b.widthFactor, 0.5);
    EXPECT_EQ(b.obliqueDeg, 15);
    EXPECT_EQ(b.tracking, 2);
    ASSERT_TRUE(b.color);
    EXPECT_EQ(b.color->index, 1);
    // After the brace the old formatting is back; "x" scales what is in effect.
    EXPECT_EQ(t[2].format.height, 2);
    EXPECT_FALSE(t[2].format.color);
    EXPECT_EQ(t[3].format.height, 3);
    // \c holds blue first: 16711680 is 0xFF0000, blue.
    ASSERT_TRUE(t[3].format.color && t[3].format.color->trueColor);
    EXPECT_EQ(*t[3].format.color->trueColor, (Color{0, 0, 255}));
    // A brace left open or closed too often harms nothing.
    EXPECT_EQ(shape(parse("}}x{{y")), "x.y.");
}

TEST(MTextCodes, LinesUnderOverAndThroughToggle) {
    const auto t = parse("\\Lu\\lp \\Oo\\o\\Kk\\k");
    ASSERT_EQ(t.size(), 5u);
    EXPECT_TRUE(t[0].format.underline);
    EXPECT_FALSE(t[1].format.underline);
    EXPECT_TRUE(t[3].format.overline);
    EXPECT_TRUE(t[4].format.strike);
    EXPECT_FALSE(t[4].format.overline);
}

TEST(MTextCodes, FontCodes) {
    const auto t = parse("{\\fDejaVu Serif|b1|i0|c204|p18;a}{\\Fromans|c0;b}{\\fsimplex.shx;c}{\\farial.ttf;d}");
    ASSERT_EQ(t.size(), 4u);
    ASSERT_TRUE(t[0].format.font);
    EXPECT_EQ(t[0].format.font->family, "DejaVu Serif");
    EXPECT_TRUE(t[0].format.font->file.empty());
    EXPECT_TRUE(t[0].format.font->style.bold);
    EXPECT_FALSE(t[0].format.font->style.italic);
    EXPECT_EQ(t[1].format.font->file, "romans") << "\\F names a shape font";
    EXPECT_EQ(t[2].format.font->file, "simplex.shx");
    EXPECT_EQ(t[3].format.font->file, "arial.ttf");
}

TEST(MTextCodes, StacksAndAlignment) {
    const auto t = parse("\\A1;x\\S1/2;\\S+0.1^-0.2;\\S3#4;\\Sa\\/b;\\Sno stack;");
    ASSERT_EQ(t.size(), 6u);
    EXPECT_EQ(t[0].format.align, 1);
    EXPECT_EQ(shape(t), "x.[1/2].[+0.1^-0.2].[3#4].a/b.no stack.");
    EXPECT_EQ(t[4].kind, K::Text) << "an escaped / does not stack";
    // A stack left open runs to the end.
    EXPECT_EQ(shape(parse("\\S1/2")), "[1/2].");
}

}  // namespace
}  // namespace kestrin::render
