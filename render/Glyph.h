// A character as a font draws it, made once per font and character and then
// placed wherever a text shows it.
#pragma once

#include <algorithm>
#include <cstddef>
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
    // Where the strokes reach along x and along y, lowest first: the spans
    // of their segments merged where they meet, and the points that are a
    // span of their own (a stroke's first point, a segment without length)
    // unless a span holds them strictly within. A streak along an axis is
    // made of these instead of segment by segment.
    struct Reach {
        double lo, hi;
    };
    std::vector<Reach> reachX, reachY;
};

// Where the strokes reach along one axis (see Glyph::reachX).
template <class Along>
std::vector<Glyph::Reach> reachOf(const std::vector<Polyline>& strokes, Along along) {
    std::vector<Glyph::Reach> spans, points;
    for (const Polyline& s : strokes) {
        if (s.empty()) continue;
        points.push_back({along(s[0]), along(s[0])});
        for (std::size_t k = 1; k < s.size(); ++k) {
            const double a = along(s[k - 1]), b = along(s[k]);
            if (a == b) points.push_back({a, a});
            else spans.push_back({std::min(a, b), std::max(a, b)});
        }
    }
    auto byLow = [](const Glyph::Reach& a, const Glyph::Reach& b) {
        return a.lo < b.lo || (a.lo == b.lo && a.hi < b.hi);
    };
    std::sort(spans.begin(), spans.end(), byLow);
    std::vector<Glyph::Reach> merged;
    for (const Glyph::Reach& r : spans) {
        if (!merged.empty() && r.lo <= merged.back().hi) merged.back().hi = std::max(merged.back().hi, r.hi);
        else merged.push_back(r);
    }
    std::sort(points.begin(), points.end(), byLow);
    auto same = [](const Glyph::Reach& a, const Glyph::Reach& b) { return a.lo == b.lo; };
    points.erase(std::unique(points.begin(), points.end(), same), points.end());
    std::vector<Glyph::Reach> out;
    std::size_t m = 0;
    for (const Glyph::Reach& p : points) {
        while (m < merged.size() && merged[m].hi <= p.lo) out.push_back(merged[m++]);
        const bool within = m < merged.size() && merged[m].lo < p.lo && p.lo < merged[m].hi;
        if (!within) out.push_back(p);
    }
    out.insert(out.end(), merged.begin() + static_cast<std::ptrdiff_t>(m), merged.end());
    return out;
}

// The glyph's box and hull, from its strokes and areas.
inline void measure(Glyph& g) {
    g.box = Box{};
    std::vector<Vec2> points;
    for (const Polyline& s : g.strokes) points.insert(points.end(), s.begin(), s.end());
    g.hullBox = Box{};
    for (const Vec2& p : points) g.hullBox.add(p);
    g.box = g.hullBox;
    g.reachX = reachOf(g.strokes, [](Vec2 p) { return p.x; });
    g.reachY = reachOf(g.strokes, [](Vec2 p) { return p.y; });
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
