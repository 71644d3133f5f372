// The undo journal: a step undone leaves the drawing's file text exactly as
// it was before the step, redone exactly as after it; only changed records
// are kept, and the views learn of every object that came, went or changed.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/db/AcDbAttribute.h"
#include "host/db/AcDbBlockReference.h"
#include "host/db/AcDbBlockTable.h"
#include "host/db/AcDbCurves.h"
#include "host/db/AcDbDatabase.h"
#include "host/db/AcDbText.h"
#include "host/db/AcDbTextStyleTable.h"
#include "host/db/DrawingStore.h"
#include "host/db/SpatialIndex.h"
#include "host/dxf/DxfFile.h"
#include "host/dxf/Handles.h"
#include "tests/host/db/TestDrawing.h"

using namespace kestrin;

namespace {

class UndoJournalTest : public ::testing::Test {
protected:
    UndoJournalTest() { db.fromDocument(test::testDrawing()); }

    std::string text() const { return dxf::writeDxf(db.toDocument()); }
    db::UndoJournal& journal() { return db.store().journal(); }

    AcDbObjectId byHandle(std::uint64_t handle) {
        AcDbObjectId id;
        db.getAcDbObjectId(id, false, AcDbHandle(handle));
        return id;
    }
    AcDbObjectId append(const char* block, AcDbEntity* entity) {
        AcDbBlockTable* table = nullptr;
        EXPECT_EQ(db.getBlockTable(table, AcDb::kForRead), Acad::eOk);
        AcDbBlockTableRecord* record = nullptr;
        EXPECT_EQ(table->getAt(block, record, AcDb::kForWrite), Acad::eOk);
        AcDbObjectId id;
        EXPECT_EQ(record->appendAcDbEntity(id, entity), Acad::eOk);
        entity->close();
        record->close();
        table->close();
        return id;
    }
    void setString(std::uint64_t handle, const char* value) {
        AcDbText* t = nullptr;
        ASSERT_EQ(acdbOpenObject(t, byHandle(handle), AcDb::kForWrite), Acad::eOk);
        t->setTextString(value);
        t->close();
    }
    void erase(std::uint64_t handle) {
        AcDbEntity* e = nullptr;
        ASSERT_EQ(acdbOpenObject(e, byHandle(handle), AcDb::kForWrite), Acad::eOk);
        e->erase();
        e->close();
    }
    void addStyle(const char* name) {
        AcDbTextStyleTable* styles = nullptr;
        ASSERT_EQ(db.getTextStyleTable(styles, AcDb::kForWrite), Acad::eOk);
        auto* style = new AcDbTextStyleTableRecord;
        style->setName(name);
        style->setFileName("zor.shx");
        EXPECT_EQ(styles->add(style), Acad::eOk);
        style->close();
        styles->close();
    }
    void addAttribute(std::uint64_t insert, const char* value) {
        AcDbBlockReference* ref = nullptr;
        ASSERT_EQ(acdbOpenObject(ref, byHandle(insert), AcDb::kForWrite), Acad::eOk);
        auto* attribute = new AcDbAttribute(AcGePoint3d(0, 0, 0), value, "TAG");
        EXPECT_EQ(ref->appendAttribute(attribute), Acad::eOk);
        attribute->close();
        ref->close();
    }

    test::AbortThrows abortThrows;
    AcDbDatabase db;
};

TEST_F(UndoJournalTest, AStepOfEveryKindOfChangeIsUndoneAndRedoneByteForByte) {
    const std::string before = text();
    append(ACDB_MODEL_SPACE, new AcDbText(AcGePoint3d(1, 2, 0), "new"));
    append("BOX", new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(1, 1, 0)));
    setString(0x40, "changed");
    erase(0x46);
    addStyle("ZOR");  // a table record, and the table's count
    const AcDbObjectId bare = append(ACDB_MODEL_SPACE, new AcDbBlockReference(AcGePoint3d(5, 5, 0), byHandle(0x22)));
    addAttribute(bare.handle().value(), "first");  // its SEQEND comes too
    addAttribute(0x42, "second");
    ASSERT_EQ(db.setTextsize(7), Acad::eOk);
    ASSERT_TRUE(journal().close("EVERYTHING"));
    const std::string after = text();
    ASSERT_NE(after, before);

    EXPECT_EQ(journal().undo(1), std::vector<std::string>{"EVERYTHING"});
    EXPECT_EQ(text(), before);
    EXPECT_TRUE(byHandle(0x100).isNull()) << "an undone object is no longer found by its handle";
    EXPECT_EQ(db.textsize(), 2.5);
    EXPECT_EQ(journal().redo(), std::vector<std::string>{"EVERYTHING"});
    EXPECT_EQ(text(), after);
    EXPECT_FALSE(byHandle(0x100).isNull());
    EXPECT_EQ(journal().undo(1).size(), 1u);
    EXPECT_EQ(text(), before);

    // The drawing goes on from where the undo left it: the same handles are
    // given again, the attribute list of the bare reference is made afresh,
    // and what was undone cannot come back.
    const AcDbObjectId again = append(ACDB_MODEL_SPACE, new AcDbText(AcGePoint3d(3, 3, 0), "again"));
    EXPECT_EQ(again.handle().value(), 0x100u);
    ASSERT_TRUE(journal().close("AGAIN"));
    EXPECT_TRUE(journal().redo().empty());
    AcDbDatabase copy;
    EXPECT_NO_THROW(copy.fromDocument(dxf::readDxf(text(), "again.dxf")));
    EXPECT_EQ(journal().undo(1), std::vector<std::string>{"AGAIN"});
    EXPECT_EQ(text(), before);
}

TEST_F(UndoJournalTest, AnAttributeOnAReferenceWithoutAnyIsUndoneAndAnotherStillGetsItsSequenceEnd) {
    const AcDbObjectId bare = append(ACDB_MODEL_SPACE, new AcDbBlockReference(AcGePoint3d(5, 5, 0), byHandle(0x22)));
    journal().close("INSERT");
    const std::string plain = text();
    addAttribute(bare.handle().value(), "first");
    journal().close("ATTRIBUTE");
    journal().undo(1);
    EXPECT_EQ(text(), plain);
    addAttribute(bare.handle().value(), "other");
    journal().close("ATTRIBUTE");
    const dxf::Document doc = db.toDocument();
    ASSERT_GE(doc.entities.size(), 3u);
    EXPECT_EQ(doc.entities[doc.entities.size() - 3].type, "INSERT");
    EXPECT_EQ(doc.entities[doc.entities.size() - 2].type, "ATTRIB");
    EXPECT_EQ(doc.entities.back().type, "SEQEND");
}

TEST_F(UndoJournalTest, WritesThatChangeNothingLeaveNoStepAndKeepWhatCanBeRedone) {
    setString(0x40, "one");
    journal().close("ONE");
    journal().undo(1);
    setString(0x40, "Строка"_cp);  // opened for write, written back as it was
    AcDbText* t = nullptr;
    ASSERT_EQ(acdbOpenObject(t, byHandle(0x40), AcDb::kForWrite), Acad::eOk);
    t->close();
    (void)db.store().header();  // the header asked for, not changed
    EXPECT_FALSE(journal().close("NOTHING"));
    EXPECT_EQ(journal().undoable(), 0u);
    EXPECT_EQ(journal().redo(), std::vector<std::string>{"ONE"});
}

TEST_F(UndoJournalTest, UndoOfSeveralStepsIsRedoneWholeAndTheDepthIsBounded) {
    const std::string start = text();
    std::vector<std::string> states{start};
    for (const char* value : {"a", "b", "c", "d"}) {
        setString(0x40, value);
        journal().close(std::string("SET ") + value);
        states.push_back(text());
    }
    EXPECT_EQ(journal().nextUndo(), "SET d");
    EXPECT_EQ(journal().undo(1), std::vector<std::string>{"SET d"});
    EXPECT_EQ(journal().undo(2), (std::vector<std::string>{"SET c", "SET b"}));
    EXPECT_EQ(text(), states[1]);
    EXPECT_EQ(journal().nextRedo(), "SET b");
    EXPECT_EQ(journal().redo(), (std::vector<std::string>{"SET b", "SET c"}));
    EXPECT_EQ(text(), states[3]);
    EXPECT_EQ(journal().redo(), std::vector<std::string>{"SET d"});
    EXPECT_TRUE(journal().redo().empty());
    EXPECT_EQ(journal().undo(100).size(), 4u);  // more than there is: back to the start, and no further
    EXPECT_EQ(text(), start);
    EXPECT_TRUE(journal().undo(1).empty());
    journal().redo();

    journal().setLimit(2);
    EXPECT_EQ(journal().undoable(), 2u);
    EXPECT_EQ(journal().undo(5).size(), 2u);
    EXPECT_EQ(text(), states[2]);
    journal().setLimit(0);
    setString(0x40, "e");
    EXPECT_TRUE(journal().close("SET e"));
    EXPECT_EQ(journal().undoable(), 0u);
    EXPECT_TRUE(journal().redo().empty());
}

TEST_F(UndoJournalTest, ALoadedDrawingStartsWithNothingToUndo) {
    AcDbDatabase fresh;
    dxf::Document doc = test::testDrawing();
    doc.entities.push_back(test::record("POINT", {{100, "AcDbEntity"}, {8, "0"}, {100, "AcDbPoint"},
                                                   {10, "1.0"}, {20, "1.0"}, {30, "0.0"}}));  // gets a handle
    fresh.fromDocument(std::move(doc));
    EXPECT_FALSE(fresh.store().journal().recording());
    EXPECT_TRUE(fresh.store().journal().undo(1).empty());
}

TEST_F(UndoJournalTest, TheViewsAndThePickIndexFollowUndoAndRedo) {
    db::SpatialIndex& index = db.store().spatialIndex();
    auto near = [&index](double x, double y) {
        std::vector<std::uint64_t> found;
        index.visitNear(x, y, 0.5, [&found](db::Entry* e) { found.push_back(e->handle); });
        return found;
    };
    int added = 0, erased = 0, changed = 0;
    auto a = db.events().added.connectScoped([&](AcDbObjectId) { ++added; });
    auto e = db.events().erased.connectScoped([&](AcDbObjectId) { ++erased; });
    auto c = db.events().changed.connectScoped([&](AcDbObjectId) { ++changed; });
    append(ACDB_MODEL_SPACE, new AcDbLine(AcGePoint3d(500, 500, 0), AcGePoint3d(510, 500, 0)));
    erase(0x47);
    setString(0x40, "x");
    journal().close("STEP");
    added = erased = changed = 0;

    journal().undo(1);
    EXPECT_EQ(added, 1);    // the circle came back
    EXPECT_EQ(erased, 1);   // the line went
    EXPECT_EQ(changed, 1);  // the text
    EXPECT_TRUE(near(505, 500).empty());
    EXPECT_FALSE(near(-40, -36).empty());
    journal().redo();
    EXPECT_EQ(near(505, 500), std::vector<std::uint64_t>{0x100});
    EXPECT_TRUE(near(-40, -36).empty());
}

TEST_F(UndoJournalTest, AStepKeepsOnlyTheRecordsItChanged) {
    // A drawing of 2000 lines; a step changes one of them.
    dxf::Document doc = test::testDrawing();
    for (int i = 0; i < 2000; ++i)
        doc.entities.push_back(test::record(
            "LINE", {{5, dxf::formatHandle(0x1000 + i)}, {330, "20"}, {100, "AcDbEntity"}, {8, "0"},
                     {100, "AcDbLine"}, {10, std::to_string(i)}, {20, "0.0"}, {30, "0.0"}, {11, "1.0"},
                     {21, "1.0"}, {31, "0.0"}}));
    AcDbDatabase big;
    big.fromDocument(std::move(doc));
    AcDbObjectId id;
    big.getAcDbObjectId(id, false, AcDbHandle(0x1000));
    AcDbLine* line = nullptr;
    ASSERT_EQ(acdbOpenObject(line, id, AcDb::kForWrite), Acad::eOk);
    line->setEndPoint(AcGePoint3d(9, 9, 0));
    line->close();
    db::UndoJournal& j = big.store().journal();
    ASSERT_TRUE(j.close("MOVE"));
    std::size_t drawing = 0;
    big.store().forEachEntity([&drawing](const db::Entry* e) { drawing += db::UndoJournal::recordBytes(e->record); });
    EXPECT_GT(j.bytes(), 0u);
    EXPECT_LT(j.bytes() * 100, drawing) << "journal " << j.bytes() << " bytes, drawing " << drawing;
}

}  // namespace
