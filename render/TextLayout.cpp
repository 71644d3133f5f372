#include "render/TextLayout.h"

#include <cctype>
#include <cmath>

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

struct Item {
    enum Kind { Char, Shape, Symbol, Over, Under } kind;
    int value;
};

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

std::vector<Item> parseCodes(std::string_view s) {
    std::vector<Item> items;
    const std::size_t n = s.size();
    for (std::size_t i = 0; i < n;) {
        if (s[i] == '%' && i + 2 < n && s[i + 1] == '%') {
            const char c = s[i + 2];
            if (std::isdigit(static_cast<unsigned char>(c))) {
                int value = 0;
                std::size_t j = i + 2;
                while (j < n && j < i + 5 && std::isdigit(static_cast<unsigned char>(s[j]))) value = value * 10 + (s[j++] - '0');
                items.push_back({Item::Shape, value});
                i = j;
                continue;
            }
            switch (std::tolower(static_cast<unsigned char>(c))) {
                case 'c': case 'd': case 'p':
                    items.push_back({Item::Symbol, std::tolower(static_cast<unsigned char>(c))});
                    i += 3;
                    continue;
                case 'o':
                    items.push_back({Item::Over, 0});
                    i += 3;
                    continue;
                case 'u':
                    items.push_back({Item::Under, 0});
                    i += 3;
                    continue;
                case '%':
                    items.push_back({Item::Char, '%'});
                    i += 3;
                    continue;
                default:
                    break;
            }
        }
        items.push_back({Item::Char, static_cast<unsigned char>(s[i])});
        ++i;
    }
    return items;
}

void append(ShapedLine& line, const Glyph& g, Vec2& pen, double k) {
    for (const Polyline& s : g.strokes) {
        Polyline p;
        p.reserve(s.size());
        for (const Vec2& q : s) p.push_back(pen + q * k);
        line.strokes.push_back(std::move(p));
    }
    pen = pen + g.advance * k;
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
    for (const auto& s : g.strokes)
        for (const Vec2& p : s) g.box.add(p);
    return g;
}

ShapedLine shapeLine(std::string_view text, const TextFonts& fonts) {
    const ShxFont& font = *fonts.style;
    ShapedLine line;
    Vec2 pen;
    double overFrom = 0, underFrom = 0;
    bool over = false, under = false;
    const double overY = font.above() * 1.2, underY = -font.above() * 0.2;
    auto rule = [&](double from, double y) {
        if (pen.x != from) line.strokes.push_back({{from, y}, {pen.x, y}});
    };
    const ShxFont* fallback = fonts.fallback ? fonts.fallback : &font;
    const double fallbackScale = double(font.above()) / fallback->above();
    auto fromFallback = [&](int c) {
        const bool extended = c >= 0x80 && c < 0xC0;
        if (!extended) {
            if (const Glyph* g = fallback->glyph(c)) append(line, *g, pen, fallbackScale);
            return;
        }
        const Substitute sub = substituteFor(c);
        if (sub.symbol) {
            append(line, symbolGlyph(sub.symbol, *fallback), pen, fallbackScale);
            return;
        }
        const Glyph* g = fallback->glyph(sub.shape);
        if (!g) return;
        if (sub.diaeresis) {  // two dots over the letter
            const double y = g->box.maxY + fallback->above() * 0.12, mid = (g->box.minX + g->box.maxX) / 2;
            const double gap = fallback->above() * 0.15, dot = fallback->above() * 0.05;
            for (double x : {mid - gap, mid + gap})
                line.strokes.push_back({pen + Vec2{x - dot, y} * fallbackScale, pen + Vec2{x + dot, y} * fallbackScale});
        }
        append(line, *g, pen, fallbackScale);
    };
    for (const Item& item : parseCodes(text)) {
        switch (item.kind) {
            case Item::Char:
                if (fonts.replaced && item.value >= 0x80 && item.value < 0xC0) fromFallback(item.value);
                else if (const Glyph* g = font.glyph(item.value)) append(line, *g, pen, 1);
                else if (fallback != &font) fromFallback(item.value);
                break;
            case Item::Shape:  // %%nnn: the shape by number, of the style's font if it has it
                if (const Glyph* g = font.glyph(item.value)) append(line, *g, pen, 1);
                else if (const Glyph* f = fallback->glyph(item.value)) append(line, *f, pen, fallbackScale);
                break;
            case Item::Symbol: {
                const Glyph g = symbolGlyph(static_cast<char>(item.value), font);
                append(line, g, pen, 1);
                break;
            }
            case Item::Over:
                if (over) rule(overFrom, overY);
                over = !over;
                overFrom = pen.x;
                break;
            case Item::Under:
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

PlacedText placeText(const TextParams& t, const TextFonts& fonts) {
    const ShxFont& font = *fonts.style;
    ShapedLine line = shapeLine(t.text, fonts);
    const double above = font.above(), below = font.below();
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
    for (auto& s : out.strokes)
        for (auto& p : s) p = out.toWorld(p);
    return out;
}

std::vector<std::string> plainParagraphs(std::string_view s) {
    std::vector<std::string> lines(1);
    const std::size_t n = s.size();
    auto skipPast = [&](std::size_t i, char end) {
        const std::size_t e = s.find(end, i);
        return e == std::string_view::npos ? n : e + 1;
    };
    for (std::size_t i = 0; i < n;) {
        const char c = s[i];
        if (c == '{' || c == '}') {
            ++i;
            continue;
        }
        if (c != '\\' || i + 1 >= n) {
            lines.back() += c;
            ++i;
            continue;
        }
        const char k = s[i + 1];
        switch (k) {
            case 'P':
                lines.emplace_back();
                i += 2;
                break;
            case '~':
                lines.back() += ' ';
                i += 2;
                break;
            case '\\': case '{': case '}':
                lines.back() += k;
                i += 2;
                break;
            case 'A': case 'C': case 'c': case 'F': case 'f': case 'H': case 'h': case 'Q': case 'q':
            case 'T': case 't': case 'W': case 'w': case 'p':
                i = skipPast(i + 2, ';');
                break;
            case 'S': {  // stacked a^b, a/b, a#b: written side by side
                const std::size_t e = skipPast(i + 2, ';');
                std::string part(s.substr(i + 2, e - (i + 2) - (e <= n && s[e - 1] == ';' ? 1 : 0)));
                for (char& ch : part)
                    if (ch == '^' || ch == '#') ch = '/';
                lines.back() += part;
                i = e;
                break;
            }
            case 'U':  // \U+XXXX: a character code page 1251 lacks
                lines.back() += '?';
                i = std::min(n, i + 7);
                break;
            default:  // \L \l \O \o \K \k toggles and anything unknown: dropped
                i += 2;
                break;
        }
    }
    return lines;
}

}  // namespace kestrin::render
