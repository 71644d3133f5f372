// Multiline text laid out: tokens (MTextCodes.h) shaped in their fonts,
// wrapped to the text's width, lines spaced and aligned to the attachment
// point. In the text's own frame: the insertion point at the origin, x along
// the text's direction, y up.
#pragma once

#include <functional>
#include <optional>
#include <vector>

#include "render/Colors.h"
#include "render/Geometry.h"
#include "render/MTextCodes.h"
#include "render/TextLayout.h"

namespace kestrin::render {

struct MTextFrame {
    double width = 0;          // group 41: lines wrap to it; 0 no wrapping
    int attachment = 1;        // group 71: 1 top left ... 9 bottom right
    double spacing = 1;        // group 44: times the usual line spacing
    bool exactSpacing = false; // group 73 = 2: every line the same, whatever its characters
    double height = 1;         // group 40: the text's height
};

// What one colour of the text draws.
struct MTextPiece {
    std::vector<Polyline> strokes;
    std::vector<Polyline> areas;  // filled outlines, non-zero rule
    std::optional<ColorChoice> color;  // none: the entity's
};

// The fonts for a font code, or for the style's font (null).
using MTextFonts = std::function<TextFonts(const FontRequest*)>;

// Stacked text is drawn at this share of the height.
constexpr double kStackScale = 0.7;

std::vector<MTextPiece> layoutMText(const std::vector<MTextToken>& tokens, const MTextFrame& frame,
                                    const MTextFonts& fonts);

}  // namespace kestrin::render
