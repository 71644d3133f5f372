#include "render/HatchFill.h"

#include <gtest/gtest.h>

#include <cmath>

#include "render/PolylineWidths.h"
#include "tests/render/RenderTestSupport.h"

namespace kestrin::render {
namespace {

using test::record;

bool insideBox(Vec2 p, double x0, double y0, double x1, double y1, double slack = 1e-9) {
    return p.x >= x0 - slack && p.x <= x1 + slack && p.y >= y0 - slack && p.y <= y1 + slack;
}

TEST(HatchFill, BoundaryPathsOfEveryKind) {
    // Path 1 a polyline with a bulge. Path 2 edges: the upper half of an
    // ellipse clockwise from (20,10) to (30,10), the right half of a circle
    // clockwise from (30,10) to (30,0) (a clockwise edge holds its angles turned
    // round, 360 - angle, end first), a line back to (20,0), a spline through
    // (18,5) up to the start.
    const dxf::Record r = record("HATCH", {
        {8, "0"}, {10, "0"}, {20, "0"}, {30, "0"}, {2, "SOLID"}, {70, "1"}, {71, "0"}, {91, "2"},
        {92, "3"}, {72, "1"}, {73, "1"}, {93, "3"}, {10, "0"}, {20, "0"}, {42, "0"}, {10, "10"}, {20, "0"}, {42, "1"},
        {10, "10"}, {20, "10"}, {42, "0"}, {97, "0"},
        {92, "1"}, {93, "4"},
        {72, "3"}, {10, "25"}, {20, "10"}, {11, "5"}, {21, "0"}, {40, "0.4"}, {50, "180"}, {51, "360"}, {73, "0"},
        {72, "2"}, {10, "30"}, {20, "5"}, {40, "5"}, {50, "270"}, {51, "90"}, {73, "0"},
        {72, "1"}, {10, "30"}, {20, "0"}, {11, "20"}, {21, "0"},
        {72, "4"}, {94, "3"}, {73, "0"}, {74, "0"}, {95, "0"}, {96, "0"}, {97, "3"},
        {11, "20"}, {21, "0"}, {11, "18"}, {21, "5"}, {11, "20"}, {21, "10"},
        {97, "0"}, {75, "0"}, {76, "1"}, {98, "0"}});
    const Hatch h = readHatch(r);
    EXPECT_TRUE(h.solid);
    ASSERT_EQ(h.rings.size(), 2u);
    // The bulge 1 from (10,0) to (10,10): a half circle to the right, out to x = 15.
    const Box first = boxOf({h.rings[0]});
    EXPECT_NEAR(first.maxX, 15, 1e-6);
    EXPECT_NEAR(first.minX, 0, 1e-9);
    // The circle's right half reaches x = 35; the ellipse's upper half 2 above its centre.
    const Polyline& ring = h.rings[1];
    const Box second = boxOf({ring});
    EXPECT_NEAR(second.maxX, 35, 1e-6);
    EXPECT_NEAR(second.maxY, 12, 1e-6);
    EXPECT_NEAR(second.minY, 0, 1e-9);
    // The spline through (18,5): the ring reaches left of x = 20.
    EXPECT_LT(second.minX, 18.5);
    EXPECT_GT(second.minX, 17);
    // The edges follow on: the ring starts where the ellipse does and never jumps.
    EXPECT_NEAR(ring.front().x, 20, 1e-9);
    EXPECT_NEAR(ring.front().y, 10, 1e-9);
    for (std::size_t k = 1; k < ring.size(); ++k) {
        if (ring[k].y == 0 && ring[k - 1].y == 0) continue;  // the straight edge at y = 0
        EXPECT_LT(std::hypot(ring[k].x - ring[k - 1].x, ring[k].y - ring[k - 1].y), 2.0) << k;
    }
}

TEST(HatchFill, PatternLinesStayInsideTheBoundaryAndOutOfIslands) {
    const std::vector<Polyline> rings = {{{0, 0}, {10, 0}, {10, 10}, {0, 10}}, {{4, 4}, {6, 4}, {6, 6}, {4, 6}}};
    // Lines at 45 degrees, 1 apart, through (0,0).
    const double d = std::sqrt(0.5);
    const PatternLine diagonal{45, {0, 0}, {-d, d}, {}};
    const HatchLines lines = hatchLines(rings, {diagonal});
    ASSERT_FALSE(lines.tooDense);
    ASSERT_GT(lines.strokes.size(), 14u) << "14 lines cross, two of them split by the island";
    double length = 0;
    for (const Polyline& s : lines.strokes) {
        ASSERT_EQ(s.size(), 2u);
        const Vec2 mid = (s[0] + s[1]) * 0.5;
        EXPECT_TRUE(insideBox(s[0], 0, 0, 10, 10) && insideBox(s[1], 0, 0, 10, 10));
        EXPECT_FALSE(insideBox(mid, 4, 4, 6, 6, -1e-9)) << "a line through the island";
        EXPECT_NEAR(std::abs(s[1].x - s[0].x), std::abs(s[1].y - s[0].y), 1e-9) << "at 45 degrees";
        length += std::hypot(s[1].x - s[0].x, s[1].y - s[0].y);
    }
    // Lines 1 apart over an area of 100 - 4: their length is the area.
    EXPECT_NEAR(length, 96, 2.0);
}

TEST(HatchFill, DashesRepeatFromTheLinesOriginAndDotsAreDots) {
    const std::vector<Polyline> rings = {{{0, 0}, {10, 0}, {10, 1}, {0, 1}}};
    // Horizontal lines 2 apart through (0, 0.5): one line crosses; dash 1, gap 0.5, dot, gap 0.5.
    const PatternLine dashed{0, {0, 0.5}, {0, 2}, {1, -0.5, 0, -0.5}};
    const HatchLines lines = hatchLines(rings, {dashed});
    int dashes = 0, dots = 0;
    for (const Polyline& s : lines.strokes) {
        if (s.size() == 1) {
            ++dots;
            EXPECT_NEAR(std::fmod(s[0].x, 2.0), 1.5, 1e-9);
        } else {
            ++dashes;
            EXPECT_NEAR(std::fmod(s[0].x, 2.0), 0, 1e-9);
            EXPECT_NEAR(s[1].x - s[0].x, 1, 1e-9);
        }
        EXPECT_NEAR(s[0].y, 0.5, 1e-9);
    }
    EXPECT_EQ(dashes, 5);
    EXPECT_EQ(dots, 5);
    // Lines a millionth apart over this area would be millions: refused, nothing drawn.
    const HatchLines dense = hatchLines(rings, {PatternLine{0, {0, 0}, {0, 1e-7}, {}}});
    EXPECT_TRUE(dense.tooDense);
    EXPECT_TRUE(dense.strokes.empty());
}

TEST(HatchFill, APatternRecordAndABrokenOne) {
    // ANSI31 at scale 1 as a file holds it: one line family at 45 degrees.
    const dxf::Record r = record("HATCH", {
        {8, "0"}, {2, "ANSI31"}, {70, "0"}, {71, "0"}, {91, "1"}, {92, "2"}, {72, "0"}, {73, "1"}, {93, "4"},
        {10, "0"}, {20, "0"}, {10, "20"}, {20, "0"}, {10, "20"}, {20, "20"}, {10, "0"}, {20, "20"}, {97, "0"},
        {75, "1"}, {76, "1"}, {52, "0"}, {41, "1"}, {77, "0"}, {78, "1"},
        {53, "45"}, {43, "0"}, {44, "0"}, {45, "-2.245064"}, {46, "2.245064"}, {79, "0"}, {98, "0"}});
    const Hatch h = readHatch(r);
    EXPECT_FALSE(h.solid);
    ASSERT_EQ(h.rings.size(), 1u);
    ASSERT_EQ(h.pattern.size(), 1u);
    EXPECT_DOUBLE_EQ(h.pattern[0].angleDeg, 45);
    EXPECT_DOUBLE_EQ(h.pattern[0].offset.y, 2.245064);
    EXPECT_TRUE(h.pattern[0].dashes.empty());
    // The path's count says 4 vertices, the record ends after 2: what there is stays.
    const Hatch cut = readHatch(record("HATCH", {{91, "1"}, {92, "2"}, {72, "0"}, {73, "1"}, {93, "4"},
                                                 {10, "0"}, {20, "0"}, {10, "5"}, {20, "0"}}));
    EXPECT_TRUE(cut.rings.empty()) << "two points enclose nothing";
    EXPECT_TRUE(readHatch(record("HATCH", {{8, "0"}, {91, "1000000"}})).rings.empty());
}

TEST(PolylineWidths, WideSegmentsAreBandsNarrowOnesStrokes) {
    // From (0,0) 2 wide to (10,0), tapering 2 to 0 up to (10,10), then no width back.
    const std::vector<WideVertex> v = {{{0, 0}, 0, 2, 2}, {{10, 0}, 0, 2, 0}, {{10, 10}, 0, 0, 0}};
    const WideOutline o = widePolyline(v, false);
    ASSERT_EQ(o.strokes.size(), 0u);
    ASSERT_GE(o.rings.size(), 2u);
    const Box first = boxOf({o.rings[0]});
    EXPECT_NEAR(first.minY, -1, 1e-9);
    EXPECT_NEAR(first.maxY, 1, 1e-9);
    const Box second = boxOf({o.rings[1]});
    EXPECT_NEAR(second.minX, 9, 1e-9);
    EXPECT_NEAR(second.maxX, 11, 1e-9);
    EXPECT_NEAR(second.maxY, 10, 1e-9);
    // Every ring turns counter-clockwise, so the rings join under either rule.
    for (const Polyline& r : o.rings) {
        double area = 0;
        for (std::size_t k = 0; k < r.size(); ++k) area += r[k].x * r[(k + 1) % r.size()].y - r[(k + 1) % r.size()].x * r[k].y;
        EXPECT_GT(area, 0);
    }
    // Closed, the last segment (no width) comes back as a stroke.
    const WideOutline closed = widePolyline(v, true);
    ASSERT_EQ(closed.strokes.size(), 1u);
    EXPECT_NEAR(closed.strokes[0].back().x, 0, 1e-9);
    // A wide half circle (bulge 1, 1 wide) from (0,0) to (4,0): between radius 1.5 and 2.5 about (2,0).
    const WideOutline arc = widePolyline({{{0, 0}, 1, 1, 1}, {{4, 0}, 0, 0, 0}}, false);
    ASSERT_EQ(arc.rings.size(), 1u);
    for (const Vec2& p : arc.rings[0]) {
        const double r = std::hypot(p.x - 2, p.y);
        EXPECT_GT(r, 1.5 - 1e-9);
        EXPECT_LT(r, 2.5 + 1e-9);
    }
    EXPECT_NEAR(boxOf({arc.rings[0]}).minY, -2.5, 1e-9);
}

}  // namespace
}  // namespace kestrin::render
