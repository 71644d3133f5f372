// What entities draw, in drawing units: strokes in colours and filled areas.
#pragma once

#include <cstddef>
#include <vector>

#include "render/Colors.h"
#include "render/Geometry.h"

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

// Areas are drawn first, in order, then the strokes over them; strokes
// before the first ink are dark.
struct Artwork {
    std::vector<Polyline> strokes;
    std::vector<Ink> inks;
    std::vector<Fill> fills;

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
    bool empty() const { return strokes.empty() && fills.empty(); }
};

inline Box boxOf(const Artwork& art) {
    Box box = boxOf(art.strokes);
    for (const Fill& f : art.fills) box.add(boxOf(f.rings));
    return box;
}

}  // namespace kestrin::render
