#include "render/AreaRaster.h"

#include <gtest/gtest.h>

#include <map>

namespace kestrin::render {
namespace {

// The cover of each pixel, by (x, y).
std::map<std::pair<int, int>, float> covers(const std::vector<Polyline>& rings, FillRule rule, int w = 20, int h = 20) {
    std::map<std::pair<int, int>, float> out;
    rasteriseArea(rings, rule, w, h, [&](int y, int x0, const std::vector<float>& cover) {
        for (std::size_t k = 0; k < cover.size(); ++k)
            if (cover[k] > 0) out[{x0 + static_cast<int>(k), y}] = cover[k];
    });
    return out;
}

Polyline square(double x0, double y0, double x1, double y1) { return {{x0, y0}, {x1, y0}, {x1, y1}, {x0, y1}}; }

TEST(AreaRaster, PixelsAreCoveredByTheShareOfThemInside) {
    // Pixel centres on integers: 2.5 .. 6.5 covers pixels 3 .. 6 wholly.
    auto c = covers({square(2.5, 2.5, 6.5, 6.5)}, FillRule::NonZero);
    EXPECT_EQ(c.size(), 16u);
    for (const auto& [at, v] : c) EXPECT_FLOAT_EQ(v, 1) << at.first << "," << at.second;
    // Edges through pixel centres: half of each edge pixel, a quarter at the corners.
    c = covers({square(3, 3, 6, 6)}, FillRule::NonZero);
    EXPECT_FLOAT_EQ((c[{4, 4}]), 1);
    EXPECT_FLOAT_EQ((c[{3, 4}]), 0.5f);
    EXPECT_FLOAT_EQ((c[{4, 6}]), 0.5f);
    EXPECT_FLOAT_EQ((c[{3, 3}]), 0.25f);
    EXPECT_EQ(c.count({7, 4}), 0u);
    // A triangle: half the square's cover in all.
    double sum = 0;
    for (const auto& [at, v] : covers({{{2.5, 2.5}, {10.5, 2.5}, {2.5, 10.5}}}, FillRule::NonZero)) sum += v;
    EXPECT_NEAR(sum, 32, 0.5);
}

TEST(AreaRaster, TheRulesDifferWhereRingsOverlap) {
    // Two squares the same way round over each other, and a hole the other way round.
    const Polyline outer = square(0.5, 0.5, 10.5, 10.5);
    const Polyline twice = square(2.5, 2.5, 4.5, 4.5);
    Polyline hole = square(6.5, 6.5, 8.5, 8.5);
    std::reverse(hole.begin(), hole.end());
    auto nonZero = covers({outer, twice, hole}, FillRule::NonZero);
    auto evenOdd = covers({outer, twice, hole}, FillRule::EvenOdd);
    EXPECT_FLOAT_EQ((nonZero[{3, 3}]), 1) << "wound twice: still inside";
    EXPECT_EQ(evenOdd.count({3, 3}), 0u) << "crossed twice: outside";
    EXPECT_EQ(nonZero.count({7, 7}), 0u) << "wound back to zero";
    EXPECT_EQ(evenOdd.count({7, 7}), 0u);
    EXPECT_FLOAT_EQ((evenOdd[{1, 1}]), 1);
}

TEST(AreaRaster, OnlyThePictureIsVisitedAndBrokenRingsDrawNothing) {
    int rows = 0;
    rasteriseArea({square(-1e9, -1e9, 1e9, 1e9)}, FillRule::NonZero, 8, 6, [&](int y, int x0, const std::vector<float>& c) {
        EXPECT_GE(y, 0);
        EXPECT_LT(y, 6);
        EXPECT_EQ(x0, 0);
        EXPECT_EQ(c.size(), 8u);
        ++rows;
    });
    EXPECT_EQ(rows, 6);
    EXPECT_TRUE(covers({{{1, 1}, {5, 5}}}, FillRule::NonZero).empty()) << "two points enclose nothing";
    EXPECT_TRUE(covers({{{1, 1}, {NAN, 5}, {5, 1}}}, FillRule::NonZero).empty());
    EXPECT_TRUE(covers({square(30, 30, 40, 40)}, FillRule::NonZero).empty()) << "off the picture";
}

}  // namespace
}  // namespace kestrin::render
