#include "render/TextLayout.h"

#include <cmath>

#include "base/Cp1251.h"
#include "render/TextCodes.h"

namespace kestrin::render {

namespace {

constexpr double kBuiltinCap = 21;  // units of the built-in symbol drawings

Polyline circle(Vec2 c, double r, int steps = 24) {
    Polyline p;
    for (int i = 0; i <= steps; ++i) p.push_back({c.x + r * std::cos(2 * kPi * i / steps), c.y + r * std::sin(2 * kPi * i / steps)});
    return p;
}

Glyph builtinSymbol(char kind) {
    Glyph g;
    switch (kind) {
        case 'c':  // diameter: a circle crossed by a slash
            g.strokes = {circle({10, 10}, 8), {{3, -1}, {17, 21}}};
            g.advance = {21, 0};
            break;
        case 'd':  // degree: a small circle at cap height
            g.strokes = {circle({5, 17}, 4, 16)};
            g.advance = {11, 0};
            break;
        default:  // plus/minus
            g.strokes = {{{8, 5}, {8, 19}}, {{1, 12}, {15, 12}}, {{1, 1}, {15, 1}}};
            g.advance = {17, 0};
            break;
    }
    return g;
}

// The own font (its font record names it) keeps its symbols at the numbers
// the palette writes for them.
int ownFontSymbol(char kind, const ShxFont& font) {
    const int number = kind == 'c' ? 36 : kind == 'd' ? 127 : 95;
    return font.shapeName(36) == "DIAMETER" && font.has(number) ? number : -1;
}

// What the built-in font draws for a typed character 128-191 of code page
// 1251: another character, a symbol, or a letter with a diaeresis.
struct Substitute {
    int shape = '?';
    char symbol = 0;
    bool diaeresis = false;
};

Substitute substituteFor(int c) {
    switch (c) {
        case 0xA8: return {0xC5, 0, true};   // Ё
        case 0xB8: return {0xE5, 0, true};   // ё
        case 0xB9: return {'#', 0, false};   // № (the own font's number sign)
        case 0xB0: return {0, 'd', false};   // °
        case 0xB1: return {0, 'p', false};   // ±
        case 0xAB: return {'<', 0, false};   // «
        case 0xBB: return {'>', 0, false};   // »
        case 0x91: case 0x92: case 0x82: return {'\'', 0, false};
        case 0x93: case 0x94: case 0x84: return {'"', 0, false};
        case 0x96: case 0x97: case 0xAD: return {'-', 0, false};
        case 0xA0: return {' ', 0, false};
        case 0x85: return {'.', 0, false};
        case 0xB7: case 0x95: return {'.', 0, false};
        case 0xA7: return {'S', 0, false};
        default: return {};
    }
}

// The glyph at the pen, scaled by k; the pen moves on by its advance. A
// glyph of a font (`kept`: it lives as long as the font) is referred to when
// the line keeps references and the glyph has strokes alone; any other is
// copied into the line's strokes and areas (and the line then keeps no
// references: see place()).
void put(ShapedLine& line, const Glyph& g, Vec2& pen, double k, double tracking, bool kept) {
    const bool scaleKnown = k == 1 || k == line.fallbackScale;
    if (kept && line.refers && g.areas.empty() && tracking == 1 && scaleKnown) {
        line.glyphs.emplace_back(&g, k != 1);
    } else {
        auto place = [&](const std::vector<Polyline>& from, std::vector<Polyline>& to) {
            for (const Polyline& s : from) {
                Polyline p;
                p.reserve(s.size());
                for (const Vec2& q : s) p.push_back(pen + q * k);
                to.push_back(std::move(p));
            }
        };
        place(g.strokes, line.strokes);
        place(g.areas, line.areas);
        line.copied = true;
    }
    pen = pen + g.advance * (k * tracking);
}
// A font's own glyph, and one made for this line alone (a built-in symbol).
void append(ShapedLine& line, const Glyph* g, Vec2& pen, double k, double tracking) { put(line, *g, pen, k, tracking, true); }
void append(ShapedLine& line, const Glyph& made, Vec2& pen, double k, double tracking) {
    put(line, made, pen, k, tracking, false);
}

// The character an outline font draws for %%c, %%d and %%p.
char32_t symbolCharacter(char kind, const OutlineFont& font) {
    if (kind == 'd') return U'\u00B0';
    if (kind == 'p') return U'\u00B1';
    return font.has(U'\u2300') ? U'\u2300' : U'\u00D8';
}

}  // namespace

Glyph symbolGlyph(char kind, const ShxFont& font) {
    if (const int number = ownFontSymbol(kind, font); number >= 0)
        if (const Glyph* g = font.glyph(number)) return *g;
    Glyph g = builtinSymbol(kind);
    const double k = font.above() / kBuiltinCap;
    for (auto& s : g.strokes)
        for (auto& p : s) p = p * k;
    g.advance = g.advance * k;
    measure(g);
    return g;
}

namespace {
ShapedLine shape(std::string_view text, const TextFonts& fonts, double tracking, bool refer) {
    ShapedLine line;
    line.refers = refer;
    if (refer) line.glyphs.reserve(text.size());  // a glyph a byte at the most
    Vec2 pen;
    double overFrom = 0, underFrom = 0;
    bool over = false, under = false;
    const double above = fonts.above();
    const double overY = above * 1.2, underY = -above * 0.2;
    auto rule = [&](double from, double y) {
        if (pen.x != from) line.strokes.push_back({{from, y}, {pen.x, y}});
    };
    const ShxFont* font = fonts.outline ? nullptr : fonts.style;
    const ShxFont* fallback = fonts.fallback ? fonts.fallback : font;
    const double fallbackScale = fallback ? above / fallback->above() : 1;
    line.fallbackScale = fallbackScale;
    const bool other = fallback && fallback != font;  // a second font to look in
    auto fromFallback = [&](int c) -> bool {
        if (!fallback) return false;
        const bool extended = c >= 0x80 && c < 0xC0;
        if (!extended) {
            const Glyph* g = fallback->glyph(c);
            if (g) append(line, g, pen, fallbackScale, tracking);
            return g != nullptr;
        }
        const Substitute sub = substituteFor(c);
        if (sub.symbol) {
            append(line, symbolGlyph(sub.symbol, *fallback), pen, fallbackScale, tracking);
            return true;
        }
        const Glyph* g = fallback->glyph(sub.shape);
        if (!g) return false;
        if (sub.diaeresis) {  // two dots over the letter
            const double y = g->box.maxY + fallback->above() * 0.12, mid = (g->box.minX + g->box.maxX) / 2;
            const double gap = fallback->above() * 0.15, dot = fallback->above() * 0.05;
            for (double x : {mid - gap, mid + gap})
                line.strokes.push_back({pen + Vec2{x - dot, y} * fallbackScale, pen + Vec2{x + dot, y} * fallbackScale});
        }
        append(line, g, pen, fallbackScale, tracking);
        return true;
    };
    // The style font's glyph of a code point (an outline font) or shape number.
    auto own = [&](int code) -> const Glyph* {
        if (fonts.outline) return fonts.outline->glyph(static_cast<char32_t>(code));
        return font->glyph(code);
    };
    auto missing = [&] {
        if (const Glyph* g = own('?')) append(line, g, pen, 1, tracking);
        else if (other)
            if (const Glyph* f = fallback->glyph('?')) append(line, f, pen, fallbackScale, tracking);
    };
    // A code page 1251 character; control characters draw nothing.
    auto byte = [&](int c) {
        if (c < 0x20) return;
        if (fonts.outline) {
            if (const Glyph* g = own(static_cast<int>(codePointFromCp1251(static_cast<unsigned char>(c)))))
                append(line, g, pen, 1, tracking);
            else if (!(other && fromFallback(c))) missing();
            return;
        }
        if (fonts.replaced && c >= 0x80 && c < 0xC0) {
            if (!fromFallback(c)) missing();
        } else if (const Glyph* g = own(c)) {
            append(line, g, pen, 1, tracking);
        } else if (!(other && fromFallback(c))) {
            missing();
        }
    };
    for (const TextItem& item : parseTextCodes(text)) {
        switch (item.kind) {
            case TextItem::Byte:
                byte(item.value);
                break;
            case TextItem::Unicode: {
                // A character the code page holds is typed as such; any other
                // is the shape of that number (fonts numbered by code point).
                const int b = cp1251FromCodePoint(static_cast<char32_t>(item.value));
                if (b >= 0) {
                    byte(b);
                } else if (const Glyph* g = own(item.value)) {
                    append(line, g, pen, 1, tracking);
                } else if (const Glyph* f = other ? fallback->glyph(item.value) : nullptr) {
                    append(line, f, pen, fallbackScale, tracking);
                } else {
                    missing();
                }
                break;
            }
            case TextItem::Shape:  // %%nnn: the shape by number, of the style's font if it has it
                if (fonts.outline) {
                    byte(item.value <= 0xFF ? item.value : '?');
                } else if (const Glyph* g = font->glyph(item.value)) {
                    append(line, g, pen, 1, tracking);
                } else if (const Glyph* f = fallback->glyph(item.value)) {
                    append(line, f, pen, fallbackScale, tracking);
                }
                break;
            case TextItem::Symbol: {
                const char kind = static_cast<char>(item.value);
                if (fonts.outline) {
                    if (const Glyph* g = own(static_cast<int>(symbolCharacter(kind, *fonts.outline))))
                        append(line, g, pen, 1, tracking);
                    else if (fallback)
                        append(line, symbolGlyph(kind, *fallback), pen, fallbackScale, tracking);
                    break;
                }
                append(line, symbolGlyph(kind, *font), pen, 1, tracking);
                break;
            }
            case TextItem::Over:
                if (over) rule(overFrom, overY);
                over = !over;
                overFrom = pen.x;
                break;
            case TextItem::Under:
                if (under) rule(underFrom, underY);
                under = !under;
                underFrom = pen.x;
                break;
        }
    }
    // A line left open runs to the end of the text.
    if (over) rule(overFrom, overY);
    if (under) rule(underFrom, underY);
    line.advance = pen.x;
    return line;
}

PlacedText place(const TextParams& t, const TextFonts& fonts, bool refer) {
    ShapedLine line = shape(t.text, fonts, 1, refer);
    // A text with strokes of its own besides its font's glyphs (rules, dots,
    // built-in symbols, outlines) keeps them all as strokes, in their order.
    if (refer && !line.glyphs.empty() && (line.copied || !line.strokes.empty() || !line.areas.empty()))
        line = shape(t.text, fonts, 1, false);
    const double above = fonts.above(), below = fonts.below();
    const double width = line.advance;
    double sy = t.height / above;
    double sx = sy * t.widthFactor;
    double rotation = t.rotationDeg * kPi / 180;
    Vec2 anchor = t.first;
    double ox = 0, oy = 0;
    HAlign h = t.h;
    if (h == HAlign::Aligned || h == HAlign::Fit) {
        const Vec2 d = t.second - t.first;
        const double length = std::hypot(d.x, d.y);
        if (length > 0 && width > 0) {
            rotation = std::atan2(d.y, d.x);
            if (h == HAlign::Aligned) {
                sy = length / (width * t.widthFactor);
                sx = sy * t.widthFactor;
            } else {
                sx = length / width;
            }
        } else {
            h = HAlign::Left;  // no room given: as typed, from the first point
        }
    } else {
        if (h == HAlign::Center || h == HAlign::Middle) ox = -width / 2;
        else if (h == HAlign::Right) ox = -width;
        if (h == HAlign::Middle) oy = -above / 2;
        else if (t.v == VAlign::Bottom) oy = below;
        else if (t.v == VAlign::Middle) oy = -above / 2;
        else if (t.v == VAlign::Top) oy = -above;
        if (h != HAlign::Left || t.v != VAlign::Baseline) anchor = t.second;
    }
    const double shear = std::tan(t.obliqueDeg * kPi / 180);
    Affine local{sx, 0, sy * shear, sy, sx * ox, sy * oy};
    if (t.backward) local = Affine::scale(-1, 1).after(local);
    if (t.upsideDown) local = Affine::scale(1, -1).after(local);
    PlacedText out;
    out.toWorld = Affine::translate(anchor).after(Affine::rotate(rotation)).after(local);
    out.advance = width;
    out.strokes = std::move(line.strokes);
    out.areas = std::move(line.areas);
    out.glyphs = std::move(line.glyphs);
    out.fallbackScale = line.fallbackScale;
    for (auto* set : {&out.strokes, &out.areas})
        for (auto& s : *set)
            for (auto& p : s) p = out.toWorld(p);
    return out;
}
}  // namespace

ShapedLine shapeLine(std::string_view text, const TextFonts& fonts, double tracking) {
    return shape(text, fonts, tracking, false);
}

PlacedText placeText(const TextParams& params, const TextFonts& fonts) { return place(params, fonts, false); }

PlacedText placeGlyphs(const TextParams& params, const TextFonts& fonts) { return place(params, fonts, true); }

}  // namespace kestrin::render
