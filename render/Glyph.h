// A character as a font draws it, made once per font and character and then
// placed wherever a text shows it.
#pragma once

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
};

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
