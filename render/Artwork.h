// What entities draw, in drawing units: strokes in colours and filled areas.
#pragma once

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "render/Colors.h"
#include "render/Geometry.h"
#include "render/Glyph.h"

namespace kestrin::render {

// Which points the rings of an area enclose: an odd number of crossings
// (hatches, islands), or a winding other than zero (glyph outlines, wide
// polylines).
enum class FillRule { EvenOdd, NonZero };

struct Fill {
    std::vector<Polyline> rings;  // each closed back to its first point
    Color color = kDark;
    FillRule rule = FillRule::NonZero;
};

// The strokes from `from` on are drawn in `color` (up to the next ink).
struct Ink {
    std::size_t from = 0;
    Color color = kDark;
    friend bool operator==(const Ink&, const Ink&) = default;
};

// The glyphs of one text, kept as references to their fonts' glyphs rather
// than as strokes of their own. The pen starts at (0,0) and moves on by each
// glyph's advance at its scale; a point q of a glyph lies at
// outer(toWorld(pen + q * scale)), as the text's strokes would.
struct GlyphRun {
    std::vector<RunGlyph> glyphs;
    double fallbackScale = 1;            // the scale of the glyphs of the fallback font
    Affine toWorld;                      // the text's units to the entity's
    std::shared_ptr<const Affine> outer;  // the entity's to drawing units (block references); none: the same
    Color color = kDark;
    std::uint32_t at = 0;  // drawn after the artwork's first `at` strokes, before the others
};

// Areas are drawn first, in order, then the strokes over them, the glyph
// runs' among them where they stand; strokes before the first ink are dark.
struct Artwork {
    std::vector<Polyline> strokes;
    std::vector<Ink> inks;
    std::vector<Fill> fills;
    std::vector<GlyphRun> runs;

    // Strokes that follow are in `color`.
    void setColor(Color color) {
        if (inks.empty() ? color == kDark : inks.back().color == color) return;
        if (!inks.empty() && inks.back().from == strokes.size()) inks.back().color = color;
        else inks.push_back({strokes.size(), color});
    }
    // The colour of stroke `i` (inks scanned from `ink`, the index of the ink
    // in effect for an earlier stroke: walking the strokes in order costs
    // nothing more).
    Color colorOf(std::size_t i, std::size_t& ink) const {
        while (ink < inks.size() && inks[ink].from <= i) ++ink;
        return ink == 0 ? kDark : inks[ink - 1].color;
    }
    bool empty() const { return strokes.empty() && fills.empty() && runs.empty(); }
    void clear() {
        strokes.clear();
        inks.clear();
        fills.clear();
        runs.clear();
    }
};

// Each stroke of a glyph run where it is drawn, placed into `buffer` and
// handed to `take`; a stroke that would have a point beyond the finite
// numbers is left out, as the drawer leaves out such strokes.
template <class Take>
void placeRun(const GlyphRun& run, Polyline& buffer, Take&& take) {
    Vec2 pen;
    for (const RunGlyph rg : run.glyphs) {
        const Glyph& g = rg.glyph();
        const double k = rg.fallback() ? run.fallbackScale : 1;
        for (const Polyline& s : g.strokes) {
            if (s.empty()) continue;
            buffer.clear();
            bool finite = true;
            for (const Vec2& q : s) {
                Vec2 p = run.toWorld(pen + q * k);
                if (run.outer) p = (*run.outer)(p);
                finite = finite && std::isfinite(p.x) && std::isfinite(p.y);
                buffer.push_back(p);
            }
            if (finite) take(static_cast<const Polyline&>(buffer));
        }
        pen = pen + g.advance * k;
    }
}

// Each glyph of a run with the one map that places its points: the run's
// (text to entity to drawing units), then `after`.
template <class Take>
void forEachPlacedGlyph(const GlyphRun& run, const Affine& after, Take&& take) {
    const Affine world = run.outer ? after.after(*run.outer).after(run.toWorld) : after.after(run.toWorld);
    Vec2 pen;
    for (const RunGlyph rg : run.glyphs) {
        const Glyph& g = rg.glyph();
        const double k = rg.fallback() ? run.fallbackScale : 1;
        take(g, world.after(Affine{k, 0, 0, k, pen.x, pen.y}));
        pen = pen + g.advance * k;
    }
}

// Every stroke of the artwork with its colour, in the order drawn: its own
// strokes with its glyph runs' among them (placed into a buffer reused from
// stroke to stroke).
template <class Take>
void forEachStroke(const Artwork& art, Take&& take) {
    std::size_t ink = 0, i = 0;
    Polyline buffer;
    for (const GlyphRun& run : art.runs) {
        for (; i < run.at && i < art.strokes.size(); ++i) take(art.strokes[i], art.colorOf(i, ink));
        placeRun(run, buffer, [&](const Polyline& s) { take(s, run.color); });
    }
    for (; i < art.strokes.size(); ++i) take(art.strokes[i], art.colorOf(i, ink));
}

// How many strokes forEachStroke hands out at the most (it leaves out the
// glyph strokes that land beyond the finite numbers).
inline std::size_t strokeCount(const Artwork& art) {
    std::size_t n = art.strokes.size();
    for (const GlyphRun& run : art.runs)
        for (const RunGlyph g : run.glyphs)
            for (const Polyline& s : g.glyph().strokes) n += s.empty() ? 0 : 1;
    return n;
}

// The artwork's strokes with the glyph runs' placed as strokes of its own.
inline std::vector<Polyline> allStrokes(const Artwork& art) {
    std::vector<Polyline> out;
    forEachStroke(art, [&](const Polyline& s, Color) { out.push_back(s); });
    return out;
}

// The artwork with its glyph runs made strokes of its own, in their places
// and colours: it no longer refers to any font.
inline Artwork flattened(Artwork art) {
    if (art.runs.empty()) return art;
    Artwork flat;
    flat.fills = std::move(art.fills);
    forEachStroke(art, [&](const Polyline& stroke, Color color) {
        flat.setColor(color);
        flat.strokes.push_back(stroke);
    });
    return flat;
}

// The box of a glyph run's strokes: of its glyphs' hulls placed as their
// strokes would be, unless a point lands beyond the finite numbers (then of
// the strokes that stay finite, as drawn).
inline Box boxOf(const GlyphRun& run) {
    Box box;
    Vec2 pen;
    bool finite = true;
    // Text neither turned nor slanted: each glyph's box placed by its two
    // corners is where its hull's extreme points land (the same numbers).
    const bool straight = keepsAxes(run.toWorld) && (!run.outer || keepsAxes(*run.outer));
    auto place = [&](Vec2 q, double k) {
        Vec2 p = run.toWorld(pen + q * k);
        if (run.outer) p = (*run.outer)(p);
        finite = finite && std::isfinite(p.x) && std::isfinite(p.y);
        box.add(p);
    };
    for (const RunGlyph rg : run.glyphs) {
        const Glyph& g = rg.glyph();
        const double k = rg.fallback() ? run.fallbackScale : 1;
        if (straight && !g.hullBox.empty()) {
            place({g.hullBox.minX, g.hullBox.minY}, k);
            place({g.hullBox.maxX, g.hullBox.maxY}, k);
        } else {
            for (const Vec2& q : g.hull) place(q, k);
        }
        pen = pen + g.advance * k;
    }
    if (finite) return box;
    box = Box{};
    Polyline buffer;
    placeRun(run, buffer, [&](const Polyline& s) {
        for (const Vec2& p : s) box.add(p);
    });
    return box;
}

inline Box boxOf(const Artwork& art) {
    Box box = boxOf(art.strokes);
    for (const Fill& f : art.fills) box.add(boxOf(f.rings));
    for (const GlyphRun& run : art.runs) box.add(boxOf(run));
    return box;
}

}  // namespace kestrin::render
