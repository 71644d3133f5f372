// The byte codes of one SHX shape split into commands, read by one decoder
// for the font reader (which draws them) and the shape compiler (which
// checks them). A shape is a run of commands ending with code 0:
//   length << 4 | direction   a vector (codes 16 and above)
//   1, 2                      pen down, pen up
//   3 n, 4 n                  scale divided, multiplied by n
//   5, 6                      push, pop the pen's place
//   7 n                       the sub-shape n
//   8 dx dy                   a displacement
//   9 (dx dy)... 0 0          displacements
//   10 r octants              an octant arc
//   11 start end rr octants   a fractional arc (16-bit radius)
//   12 dx dy bulge            a bulge arc
//   13 (dx dy bulge)... 0 0   bulge arcs (a 0,0 pair ends them)
//   14                        the next command is for vertical text only
// Displacements and bulges are signed bytes.
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kestrin::render {

struct ShapeStep {
    int dx = 0, dy = 0;
    int bulge = 0;  // -127..127 across the chord (codes 12 and 13); 0 straight
};

struct ShapeCommand {
    enum class Kind {
        End, Vector, PenDown, PenUp, DivideScale, MultiplyScale, Push, Pop, SubShape,
        Displacements,   // 8 (one step) and 9
        OctantArc,       // 10
        FractionalArc,   // 11
        BulgeArcs,       // 12 (one step) and 13
        VerticalOnly,    // 14
        Unknown,         // 15: no command; read as nothing
    };
    Kind kind = Kind::End;
    int code = 0;
    std::size_t at = 0;            // the code byte's offset
    int length = 0, direction = 0; // Vector
    int value = 0;                 // the scale factor (3, 4) or the sub-shape (7)
    std::vector<ShapeStep> steps;  // 8, 9, 12, 13 (9 and 13 without their ending 0,0)
    int radius = 0;                // 10 (a byte), 11 (16 bits)
    int startOffset = 0, endOffset = 0;  // 11
    unsigned char octants = 0;     // 10, 11: direction and octants
    std::size_t octantsAt = 0;     // that byte's offset
};

struct ShapeDecodeError {
    std::size_t at = 0;  // the code byte's offset
    std::string what;    // what runs past the end: "a scale factor", "displacements ending 0,0", ...
};

// Calls `command` for each command in order, the ending 0 included, and
// stops there. Operands that run past the end stop it too: a list of
// displacements or bulge arcs is first given with the steps it has, then the
// error is answered. Nothing when every command was whole.
std::optional<ShapeDecodeError> decodeShape(std::string_view codes,
                                            const std::function<void(const ShapeCommand&)>& command);

}  // namespace kestrin::render
