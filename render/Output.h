// Strokes fitted to a picture: a grey-scale raster (PNG) or SVG text, dark
// strokes on white.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "render/Geometry.h"

namespace kestrin::render {

class ImageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Drawing units -> pixels (y down): the box of the strokes centred in the
// picture, `margin` pixels kept free on each side.
Affine fitToPicture(const Box& extents, int width, int height, int margin = 8);

struct Image {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> gray;  // row by row, 0 black, 255 white

    Image() = default;
    Image(int w, int h) : width(w), height(h), gray(static_cast<std::size_t>(w) * h, 255) {}
    std::uint8_t at(int x, int y) const { return gray[static_cast<std::size_t>(y) * width + x]; }
};

// Anti-aliased one-pixel strokes (points in pixels); a single point is a dot.
void drawStrokes(Image& image, const std::vector<Polyline>& strokes);

// The strokes (drawing units) fitted to a picture of that size, in pixels.
std::vector<Polyline> fitted(std::vector<Polyline> strokes, int width, int height);
// The fitted strokes drawn on white.
Image rasterise(const std::vector<Polyline>& strokes, int width, int height);

std::string encodePng(const Image& image);
// Reads 8-bit grey-scale PNG files (as encodePng writes them); ImageError otherwise.
Image decodePng(std::string_view bytes);

std::string svgText(const std::vector<Polyline>& strokes, int width, int height);

// Share of the inked pixels (dark in either picture) whose grey differs by
// more than `tolerance`; a different size counts as all differing.
double differenceRatio(const Image& a, const Image& b, int tolerance = 64);

}  // namespace kestrin::render
