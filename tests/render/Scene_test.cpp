#include "render/Scene.h"

#include <gtest/gtest.h>

#include "tests/render/RenderTestSupport.h"

namespace kestrin::render {
namespace {

using test::record;

// The scene with its texts as strokes of its own (the fonts go at the end).
Scene build(const dxf::Document& doc, Space space = Space::Model) {
    test::Fonts fonts;
    Scene s = buildScene(doc, space, fonts.library);
    static_cast<Artwork&>(s) = flattened(std::move(s));
    return s;
}

dxf::Record line(double x0, double y0, double x1, double y1, const std::string& layer = "0") {
    return record("LINE", {{8, layer}, {10, std::to_string(x0)}, {20, std::to_string(y0)}, {11, std::to_string(x1)},
                           {21, std::to_string(y1)}});
}

void expectPoint(Vec2 got, double x, double y) {
    EXPECT_NEAR(got.x, x, 1e-9);
    EXPECT_NEAR(got.y, y, 1e-9);
}

TEST(Scene, InsertPlacesScalesAndTurnsItsBlockAndNestsFurther) {
    dxf::Document doc = test::drawing();
    doc.blocks.push_back(test::block("UNIT", 1, 0, {line(1, 0, 2, 0)}));
    doc.blocks.push_back(test::block("OUTER", 0, 0, {record("INSERT", {{8, "0"}, {2, "unit"}, {10, "5"}, {20, "0"}})}));
    doc.entities.push_back(record("INSERT", {{8, "0"}, {2, "UNIT"}, {10, "10"}, {20, "10"}, {41, "2"}, {42, "2"}, {50, "90"}}));
    doc.entities.push_back(record("INSERT", {{8, "0"}, {2, "OUTER"}, {10, "0"}, {20, "0"}, {50, "90"}}));
    const Scene s = build(doc);
    ASSERT_EQ(s.strokes.size(), 2u);
    // The block's base point goes to the insertion point, then scale 2 and a quarter turn.
    expectPoint(s.strokes[0][0], 10, 10);
    expectPoint(s.strokes[0][1], 10, 12);
    // Nested: UNIT at 5,0 inside OUTER, OUTER turned a quarter.
    expectPoint(s.strokes[1][0], 0, 5);
    expectPoint(s.strokes[1][1], 0, 6);
    EXPECT_EQ(s.drawn, 5u) << "three inserts and two lines";
    EXPECT_TRUE(s.skipped.empty());
}

TEST(Scene, AttributesFollowTheirInsertDefinitionsStayInTheBlock) {
    dxf::Document doc = test::drawing();
    doc.blocks.push_back(test::block("TAG", 0, 0,
        {line(0, 0, 1, 0),
         record("ATTDEF", {{8, "0"}, {7, "ZOR"}, {10, "0"}, {20, "0"}, {40, "1"}, {1, ""}, {2, "NAME"}, {70, "0"}}),
         record("ATTDEF", {{8, "0"}, {7, "ZOR"}, {10, "0"}, {20, "5"}, {40, "1"}, {1, "K"}, {2, "KIND"}, {70, "2"}})}));
    doc.entities.push_back(record("INSERT", {{8, "0"}, {66, "1"}, {2, "TAG"}, {10, "100"}, {20, "0"}}));
    doc.entities.push_back(record("ATTRIB", {{8, "0"}, {7, "ZOR"}, {10, "100"}, {20, "-20"}, {40, "2"}, {1, "I"}, {2, "NAME"}, {70, "0"}}));
    doc.entities.push_back(record("ATTRIB", {{8, "0"}, {7, "ZOR"}, {10, "100"}, {20, "-40"}, {40, "2"}, {1, "HIDDEN"}, {2, "X"}, {70, "1"}}));
    doc.entities.push_back(record("SEQEND", {{8, "0"}}));
    const Scene s = build(doc);
    EXPECT_TRUE(s.skipped.empty());
    const Box box = boxOf(s.strokes);
    // The line and the constant definition "K" at 100,0..100,6; the attribute "I" at 100,-20;
    // neither the variable definition nor the invisible attribute.
    EXPECT_NEAR(box.minY, -20, 0.2);
    EXPECT_GT(box.maxY, 5.5);
    EXPECT_LT(box.maxY, 6.2);
    for (const Polyline& p : s.strokes)
        for (const Vec2& q : p) EXPECT_GT(q.y, -21) << "the invisible attribute at -40 is drawn";
}

TEST(Scene, ADefinitionInTheSpaceShowsItsTag) {
    dxf::Document doc = test::drawing();
    doc.entities.push_back(record("ATTDEF", {{8, "0"}, {7, "ZOR"}, {10, "0"}, {20, "0"}, {40, "2"}, {1, "I"}, {2, "WWW"}, {70, "0"}}));
    doc.entities.push_back(test::text("WWW", 0, 10, 2));
    const Scene s = build(doc);
    const std::size_t half = s.strokes.size() / 2;
    ASSERT_EQ(s.strokes.size(), 2 * half) << "the tag WWW, not the value I";
    EXPECT_NEAR(boxOf({s.strokes.begin(), s.strokes.begin() + static_cast<long>(half)}).maxX,
                boxOf({s.strokes.begin() + static_cast<long>(half), s.strokes.end()}).maxX, 1e-9);
}

TEST(Scene, CurvesPolylinesAndPoints) {
    dxf::Document doc = test::drawing();
    doc.entities.push_back(record("ARC", {{8, "0"}, {10, "0"}, {20, "0"}, {40, "2"}, {50, "0"}, {51, "90"}}));
    doc.entities.push_back(record("LWPOLYLINE", {{8, "0"}, {90, "2"}, {70, "0"}, {10, "10"}, {20, "0"}, {42, "1"}, {10, "12"}, {20, "0"}}));
    doc.entities.push_back(record("POLYLINE", {{8, "0"}, {66, "1"}, {70, "1"}}));
    for (auto [x, y] : {std::pair{20, 0}, {22, 0}, {22, 2}})
        doc.entities.push_back(record("VERTEX", {{8, "0"}, {10, std::to_string(x)}, {20, std::to_string(y)}}));
    doc.entities.push_back(record("SEQEND", {{8, "0"}}));
    doc.entities.push_back(record("POINT", {{8, "0"}, {10, "30"}, {20, "30"}}));
    doc.entities.push_back(record("CIRCLE", {{8, "0"}, {10, "5"}, {20, "0"}, {40, "1"}, {230, "-1"}}));
    const Scene s = build(doc);
    ASSERT_EQ(s.strokes.size(), 5u);
    expectPoint(s.strokes[0].front(), 2, 0);
    expectPoint(s.strokes[0].back(), 0, 2);
    // Bulge 1 from 10,0 to 12,0: a half circle below the chord.
    const Box bulge = boxOf({s.strokes[1]});
    EXPECT_NEAR(bulge.minY, -1, 1e-9);
    EXPECT_NEAR(bulge.maxY, 0, 1e-9);
    // Closed: back to the first vertex.
    expectPoint(s.strokes[2].back(), 20, 0);
    EXPECT_EQ(s.strokes[2].size(), 4u);
    EXPECT_EQ(s.strokes[3].size(), 1u);
    // Seen from below: the centre's X turns round.
    EXPECT_NEAR(boxOf({s.strokes[4]}).center().x, -5, 1e-9);
}

TEST(Scene, OtherEntitiesAreCountedHiddenLayersLeftOut) {
    dxf::Document doc = test::drawing();
    for (dxf::Table& t : doc.tables)
        if (t.head.tags[t.head.tags.find(2)].value == "LAYER") {
            t.entries.push_back(record("LAYER", {{2, "Off"}, {70, "0"}, {62, "-7"}}));
            t.entries.push_back(record("LAYER", {{2, "Frozen"}, {70, "1"}, {62, "7"}}));
        }
    doc.entities.push_back(line(0, 0, 1, 1));
    doc.entities.push_back(line(0, 0, 5, 5, "OFF"));
    doc.entities.push_back(line(0, 0, 5, 5, "frozen"));
    for (int k = 0; k < 3; ++k) doc.entities.push_back(record("WIPEOUT", {{8, "0"}}));
    doc.entities.push_back(record("HATCH", {{8, "0"}}));
    doc.entities.push_back(record("SPLINE", {{8, "0"}}));
    doc.entities.push_back(record("INSERT", {{8, "0"}, {2, "NOWHERE"}}));
    const Scene s = build(doc);
    EXPECT_EQ(s.strokes.size(), 1u);
    EXPECT_EQ(s.drawn, 1u);
    EXPECT_EQ(s.skippedSummary(), "skipped: 3 WIPEOUT, 1 HATCH (no boundary), 1 INSERT (no block), 1 SPLINE (no points)");
    EXPECT_EQ(Scene{}.skippedSummary(), "");
}

TEST(Scene, NestedArraysStopAtABoundInsteadOfRunningForHours) {
    // 100 x 100 copies of a block of 100 x 100 copies of a block of 100 x 100 lines.
    dxf::Document doc = test::drawing();
    auto array = [](const std::string& name) {
        return record("INSERT", {{8, "0"}, {2, name}, {70, "100"}, {71, "100"}, {44, "1"}, {45, "1"}});
    };
    doc.blocks.push_back(test::block("L", 0, 0, {line(0, 0, 1, 0)}));
    doc.blocks.push_back(test::block("M", 0, 0, {array("L")}));
    doc.blocks.push_back(test::block("N", 0, 0, {array("M")}));
    doc.entities.push_back(array("N"));
    doc.entities.push_back(line(0, 0, 5, 5));
    const Scene s = build(doc);
    EXPECT_EQ(s.skippedSummary(), "skipped: 1 (over 2000000 entities, not drawn)");
    EXPECT_LE(s.drawn, 2'000'000u);
    EXPECT_LE(s.strokes.size(), 2'000'000u);
}

TEST(Scene, ModelOrPaperSpace) {
    dxf::Document doc = test::drawing();
    doc.entities.push_back(line(0, 0, 1, 0));
    dxf::Record paper = line(0, 0, 0, 1);
    paper.tags.insert(0, 67, "1");
    doc.entities.push_back(paper);
    const Scene model = build(doc, Space::Model);
    const Scene sheet = build(doc, Space::Paper);
    ASSERT_EQ(model.strokes.size(), 1u);
    ASSERT_EQ(sheet.strokes.size(), 1u);
    expectPoint(model.strokes[0][1], 1, 0);
    expectPoint(sheet.strokes[0][1], 0, 1);
}

TEST(Scene, FontsAreFoundOnTheSupportPathOrReplacedOnceWithANote) {
    dxf::Document doc = test::drawing();
    for (dxf::Table& t : doc.tables)
        if (t.head.tags[t.head.tags.find(2)].value == "STYLE")
            t.entries.push_back(record("STYLE", {{2, "Gone"}, {3, "C:\\Fonts\\missing.shx"}, {41, "1"}}));
    doc.entities.push_back(test::text("A", 0, 0, 2, {}, "Gone"));
    doc.entities.push_back(test::text("B", 0, 5, 2, {}, "gone"));
    doc.entities.push_back(test::text("C", 0, 10, 2));
    test::Fonts fonts;
    const Scene s = buildScene(doc, Space::Model, fonts.library);
    EXPECT_FALSE(allStrokes(s).empty());
    ASSERT_EQ(fonts.notes.size(), 1u);
    EXPECT_EQ(fonts.notes[0], "font 'C:\\Fonts\\missing.shx' not found; its texts are drawn with the built-in font");
    EXPECT_EQ(fonts.library.find("ZOR.SHX"), test::distDir() + "/zor.shx") << "any letter case";
    EXPECT_EQ(fonts.library.find("zor"), test::distDir() + "/zor.shx") << ".shx assumed";
    // A file that is no shape font is named with the reason.
    test::Fonts other;
    FontLibrary library("", {test::sourceDir() + "/tests/render"}, [&](const std::string& n) { other.notes.push_back(n); });
    library.font("allcodes.shp");
    ASSERT_EQ(other.notes.size(), 1u);
    EXPECT_NE(other.notes[0].find("allcodes.shp: byte 0: not an SHX shape font"), std::string::npos);
}

TEST(Scene, MultilineTextGoesDownLineByLine) {
    dxf::Document doc = test::drawing();
    doc.entities.push_back(record("MTEXT", {{8, "0"}, {7, "ZOR"}, {10, "0"}, {20, "0"}, {40, "3"}, {71, "1"},
                                            {3, "{\\fArial;EE}\\P"}, {1, "E\\PE"}}));
    const Scene s = build(doc);
    const Box box = boxOf(static_cast<const Artwork&>(s));
    // Top left attachment: the first capitals end at the insertion point; three lines at 5/3 spacing.
    EXPECT_NEAR(box.maxY, 0, 0.2);
    EXPECT_NEAR(box.minY, -3 - 2 * 5.0, 0.2);
    EXPECT_NEAR(box.minX, 0, 1.0);
}

}  // namespace
}  // namespace kestrin::render
