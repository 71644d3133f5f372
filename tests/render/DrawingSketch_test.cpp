#include "render/DrawingSketch.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/render/RenderTestSupport.h"

namespace kestrin::render {
namespace {

using test::hex;
using test::record;

std::string num(double v) { return std::to_string(v); }

bool sameBox(const Box& a, const Box& b) {
    return a.minX == b.minX && a.minY == b.minY && a.maxX == b.maxX && a.maxY == b.maxY;
}

// Thousands of entities of every kind (more than are drawn at once), the
// handles of the top-level ones in the drawing's order beside them.
struct Crowd {
    dxf::Document doc = test::drawing();
    std::vector<std::uint64_t> tops;
    std::uint64_t solid = 0;

    Crowd() {
        doc.blocks.push_back(test::block("BOX", 0, 0, {record("LINE", {{8, "0"}, {10, "0"}, {20, "0"}, {11, "4"}, {21, "0"}}),
                                                       test::text("In", 0, 1, 1)}));
        std::uint64_t h = 0x1000;
        auto add = [&](dxf::Record r, bool top = true) {
            r.tags.insert(0, 5, hex(h));
            if (top) tops.push_back(h);
            ++h;
            doc.entities.push_back(std::move(r));
        };
        for (int k = 0; k < 9000; ++k) {
            const std::string x = num(k % 90 * 20.0), y = num(k / 90 * 10.0);
            switch (k % 6) {
                case 0: add(test::text("Text " + std::to_string(k), k % 90 * 20.0, k / 90 * 10.0, 2)); break;
                case 1: add(record("CIRCLE", {{8, "0"}, {62, "1"}, {10, x}, {20, y}, {40, "3"}})); break;
                case 2:  // with an attribute
                    add(record("INSERT", {{8, "0"}, {2, "BOX"}, {66, "1"}, {10, x}, {20, y}, {50, num(k % 90)}}));
                    add(record("ATTRIB", {{8, "0"}, {7, "ZOR"}, {10, x}, {20, y}, {40, "2"}, {1, "A"}, {2, "T"}, {70, "0"}}),
                        false);
                    add(record("SEQEND", {{8, "0"}}), false);
                    break;
                case 3:  // with its vertices, then one astray
                    add(record("POLYLINE", {{8, "0"}, {66, "1"}, {70, "1"}}));
                    add(record("VERTEX", {{8, "0"}, {10, x}, {20, y}}), false);
                    add(record("VERTEX", {{8, "0"}, {10, x}, {20, num(k / 90 * 10.0 + 4)}}), false);
                    add(record("SEQEND", {{8, "0"}}), false);
                    add(record("VERTEX", {{8, "0"}, {10, x}, {20, y}}), false);
                    break;
                case 4:  // hidden, its attribute with it; then one in paper space
                    add(record("INSERT", {{8, "0"}, {60, "1"}, {2, "BOX"}, {66, "1"}, {10, x}, {20, y}}));
                    add(record("ATTRIB", {{8, "0"}, {10, x}, {20, y}, {40, "2"}, {1, "B"}, {2, "T"}, {70, "0"}}), false);
                    add(record("SEQEND", {{8, "0"}}), false);
                    add(record("LINE", {{8, "0"}, {67, "1"}, {10, x}, {20, y}, {11, "0"}, {21, "0"}}), false);
                    break;
                default:
                    if (k == 5) solid = h;
                    add(k == 5 ? record("SOLID", {{8, "0"}, {10, x}, {20, y}, {11, num(k % 90 * 20.0 + 3)}, {21, y},
                                                  {12, x}, {22, num(k / 90 * 10.0 + 3)}, {13, x}, {23, y}})
                               : record("SPLINE", {{8, "0"}}));  // no points: skipped
            }
        }
    }
};

TEST(DrawingSketch, EachEntityIsSketchedOnEveryCoreAsAViewSceneDrawsItAndDrawnAgainTheSame) {
    test::Fonts fonts;
    const Crowd crowd;
    DrawingSketch sketch(crowd.doc, Space::Model, fonts.library);
    ViewScene scene(fonts.library);
    scene.build(crowd.doc);

    ASSERT_EQ(sketch.size(), crowd.tops.size());
    EXPECT_TRUE(sameBox(sketch.extents(), scene.extents()));
    const Scene whole = buildScene(crowd.doc, Space::Model, fonts.library);
    EXPECT_EQ(sketch.counts().drawn, whole.drawn);
    EXPECT_EQ(sketch.counts().skipped, whole.skipped);
    EXPECT_EQ(sketch.counts().skipped.at("SPLINE (no points)"), 1499u);
    EXPECT_TRUE(sketch.hasAreas());
    for (std::size_t k = 0; k < sketch.size(); ++k) {
        const std::uint64_t h = crowd.tops[k];
        ASSERT_TRUE(sameBox(sketch[k].box, scene.boxOf(h))) << hex(h);
        ASSERT_EQ(sketch[k].streak, scene.streakOf(h)) << hex(h);
        ASSERT_EQ(sketch.hasAreas(k), h == crowd.solid) << hex(h);
        // Drawn again out of order, each the same as before.
        const std::size_t j = sketch.size() - 1 - k;
        ASSERT_EQ(allStrokes(sketch.draw(j)), scene.strokesOf(crowd.tops[j]).value()) << hex(crowd.tops[j]);
    }
    EXPECT_EQ(sketch[1].color, (Color{255, 0, 0})) << "a red circle";
    EXPECT_TRUE(sketch[4].box.empty()) << "a hidden insert draws nothing";
}

TEST(DrawingSketch, TellsItsProgressAndSketchesTheSpaceAskedFor) {
    test::Fonts fonts;
    const Crowd crowd;
    std::vector<double> told;
    const DrawingSketch paper(crowd.doc, Space::Paper, fonts.library, [&](double d) { told.push_back(d); });
    EXPECT_EQ(paper.size(), 1500u) << "the lines in paper space";
    EXPECT_FALSE(paper.hasAreas());
    ASSERT_FALSE(told.empty());
    EXPECT_TRUE(std::is_sorted(told.begin(), told.end()));
    EXPECT_EQ(told.back(), 1);
    const DrawingSketch none(test::drawing(), Space::Model, fonts.library);
    EXPECT_EQ(none.size(), 0u);
    EXPECT_TRUE(none.extents().empty());
}

TEST(DrawingSketch, TheLimitOnNestedEntitiesHoldsForTheWholeDrawingAsIfDrawnInOrder) {
    // Two inserts of 1.2 million entities each in a share drawn on two cores,
    // one in each core's part: the second reaches the limit, and nothing
    // after it is drawn.
    test::Fonts fonts;
    const dxf::Document doc = test::crowdWithBombs(600, {0, 300});
    DrawingSketch sketch(doc, Space::Model, fonts.library);
    ASSERT_EQ(sketch.size(), 600u);
    EXPECT_FALSE(sketch[0].box.empty());
    EXPECT_FALSE(sketch[299].box.empty());
    EXPECT_FALSE(sketch[300].box.empty()) << "drawn up to the limit";
    EXPECT_TRUE(sketch[301].box.empty());
    EXPECT_TRUE(sketch[599].box.empty());
    EXPECT_LE(sketch.counts().drawn, EntityDrawer::kLimit);
    EXPECT_NE(sketch.counts().skippedSummary().find("(over 2000000 entities, not drawn)"), std::string::npos);
    // Drawn again with the same share of the limit.
    EXPECT_TRUE(sameBox(sketchOf(sketch.draw(300)).box, sketch[300].box));
    EXPECT_TRUE(sketchOf(sketch.draw(301)).box.empty());
}

}  // namespace
}  // namespace kestrin::render
