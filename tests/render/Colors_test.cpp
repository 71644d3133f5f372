#include "render/Colors.h"

#include <gtest/gtest.h>

namespace kestrin::render {
namespace {

TEST(Colors, ThePaletteHasTheStandardColoursAndSevenDrawsDark) {
    EXPECT_EQ(paletteColor(1), (Color{255, 0, 0}));
    EXPECT_EQ(paletteColor(3), (Color{0, 255, 0}));
    EXPECT_EQ(paletteColor(5), (Color{0, 0, 255}));
    EXPECT_EQ(paletteColor(7), kDark) << "white on a white picture would vanish";
    EXPECT_EQ(paletteColor(8), (Color{128, 128, 128}));
    // The wheel, as published palettes have it: each ten a hue, the odd ones paler.
    EXPECT_EQ(paletteColor(10), (Color{255, 0, 0}));
    EXPECT_EQ(paletteColor(11), (Color{255, 127, 127}));
    EXPECT_EQ(paletteColor(12), (Color{165, 0, 0}));
    EXPECT_EQ(paletteColor(20), (Color{255, 63, 0}));
    EXPECT_EQ(paletteColor(21), (Color{255, 159, 127}));
    EXPECT_EQ(paletteColor(40), (Color{255, 191, 0}));
    EXPECT_EQ(paletteColor(50), (Color{255, 255, 0}));
    EXPECT_EQ(paletteColor(92), (Color{0, 165, 0}));
    EXPECT_EQ(paletteColor(150), (Color{0, 127, 255}));
    EXPECT_EQ(paletteColor(218), (Color{38, 0, 38}));
    // Greys to white at the end.
    EXPECT_EQ(paletteColor(250), (Color{51, 51, 51}));
    EXPECT_EQ(paletteColor(255), (Color{255, 255, 255}));
    EXPECT_EQ(paletteColor(0), kDark);
    EXPECT_EQ(paletteColor(256), kDark);
}

TEST(Colors, ByLayerByBlockANumberOrATrueColour) {
    const Color layer{1, 2, 3}, block{4, 5, 6};
    EXPECT_EQ(resolveColor(ColorChoice::fromTags(std::nullopt, std::nullopt), layer, block), layer) << "no 62: by layer";
    EXPECT_EQ(resolveColor(ColorChoice::fromTags(256, std::nullopt), layer, block), layer);
    EXPECT_EQ(resolveColor(ColorChoice::fromTags(0, std::nullopt), layer, block), block);
    EXPECT_EQ(resolveColor(ColorChoice::fromTags(1, std::nullopt), layer, block), (Color{255, 0, 0}));
    EXPECT_EQ(resolveColor(ColorChoice::fromTags(-1, std::nullopt), layer, block), (Color{255, 0, 0}))
        << "a layer that is off keeps its colour number";
    // 420 wins over 62, whatever 62 says.
    EXPECT_EQ(resolveColor(ColorChoice::fromTags(0, 0x12AB34), layer, block), (Color{0x12, 0xAB, 0x34}));
    EXPECT_EQ(resolveColor(ColorChoice::fromTags(256, 0x000000), layer, block), (Color{0, 0, 0}));
}

}  // namespace
}  // namespace kestrin::render
