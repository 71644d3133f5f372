// Objects added to the drawing: handles from $HANDSEED, owners, the section
// they are written in, and the values the drawing gives them.
#include <gtest/gtest.h>

#include "host/db/AcDbAttribute.h"
#include "host/db/AcDbBlockReference.h"
#include "host/db/AcDbBlockTable.h"
#include "host/db/AcDbCurves.h"
#include "host/db/AcDbDatabase.h"
#include "host/db/DrawingStore.h"
#include "host/db/AcDbText.h"
#include "host/db/RecordTags.h"
#include "host/dxf/Handles.h"
#include "host/db/HeaderVariables.h"
#include "tests/host/db/TestDrawing.h"

using namespace kestrin;
using test::dump;

namespace {

class NewObjects : public ::testing::Test {
protected:
    NewObjects() { db.fromDocument(test::testDrawing()); }

    // Appends `entity` to the named block; answers its id.
    AcDbObjectId append(const char* block, AcDbEntity* entity) {
        AcDbBlockTable* table = nullptr;
        EXPECT_EQ(db.getBlockTable(table, AcDb::kForRead), Acad::eOk);
        AcDbBlockTableRecord* record = nullptr;
        EXPECT_EQ(table->getAt(block, record, AcDb::kForWrite), Acad::eOk);
        AcDbObjectId id;
        EXPECT_EQ(record->appendAcDbEntity(id, entity), Acad::eOk);
        EXPECT_TRUE(entity->isWriteEnabled());
        entity->close();
        record->close();
        table->close();
        return id;
    }
    std::string header(const char* name) {
        const auto v = db::readVariable(db.store().header(), name);
        return v ? (v->kind == db::VariableValue::Kind::String ? v->text : db::formatReal(v->real)) : "?";
    }

    test::AbortThrows abortThrows;
    AcDbDatabase db;
};

TEST_F(NewObjects, ModelSpaceTextGetsHandleOwnerAndTheDrawingsDefaults) {
    const AcDbObjectId id = append(ACDB_MODEL_SPACE, new AcDbText(AcGePoint3d(1, 2, 0), "new"));
    EXPECT_EQ(id.handle().value(), 0x100u);  // the old $HANDSEED
    EXPECT_EQ(db.store().handleSeed(), 0x101u);
    const dxf::Document out = db.toDocument();
    const dxf::Record& written = out.entities.back();
    EXPECT_EQ(dump(written), "TEXT: 5=100 330=20 100=AcDbEntity 8=0 100=AcDbText 10=1.0 20=2.0 30=0.0 40=2.5 "
                             "1=new 7=Standard 100=AcDbText");
    const auto seed = db::findVariable(out.header, "HANDSEED");
    ASSERT_TRUE(seed);
    EXPECT_EQ(out.header[*seed + 1].value, "101");
}

TEST_F(NewObjects, HeightZeroTakesTextsizeAndAStyleGivenIsKept) {
    const AcDbObjectId style(db.store().findTableEntry("STYLE", "Standard", false));
    AcDbText* text = new AcDbText(AcGePoint3d::kOrigin, "h", style, 7.0);
    const AcDbObjectId id = append(ACDB_MODEL_SPACE, text);
    AcDbText* opened = nullptr;
    ASSERT_EQ(acdbOpenObject(opened, id, AcDb::kForRead), Acad::eOk);
    EXPECT_DOUBLE_EQ(opened->height(), 7.0);
    EXPECT_EQ(opened->textStyle(), style);
    opened->close();
}

TEST_F(NewObjects, PaperSpaceAndUserBlocks) {
    const AcDbObjectId paper = append(ACDB_PAPER_SPACE, new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(1, 1, 0)));
    const AcDbObjectId inBlock = append("box", new AcDbCircle(AcGePoint3d(0, 0, 0), 2));  // any letter case
    const dxf::Document out = db.toDocument();
    EXPECT_EQ(dump(out.entities.back()).substr(0, 52), "LINE: 5=100 330=21 100=AcDbEntity 67=1 8=0 100=AcDbL");
    ASSERT_EQ(out.blocks.size(), 3u);
    EXPECT_EQ(dump(out.blocks[2].entities.back()).substr(0, 30), "CIRCLE: 5=101 330=22 100=AcDbE");
    EXPECT_EQ(paper.handle().value(), 0x100u);
    EXPECT_EQ(inBlock.handle().value(), 0x101u);

    // Iteration sees each space's own entities only.
    AcDbBlockTable* table = nullptr;
    ASSERT_EQ(db.getBlockTable(table), Acad::eOk);
    AcDbBlockTableRecord* record = nullptr;
    ASSERT_EQ(table->getAt(ACDB_PAPER_SPACE, record, AcDb::kForRead), Acad::eOk);
    AcDbBlockTableRecordIterator* it = nullptr;
    record->newIterator(it);
    std::vector<std::uint64_t> handles;
    for (; !it->done(); it->step()) {
        AcDbObjectId id;
        it->getEntityId(id);
        handles.push_back(id.handle().value());
    }
    delete it;
    record->close();
    table->close();
    EXPECT_EQ(handles, (std::vector<std::uint64_t>{0x49, 0x100}));
}

TEST_F(NewObjects, AppendRefusesWhatIsNotAllowed) {
    AcDbBlockTable* table = nullptr;
    ASSERT_EQ(db.getBlockTable(table), Acad::eOk);
    AcDbBlockTableRecord* record = nullptr;
    ASSERT_EQ(table->getAt(ACDB_MODEL_SPACE, record, AcDb::kForRead), Acad::eOk);
    AcDbText text;
    EXPECT_EQ(record->appendAcDbEntity(&text), Acad::eNotOpenForWrite);
    EXPECT_EQ(record->upgradeOpen(), Acad::eOk);
    EXPECT_EQ(record->appendAcDbEntity(nullptr), Acad::eNullEntityPointer);
    AcDbText* resident = nullptr;
    AcDbObjectId existing;
    ASSERT_EQ(db.getAcDbObjectId(existing, false, AcDbHandle(0x40)), Acad::eOk);
    ASSERT_EQ(acdbOpenObject(resident, existing, AcDb::kForRead), Acad::eOk);
    EXPECT_EQ(record->appendAcDbEntity(resident), Acad::eAlreadyInDb);
    resident->close();
    AcDbBlockTableRecord* other = nullptr;
    EXPECT_EQ(table->getAt("NO SUCH BLOCK", other, AcDb::kForWrite), Acad::eKeyNotFound);
    EXPECT_EQ(other, nullptr);
    EXPECT_EQ(table->getAt(ACDB_MODEL_SPACE, other, AcDb::kForRead), Acad::eWasOpenForWrite);
    record->close();
    table->close();
    EXPECT_EQ(db.openObjectCount(), 0u);
}

TEST_F(NewObjects, AttributesGoBeforeTheSeqendOfTheirReference) {
    const AcDbObjectId ref = append(ACDB_MODEL_SPACE, new AcDbBlockReference(AcGePoint3d(5, 5, 0), AcDbObjectId(db.store().findTableEntry("BLOCK_RECORD", "BOX", false))));
    AcDbBlockReference* r = nullptr;
    ASSERT_EQ(acdbOpenObject(r, ref, AcDb::kForWrite), Acad::eOk);
    auto* first = new AcDbAttribute(AcGePoint3d(5, 6, 0), "1", "A");
    auto* second = new AcDbAttribute(AcGePoint3d(5, 7, 0), "2", "B");
    EXPECT_EQ(r->appendAttribute(first), Acad::eOk);
    first->close();
    EXPECT_EQ(r->appendAttribute(second), Acad::eOk);
    second->close();
    AcDbAttribute loose;
    AcDbBlockReference notInDb;
    EXPECT_EQ(notInDb.appendAttribute(&loose), Acad::eNotInDatabase);
    r->close();

    const dxf::Document out = db.toDocument();
    const auto& e = out.entities;
    ASSERT_GE(e.size(), 4u);
    const std::size_t n = e.size();
    EXPECT_EQ(e[n - 4].type, "INSERT");
    EXPECT_NE(dump(e[n - 4]).find(" 66=1 2=BOX"), std::string::npos) << dump(e[n - 4]);
    EXPECT_EQ(e[n - 3].type, "ATTRIB");
    EXPECT_EQ(e[n - 2].type, "ATTRIB");
    EXPECT_EQ(e[n - 1].type, "SEQEND");
    const std::string owner = " 330=" + dxf::formatHandle(ref.handle().value()) + " ";
    for (std::size_t i = n - 3; i < n; ++i) EXPECT_NE(dump(e[i]).find(owner), std::string::npos) << dump(e[i]);
    EXPECT_NE(dump(e[n - 3]).find(" 2=A "), std::string::npos);
}

TEST_F(NewObjects, ErasedObjectsAreNotWritten) {
    AcDbObjectId ref;
    ASSERT_EQ(db.getAcDbObjectId(ref, false, AcDbHandle(0x42)), Acad::eOk);
    AcDbEntity* e = nullptr;
    ASSERT_EQ(acdbOpenObject(e, ref, AcDb::kForWrite), Acad::eOk);
    e->erase();
    e->close();
    const dxf::Document out = db.toDocument();
    for (const auto& r : out.entities) {
        EXPECT_NE(r.type, "INSERT");
        EXPECT_NE(r.type, "ATTRIB");  // its attributes and SEQEND go with it
        EXPECT_NE(r.type, "SEQEND");
    }
}

TEST_F(NewObjects, InconsistentDocumentsAreRefusedAndTheOldDrawingKept) {
    dxf::Document twice = test::testDrawing();
    twice.entities.push_back(test::record("LINE", {{5, "40"}, {100, "AcDbEntity"}}));
    twice.entities.back().line = 900;
    try {
        db.fromDocument(std::move(twice));
        FAIL() << "duplicate handle accepted";
    } catch (const db::DatabaseError& e) {
        EXPECT_NE(std::string(e.what()).find("handle 40"), std::string::npos) << e.what();
        EXPECT_NE(std::string(e.what()).find("line 900"), std::string::npos) << e.what();
    }
    dxf::Document bad = test::testDrawing();
    bad.entities.push_back(test::record("LINE", {{5, "XYZ"}, {100, "AcDbEntity"}}));
    EXPECT_THROW(db.fromDocument(std::move(bad)), db::DatabaseError);
    AcDbObjectId still;
    EXPECT_EQ(db.getAcDbObjectId(still, false, AcDbHandle(0x48)), Acad::eOk);
}

// Handles in no order (runs up and down, one far below the rest): each is
// found by its handle, and one given twice far apart is still refused.
TEST_F(NewObjects, HandlesInAnyOrderAreFoundAndRepeatsRefused) {
    dxf::Document doc = test::testDrawing();
    std::vector<std::uint64_t> handles;
    for (std::uint64_t k = 0; k < 300; ++k) handles.push_back(0x1000 + (k * 7919) % 300);
    handles.push_back(0x4A);
    for (const std::uint64_t h : handles)
        doc.entities.push_back(test::record("POINT", {{5, dxf::formatHandle(h)}, {100, "AcDbEntity"}, {8, "0"}}));
    dxf::Document twice = doc;
    db.fromDocument(std::move(doc));
    for (const std::uint64_t h : handles) {
        AcDbObjectId id;
        ASSERT_EQ(db.getAcDbObjectId(id, false, AcDbHandle(h)), Acad::eOk) << std::hex << h;
        EXPECT_EQ(id.handle().value(), h);
    }
    twice.entities.insert(twice.entities.begin() + 3,
                          test::record("LINE", {{5, dxf::formatHandle(handles[150])}, {100, "AcDbEntity"}}));
    EXPECT_THROW(db.fromDocument(std::move(twice)), db::DatabaseError);
}

TEST_F(NewObjects, RecordsWithoutHandlesGetNewOnes) {
    dxf::Document old = test::testDrawing();
    old.entities.push_back(test::record("POINT", {{100, "AcDbEntity"}, {8, "0"}}));
    db.fromDocument(std::move(old));
    const dxf::Document out = db.toDocument();
    EXPECT_EQ(dump(out.entities.back()), "POINT: 5=100 100=AcDbEntity 8=0");
}

}  // namespace
