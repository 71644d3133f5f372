// Single-line text as the host places it: control codes, the style's font
// (a shape font, or an outline font), height, width factor, obliquing,
// rotation and justification.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "render/Geometry.h"
#include "render/OutlineFont.h"
#include "render/ShxFont.h"

namespace kestrin::render {

enum class HAlign { Left = 0, Center = 1, Right = 2, Aligned = 3, Middle = 4, Fit = 5 };
enum class VAlign { Baseline = 0, Bottom = 1, Middle = 2, Top = 3 };

// The fonts a text is drawn with: the style's font, and the built-in font
// for characters the style's font lacks (the same one when the style's font
// was not found). With `outline` set the style's font is that outline font
// (and `style` is unused); its characters are code page 1251 bytes turned
// into code points.
struct TextFonts {
    const ShxFont* style = nullptr;
    const ShxFont* fallback = nullptr;
    // The style's font was replaced by the built-in one: typed characters
    // 128-191 of code page 1251 (Ё, №, quotes, dashes ...) are drawn as what
    // they are, not as the built-in font's own shapes at those numbers.
    bool replaced = false;
    const OutlineFont* outline = nullptr;

    // Height of a capital and depth of descenders, in the style font's units.
    double above() const { return outline ? outline->above() : style->above(); }
    double below() const { return outline ? outline->below() : style->below(); }
};

struct TextParams {
    std::string text;        // CP1251 with %% control codes
    Vec2 first;              // insertion point (group 10)
    Vec2 second;             // alignment point (group 11)
    double height = 1;
    double widthFactor = 1;
    double obliqueDeg = 0;
    double rotationDeg = 0;
    HAlign h = HAlign::Left;
    VAlign v = VAlign::Baseline;
    bool backward = false;   // mirrored in X
    bool upsideDown = false; // mirrored in Y
};

// A line in the style font's units, the pen starting at (0,0) on the baseline.
struct ShapedLine {
    std::vector<RunGlyph> glyphs;  // only with references kept (placeGlyphs): every glyph of the line
    bool refers = false;
    bool copied = false;  // a glyph was copied into the strokes or areas
    double fallbackScale = 1;
    std::vector<Polyline> strokes;
    std::vector<Polyline> areas;  // filled outlines, non-zero rule
    double advance = 0;           // where the pen ends: the line's width
};

struct PlacedText {
    std::vector<RunGlyph> glyphs;   // style font units, placed by toWorld (placeGlyphs only)
    double fallbackScale = 1;
    std::vector<Polyline> strokes;  // drawing units
    std::vector<Polyline> areas;    // drawing units
    Affine toWorld;                 // style font units -> drawing units
    double advance = 0;             // font units
};

// Reads the control codes (TextCodes.h): %%nnn draws shape nnn (in an
// outline font the character nnn of the code page), %%c %%d %%p the
// diameter, degree and plus/minus symbols, %%o %%u toggle the line over and
// under, %%% a percent sign, \U+XXXX and \M+nXXXX the character they
// stand for. Shapes 172-175 of the own font move the pen themselves. A
// character neither font has is drawn as '?'. `tracking` scales each
// character's advance.
ShapedLine shapeLine(std::string_view text, const TextFonts& fonts, double tracking = 1);

PlacedText placeText(const TextParams& params, const TextFonts& fonts);
// The same with the fonts' stroke glyphs kept as references (`glyphs`), not
// copied into strokes: what a scene holds of a text costs a few words a
// character. What is not a font's own stroke glyph (rules, built-in symbols,
// outline glyphs) is in `strokes` and `areas` as with placeText.
PlacedText placeGlyphs(const TextParams& params, const TextFonts& fonts);

// The symbol a %%c, %%d or %%p stands for (kind 'c', 'd' or 'p'): the font's
// own shape when it has one, else a built-in drawing scaled to the font.
Glyph symbolGlyph(char kind, const ShxFont& font);

}  // namespace kestrin::render
