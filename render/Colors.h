// Colours of a drawing: the 256 numbered colours (ACI), true colours
// (group 420) and how an entity's colour follows its layer or its block.
// The pictures are white: colour 7 draws dark.
#pragma once

#include <cstdint>
#include <optional>

namespace kestrin::render {

struct Color {
    std::uint8_t r = 0, g = 0, b = 0;
    friend bool operator==(const Color&, const Color&) = default;
};

constexpr Color kDark{0, 0, 0};

// An entity's colour as the drawing gives it.
struct ColorChoice {
    static constexpr int kByBlock = 0;
    static constexpr int kByLayer = 256;
    int index = kByLayer;            // group 62: 0 by block, 1..255, 256 by layer
    std::optional<Color> trueColor;  // group 420, which wins over the number

    static ColorChoice fromTags(std::optional<long> index, std::optional<long> trueColor);
    friend bool operator==(const ColorChoice&, const ColorChoice&) = default;
};

// Colour `index` of the standard palette (1..255); 7, and anything outside
// 1..255, draws dark.
Color paletteColor(int index);

// A 24-bit value 0xRRGGBB (group 420).
constexpr Color colorFromRgb(std::uint32_t v) {
    return {static_cast<std::uint8_t>((v >> 16) & 0xFF), static_cast<std::uint8_t>((v >> 8) & 0xFF),
            static_cast<std::uint8_t>(v & 0xFF)};
}

// The colour `choice` draws in: by layer the layer's colour, by block the
// colour of the block reference it is drawn through.
Color resolveColor(const ColorChoice& choice, Color layerColor, Color blockColor);

}  // namespace kestrin::render
