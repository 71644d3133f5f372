// R12 drawings in the database: no block records, owners or subclass markers,
// and perhaps no handles or tables at all. The host reaches their blocks and
// styles through tables of its own, and writes what is added as R12 does.
#include <gtest/gtest.h>

#include "host/db/AcDbBlockTable.h"
#include "host/db/AcDbDatabase.h"
#include "host/db/AcDbText.h"
#include "host/db/AcDbTextStyleTable.h"
#include "host/db/DrawingStore.h"
#include "host/db/HeaderVariables.h"
#include "host/db/RecordTags.h"
#include "host/dxf/DxfFile.h"
#include "tests/host/db/TestDrawing.h"

using namespace kestrin;
using test::dump;

namespace {

// An R12 drawing: a header (with or without handles), a style table, a block
// with a text, and model and paper space texts.
std::string r12Drawing(bool handles) {
    auto handle = [&](const char* value) { return handles ? "  5\n" + std::string(value) + "\n" : std::string(); };
    return "  0\nSECTION\n  2\nHEADER\n  9\n$ACADVER\n  1\nAC1009\n  9\n$HANDLING\n 70\n" + std::string(handles ? "1" : "0") +
           "\n" + (handles ? "  9\n$HANDSEED\n  5\n100\n" : "") +
           "  0\nENDSEC\n"
           "  0\nSECTION\n  2\nTABLES\n  0\nTABLE\n  2\nSTYLE\n 70\n1\n  0\nSTYLE\n" + handle("10") +
           "  2\nSTANDARD\n 70\n0\n 40\n0.0\n 41\n1.0\n 50\n0.0\n 71\n0\n 42\n2.5\n  3\ntxt\n  4\n\n  0\nENDTAB\n"
           "  0\nENDSEC\n"
           "  0\nSECTION\n  2\nBLOCKS\n  0\nBLOCK\n  8\n0\n  2\nPLATE\n 70\n0\n 10\n0.0\n 20\n0.0\n 30\n0.0\n  3\nPLATE\n"
           "  0\nTEXT\n" + handle("20") + "  8\n0\n 10\n1.0\n 20\n1.0\n 30\n0.0\n 40\n2.5\n  1\nin the block\n"
           "  0\nENDBLK\n  8\n0\n  0\nENDSEC\n"
           "  0\nSECTION\n  2\nENTITIES\n"
           "  0\nTEXT\n" + handle("30") + "  8\n0\n 10\n5.0\n 20\n5.0\n 30\n0.0\n 40\n2.5\n  1\nmodel\n"
           "  0\nTEXT\n" + handle("31") + " 67\n1\n  8\n0\n 10\n5.0\n 20\n5.0\n 30\n0.0\n 40\n2.5\n  1\npaper\n"
           "  0\nENDSEC\n  0\nEOF\n";
}

class R12Drawings : public ::testing::Test {
protected:
    void open(const std::string& text) { db.fromDocument(dxf::readDxf(text, "r12.dxf")); }

    AcDbObjectId appendText(const char* space, const char* string) {
        AcDbBlockTable* table = nullptr;
        EXPECT_EQ(db.getBlockTable(table, AcDb::kForRead), Acad::eOk);
        AcDbBlockTableRecord* record = nullptr;
        EXPECT_EQ(table->getAt(space, record, AcDb::kForWrite), Acad::eOk);
        AcDbObjectId id;
        auto* text = new AcDbText(AcGePoint3d(1, 2, 0), string);
        EXPECT_EQ(record->appendAcDbEntity(id, text), Acad::eOk);
        text->close();
        record->close();
        table->close();
        return id;
    }

    const db::Entry* entityWithText(const std::vector<db::Entry*>& entries, std::string_view text) {
        for (const db::Entry* e : entries)
            if (db::headTag(e->record, 1) == text) return e;
        return nullptr;
    }

    test::AbortThrows abortThrows;
    AcDbDatabase db;
};

}  // namespace

TEST_F(R12Drawings, BlocksAndSpacesAreFoundThroughTheHostsOwnBlockTable) {
    for (bool handles : {true, false}) {
        SCOPED_TRACE(handles ? "with handles" : "without handles");
        open(r12Drawing(handles));
        const db::DrawingStore& store = db.store();
        const db::Entry* model = store.findTableEntry("BLOCK_RECORD", "*Model_Space", false);
        const db::Entry* paper = store.findTableEntry("BLOCK_RECORD", "*Paper_Space", false);
        const db::Entry* plate = store.findTableEntry("BLOCK_RECORD", "PLATE", false);
        ASSERT_TRUE(model && paper && plate);
        const auto inModel = store.entitiesOf(model), inPaper = store.entitiesOf(paper), inPlate = store.entitiesOf(plate);
        ASSERT_EQ(inModel.size(), 1u);
        ASSERT_EQ(inPaper.size(), 1u);
        ASSERT_EQ(inPlate.size(), 1u);
        EXPECT_EQ(store.spaceOf(*inModel[0]), db::Space::Model);
        EXPECT_EQ(store.spaceOf(*inPaper[0]), db::Space::Paper);
        EXPECT_EQ(store.spaceOf(*inPlate[0]), db::Space::Block);
        EXPECT_EQ(store.ownerOf(*inPlate[0]), plate);
        EXPECT_EQ(store.ownerOf(*inPaper[0]), paper);
        EXPECT_EQ(store.writesHandles(), handles);
        // Nothing of the host's own reaches the file.
        EXPECT_EQ(dxf::writeDxf(db.toDocument()), r12Drawing(handles));
    }
}

TEST_F(R12Drawings, NewTextsAreWrittenAsR12WritesThem) {
    open(r12Drawing(true));
    appendText(ACDB_PAPER_SPACE, "new");
    dxf::Document out = db.toDocument();
    // A handle from $HANDSEED, the paper flag; no owner, no subclass markers.
    EXPECT_EQ(dump(out.entities.back()), "TEXT: 5=100 67=1 8=0 10=1.0 20=2.0 30=0.0 40=2.5 1=new 7=Standard");
    const auto seed = db::findVariable(out.header, "HANDSEED");
    ASSERT_TRUE(seed);
    EXPECT_EQ(out.header[*seed + 1].value, "101");

    open(r12Drawing(false));
    const AcDbObjectId id = appendText(ACDB_MODEL_SPACE, "new");
    out = db.toDocument();
    EXPECT_EQ(dump(out.entities.back()), "TEXT: 8=0 10=1.0 20=2.0 30=0.0 40=2.5 1=new 7=Standard");
    EXPECT_FALSE(db::findVariable(out.header, "HANDSEED"));
    // Known inside the host all the same, and picked by its space.
    EXPECT_EQ(db.store().byHandle(id.handle().value()), id.entry());
    EXPECT_EQ(db.store().spaceOf(*id.entry()), db::Space::Model);
}

TEST_F(R12Drawings, AStyleAddedToADrawingWithoutTablesMakesTheTableBeforeTheEntities) {
    const std::string entitiesOnly =
        "  0\nSECTION\n  2\nENTITIES\n  0\nTEXT\n  8\n0\n 10\n0.0\n 20\n0.0\n 30\n0.0\n 40\n2.5\n  1\nonly\n"
        "  0\nENDSEC\n  0\nEOF\n";
    open(entitiesOnly);
    EXPECT_EQ(dxf::writeDxf(db.toDocument()), entitiesOnly);
    AcDbTextStyleTable* styles = nullptr;
    ASSERT_EQ(db.getTextStyleTable(styles, AcDb::kForWrite), Acad::eOk);
    EXPECT_TRUE(styles->has("STANDARD"));
    auto* zor = new AcDbTextStyleTableRecord();
    zor->setName("ZOR");
    zor->setFileName("Zor.shx");
    ASSERT_EQ(styles->add(zor), Acad::eOk);
    zor->close();
    styles->close();
    const dxf::Document out = db.toDocument();
    const dxf::Document back = dxf::readDxf(dxf::writeDxf(out), "back.dxf");
    EXPECT_EQ(back.order, (std::vector<std::string>{"TABLES", "ENTITIES"}));
    ASSERT_EQ(back.tables.size(), 1u);
    ASSERT_EQ(back.tables[0].entries.size(), 2u);
    EXPECT_EQ(dump(back.tables[0].entries[1]).find("100="), std::string::npos);
    EXPECT_EQ(dump(back.tables[0].entries[1]).find("5="), std::string::npos);  // the drawing has no handles
}
