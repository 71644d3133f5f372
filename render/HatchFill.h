// A HATCH record as areas and lines: its boundary paths as closed rings
// (polyline paths with bulges; edge paths of lines, arcs, elliptical arcs and
// splines), filled solid or hatched with the pattern lines it holds, both by
// the even-odd rule (so islands stay empty).
#pragma once

#include <cstddef>
#include <vector>

#include "host/dxf/TagList.h"
#include "render/Geometry.h"

namespace kestrin::render {

// One line of a pattern as the record holds it: already turned and scaled.
struct PatternLine {
    double angleDeg = 0;
    Vec2 base;                   // a point the first line passes
    Vec2 offset;                 // from one line to the next
    std::vector<double> dashes;  // > 0 a dash, < 0 a gap, 0 a dot; none: solid
};

struct Hatch {
    std::vector<Polyline> rings;  // in the hatch's own coordinates
    bool solid = false;
    std::vector<PatternLine> pattern;
};

// Reads what it can of a malformed record: a path that breaks off keeps
// the points it had.
Hatch readHatch(const dxf::Record& record);

struct HatchLines {
    std::vector<Polyline> strokes;  // two points a dash, one a dot
    bool tooDense = false;          // past `limit` dashes: none drawn
};

// The pattern lines inside the rings.
HatchLines hatchLines(const std::vector<Polyline>& rings, const std::vector<PatternLine>& pattern,
                      std::size_t limit = 500000);

}  // namespace kestrin::render
