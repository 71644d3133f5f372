// What the drawer makes of each kind of entity beyond lines and texts:
// colours, areas, dimensions, curves, and drawings shaped as old versions write them.
#include <gtest/gtest.h>

#include <cmath>

#include "render/Scene.h"
#include "tests/render/RenderTestSupport.h"

namespace kestrin::render {
namespace {

using test::record;
using test::TagPairs;

// The scene with its texts as strokes of its own (the fonts go at the end).
Scene build(const dxf::Document& doc, Space space = Space::Model) {
    test::Fonts fonts;
    Scene s = buildScene(doc, space, fonts.library);
    static_cast<Artwork&>(s) = flattened(std::move(s));
    return s;
}

void addLayer(dxf::Document& doc, dxf::Record layer) {
    for (dxf::Table& t : doc.tables)
        if (t.head.tags[t.head.tags.find(2)].value == "LAYER") t.entries.push_back(std::move(layer));
}

dxf::Record line(TagPairs more = {}) {
    dxf::Record r = record("LINE", {{10, "0"}, {20, "0"}, {11, "1"}, {21, "1"}});
    for (const auto& [code, value] : more) r.tags.push(code, value);
    return r;
}

// The colour of each stroke, in order.
std::vector<Color> colors(const Artwork& art) {
    std::vector<Color> out;
    std::size_t ink = 0;
    for (std::size_t k = 0; k < art.strokes.size(); ++k) out.push_back(art.colorOf(k, ink));
    return out;
}

constexpr Color kRed{255, 0, 0}, kGreen{0, 255, 0}, kBlue{0, 0, 255};

TEST(EntityKinds, ColoursByEntityByLayerAndByBlock) {
    dxf::Document doc = test::drawing();
    addLayer(doc, record("LAYER", {{2, "Walls"}, {70, "0"}, {62, "1"}}));
    addLayer(doc, record("LAYER", {{2, "Trees"}, {70, "0"}, {62, "3"}, {420, "32768"}}));
    // In the block: one line by layer on layer 0, one by block, one green.
    doc.blocks.push_back(test::block("B", 0, 0, {line({{8, "0"}}), line({{8, "0"}, {62, "0"}}), line({{8, "0"}, {62, "3"}})}));
    doc.entities.push_back(line({{8, "Walls"}}));                          // the layer's red
    doc.entities.push_back(line({{8, "Walls"}, {62, "5"}}));               // its own blue
    doc.entities.push_back(line({{8, "Trees"}}));                          // the layer's true colour
    doc.entities.push_back(line({{8, "0"}, {62, "3"}, {420, "16711680"}})); // 420 wins: red
    doc.entities.push_back(line({{8, "0"}, {62, "0"}}));                   // by block with no block: dark
    doc.entities.push_back(record("INSERT", {{8, "Walls"}, {62, "5"}, {2, "B"}}));
    const Scene s = build(doc);
    EXPECT_EQ(colors(s), (std::vector<Color>{kRed, kBlue, {0, 128, 0}, kRed, kDark,
                                             // Layer 0 in the block is the insert's layer; by block its colour.
                                             kRed, kBlue, kGreen}));
}

TEST(EntityKinds, InvisibleEntitiesAndHiddenLayersAreLeftOut) {
    dxf::Document doc = test::drawing();
    addLayer(doc, record("LAYER", {{2, "Off"}, {70, "0"}, {62, "-1"}}));
    doc.blocks.push_back(test::block("B", 0, 0, {line({{8, "0"}}), line({{8, "Off"}})}));
    doc.entities.push_back(line({{8, "0"}, {60, "1"}}));
    doc.entities.push_back(record("INSERT", {{8, "0"}, {2, "B"}}));
    const Scene s = build(doc);
    EXPECT_EQ(s.strokes.size(), 1u) << "the block's line on layer 0";
}

TEST(EntityKinds, AreasOfSolidsWidePolylinesAndSolidHatches) {
    dxf::Document doc = test::drawing();
    // A solid's corners 1, 2, 3, 4 at the corners of a square, in the order the format keeps.
    doc.entities.push_back(record("SOLID", {{8, "0"}, {62, "1"}, {10, "0"}, {20, "0"}, {11, "10"}, {21, "0"},
                                            {12, "0"}, {22, "10"}, {13, "10"}, {23, "10"}}));
    doc.entities.push_back(record("LWPOLYLINE", {{8, "0"}, {90, "2"}, {70, "0"}, {43, "2"}, {10, "20"}, {20, "0"},
                                                 {10, "30"}, {20, "0"}}));
    doc.entities.push_back(record("HATCH", {{8, "0"}, {62, "5"}, {2, "SOLID"}, {70, "1"}, {91, "1"}, {92, "2"},
                                            {72, "0"}, {73, "1"}, {93, "3"}, {10, "40"}, {20, "0"}, {10, "50"},
                                            {20, "0"}, {10, "45"}, {20, "8"}, {97, "0"}}));
    const Scene s = build(doc);
    EXPECT_TRUE(s.skipped.empty()) << s.skippedSummary();
    ASSERT_EQ(s.fills.size(), 3u);
    // Corner 3 opposite 1, 4 opposite 2: the ring goes 1, 2, 4, 3, a square, not a bow tie.
    const Polyline& square = s.fills[0].rings.at(0);
    ASSERT_EQ(square.size(), 4u);
    EXPECT_DOUBLE_EQ(square[2].x, 10);
    EXPECT_DOUBLE_EQ(square[2].y, 10);
    EXPECT_EQ(s.fills[0].color, kRed);
    EXPECT_EQ(colors(s).front(), kRed) << "and its outline";
    // The wide polyline is its band, 2 wide, and no centre line.
    const Box band = boxOf(s.fills[1].rings);
    EXPECT_NEAR(band.minY, -1, 1e-9);
    EXPECT_NEAR(band.maxY, 1, 1e-9);
    EXPECT_EQ(s.strokes.size(), 1u) << "only the solid's outline";
    EXPECT_EQ(s.fills[2].rule, FillRule::EvenOdd);
    EXPECT_EQ(s.fills[2].color, kBlue);
}

TEST(EntityKinds, ADimensionIsItsBlockAndFacesShowTheirVisibleEdges) {
    dxf::Document doc = test::drawing();
    doc.blocks.push_back(test::block("*D1", 0, 0, {line({{8, "0"}, {62, "0"}}), test::text("10", 0, 2, 1)}));
    doc.entities.push_back(record("DIMENSION", {{8, "0"}, {62, "1"}, {2, "*D1"}, {10, "0"}, {20, "0"}, {70, "32"}}));
    doc.entities.push_back(record("DIMENSION", {{8, "0"}, {2, "*D9"}}));
    // Edges 2 and 4 hidden (flags 2 and 8): two separate strokes.
    doc.entities.push_back(record("3DFACE", {{8, "0"}, {10, "20"}, {20, "0"}, {11, "30"}, {21, "0"}, {12, "30"},
                                             {22, "10"}, {13, "20"}, {23, "10"}, {70, "10"}}));
    const Scene s = build(doc);
    EXPECT_EQ(s.skippedSummary(), "skipped: 1 DIMENSION (no block)");
    const std::vector<Color> c = colors(s);
    ASSERT_GE(c.size(), 4u);
    EXPECT_EQ(c.front(), kRed) << "by block: the dimension's colour";
    EXPECT_EQ(s.strokes[s.strokes.size() - 2].size(), 2u);
    EXPECT_EQ(s.strokes.back().size(), 2u);
    EXPECT_DOUBLE_EQ(s.strokes.back()[0].x, 30);
    EXPECT_DOUBLE_EQ(s.strokes.back()[0].y, 10);
}

TEST(EntityKinds, SplinesAndEllipses) {
    dxf::Document doc = test::drawing();
    doc.entities.push_back(record("SPLINE", {{8, "0"}, {70, "8"}, {71, "3"}, {72, "8"}, {73, "4"}, {74, "0"},
                                             {40, "0"}, {40, "0"}, {40, "0"}, {40, "0"}, {40, "1"}, {40, "1"}, {40, "1"}, {40, "1"},
                                             {10, "0"}, {20, "0"}, {10, "10"}, {20, "20"}, {10, "20"}, {20, "-20"}, {10, "30"}, {20, "0"}}));
    doc.entities.push_back(record("SPLINE", {{8, "0"}, {71, "3"}, {74, "3"}, {11, "0"}, {21, "0"}, {11, "5"}, {21, "5"}, {11, "10"}, {21, "0"}}));
    doc.entities.push_back(record("ELLIPSE", {{8, "0"}, {10, "50"}, {20, "0"}, {11, "0"}, {21, "10"}, {40, "0.5"},
                                              {41, "0"}, {42, "3.14159265358979"}}));
    const Scene s = build(doc);
    ASSERT_EQ(s.strokes.size(), 3u);
    EXPECT_NEAR(s.strokes[0][s.strokes[0].size() / 2].x, 15, 1e-9);
    EXPECT_NEAR(boxOf({s.strokes[1]}).maxY, 5, 0.05) << "through the fit point";
    // Major axis up, half of it: from (50,10) round the left, minor 5, to (50,-10).
    const Box e = boxOf({s.strokes[2]});
    EXPECT_NEAR(e.minX, 45, 1e-6);
    EXPECT_NEAR(e.maxX, 50, 1e-6);
    EXPECT_NEAR(e.maxY, 10, 1e-6);
}

TEST(EntityKinds, MultilineTextColoursAndFontsOfItsCodes) {
    dxf::Document doc = test::drawing();
    doc.blocks.push_back(test::block("B", 0, 0, {record("MTEXT", {{8, "0"}, {7, "ZOR"}, {40, "2"},
                                                                  {1, "a{\\C0;b}{\\C256;c}{\\fDejaVu Sans;d}"}})}));
    addLayer(doc, record("LAYER", {{2, "Walls"}, {70, "0"}, {62, "1"}}));
    doc.entities.push_back(record("INSERT", {{8, "Walls"}, {62, "3"}, {2, "B"}}));
    test::DejaVuFonts system;
    const Scene s = build(doc);
    std::vector<Color> c = colors(s);
    c.erase(std::unique(c.begin(), c.end()), c.end());
    // a by layer (layer 0 in the block: the insert's red), b by block (its green), c by layer again.
    EXPECT_EQ(c, (std::vector<Color>{kRed, kGreen, kRed}));
    ASSERT_EQ(s.fills.size(), 1u) << "d in the outline font";
    EXPECT_EQ(s.fills[0].color, kRed);
}

TEST(EntityKinds, HugeNumbersNeitherHangNorBreakTheDrawing) {
    // Angles, counts and coordinates no drawing means, as a damaged file may hold them.
    dxf::Document doc = test::drawing();
    doc.entities.push_back(record("ARC", {{8, "0"}, {10, "0"}, {20, "0"}, {40, "1"}, {50, "0"}, {51, "1e300"}}));
    doc.entities.push_back(record("ELLIPSE", {{8, "0"}, {10, "0"}, {20, "0"}, {11, "1"}, {21, "0"}, {40, "0.5"},
                                              {41, "-1e300"}, {42, "1e300"}}));
    doc.entities.push_back(record("HATCH", {{8, "0"}, {70, "0"}, {91, "1e300"}, {92, "2"}, {72, "1"}, {73, "1"},
                                            {93, "1e300"}, {10, "1e300"}, {20, "0"}, {42, "1e300"}, {10, "1e300"},
                                            {20, "1e300"}, {10, "0"}, {20, "1e300"}, {97, "1e300"}, {78, "1"},
                                            {53, "0"}, {43, "0"}, {44, "0"}, {45, "0"}, {46, "1"}, {79, "1e300"},
                                            {49, "1"}, {49, "-1"}}));
    doc.entities.push_back(record("HATCH", {{8, "0"}, {70, "0"}, {91, "1"}, {92, "2"}, {72, "0"}, {73, "1"}, {93, "3"},
                                            {10, "1e200"}, {20, "1e200"}, {10, "1.000001e200"}, {20, "1e200"},
                                            {10, "1e200"}, {20, "1.000001e200"}, {78, "1"}, {53, "0"}, {43, "0"},
                                            {44, "0"}, {45, "0"}, {46, "1e194"}, {79, "2"}, {49, "1"}, {49, "-1"}}));
    doc.entities.push_back(record("MTEXT", {{8, "0"}, {7, "ZOR"}, {40, "2"}, {41, "1e300"}, {44, "1e300"},
                                            {1, "\\H1e300;big\\Pnext\\T1e300;far\\W0;x\\S1e300/1e300;"}}));
    doc.entities.push_back(line());
    const Scene s = build(doc);
    for (const Polyline& p : s.strokes)
        for (const Vec2& q : p) EXPECT_TRUE(std::isfinite(q.x) && std::isfinite(q.y));
    EXPECT_GE(s.drawn, 1u);
}

TEST(EntityKinds, ADrawingShapedAsOldVersionsWriteIt) {
    // No subclass markers, no owners, no block records; paper space by 67 = 1
    // and in the $PAPER_SPACE block.
    const dxf::Document doc = dxf::readDxfFile(test::sourceDir() + "/tests/render/drawings/r12-shaped.dxf");
    const Scene model = build(doc), paper = build(doc, Space::Paper);
    EXPECT_EQ(model.drawn, 2u) << "the red line and the text";
    EXPECT_EQ(colors(model).front(), kRed);
    EXPECT_EQ(paper.drawn, 2u) << "the circle and the arc";
    const Box box = boxOf(paper.strokes);
    EXPECT_NEAR(box.minX, 3, 1e-9);
    EXPECT_NEAR(box.maxX, 23, 1e-9);
}

}  // namespace
}  // namespace kestrin::render
