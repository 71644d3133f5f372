// A character as a font draws it, made once per font and character and then
// placed wherever a text shows it.
#pragma once

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
};

// A stroke glyph where a line of text puts it: its point q lies at
// pen + q * scale in the text's own units.
struct PlacedGlyph {
    const Glyph* glyph = nullptr;  // owned by its font, which outlives every text drawn with it
    Vec2 pen;
    double scale = 1;
};

}  // namespace kestrin::render
