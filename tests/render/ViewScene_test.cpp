#include "render/ViewScene.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <map>
#include <set>

#include "tests/render/RenderTestSupport.h"

namespace kestrin::render {
namespace {

using test::hex;
using test::record;

dxf::Record line(std::uint64_t handle, double x0, double y0, double x1, double y1) {
    return record("LINE", {{5, hex(handle)}, {8, "0"}, {10, std::to_string(x0)}, {20, std::to_string(y0)},
                           {11, std::to_string(x1)}, {21, std::to_string(y1)}});
}


dxf::Record label(std::uint64_t handle, const std::string& s, double x, double y, double height) {
    dxf::Record r = test::text(s, x, y, height);
    r.tags.insert(0, 5, hex(handle));
    return r;
}

dxf::Record attrib(std::uint64_t handle, const std::string& value, double x, double y) {
    return record("ATTRIB", {{5, hex(handle)}, {8, "0"}, {7, "ZOR"}, {10, std::to_string(x)},
                             {20, std::to_string(y)}, {40, "2"}, {1, value}, {2, "TAG"}, {70, "0"}});
}

// A drawing of each kind of top-level entity: line, text, an INSERT with an
// attribute, a POLYLINE with vertices, and one in paper space.
dxf::Document sample() {
    dxf::Document doc = test::drawing();
    doc.blocks.push_back(test::block("BOX", 0, 0, {line(0x900, 0, 0, 4, 0), line(0x901, 4, 0, 4, 4)}));
    doc.entities.push_back(line(0x100, 0, 0, 10, 0));
    doc.entities.push_back(label(0x101, "Hello", 0, 5, 2.5));
    doc.entities.push_back(record("INSERT", {{5, "102"}, {8, "0"}, {2, "BOX"}, {66, "1"}, {10, "20"}, {20, "0"}}));
    doc.entities.push_back(attrib(0x103, "A-1", 20, 6));
    doc.entities.push_back(record("SEQEND", {{5, "104"}, {8, "0"}}));
    doc.entities.push_back(record("POLYLINE", {{5, "105"}, {8, "0"}, {66, "1"}, {70, "1"}}));
    doc.entities.push_back(record("VERTEX", {{5, "106"}, {8, "0"}, {10, "30"}, {20, "0"}}));
    doc.entities.push_back(record("VERTEX", {{5, "107"}, {8, "0"}, {10, "35"}, {20, "5"}}));
    doc.entities.push_back(record("SEQEND", {{5, "108"}, {8, "0"}}));
    dxf::Record paper = line(0x109, 0, 0, 1, 1);
    paper.tags.push(67, "1");
    doc.entities.push_back(paper);
    return doc;
}

void expectSameScene(const ViewScene& a, const ViewScene& b) {
    const auto ea = a.entities(), eb = b.entities();
    ASSERT_EQ(ea.size(), eb.size());
    for (std::size_t k = 0; k < ea.size(); ++k) {
        EXPECT_EQ(ea[k].first, eb[k].first);
        // What it is drawn as when small, as well as its strokes.
        const std::uint64_t h = ea[k].first;
        const Box ba = a.boxOf(h), bb = b.boxOf(h);
        EXPECT_TRUE(ba.minX == bb.minX && ba.minY == bb.minY && ba.maxX == bb.maxX && ba.maxY == bb.maxY) << hex(h);
        EXPECT_EQ(a.streakOf(h), b.streakOf(h)) << hex(h);
        EXPECT_TRUE(std::equal(std::begin(a.coverageOf(h)->rows16), std::end(a.coverageOf(h)->rows16),
                               std::begin(b.coverageOf(h)->rows16)))
            << hex(h);
        const auto& sa = ea[k].second;
        const auto& sb = eb[k].second;
        ASSERT_EQ(sa.size(), sb.size()) << "entity " << hex(ea[k].first);
        for (std::size_t s = 0; s < sa.size(); ++s) {
            ASSERT_EQ(sa[s].size(), sb[s].size());
            for (std::size_t p = 0; p < sa[s].size(); ++p) {
                EXPECT_DOUBLE_EQ(sa[s][p].x, sb[s][p].x);
                EXPECT_DOUBLE_EQ(sa[s][p].y, sb[s][p].y);
            }
        }
    }
}

std::set<const Artwork*> wholeOf(const ViewContent& c) {
    return {c.whole.begin(), c.whole.end()};
}

TEST(ViewScene, HoldsTheSpacesTopLevelEntitiesWithTheStrokesOfTheWholeScene) {
    test::Fonts fonts;
    const dxf::Document doc = sample();
    ViewScene scene(fonts.library);
    scene.build(doc);
    // The paper-space line is left out; the INSERT holds its attribute, the POLYLINE its vertices.
    EXPECT_EQ(scene.size(), 4u);
    EXPECT_FALSE(scene.contains(0x109));
    EXPECT_FALSE(scene.contains(0x103));
    // Taken together, in drawing order, the strokes are those of the whole picture.
    std::vector<Polyline> joined;
    for (const auto& [handle, strokes] : scene.entities()) joined.insert(joined.end(), strokes.begin(), strokes.end());
    const std::vector<Polyline> whole = allStrokes(buildScene(doc, Space::Model, fonts.library));
    ASSERT_EQ(joined.size(), whole.size());
    for (std::size_t k = 0; k < joined.size(); ++k) ASSERT_EQ(joined[k].size(), whole[k].size());
    // The attribute is drawn with its INSERT: 2 block lines plus the text's strokes.
    EXPECT_GT(scene.strokesOf(0x102)->size(), 2u);
    EXPECT_GE(scene.boxOf(0x102).maxY, 6.0);
}

TEST(ViewScene, UpdatedEntityByEntityEqualsOneBuiltWhole) {
    test::Fonts fonts;
    dxf::Document before = sample();
    ViewScene updated(fonts.library);
    updated.build(before);

    // Every entity's cells made before the changes: they must not outlive them.
    for (const std::uint64_t h : {0x100, 0x101, 0x102, 0x105}) {
        (void)updated.streakOf(h);
        (void)updated.coverageOf(h);
    }

    dxf::Document after = sample();
    after.entities[0] = line(0x100, 50, 50, 60, 70);                      // moved
    after.entities[1] = label(0x101, "Changed text", 0, 5, 3);            // new contents
    after.entities[3] = attrib(0x103, "B-22", 20, 6);                     // the attribute's new value
    after.entities.erase(after.entities.begin() + 5, after.entities.begin() + 9);  // the polyline erased
    after.entities.push_back(line(0x10A, -5, -5, -1, -1));               // added
    dxf::Record toPaper = line(0x10B, 3, 3, 4, 4);
    after.entities.push_back(toPaper);

    updated.replace(0x100, {after.entities[0]});
    updated.replace(0x101, {after.entities[1]});
    updated.replace(0x102, {after.entities[2], after.entities[3], after.entities[4]});
    updated.remove(0x105);
    updated.replace(0x10A, {after.entities[6]});
    updated.replace(0x10B, {toPaper});
    // An entity moved to paper space leaves the model's scene.
    toPaper.tags.push(67, "1");
    updated.replace(0x10B, {toPaper});
    after.entities.pop_back();

    ViewScene whole(fonts.library);
    whole.build(after);
    expectSameScene(updated, whole);
    EXPECT_FALSE(updated.contains(0x105));
    EXPECT_FALSE(updated.contains(0x10B));
}

// Thousands of entities drawn together, on every core, are what they are
// drawn one by one and what a whole build draws; of an entity given twice
// in one go the later counts, a removal included.
TEST(ViewScene, EntitiesDrawnTogetherEqualThoseDrawnOneByOne) {
    test::Fonts fonts;
    dxf::Document doc = test::drawing();
    doc.blocks.push_back(test::block("BOX", 0, 0, {line(0x900, 0, 0, 4, 0), test::text("In", 0, 1, 1, {{5, "901"}})}));
    std::deque<std::vector<dxf::Record>> kept;  // what the replacements refer to
    auto entity = [&](std::uint64_t h, std::vector<dxf::Record> records) {
        return ViewScene::Replacement{h, kept.emplace_back(std::move(records))};
    };
    std::vector<ViewScene::Replacement> all;
    for (std::uint64_t k = 0; k < 3000; ++k) {
        const double x = static_cast<double>(k % 60) * 20, y = static_cast<double>(k / 60) * 10;
        const std::uint64_t h = 0x1000 + k;
        dxf::Record r = k % 3 == 0   ? label(h, "Text " + std::to_string(k), x, y, 2)
                        : k % 3 == 1 ? record("CIRCLE", {{5, hex(h)}, {8, "0"}, {10, std::to_string(x)},
                                                         {20, std::to_string(y)}, {40, "3"}})
                                     : record("INSERT", {{5, hex(h)}, {8, "0"}, {2, "BOX"}, {10, std::to_string(x)},
                                                         {20, std::to_string(y)}, {50, std::to_string(k % 90)}});
        doc.entities.push_back(r);
        all.push_back(entity(h, {r}));
    }
    ViewScene whole(fonts.library);
    whole.build(doc);
    dxf::Document definitions = doc;
    definitions.entities.clear();
    ViewScene single(fonts.library);
    single.build(definitions);
    for (const auto& e : all) single.replace(e.handle, {e.records.begin(), e.records.end()});

    std::vector<ViewScene::Replacement> given = all;
    given.insert(given.begin() + 2, entity(0x1005, {label(0x1005, "Before", 0, 0, 5)}));  // then the real one
    given.push_back(entity(0x9999, {line(0x9999, 0, 0, 1, 1)}));
    dxf::Record inPaper = line(0x9999, 0, 0, 1, 1);
    inPaper.tags.push(67, "1");
    given.push_back(entity(0x9999, {inPaper}));  // leaves the scene again
    ViewScene together(fonts.library);
    together.build(definitions);
    together.replaceAll(given);

    EXPECT_FALSE(together.contains(0x9999));
    EXPECT_EQ(together.size(), 3000u);
    expectSameScene(together, single);
    expectSameScene(together, whole);
    // Drawn again together over what it holds: still the same.
    together.replaceAll(all);
    expectSameScene(together, single);
    const ViewWindow view{{-10, -10, 1200, 500}, 1};
    EXPECT_EQ(together.query(view).entities(), single.query(view).entities());
}

TEST(ViewScene, AnAttributesChangeRedrawsItsInsert) {
    test::Fonts fonts;
    dxf::Document doc = sample();
    ViewScene scene(fonts.library);
    scene.build(doc);
    const std::vector<Polyline> before = *scene.strokesOf(0x102);
    scene.replace(0x102, {doc.entities[2], attrib(0x103, "LONGER VALUE", 20, 6), doc.entities[4]});
    const std::vector<Polyline> after = *scene.strokesOf(0x102);
    EXPECT_GT(after.size(), before.size());
    EXPECT_GT(scene.boxOf(0x102).maxX, boxOf(before).maxX + 5);
    // Hidden (invisible) now: only the block's two lines remain.
    dxf::Record hidden = attrib(0x103, "LONGER VALUE", 20, 6);
    hidden.tags.set(hidden.tags.find(70), "1");
    scene.replace(0x102, {doc.entities[2], hidden, doc.entities[4]});
    EXPECT_EQ(scene.strokesOf(0x102)->size(), 2u);
}

// The records of a document's entities by handle, counting the requests.
struct CountingSource : RecordSource {
    std::map<std::uint64_t, std::vector<dxf::Record>> records;
    mutable std::size_t asked = 0;
    explicit CountingSource(const dxf::Document& doc) {
        for (std::size_t i = 0; i < doc.entities.size();) {
            const dxf::Record& r = doc.entities[i];
            const std::size_t end =
                r.type == "INSERT" || r.type == "POLYLINE" ? EntityDrawer::pastFollowers(doc.entities, i) : i + 1;
            const std::size_t at = r.tags.find(5);
            if (at != dxf::TagList::npos)
                records[std::stoull(std::string(r.tags[at].value), nullptr, 16)] = {
                    doc.entities.begin() + static_cast<std::ptrdiff_t>(i),
                    doc.entities.begin() + static_cast<std::ptrdiff_t>(end)};
            i = end;
        }
    }
    bool recordsOf(std::uint64_t handle, std::vector<dxf::Record>& out) const override {
        ++asked;
        const auto it = records.find(handle);
        if (it == records.end()) return false;
        out = it->second;
        return true;
    }
};

// A scene over a source keeps no strokes: what a query shows whole is drawn
// from the source then, kept while the next query shows it too, and is what
// a scene keeping every entity's records draws.
TEST(ViewScene, DrawsWhatItShowsWholeFromItsSourceAndKeepsItForTheNextQuery) {
    test::Fonts fonts;
    dxf::Document doc = sample();
    dxf::Record unnamed = line(0, 40, 0, 45, 0);
    unnamed.tags.erase(unnamed.tags.find(5));
    doc.entities.push_back(unnamed);
    CountingSource source(doc);
    ViewScene scene(fonts.library, Space::Model, &source);
    scene.build(doc);
    EXPECT_EQ(source.asked, 0u) << "the build draws the records it is given";

    const ViewWindow all{{-10, -10, 50, 20}, 20};
    const ViewContent first = scene.query(all);
    ASSERT_EQ(first.whole.size(), 5u);
    EXPECT_EQ(source.asked, 4u) << "each entity with a handle once; the one without is drawn from the scene's copy";
    const ViewContent again = scene.query(all);
    EXPECT_EQ(wholeOf(again), wholeOf(first));
    EXPECT_EQ(source.asked, 4u);
    scene.query({{100, 100, 101, 101}, 20});  // shows nothing: lets them go
    scene.query(all);
    EXPECT_EQ(source.asked, 8u);

    // The source changes, then the scene is told: it draws what the source holds.
    dxf::Document after = doc;
    after.entities[1] = label(0x101, "Changed text", 0, 5, 3);
    source.records[0x101] = {after.entities[1]};
    scene.replace(0x101, {after.entities[1]});
    ViewScene kept(fonts.library);
    kept.build(after);
    expectSameScene(scene, kept);
    EXPECT_EQ(scene.boxOf(0x101).maxX, kept.boxOf(0x101).maxX);
}

// How far the chords of a stroke stray from the circle about `c` of radius
// `r` at the most and at the least (in drawing units).
std::pair<double, double> chordStray(const Polyline& s, Vec2 c, double r) {
    double most = 0, least = r;
    for (std::size_t k = 1; k < s.size(); ++k) {
        const Vec2 mid = (s[k - 1] + s[k]) * 0.5;
        const double stray = r - std::hypot(mid.x - c.x, mid.y - c.y);
        most = std::max(most, stray);
        least = std::min(least, stray);
    }
    return {most, least};
}

// Curves shown whole are drawn for the scale of the view: their chords keep
// within a quarter of a pixel of them, close in and far out (a circle, one
// in a block reference scaled up, a polyline's bulge), while their boxes do
// not change with the scale.
TEST(ViewScene, CurvesShownWholeAreDrawnForTheViewsScale) {
    test::Fonts fonts;
    dxf::Document doc = test::drawing();
    doc.entities.push_back(record("CIRCLE", {{5, "60"}, {8, "0"}, {10, "0"}, {20, "0"}, {40, "100"}}));
    doc.blocks.push_back(test::block("RING", 0, 0, {record("CIRCLE", {{5, "902"}, {8, "0"}, {10, "0"}, {20, "0"}, {40, "10"}})}));
    doc.entities.push_back(record("INSERT", {{5, "61"}, {8, "0"}, {2, "RING"}, {10, "300"}, {20, "0"}, {41, "10"}, {42, "10"}}));
    // A half circle of radius 100 about (600, 0), bowed by a bulge of 1.
    doc.entities.push_back(record("LWPOLYLINE", {{5, "62"}, {8, "0"}, {90, "2"}, {70, "0"}, {10, "500"}, {20, "0"},
                                                 {42, "1"}, {10, "700"}, {20, "0"}}));
    ViewScene scene(fonts.library);
    scene.build(doc);
    const Box built = scene.boxOf(0x60);
    const std::pair<std::uint64_t, Vec2> centres[] = {{0x60, {0, 0}}, {0x61, {300, 0}}, {0x62, {600, 0}}};
    std::size_t pointsFar = 0, pointsNear = 0;
    for (const double ppu : {0.5, 3.0, 10.0}) {
        const ViewContent c = scene.query({{-200, -200, 800, 200}, ppu});
        ASSERT_EQ(c.whole.size(), 3u) << ppu;
        for (const auto& [h, centre] : centres) {
            const Artwork* art = scene.artOf(h);  // as this query shows it
            ASSERT_TRUE(art != nullptr && std::count(c.whole.begin(), c.whole.end(), art) == 1) << std::hex << h;
            const std::vector<Polyline> strokes = allStrokes(*art);
            ASSERT_EQ(strokes.size(), 1u) << std::hex << h;
            const auto [most, least] = chordStray(strokes.front(), centre, 100);
            EXPECT_LE(most * ppu, 0.25 + 1e-9) << std::hex << h << " at " << ppu << " px a unit";
            EXPECT_GE(least * ppu, 0.05) << std::hex << h << " at " << ppu << " px a unit: finer than it needs";
            (ppu == 0.5 ? pointsFar : pointsNear) += strokes.front().size();
        }
        const Box b = scene.boxOf(0x60);
        EXPECT_TRUE(b.minX == built.minX && b.maxX == built.maxX && b.minY == built.minY && b.maxY == built.maxY);
    }
    EXPECT_LT(pointsFar * 2, 3 * 73u) << "far out, fewer points than five degrees apart";
    EXPECT_GT(pointsNear, 3 * 3 * 73u);
}

// 40 x 40 short lines one unit apart, and one long line across them all.
struct Field {
    test::Fonts fonts;
    ViewScene scene{fonts.library};
    Field() {
        dxf::Document doc = test::drawing();
        std::uint64_t h = 0x1000;
        for (int y = 0; y < 40; ++y)
            for (int x = 0; x < 40; ++x) doc.entities.push_back(line(h++, x, y, x + 0.5, y + 0.5));
        doc.entities.push_back(line(0x10, -100, 20.25, 100, 20.25));
        scene.build(doc);
    }
    std::uint64_t at(int x, int y) const { return 0x1000 + static_cast<std::uint64_t>(y * 40 + x); }
    // The entities that come whole or as patches.
    std::set<std::uint64_t> handles(const ViewContent& c) const {
        std::set<std::uint64_t> out;
        for (const auto& [handle, strokes] : scene.entities()) {
            const Coverage* cells = scene.coverageOf(handle);
            if (std::count(c.whole.begin(), c.whole.end(), scene.artOf(handle)) ||
                std::any_of(c.patches.begin(), c.patches.end(), [&](const auto& p) { return p.cells == cells; }))
                out.insert(handle);
        }
        return out;
    }
};

// The first query of many patches makes their coverage on every core; it is
// what each one's coverage made alone is.
TEST(ViewScene, PatchesCoveredAtOnceAreCoveredAsOneByOne) {
    Field many, alone;
    // 8 px a unit: the short lines are 4 px, patches.
    const ViewContent c = many.scene.query({{-1, -1, 41, 41}, 8});
    ASSERT_GE(c.patches.size(), 1600u);
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 40; ++x) {
            const Coverage& a = *many.scene.coverageOf(many.at(x, y));
            const Coverage& b = *alone.scene.coverageOf(alone.at(x, y));
            ASSERT_TRUE(std::equal(std::begin(a.rows16), std::end(a.rows16), std::begin(b.rows16))) << x << "," << y;
            ASSERT_EQ(a.cells4, b.cells4);
        }
    for (const auto& patch : c.patches) EXPECT_NE(patch.cells->cells4, 0u) << "every patch covers a cell";
}

TEST(ViewScene, CullingLeavesOutWhatLiesOutsideTheWindowAndKeepsWhatCrossesIt) {
    Field f;
    // The window [10.2, 12.2] x [10.2, 12.2]: lines starting at 10, 11, 12 reach
    // into it (10 ends at 10.5), the long line runs outside it. 100 px a unit: nothing small.
    ViewWindow w{{10.2, 10.2, 12.2, 12.2}, 100};
    std::set<std::uint64_t> expected;
    for (int y = 10; y <= 12; ++y)
        for (int x = 10; x <= 12; ++x) expected.insert(f.at(x, y));
    EXPECT_EQ(f.handles(f.scene.query(w)), expected);

    // A window the long line crosses with both ends outside it.
    w.world = {30.6, 20.1, 30.9, 20.4};
    EXPECT_EQ(f.handles(f.scene.query(w)), (std::set<std::uint64_t>{0x10}));

    // Without culling, everything comes.
    EXPECT_EQ(f.scene.query(w, {false, true}).entities(), 1601u);

    // An entity moved into the window is found there, moved out of it is gone.
    f.scene.replace(f.at(0, 0), {line(f.at(0, 0), 30.7, 20.2, 30.8, 20.3)});
    f.scene.replace(0x10, {line(0x10, -100, 0, 100, 0)});
    EXPECT_EQ(f.handles(f.scene.query(w)), (std::set<std::uint64_t>{f.at(0, 0)}));
    // Moved far outside what the grid covered.
    f.scene.replace(f.at(0, 0), {line(f.at(0, 0), 1000, 1000, 1001, 1001)});
    EXPECT_TRUE(f.handles(f.scene.query(w)).empty());
    w.world = {999, 999, 1002, 1002};
    EXPECT_EQ(f.handles(f.scene.query(w)), (std::set<std::uint64_t>{f.at(0, 0)}));
}

TEST(ViewScene, SmallEntitiesComeAsStandIns) {
    Field f;
    const ViewWindow all{{-1, -1, 41, 41}, 3};  // a 0.5-unit line is 1.5 px: small
    const ViewContent c = f.scene.query(all);
    EXPECT_EQ(c.standIns.size(), 1600u);
    EXPECT_EQ(wholeOf(c), (std::set<const Artwork*>{f.scene.artOf(0x10)}));
    // The stand-in of the line from (3,4) to (3.5,4.5): its box's baseline.
    EXPECT_EQ(std::count_if(c.standIns.begin(), c.standIns.end(), [](const auto& s) {
                  return s.a().x == 3 && s.a().y == 4 && s.b().x == 3.5 && s.b().y == 4;
              }),
              1);
    // Under a pixel: a dot at the box's centre.
    const ViewContent dots = f.scene.query({{-1, -1, 41, 41}, 1});
    ASSERT_EQ(dots.standIns.size(), 1600u);
    EXPECT_EQ(std::count_if(dots.standIns.begin(), dots.standIns.end(), [](const auto& s) {
                  return s.a().x == 3.25 && s.a().y == 4.25 && s.b().x == 3.25 && s.b().y == 4.25;
              }),
              1);
    // A text, small at 1 px a unit, whole at 10.
    dxf::Document doc = test::drawing();
    doc.entities.push_back(label(0x20, "Word", 0, 0, 0.5));
    ViewScene texts(f.fonts.library);
    texts.build(doc);
    EXPECT_EQ(texts.query({{-10, -10, 10, 10}, 1}).standIns.size(), 1u);
    EXPECT_EQ(texts.query({{-10, -10, 10, 10}, 10}).whole.size(), 1u);
    // Without level of detail every entity comes with its strokes.
    EXPECT_EQ(f.scene.query(all, {true, false}).whole.size(), 1601u);
}

TEST(ViewScene, EntitiesOfAFewPixelsComeAsTheCellsTheirStrokesPass) {
    test::Fonts fonts;
    dxf::Document doc = test::drawing();
    doc.entities.push_back(line(0x30, 0, 0, 8, 8));
    doc.entities.push_back(line(0x31, 0, 20, 8, 20));
    ViewScene scene(fonts.library);
    scene.build(doc);
    // At 1 px a unit the lines are 8 px: a patch, and a streak for the one
    // without height; at 3 px, 24 px: whole.
    const ViewContent coarse = scene.query({{-1, -1, 30, 30}, 1});
    ASSERT_EQ(coarse.patches.size(), 1u);
    ASSERT_EQ(coarse.streaks.size(), 1u);
    EXPECT_EQ(coarse.streaks[0].cells, 0xFFFFu);
    EXPECT_FALSE(coarse.streaks[0].upright);
    EXPECT_TRUE(coarse.whole.empty());
    EXPECT_EQ(scene.query({{-1, -1, 30, 30}, 3}).whole.size(), 2u);

    const Coverage& diagonal = *scene.coverageOf(0x30);
    for (int i = 0; i < 16; ++i) {
        EXPECT_TRUE(diagonal.at16(i, i)) << i;
        EXPECT_FALSE(diagonal.at16(i, 15 - i) && i != 7 && i != 8) << i;
    }
    // The halved grids join cells: the diagonal again.
    EXPECT_EQ(diagonal.rows8[3], 1u << 3);
    EXPECT_EQ(diagonal.cells4, 0x8421u);
    // A box without height: its middle row, every column.
    EXPECT_EQ(scene.coverageOf(0x31)->rows16[8], 0xFFFFu);
    EXPECT_EQ(scene.coverageOf(0x31)->rows16[0], 0u);
}

// A text's box and cells, made from its glyphs placed where they are drawn
// (turned, slanted, in a turned and scaled block reference), are those of its
// strokes: every cell a stroke reaches is marked, none farther than a cell
// from one.
TEST(ViewScene, ATextsBoxAndCellsAreThoseOfItsStrokesWhereverItIsPlaced) {
    test::Fonts fonts;
    dxf::Document doc = test::drawing();
    doc.entities.push_back(test::text("Turned 12", 3, 4, 2.5, {{5, "40"}, {50, "30"}, {51, "15"}}));
    doc.blocks.push_back(test::block("TAG", 0, 0, {line(0x900, 0, 0, 1, 0), test::text("In 4", 1, 1, 2, {{5, "901"}, {50, "10"}})}));
    doc.entities.push_back(record("INSERT", {{5, "41"}, {8, "0"}, {2, "TAG"}, {66, "1"}, {10, "50"}, {20, "10"},
                                             {41, "1.5"}, {42, "0.75"}, {50, "-40"}}));
    doc.entities.push_back(attrib(0x42, "Label 7", 52, 11));
    doc.entities.push_back(record("SEQEND", {{5, "43"}, {8, "0"}}));
    ViewScene scene(fonts.library);
    scene.build(doc);
    for (const std::uint64_t h : {0x40, 0x41}) {
        const std::vector<Polyline> strokes = *scene.strokesOf(h);
        ASSERT_GT(strokes.size(), 4u);
        const Box box = scene.boxOf(h), exact = boxOf(strokes);
        EXPECT_NEAR(box.minX, exact.minX, 1e-9);
        EXPECT_NEAR(box.minY, exact.minY, 1e-9);
        EXPECT_NEAR(box.maxX, exact.maxX, 1e-9);
        EXPECT_NEAR(box.maxY, exact.maxY, 1e-9);
        bool reached[16][16] = {};
        auto cellOf = [&](double v, double from, double size) {
            return std::clamp(static_cast<int>((v - from) / size * 16), 0, 15);
        };
        for (const Polyline& s : strokes)
            for (std::size_t k = 0; k + 1 < s.size(); ++k)
                for (int t = 0; t <= 64; ++t) {
                    const Vec2 p = s[k] + (s[k + 1] - s[k]) * (t / 64.0);
                    reached[cellOf(p.y, box.minY, box.maxY - box.minY)][cellOf(p.x, box.minX, box.maxX - box.minX)] =
                        true;
                }
        const Coverage& cells = *scene.coverageOf(h);
        for (int row = 0; row < 16; ++row)
            for (int col = 0; col < 16; ++col) {
                if (reached[row][col]) {
                    EXPECT_TRUE(cells.at16(col, row)) << std::hex << h << " " << col << "," << row;
                }
                if (!cells.at16(col, row)) continue;
                bool near = false;
                for (int dr = -1; dr <= 1; ++dr)
                    for (int dc = -1; dc <= 1; ++dc) {
                        const int r = row + dr, c = col + dc;
                        near = near || (r >= 0 && r < 16 && c >= 0 && c < 16 && reached[r][c]);
                    }
                EXPECT_TRUE(near) << std::hex << h << " " << col << "," << row;
            }
    }
}

// A streak's cells are its coverage seen along its box's longer side, for
// long and short texts, wide letters with gaps, spaces, a text standing
// upright and one in a turned block reference; a flat text far off comes as
// one at a scale where it is under a pixel high.
TEST(ViewScene, AStreaksCellsAreItsCoverageSeenAlongItsLongerSide) {
    test::Fonts fonts;
    dxf::Document doc = test::drawing();
    doc.entities.push_back(test::text("A long line of text 1234", 0, 0, 2.5, {{5, "50"}}));
    doc.entities.push_back(test::text("H", 0, 10, 2.5, {{5, "51"}}));
    doc.entities.push_back(test::text("I    I", 0, 20, 2.5, {{5, "52"}}));
    doc.entities.push_back(test::text("\"", 0, 30, 2.5, {{5, "55"}}));  // one glyph, two strokes apart
    doc.entities.push_back(test::text("Upright", 50, 0, 2.5, {{5, "53"}, {50, "90"}}));
    doc.blocks.push_back(test::block("T", 0, 0, {test::text("In a block", 0, 0, 2, {{5, "901"}})}));
    doc.entities.push_back(record("INSERT", {{5, "54"}, {8, "0"}, {2, "T"}, {10, "80"}, {20, "0"}, {50, "20"}}));
    ViewScene scene(fonts.library);
    scene.build(doc);
    for (const std::uint64_t h : {0x50, 0x51, 0x52, 0x53, 0x54, 0x55}) {
        const Box box = scene.boxOf(h);
        const bool upright = box.maxY - box.minY > box.maxX - box.minX;
        const Coverage& c = *scene.coverageOf(h);
        std::uint16_t seen = 0;
        for (int row = 0; row < 16; ++row)
            seen = static_cast<std::uint16_t>(seen | (upright ? (c.rows16[row] != 0 ? 1u << row : 0u) : c.rows16[row]));
        EXPECT_EQ(scene.streakOf(h), seen) << std::hex << h;
    }
    // The spaces between the I's, and between the quote's strokes, leave cells out.
    EXPECT_NE(scene.streakOf(0x55), 0xFFFFu);
    const unsigned spaced = scene.streakOf(0x52);
    EXPECT_NE(spaced & 1u, 0u);
    EXPECT_NE(spaced & 0x8000u, 0u);
    EXPECT_NE(spaced, 0xFFFFu);
    // "A long line..." is about 60 units wide and 3 high: at 0.2 px a unit,
    // 12 x 0.6 px; the upright text 0.5 px wide beside it.
    const ViewContent c = scene.query({{-1, -5, 55, 5}, 0.2});
    ASSERT_EQ(c.streaks.size(), 2u);
    for (const ViewContent::Streak& streak : c.streaks) {
        const std::uint64_t h = streak.upright ? 0x53 : 0x50;
        EXPECT_EQ(streak.cells, scene.streakOf(h));
        EXPECT_EQ(streak.box->minX, scene.boxOf(h).minX);
        EXPECT_EQ(streak.box->maxY, scene.boxOf(h).maxY);
    }
}

TEST(ViewScene, TheLimitOnNestedEntitiesHoldsForTheWholeDrawingAsIfDrawnInOrder) {
    // Two inserts of 1.2 million entities each in a share drawn on two cores,
    // one in each core's part: the second reaches the limit, and nothing
    // after it is drawn.
    test::Fonts fonts;
    ViewScene scene(fonts.library);
    scene.build(test::crowdWithBombs(600, {0, 300}));
    EXPECT_FALSE(scene.boxOf(0x100).empty());
    EXPECT_FALSE(scene.boxOf(0x100 + 299).empty());
    EXPECT_FALSE(scene.boxOf(0x100 + 300).empty()) << "drawn up to the limit";
    EXPECT_TRUE(scene.boxOf(0x100 + 301).empty());
    EXPECT_TRUE(scene.boxOf(0x100 + 599).empty());
}

TEST(ViewScene, ARemovedEntityIsGone) {
    Field f;
    const std::uint64_t gone = f.at(5, 5);
    f.scene.remove(gone);
    f.scene.remove(gone);  // again: nothing happens
    EXPECT_FALSE(f.scene.contains(gone));
    EXPECT_EQ(f.scene.strokesOf(gone), std::nullopt);
    const ViewContent c = f.scene.query({{4.9, 4.9, 5.6, 5.6}, 100});
    EXPECT_TRUE(c.whole.empty());
    EXPECT_EQ(f.scene.size(), 1600u);
    // Its slot is taken again by the next entity added.
    f.scene.replace(0x20, {line(0x20, 5, 5, 5.5, 5.5)});
    EXPECT_EQ(f.handles(f.scene.query({{4.9, 4.9, 5.6, 5.6}, 100})), (std::set<std::uint64_t>{0x20}));
}

TEST(ViewScene, AreasCountInTheBoxCoverageAndColourOfAnEntity) {
    dxf::Document doc = test::drawing();
    // A solid hatch alone: no strokes, one area, blue.
    doc.entities.push_back(record("HATCH", {{5, "30"}, {8, "0"}, {62, "5"}, {70, "1"}, {91, "1"}, {92, "2"}, {72, "0"},
                                            {73, "1"}, {93, "3"}, {10, "0"}, {20, "0"}, {10, "16"}, {20, "0"},
                                            {10, "0"}, {20, "16"}, {97, "0"}}));
    // The drawing's alternate font stands in for a style's missing one: the header reaches the drawer.
    doc.header.push(9, "$FONTALT");
    doc.header.push(1, "zor.shx");
    for (dxf::Table& t : doc.tables)
        if (t.head.tags[t.head.tags.find(2)].value == "STYLE")
            t.entries.push_back(record("STYLE", {{2, "GONE"}, {3, "gone.shx"}}));
    doc.entities.push_back(test::text("A", 100, 100, 2, {{5, "31"}}, "GONE"));
    test::Fonts fonts;
    ViewScene scene(fonts.library);
    scene.build(doc);
    ASSERT_NE(scene.artOf(0x30), nullptr);
    EXPECT_TRUE(scene.strokesOf(0x30)->empty());
    ASSERT_EQ(scene.artOf(0x30)->fills.size(), 1u);
    const Box box = scene.boxOf(0x30);
    EXPECT_DOUBLE_EQ(box.maxX, 16);
    EXPECT_DOUBLE_EQ(box.maxY, 16);
    // The ring's edges mark the cells they pass: the corners and the diagonal, not the empty corner.
    const Coverage& cells = *scene.coverageOf(0x30);
    EXPECT_TRUE(cells.at16(0, 0));
    EXPECT_TRUE(cells.at16(15, 0));
    EXPECT_TRUE(cells.at16(0, 15));
    EXPECT_TRUE(cells.at16(8, 7));
    EXPECT_FALSE(cells.at16(15, 15));
    EXPECT_FALSE(cells.at16(3, 3)) << "inside, away from the edges";
    // Far away it is a patch, then a stand-in, in its colour.
    const ViewContent patch = scene.query({{-10, -10, 200, 200}, 0.5});
    ASSERT_EQ(patch.patches.size(), 1u);
    EXPECT_EQ(patch.patches[0].color, (Color{0, 0, 255}));
    const ViewContent far = scene.query({{-10, -10, 200, 200}, 0.05});
    ASSERT_EQ(far.standIns.size(), 2u);
    EXPECT_TRUE(std::any_of(far.standIns.begin(), far.standIns.end(),
                            [](const ViewContent::StandIn& s) { return s.color == Color{0, 0, 255}; }));
    ASSERT_EQ(fonts.notes.size(), 1u);
    EXPECT_EQ(fonts.notes[0], "font 'gone.shx' not found; its texts are drawn with the drawing's alternate font 'zor.shx'");
}

}  // namespace
}  // namespace kestrin::render
