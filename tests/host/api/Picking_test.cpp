// Picking by position hits an entity's outline within the pick box, and an
// attribute is found through the INSERT it follows in the drawing.
#include <cmath>
#include <random>
#include <set>

#include "host/api/EditorInput.h"
#include "host/db/AcDbBlockTable.h"
#include "host/db/AcDbCurves.h"
#include "host/db/DrawingStore.h"
#include "host/db/SpatialIndex.h"
#include "tests/host/api/HostFixture.h"

using namespace kestrin;
using session::ActionKind;

namespace {

class Picking : public test::HostTest {
protected:
    static session::Action at(double x, double y) {
        session::Action a = test::act(ActionKind::Pick);
        a.pick.by = session::PickTarget::By::At;
        a.pick.x = x;
        a.pick.y = y;
        return a;
    }
    std::uint64_t handleOf(const ads_name name) {
        AcDbObjectId objectId;
        EXPECT_EQ(acdbGetObjectId(objectId, name), Acad::eOk);
        return objectId.handle().value();
    }
    // The entity acedEntSel answers for one pick at (x, y); 0 for a miss.
    std::uint64_t pickAt(double x, double y) {
        source.load({at(x, y)});
        ads_name name{};
        ads_point p{};
        const int rc = acedEntSel("\nSelect: ", name, p);
        EXPECT_TRUE(rc == RTNORM || rc == RTERROR) << rc;
        return rc == RTNORM ? handleOf(name) : 0;
    }
};

TEST_F(Picking, HitsTheOutlineNotTheNearestAnchor) {
    // The line 0,0-5,5: its middle, though far from its start.
    EXPECT_EQ(pickAt(2.6, 2.4), 0x46u);
    // The text at 10,20 turned by 90 degrees, 3.5 high: inside its box,
    // 10 units from its insertion point.
    EXPECT_EQ(pickAt(8.5, 30), 0x40u);
    // Inside the circle's ring but away from the ring: nothing.
    EXPECT_EQ(pickAt(-40, -40), 0u);
    EXPECT_NE(output().find("Nothing found at -40,-40."), std::string::npos) << output();
    // A polyline's second vertex, and a point between its vertices.
    EXPECT_EQ(pickAt(55, 50.3), 0x41u);
    // Far from everything: a miss, not the nearest entity.
    EXPECT_EQ(pickAt(1000, 1000), 0u);
    EXPECT_FALSE(session::Session::instance().failed()) << session::Session::instance().failure();
}

TEST_F(Picking, AnAttributeIsPickedAtItsPlaceAndLeadsToItsInsert) {
    // The attribute "12" at 100,105, 2.5 high; its INSERT's point is 100,100.
    source.load({at(100.5, 106), at(100.5, 106)});
    ads_name name{};
    ads_point p{};
    ads_matrix m;
    resbuf* containers = nullptr;
    ASSERT_EQ(acedNEntSelP("\nSelect: ", name, p, 0, m, &containers), RTNORM);
    EXPECT_EQ(handleOf(name), 0x43u);
    EXPECT_EQ(containers, nullptr);
    ASSERT_EQ(acedEntSel("\nSelect: ", name, p), RTNORM);
    EXPECT_EQ(handleOf(name), 0x42u);
}

// Other programs write the block record as an attribute's owner (group 330).
TEST_F(Picking, AnAttributeOwnedByTheBlockRecordStillLeadsToItsInsert) {
    db::Entry* attribute = db().store().byHandle(0x43);
    ASSERT_NE(attribute, nullptr);
    auto& tags = attribute->record.tags;
    for (std::size_t i = 0; i < tags.size(); ++i)
        if (tags[i].code == 330) tags.set(i, "22");
    source.load({test::pick(0x43)});
    ads_name name{};
    ads_point p{};
    ASSERT_EQ(acedEntSel("\nSelect: ", name, p), RTNORM);
    EXPECT_EQ(handleOf(name), 0x42u);
}

TEST_F(Picking, TheIndexFollowsNewMovedAndErasedEntities) {
    EXPECT_EQ(pickAt(500, 500), 0u);  // builds the index
    const AcDbObjectId id = appendLine(AcGePoint3d(490, 500, 0), AcGePoint3d(510, 500, 0));
    EXPECT_EQ(pickAt(500, 500), id.handle().value());
    AcDbLine* line = nullptr;
    ASSERT_EQ(acdbOpenObject(line, id, AcDb::kForWrite), Acad::eOk);
    line->setStartPoint(AcGePoint3d(-490, 800, 0));
    line->setEndPoint(AcGePoint3d(-510, 800, 0));
    line->close();
    EXPECT_EQ(pickAt(500, 500), 0u);
    EXPECT_EQ(pickAt(-500, 800), id.handle().value());
    ASSERT_EQ(acdbOpenObject(line, id, AcDb::kForWrite), Acad::eOk);
    line->erase();
    line->close();
    EXPECT_EQ(pickAt(-500, 800), 0u);
}

// The grid answers what a look at every entity answers, for many entities
// of all sizes, wherever the pick is.
TEST(SpatialIndex, FindsWhatAFullScanFinds) {
    test::AbortThrows abortThrows;
    AcDbDatabase database;
    database.fromDocument(test::testDrawing());
    AcDbBlockTable* table = nullptr;
    ASSERT_EQ(database.getBlockTable(table, AcDb::kForRead), Acad::eOk);
    AcDbBlockTableRecord* model = nullptr;
    ASSERT_EQ(table->getAt(ACDB_MODEL_SPACE, model, AcDb::kForWrite), Acad::eOk);
    table->close();
    std::mt19937 random(7);
    std::uniform_real_distribution<double> place(-1000, 1000), size(0, 1), big(0, 1);
    db::DrawingStore& store = database.store();
    auto add = [&](bool circle) {
        const double x = place(random), y = place(random);
        const double s = big(random) < 0.02 ? 500 * size(random) : 5 * size(random);
        AcDbEntity* e = circle ? static_cast<AcDbEntity*>(new AcDbCircle(AcGePoint3d(x, y, 0), s + 0.1))
                               : new AcDbLine(AcGePoint3d(x, y, 0), AcGePoint3d(x + s, y - s, 0));
        ASSERT_EQ(model->appendAcDbEntity(e), Acad::eOk);
        e->close();
    };
    for (int i = 0; i < 1000; ++i) add(i % 2 == 0);
    store.spatialIndex();  // built now; the rest arrive through the change signals
    for (int i = 0; i < 3000; ++i) add(i % 3 == 0);
    model->close();

    for (int probe = 0; probe < 300; ++probe) {
        const double x = place(random), y = place(random), tolerance = probe % 2 ? 1.0 : 20.0;
        std::set<const db::Entry*> scanned, found;
        for (db::Entry* e : store.topLevelEntities()) {
            const auto o = db::outlineOf(*e);
            if (o && db::distanceTo(*o, x, y) <= tolerance) scanned.insert(e);
        }
        store.spatialIndex().visitNear(x, y, tolerance, [&](db::Entry* e) {
            const auto o = db::outlineOf(*e);
            if (o && db::distanceTo(*o, x, y) <= tolerance) found.insert(e);
        });
        ASSERT_EQ(found, scanned) << "at " << x << "," << y;
    }
}

TEST(SpatialIndex, OutlinesOfArcsAndTurnedTexts) {
    db::Entry arc;
    arc.record.type = "ARC";
    for (auto [code, value] : std::initializer_list<std::pair<int, const char*>>{
             {10, "0"}, {20, "0"}, {40, "10"}, {50, "0"}, {51, "90"}})
        arc.record.tags.push(code, value);
    const auto o = db::outlineOf(arc);
    ASSERT_TRUE(o);
    EXPECT_NEAR(db::distanceTo(*o, 0, 10.5), 0.5, 1e-9);                  // on the arc's span
    EXPECT_NEAR(db::distanceTo(*o, -10, 0), std::hypot(10.0, 10.0), 1e-9);  // off it: to the nearer end
    EXPECT_NEAR(db::distanceTo(*o, 0, 0), 10, 1e-9);
}

}  // namespace
