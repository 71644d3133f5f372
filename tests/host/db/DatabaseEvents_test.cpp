// What a drawing tells its views: added, changed and erased, once per open
// for write that changed something, after the object is closed.
#include <gtest/gtest.h>

#include "host/db/AcDbBlockTable.h"
#include "host/db/AcDbDatabase.h"
#include "host/db/AcDbText.h"
#include "tests/host/db/TestDrawing.h"

using namespace kestrin;

namespace {

class DatabaseEvents : public ::testing::Test {
protected:
    DatabaseEvents() {
        db.fromDocument(test::testDrawing());
        auto& e = db.events();
        connections.push_back(e.added.connectScoped([this](AcDbObjectId id) { heard("added", id); }));
        connections.push_back(e.changed.connectScoped([this](AcDbObjectId id) { heard("changed", id); }));
        connections.push_back(e.erased.connectScoped([this](AcDbObjectId id) { heard("erased", id); }));
        connections.push_back(e.replaced.connectScoped([this] { log.push_back("replaced"); }));
    }
    void heard(const char* what, AcDbObjectId id) {
        // The object is closed by now: a view can open it (erased ones when asked).
        AcDbObject* o = nullptr;
        EXPECT_EQ(acdbOpenAcDbObject(o, id, AcDb::kForRead, true), Acad::eOk) << what;
        if (o) o->close();
        log.push_back(std::string(what) + " " + std::to_string(id.handle().value()));
    }
    AcDbObjectId appendText(const char* text) {
        AcDbBlockTable* table = nullptr;
        EXPECT_EQ(db.getBlockTable(table, AcDb::kForRead), Acad::eOk);
        AcDbBlockTableRecord* model = nullptr;
        EXPECT_EQ(table->getAt(ACDB_MODEL_SPACE, model, AcDb::kForWrite), Acad::eOk);
        table->close();
        AcDbObjectId id;
        auto* entity = new AcDbText(AcGePoint3d(1, 2, 0), text);
        const std::size_t before = log.size();
        EXPECT_EQ(model->appendAcDbEntity(id, entity), Acad::eOk);
        EXPECT_EQ(log.size(), before) << "nothing is told before the new object is closed";
        entity->close();
        model->close();
        return id;
    }
    AcDbText* openText(AcDbObjectId id, AcDb::OpenMode mode) {
        AcDbText* t = nullptr;
        EXPECT_EQ(acdbOpenObject(t, id, mode), Acad::eOk);
        return t;
    }

    test::AbortThrows abortThrows;
    AcDbDatabase db;
    std::vector<std::string> log;
    std::vector<ScopedConnection> connections;
};

TEST_F(DatabaseEvents, ATextAppendedChangedAndErasedIsToldOnceEach) {
    const AcDbObjectId id = appendText("one");
    const std::string h = std::to_string(id.handle().value());
    EXPECT_EQ(log, (std::vector<std::string>{"added " + h})) << "the block record's own write changed nothing of its record";

    AcDbText* t = openText(id, AcDb::kForWrite);
    t->setTextString("two");
    t->setTextString("three");
    t->close();
    t = openText(id, AcDb::kForWrite);
    t->erase();
    t->close();
    EXPECT_EQ(log, (std::vector<std::string>{"added " + h, "changed " + h, "erased " + h}));
}

TEST_F(DatabaseEvents, WritesThatLeaveTheRecordAsItWasTellNothing) {
    const AcDbObjectId id = appendText("same");
    log.clear();
    AcDbText* t = openText(id, AcDb::kForWrite);
    t->setTextString("same");
    t->close();
    t = openText(id, AcDb::kForWrite);
    t->setTextString("other");
    t->setTextString("same");  // back as it was
    t->close();
    t = openText(id, AcDb::kForRead);
    t->close();
    EXPECT_TRUE(log.empty()) << log.front();
}

TEST_F(DatabaseEvents, UpgradedOpensAndUnerasingAreToldWhenTheWriteEnds) {
    const AcDbObjectId id = appendText("a");
    const std::string h = std::to_string(id.handle().value());
    log.clear();
    AcDbText* t = openText(id, AcDb::kForRead);
    ASSERT_EQ(t->upgradeOpen(), Acad::eOk);
    t->setTextString("b");
    ASSERT_EQ(t->downgradeOpen(), Acad::eOk);
    EXPECT_EQ(log, (std::vector<std::string>{"changed " + h})) << "the write ended with the downgrade";
    t->close();
    EXPECT_EQ(log.size(), 1u) << "closing the read open tells nothing more";

    AcDbObject* o = nullptr;
    ASSERT_EQ(acdbOpenAcDbObject(o, id, AcDb::kForWrite), Acad::eOk);
    o->erase();
    o->erase(false);
    o->close();
    EXPECT_EQ(log.size(), 1u) << "erased and brought back in one open: nothing changed";
    ASSERT_EQ(acdbOpenAcDbObject(o, id, AcDb::kForWrite), Acad::eOk);
    o->erase();
    o->close();
    ASSERT_EQ(acdbOpenAcDbObject(o, id, AcDb::kForWrite, true), Acad::eOk);
    o->erase(false);
    o->close();
    EXPECT_EQ(log, (std::vector<std::string>{"changed " + h, "erased " + h, "added " + h}));
}

TEST_F(DatabaseEvents, ReplacingTheDrawingIsToldAndDisconnectedViewsHearNothing) {
    db.fromDocument(test::testDrawing());
    EXPECT_EQ(log, (std::vector<std::string>{"replaced"}));
    connections.clear();
    appendText("quiet");
    EXPECT_EQ(log.size(), 1u);
}

}  // namespace
