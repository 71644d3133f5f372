// The text style table: lookup by name without regard to case, erased
// records left out, adding records, and the record's values.
#include <gtest/gtest.h>

#include <cstdlib>
#include <numbers>

#include "base/Cp1251.h"
#include "host/db/AcDbDatabase.h"
#include "host/db/DrawingStore.h"
#include "host/db/AcDbTextStyleTable.h"
#include "tests/host/db/TestDrawing.h"

using namespace kestrin;
using test::dump;

namespace {

class TextStyles : public ::testing::Test {
protected:
    TextStyles() { db.fromDocument(test::testDrawing()); }
    std::vector<std::string> names(bool skipErased) {
        AcDbTextStyleTable* table = nullptr;
        EXPECT_EQ(db.getTextStyleTable(table), Acad::eOk);
        AcDbTextStyleTableIterator* it = nullptr;
        table->newIterator(it, true, skipErased);
        std::vector<std::string> out;
        for (; !it->done(); it->step(true, skipErased)) {
            AcDbTextStyleTableRecord* r = nullptr;
            EXPECT_EQ(it->getRecord(r, AcDb::kForRead, true), Acad::eOk);
            const char* name = nullptr;
            r->getName(name);
            out.emplace_back(name);
            r->close();
        }
        delete it;
        table->close();
        return out;
    }
    void eraseStyle(const char* name) {
        AcDbTextStyleTable* table = nullptr;
        ASSERT_EQ(db.getTextStyleTable(table), Acad::eOk);
        AcDbTextStyleTableRecord* r = nullptr;
        ASSERT_EQ(table->getAt(name, r, AcDb::kForWrite), Acad::eOk);
        r->erase();
        r->close();
        table->close();
    }
    test::AbortThrows abortThrows;
    AcDbDatabase db;
};

TEST_F(TextStyles, GetAtIgnoresCaseAndSkipsErasedRecords) {
    AcDbTextStyleTable* table = nullptr;
    ASSERT_EQ(db.getTextStyleTable(table), Acad::eOk);
    AcDbObjectId id;
    EXPECT_EQ(table->getAt("STANDARD", id), Acad::eOk);
    EXPECT_EQ(id.handle().value(), 0x10u);
    EXPECT_EQ(table->getAt("чертёжный"_cp, id), Acad::eOk);
    EXPECT_EQ(id.handle().value(), 0x11u);
    EXPECT_EQ(table->getAt("ZOR", id), Acad::eKeyNotFound);
    EXPECT_TRUE(id.isNull());
    table->close();

    eraseStyle("Чертёжный"_cp);
    ASSERT_EQ(db.getTextStyleTable(table), Acad::eOk);
    EXPECT_EQ(table->getAt("Чертёжный"_cp, id), Acad::eKeyNotFound);
    EXPECT_EQ(table->getAt("Чертёжный"_cp, id, true), Acad::eOk);
    EXPECT_FALSE(table->has("Чертёжный"_cp));
    table->close();
    EXPECT_EQ(names(true), (std::vector<std::string>{"Standard"}));
    EXPECT_EQ(names(false), (std::vector<std::string>{"Standard", "Чертёжный"_cp}));
    // Erased records are not saved.
    EXPECT_EQ(db.toDocument().tables[0].entries.size(), 1u);
}

TEST_F(TextStyles, AddNamesAndChecksTheNewRecord) {
    AcDbTextStyleTable* table = nullptr;
    ASSERT_EQ(db.getTextStyleTable(table, AcDb::kForRead), Acad::eOk);
    auto* zor = new AcDbTextStyleTableRecord;
    EXPECT_EQ(zor->setName("ZOR"), Acad::eOk);
    EXPECT_EQ(zor->setFileName("Zor.shx"), Acad::eOk);
    EXPECT_EQ(table->add(zor), Acad::eNotOpenForWrite);
    ASSERT_EQ(table->upgradeOpen(), Acad::eOk);
    AcDbTextStyleTableRecord unnamed;
    EXPECT_EQ(table->add(&unnamed), Acad::eInvalidSymbolTableName);
    AcDbTextStyleTableRecord clash;
    clash.setName("standard");
    EXPECT_EQ(table->add(&clash), Acad::eDuplicateKey);
    AcDbObjectId id;
    ASSERT_EQ(table->add(id, zor), Acad::eOk);
    EXPECT_EQ(id.handle().value(), 0x100u);
    EXPECT_TRUE(zor->isWriteEnabled());
    zor->close();
    AcDbObjectId found;
    EXPECT_EQ(table->getAt("zor", found), Acad::eOk);
    EXPECT_EQ(found, id);
    table->close();

    const dxf::Document out = db.toDocument();
    EXPECT_EQ(dump(out.tables[0].entries.back()),
              "STYLE: 5=100 330=3 100=AcDbSymbolTableRecord 100=AcDbTextStyleTableRecord 2=ZOR 70=0 40=0.0 41=1.0 "
              "50=0.0 71=0 42=2.5 3=Zor.shx 4=");
}

TEST_F(TextStyles, NamesWithUkrainianAndBelarusianLettersMatchInEitherCase) {
    AcDbTextStyleTable* table = nullptr;
    ASSERT_EQ(db.getTextStyleTable(table, AcDb::kForWrite), Acad::eOk);
    auto* style = new AcDbTextStyleTableRecord;
    ASSERT_EQ(style->setName("Ўзор-Їжак-Євро-Ірис"_cp), Acad::eOk);
    AcDbObjectId id;
    ASSERT_EQ(table->add(id, style), Acad::eOk);
    style->close();
    AcDbObjectId found;
    EXPECT_EQ(table->getAt("ўзор-їжак-євро-ірис"_cp, found), Acad::eOk);
    EXPECT_EQ(found, id);
    EXPECT_TRUE(table->has("ЎЗОР-ЇЖАК-ЄВРО-ІРИС"_cp));
    AcDbTextStyleTableRecord clash;
    clash.setName("ЎЗОР-ЇЖАК-ЄВРО-ІРИС"_cp);
    EXPECT_EQ(table->add(&clash), Acad::eDuplicateKey);
    EXPECT_EQ(table->getAt("Узор-Йжак-Евро-Ирис"_cp, found), Acad::eKeyNotFound) << "other letters stay apart";
    table->close();
}

TEST_F(TextStyles, RecordValuesAndRefusals) {
    AcDbTextStyleTable* table = nullptr;
    ASSERT_EQ(db.getTextStyleTable(table), Acad::eOk);
    AcDbTextStyleTableRecord* r = nullptr;
    ASSERT_EQ(table->getAt("Чертёжный"_cp, r, AcDb::kForWrite), Acad::eOk);
    table->close();
    EXPECT_NEAR(r->obliquingAngle(), 15 * std::numbers::pi / 180, 1e-12);
    EXPECT_DOUBLE_EQ(r->xScale(), 0.8);
    const char* file = nullptr;
    r->fileName(file);
    EXPECT_STREQ(file, "gost.shx");
    char* copy = nullptr;
    r->getName(copy);
    EXPECT_STREQ(copy, "Чертёжный"_cp);
    std::free(copy);
    EXPECT_EQ(r->setXScale(0), Acad::eInvalidInput);
    EXPECT_EQ(r->setObliquingAngle(1.6), Acad::eInvalidInput);
    EXPECT_EQ(r->setName("Standard"), Acad::eDuplicateKey);
    EXPECT_EQ(r->setName("bad:name"), Acad::eInvalidSymbolTableName);
    EXPECT_EQ(r->setObliquingAngle(std::numbers::pi / 6), Acad::eOk);
    EXPECT_EQ(r->setXScale(1.25), Acad::eOk);
    EXPECT_NE(dump(r->dxfRecord()).find(" 41=1.25 50=30"), std::string::npos) << dump(r->dxfRecord());
    r->close();
}

}  // namespace
