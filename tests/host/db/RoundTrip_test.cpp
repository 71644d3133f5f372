// A drawing goes through the database and comes back with every record,
// handle, owner, extended data and extension dictionary as it was.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <unistd.h>

#include "host/db/AcDbDatabase.h"
#include "host/db/AcDbText.h"
#include "host/db/DrawingStore.h"
#include "host/dxf/DxfFile.h"
#include "host/dxf/Handles.h"
#include "host/dxf/Template.h"
#include "tests/host/db/TestDrawing.h"

using namespace kestrin;
using test::dump;

namespace {

std::vector<std::string> dumpAll(const std::vector<dxf::Record>& records) {
    std::vector<std::string> out;
    for (const auto& r : records) out.push_back(dump(r));
    return out;
}

void expectSame(const dxf::Document& a, const dxf::Document& b) {
    EXPECT_TRUE(a.header == b.header);
    EXPECT_EQ(dumpAll(a.classes), dumpAll(b.classes));
    ASSERT_EQ(a.tables.size(), b.tables.size());
    for (std::size_t i = 0; i < a.tables.size(); ++i) {
        EXPECT_EQ(dump(a.tables[i].head), dump(b.tables[i].head));
        EXPECT_EQ(dumpAll(a.tables[i].entries), dumpAll(b.tables[i].entries));
    }
    ASSERT_EQ(a.blocks.size(), b.blocks.size());
    for (std::size_t i = 0; i < a.blocks.size(); ++i) {
        EXPECT_EQ(dump(a.blocks[i].begin), dump(b.blocks[i].begin));
        EXPECT_EQ(dumpAll(a.blocks[i].entities), dumpAll(b.blocks[i].entities));
        EXPECT_EQ(dump(a.blocks[i].end), dump(b.blocks[i].end));
    }
    EXPECT_EQ(dumpAll(a.entities), dumpAll(b.entities));
    EXPECT_EQ(dumpAll(a.objects), dumpAll(b.objects));
    ASSERT_EQ(a.others.size(), b.others.size());
    EXPECT_EQ(a.order, b.order);
    EXPECT_EQ(a.format.version, b.format.version);
    EXPECT_EQ(a.format.crlf, b.format.crlf);
    EXPECT_EQ(a.verbatim, b.verbatim);
}

TEST(RoundTrip, UntouchedDrawingComesBackExactly) {
    AcDbDatabase db;
    db.fromDocument(test::testDrawing());
    expectSame(db.toDocument(), test::testDrawing());
}

TEST(RoundTrip, OpenedAndReadObjectsChangeNothing) {
    AcDbDatabase db;
    db.fromDocument(test::testDrawing());
    for (std::uint64_t h : {0x40, 0x41, 0x42, 0x43, 0x45, 0x48, 0x70, 0x72, 0x10, 0x20}) {
        AcDbObjectId id;
        ASSERT_EQ(db.getAcDbObjectId(id, false, AcDbHandle(h)), Acad::eOk);
        AcDbObject* o = nullptr;
        ASSERT_EQ(acdbOpenAcDbObject(o, id, AcDb::kForWrite), Acad::eOk);
        o->close();
    }
    expectSame(db.toDocument(), test::testDrawing());
}

TEST(RoundTrip, AChangedTextKeepsItsExtendedDataAndDictionary) {
    AcDbDatabase db;
    db.fromDocument(test::testDrawing());
    AcDbObjectId id;
    db.getAcDbObjectId(id, false, AcDbHandle(0x40));
    AcDbText* t = nullptr;
    ASSERT_EQ(acdbOpenObject(t, id, AcDb::kForWrite), Acad::eOk);
    t->setTextString("changed");
    t->close();
    const std::string written = dump(db.toDocument().entities.front());
    EXPECT_EQ(written.substr(0, 54), "TEXT: 5=40 102={ACAD_XDICTIONARY 360=72 102=} 330=20 1");
    EXPECT_NE(written.find(" 1=changed "), std::string::npos);
    EXPECT_EQ(written.substr(written.size() - 30), " 1001=KESTRIN 1000=note 1070=7");
}

TEST(RoundTrip, ThroughAFileOnDisk) {
    AcDbDatabase db;
    db.fromDocument(dxf::newDrawingTemplate());
    const auto dir = std::filesystem::temp_directory_path() / ("kestrin-db-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    const std::string path = (dir / "a.dxf").string();
    {
        AcDbDatabase source;
        source.fromDocument(test::testDrawing());
        ASSERT_EQ(source.dxfOut(path.c_str()), Acad::eOk) << source.lastError();
    }
    ASSERT_EQ(db.dxfIn(path.c_str()), Acad::eOk) << db.lastError();
    AcDbObjectId id;
    EXPECT_EQ(db.getAcDbObjectId(id, false, AcDbHandle(0x48)), Acad::eOk);
    const dxf::Document back = db.toDocument();
    const dxf::Document original = test::testDrawing();
    EXPECT_EQ(dumpAll(back.entities), dumpAll(original.entities));
    EXPECT_EQ(dumpAll(back.objects), dumpAll(original.objects));

    // A broken file is refused with a reason and the drawing stays.
    std::ofstream(dir / "bad.dxf") << "0\nSECTION\n2\nHEADER\n9\n$ACADVER\n";
    EXPECT_NE(db.dxfIn((dir / "bad.dxf").string().c_str()), Acad::eOk);
    EXPECT_FALSE(db.lastError().empty());
    EXPECT_EQ(db.getAcDbObjectId(id, false, AcDbHandle(0x48)), Acad::eOk);
    std::filesystem::remove_all(dir);
}

// A large drawing loads without making objects for its records, with a small
// entry beside each record.
TEST(RoundTrip, LargeDrawingLoadsWithoutMaterialisingObjects) {
    static_assert(sizeof(db::Entry) - sizeof(dxf::Record) <= 48);
    dxf::Document doc = test::testDrawing();
    const int n = 200000;
    doc.entities.reserve(doc.entities.size() + n);
    for (int i = 0; i < n; ++i)
        doc.entities.push_back(test::record("TEXT", {{5, dxf::formatHandle(0x1000 + i)}, {330, "20"},
                                                     {100, "AcDbEntity"}, {8, "0"}, {100, "AcDbText"},
                                                     {10, "0.0"}, {20, "0.0"}, {40, "1.0"}, {1, "t"}}));
    AcDbDatabase database;
    database.fromDocument(std::move(doc));
    std::size_t made = 0;
    database.store().forEachEntity([&](const db::Entry* e) { made += e->object != nullptr; });
    EXPECT_EQ(made, 0u);
    AcDbObjectId last;
    ASSERT_EQ(database.getAcDbObjectId(last, false, AcDbHandle(0x1000 + n - 1)), Acad::eOk);
    EXPECT_EQ(database.store().handleSeed(), 0x1000u + n);  // above every handle, though $HANDSEED said 100
}

}  // namespace

// A drawing large enough to be taken on every core, almost all of it the
// followers of block references and polylines: wherever the cores' runs
// would begin, each follower stays with its owner.
TEST(RoundTrip, ManyComplexEntitiesKeepTheirFollowersWhenTakenOnEveryCore) {
    constexpr int kGroups = 2500, kVertices = 30;
    dxf::Document doc = test::testDrawing();
    AcDbDatabase small;
    small.fromDocument(test::testDrawing());
    const std::size_t own = small.store().topLevelEntities().size();
    std::uint64_t h = 0x1000;
    auto entity = [&](const char* type, std::uint64_t owner, std::initializer_list<std::pair<int, std::string>> more) {
        dxf::Record r = test::record(type, {{5, dxf::formatHandle(h++)}, {330, dxf::formatHandle(owner)},
                                            {100, "AcDbEntity"}, {8, "0"}});
        for (const auto& [code, value] : more) r.tags.push(code, value);
        doc.entities.push_back(std::move(r));
        return h - 1;
    };
    for (int g = 0; g < kGroups; ++g) {
        entity("TEXT", 0x20, {{100, "AcDbText"}, {10, "0.0"}, {20, "0.0"}, {40, "1.0"}, {1, "t"}});
        const std::uint64_t insert = entity("INSERT", 0x20, {{100, "AcDbBlockReference"}, {66, "1"}, {2, "BOX"}});
        for (int a = 0; a < 2; ++a)
            entity("ATTRIB", insert, {{100, "AcDbText"}, {40, "1.0"}, {1, "v"}, {100, "AcDbAttribute"}, {2, "NUMBER"}});
        entity("SEQEND", insert, {});
        const std::uint64_t polyline = entity("POLYLINE", 0x20, {{100, "AcDb2dPolyline"}, {66, "1"}});
        for (int v = 0; v < kVertices; ++v) entity("VERTEX", polyline, {{100, "AcDbVertex"}, {10, "1.0"}, {20, "2.0"}});
        entity("SEQEND", polyline, {});
    }
    const dxf::Document copy = doc;
    AcDbDatabase database;
    database.fromDocument(std::move(doc));

    const std::vector<db::Entry*>& tops = database.store().topLevelEntities();
    ASSERT_EQ(tops.size(), own + 3u * kGroups);
    std::size_t followers = 0;
    for (std::size_t k = own; k < tops.size(); ++k) {
        const db::Entry* e = tops[k];
        ASSERT_EQ(e->place, db::Place::Entity);
        const std::size_t expected = e->record.type == "INSERT" ? 3 : e->record.type == "POLYLINE" ? kVertices + 1 : 0;
        ASSERT_EQ(e->children ? e->children->size() : 0, expected) << e->record.type << " " << e->handle;
        for (std::size_t c = 0; c < expected; ++c) {
            const db::Entry* child = (*e->children)[c];
            EXPECT_EQ(child->parent, e);
            EXPECT_EQ(child->place, db::Place::SubEntity);
            EXPECT_EQ(child->handle, e->handle + 1 + c);  // in the file's order
            ++followers;
        }
    }
    EXPECT_EQ(followers, (3u + kVertices + 1) * kGroups);
    expectSame(database.toDocument(), copy);
}

// Records read on every core: of two bad handles the one nearer the start
// of the file is told, and the drawing that was open stays.
TEST(RoundTrip, OfTwoBadHandlesTheFirstIsToldAndTheOpenDrawingStays) {
    dxf::Document doc = test::testDrawing();
    const std::size_t base = doc.entities.size();
    for (int i = 0; i < 60000; ++i) {
        doc.entities.push_back(test::record("TEXT", {{5, dxf::formatHandle(0x1000 + i)}, {330, "20"},
                                                     {100, "AcDbEntity"}, {8, "0"}, {100, "AcDbText"},
                                                     {40, "1.0"}, {1, "t"}}));
        doc.entities.back().line = 1000 + 20 * static_cast<std::size_t>(i);
    }
    const std::size_t first = base + 10000, second = base + 59900;
    doc.entities[second].tags.set(0, "G1");
    doc.entities[first].tags.set(0, "0");
    AcDbDatabase database;
    database.fromDocument(test::testDrawing());
    try {
        database.fromDocument(std::move(doc));
        FAIL() << "a drawing with bad handles was taken";
    } catch (const db::DatabaseError& e) {
        EXPECT_EQ(std::string(e.what()), "line " + std::to_string(1000 + 20 * (first - base)) +
                                             ": the handle \"0\" of TEXT is not a hexadecimal number above 0");
    }
    AcDbObjectId id;
    EXPECT_EQ(database.getAcDbObjectId(id, false, AcDbHandle(0x48)), Acad::eOk);
    EXPECT_NE(database.getAcDbObjectId(id, false, AcDbHandle(0x1000)), Acad::eOk);
}
