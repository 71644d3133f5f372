// Filled areas on a pixel grid: how much of each pixel the rings cover
// (four sub-rows a pixel, exact across), by either fill rule.
#pragma once

#include <functional>
#include <vector>

#include "render/Artwork.h"

namespace kestrin::render {

// Rings in pixels (pixel centres at integer coordinates, y down). `row`
// hears each row y of the picture (0 <= y < height) that the area touches:
// the first pixel x0 and the cover of x0, x0 + 1, ... (0 to 1).
using CoverRow = std::function<void(int y, int x0, const std::vector<float>& cover)>;
void rasteriseArea(const std::vector<Polyline>& rings, FillRule rule, int width, int height, const CoverRow& row);

}  // namespace kestrin::render
