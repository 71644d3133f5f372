#include "render/Glyph.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace kestrin::render {
namespace {

std::vector<std::pair<double, double>> pairs(const std::vector<Glyph::Reach>& reach) {
    std::vector<std::pair<double, double>> out;
    for (const Glyph::Reach& r : reach) out.emplace_back(r.lo, r.hi);
    return out;
}

// Spans that overlap or touch are one; a point stays on its own unless a
// span holds it strictly within (one at a span's end marks the cell it
// starts, which the span may not reach).
TEST(Glyph, ReachMergesSpansAndKeepsPointsAtTheirEnds) {
    Glyph g;
    g.strokes = {
        {{0, 0}, {2, 0}, {1, 5}},  // [0, 2] from its first point 0
        {{2, 1}, {3, 1}},          // touches: [0, 3]; its first point within
        {{5, 0}, {4, 0}},          // [4, 5], starting at its upper end
        {{7, 0}},                  // a point alone
        {{1.5, 0}, {1.5, 3}},      // no length along x, within [0, 3]
    };
    measure(g);
    using P = std::vector<std::pair<double, double>>;
    EXPECT_EQ(pairs(g.reachX), (P{{0, 0}, {0, 3}, {4, 5}, {5, 5}, {7, 7}}));
    EXPECT_EQ(pairs(g.reachY), (P{{0, 0}, {0, 5}}));
    EXPECT_EQ(g.hullBox.minX, 0);
    EXPECT_EQ(g.hullBox.maxX, 7);
    Glyph empty;
    measure(empty);
    EXPECT_TRUE(empty.reachX.empty());
}

}  // namespace
}  // namespace kestrin::render
