// A character as a font draws it, made once per font and character and then
// placed wherever a text shows it.
#pragma once

#include <algorithm>
#include <cstdint>
#include <vector>

#include "render/Geometry.h"

namespace kestrin::render {

// A character drawn from the pen's start (0,0): its strokes (a shape
// font's), its filled outlines (an outline font's, non-zero rule), where it
// leaves the pen (the next character starts there) and the box of both.
struct Glyph {
    std::vector<Polyline> strokes;
    std::vector<Polyline> areas;
    Vec2 advance;
    Box box;
    // The corners of the convex hull of its strokes' points (points on its
    // edges kept): placed by any affine map, their box is the strokes'.
    std::vector<Vec2> hull;
    Box hullBox;  // the hull's (the strokes') box: placed by a map that keeps axes, its corners are the strokes' box
};

// The glyph's box and hull, from its strokes and areas.
inline void measure(Glyph& g) {
    g.box = Box{};
    std::vector<Vec2> points;
    for (const Polyline& s : g.strokes) points.insert(points.end(), s.begin(), s.end());
    g.hullBox = Box{};
    for (const Vec2& p : points) g.hullBox.add(p);
    g.box = g.hullBox;
    for (const Polyline& a : g.areas)
        for (const Vec2& p : a) g.box.add(p);
    // Andrew's monotone chain, the lower then the upper side.
    std::sort(points.begin(), points.end(), [](Vec2 a, Vec2 b) { return a.x < b.x || (a.x == b.x && a.y < b.y); });
    points.erase(std::unique(points.begin(), points.end()), points.end());
    if (points.size() < 3) {
        g.hull = points;
        return;
    }
    auto turn = [](Vec2 o, Vec2 a, Vec2 b) { return (a.x - o.x) * (b.y - o.y) - (a.y - o.y) * (b.x - o.x); };
    std::vector<Vec2> hull(2 * points.size());
    std::size_t k = 0;
    for (std::size_t i = 0; i < points.size(); ++i) {
        while (k >= 2 && turn(hull[k - 2], hull[k - 1], points[i]) < 0) --k;
        hull[k++] = points[i];
    }
    for (std::size_t i = points.size() - 1, lower = k + 1; i-- > 0;) {
        while (k >= lower && turn(hull[k - 2], hull[k - 1], points[i]) < 0) --k;
        hull[k++] = points[i];
    }
    hull.resize(k - 1);
    g.hull = std::move(hull);
}

// A glyph of a line of text kept as a reference to its font's glyph (which
// outlives every text drawn with it), drawn at the style font's scale or at
// the fallback font's: one word a character.
class RunGlyph {
public:
    RunGlyph(const Glyph* glyph, bool fallback)
        : bits_(reinterpret_cast<std::uintptr_t>(glyph) | (fallback ? 1 : 0)) {}
    const Glyph& glyph() const { return *reinterpret_cast<const Glyph*>(bits_ & ~std::uintptr_t{1}); }
    bool fallback() const { return (bits_ & 1) != 0; }

private:
    static_assert(alignof(Glyph) >= 2, "the low bit of a glyph's address tells the font");
    std::uintptr_t bits_;
};

}  // namespace kestrin::render
