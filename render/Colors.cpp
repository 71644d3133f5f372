#include "render/Colors.h"

#include <array>

namespace kestrin::render {

namespace {

// 10..249: 24 hues 15 degrees apart, each in five brightnesses (255, 165,
// 127, 76, 38), full and half saturated; 250..255 greys.
Color wheelColor(int index) {
    constexpr int kValues[5] = {255, 165, 127, 76, 38};
    const int hue = (index / 10 - 1) * 15;
    const int step = index % 10;
    const double value = kValues[step / 2];
    const double low = step % 2 ? value / 2 : 0;
    auto channel = [&](int h) {
        h = ((h % 360) + 360) % 360;
        double f = 0;
        if (h < 60 || h >= 300) f = 1;
        else if (h < 120) f = (120 - h) / 60.0;
        else if (h >= 240) f = (h - 240) / 60.0;
        return static_cast<std::uint8_t>(low + (value - low) * f);
    };
    return {channel(hue), channel(hue - 120), channel(hue - 240)};
}

std::array<Color, 256> makePalette() {
    std::array<Color, 256> p{};
    const Color basic[10] = {kDark,           {255, 0, 0},   {255, 255, 0},   {0, 255, 0}, {0, 255, 255},
                             {0, 0, 255},     {255, 0, 255}, kDark,           {128, 128, 128}, {192, 192, 192}};
    for (int k = 0; k < 10; ++k) p[k] = basic[k];
    for (int k = 10; k < 250; ++k) p[k] = wheelColor(k);
    constexpr std::uint8_t kGreys[6] = {51, 91, 132, 173, 214, 255};
    for (int k = 250; k < 256; ++k) p[k] = {kGreys[k - 250], kGreys[k - 250], kGreys[k - 250]};
    return p;
}

}  // namespace

ColorChoice ColorChoice::fromTags(std::optional<long> index, std::optional<long> trueColor) {
    ColorChoice s;
    if (index) s.index = static_cast<int>(*index);
    if (trueColor && *trueColor >= 0) s.trueColor = colorFromRgb(static_cast<std::uint32_t>(*trueColor));
    return s;
}

Color paletteColor(int index) {
    static const std::array<Color, 256> palette = makePalette();
    return index >= 1 && index <= 255 ? palette[static_cast<std::size_t>(index)] : kDark;
}

Color resolveColor(const ColorChoice& choice, Color layerColor, Color blockColor) {
    if (choice.trueColor) return *choice.trueColor;
    if (choice.index == ColorChoice::kByLayer) return layerColor;
    if (choice.index == ColorChoice::kByBlock) return blockColor;
    return paletteColor(choice.index < 0 ? -choice.index : choice.index);
}

}  // namespace kestrin::render
