// Header variables: found by name in any case, typed by their group codes,
// and written only with a value that fits.
#include <gtest/gtest.h>

#include "host/db/AcDbDatabase.h"
#include "host/db/DrawingStore.h"
#include "host/db/HeaderVariables.h"
#include "tests/host/db/TestDrawing.h"

using namespace kestrin;
using db::VariableValue;
using db::VariableWrite;

namespace {

VariableValue real(double r) {
    VariableValue v;
    v.kind = VariableValue::Kind::Real;
    v.real = r;
    return v;
}

VariableValue text(std::string t) {
    VariableValue v;
    v.kind = VariableValue::Kind::String;
    v.text = std::move(t);
    return v;
}

VariableValue shortValue(long long n) {
    VariableValue v;
    v.kind = VariableValue::Kind::Short;
    v.integer = n;
    return v;
}

TEST(HeaderVariables, AreTypedByTheirGroupCodesAndFoundInAnyCase) {
    const dxf::Document doc = test::testDrawing();
    const auto size = db::readVariable(doc.header, "textsize");
    ASSERT_TRUE(size);
    EXPECT_EQ(size->kind, VariableValue::Kind::Real);
    EXPECT_DOUBLE_EQ(size->real, 2.5);
    const auto osmode = db::readVariable(doc.header, "$OsMode");
    ASSERT_TRUE(osmode);
    EXPECT_EQ(osmode->kind, VariableValue::Kind::Short);
    EXPECT_EQ(osmode->integer, 37);
    EXPECT_EQ(db::readVariable(doc.header, "TEXTSTYLE")->text, "Standard");
    const auto base = db::readVariable(doc.header, "INSBASE");
    ASSERT_TRUE(base);
    EXPECT_EQ(base->kind, VariableValue::Kind::Point);
    EXPECT_FALSE(db::readVariable(doc.header, "NOSUCHVAR"));
    EXPECT_FALSE(db::readVariable(doc.header, "TEXT"));  // no prefix matches
}

TEST(HeaderVariables, RealsWrittenToIntegersMustBeWhole) {
    dxf::Document doc = test::testDrawing();
    EXPECT_EQ(db::writeVariable(doc.header, "orthomode", real(1.0)), VariableWrite::Done);
    EXPECT_EQ(db::readVariable(doc.header, "ORTHOMODE")->integer, 1);
    EXPECT_EQ(db::writeVariable(doc.header, "ORTHOMODE", real(1.5)), VariableWrite::OutOfRange);
    EXPECT_EQ(db::writeVariable(doc.header, "OSMODE", real(70000)), VariableWrite::OutOfRange);  // 16 bits
    EXPECT_EQ(db::writeVariable(doc.header, "OSMODE", text("1")), VariableWrite::WrongType);
    EXPECT_EQ(db::readVariable(doc.header, "ORTHOMODE")->integer, 1);
    EXPECT_EQ(db::readVariable(doc.header, "OSMODE")->integer, 37);
}

TEST(HeaderVariables, RefusalsLeaveTheHeaderAsItWas) {
    dxf::Document doc = test::testDrawing();
    const dxf::TagList before = doc.header;
    EXPECT_EQ(db::writeVariable(doc.header, "TEXTSIZE", real(0)), VariableWrite::OutOfRange);
    EXPECT_EQ(db::writeVariable(doc.header, "TEXTSIZE", real(-2)), VariableWrite::OutOfRange);
    EXPECT_EQ(db::writeVariable(doc.header, "TEXTSIZE", real(std::nan(""))), VariableWrite::OutOfRange);
    EXPECT_EQ(db::writeVariable(doc.header, "NOSUCHVAR", real(1)), VariableWrite::Unknown);
    EXPECT_EQ(db::writeVariable(doc.header, "HANDSEED", text("1")), VariableWrite::ReadOnly);
    EXPECT_EQ(db::writeVariable(doc.header, "TEXTSTYLE", shortValue(3)), VariableWrite::WrongType);
    EXPECT_TRUE(doc.header == before);
    EXPECT_EQ(db::writeVariable(doc.header, "TEXTSIZE", shortValue(5)), VariableWrite::Done);  // an integer is a real
    EXPECT_EQ(db::readVariable(doc.header, "TEXTSIZE")->real, 5.0);
}

TEST(HeaderVariables, TheDatabaseKeepsTextsizeAboveZero) {
    AcDbDatabase database;
    database.fromDocument(test::testDrawing());
    EXPECT_EQ(database.setTextsize(0), Acad::eInvalidInput);
    EXPECT_DOUBLE_EQ(database.textsize(), 2.5);
    EXPECT_EQ(database.setTextsize(3.5), Acad::eOk);
    EXPECT_DOUBLE_EQ(database.textsize(), 3.5);
    EXPECT_TRUE(database.tilemode());
    EXPECT_EQ(database.textstyle().handle().value(), 0x10u);
    EXPECT_EQ(database.setTextstyle(AcDbObjectId::kNull), Acad::eNullObjectId);
}

}  // namespace
