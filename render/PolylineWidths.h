// Polylines with widths (constant, or from a start width to an end width
// along each segment) as filled bands: one ring a segment, straight or
// curved with its bulge, and bevels where wide segments meet.
#pragma once

#include <vector>

#include "render/Geometry.h"

namespace kestrin::render {

struct WideVertex {
    Vec2 at;
    double bulge = 0;
    double startWidth = 0;  // of the segment that starts here
    double endWidth = 0;
};

struct WideOutline {
    std::vector<Polyline> rings;    // counter-clockwise, to be filled (either rule)
    std::vector<Polyline> strokes;  // the segments without width
};

WideOutline widePolyline(const std::vector<WideVertex>& vertices, bool closed);

}  // namespace kestrin::render
