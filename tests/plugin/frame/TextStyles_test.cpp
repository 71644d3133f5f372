// Style record operations answer 16 for the null id, 34 for what is not a
// style record or cannot be opened, 0 otherwise; loading the symbol font
// style needs zor.shx on the search path.
#include "plugin/frame/TextStyles.h"

#include <filesystem>
#include <fstream>

#include "base/Cp1251.h"
#include "tests/plugin/frame/PluginFixture.h"

using namespace kestrin;
using namespace kestrin::literals;

namespace {

constexpr double kFifteenDegrees = 15 * kDegreesToRadians;

class TextStyles : public test::PluginTest {};

TEST_F(TextStyles, NullIdAnswers16AndLeavesTheOutValue) {
    std::string name = "kept";
    double value = 7;
    EXPECT_EQ(getTextStyleName(AcDbObjectId::kNull, name), Acad::eNullObjectId);
    EXPECT_EQ(name, "kept");
    EXPECT_EQ(getStyleObliquingAngle(AcDbObjectId::kNull, value), Acad::eNullObjectId);
    EXPECT_EQ(getStyleXScale(AcDbObjectId::kNull, value), Acad::eNullObjectId);
    EXPECT_EQ(value, 7);
    EXPECT_EQ(setStyleObliquingAngle(0.1, AcDbObjectId::kNull), Acad::eNullObjectId);
    EXPECT_EQ(setStyleXScale(2, AcDbObjectId::kNull), Acad::eNullObjectId);
}

TEST_F(TextStyles, AnObjectOfAnotherClassAnswers34AndIsClosedAgain) {
    std::string name = "kept";
    double value = 7;
    const AcDbObjectId text = id(0x40);
    EXPECT_EQ(getTextStyleName(text, name), Acad::eNotThatKindOfClass);
    EXPECT_EQ(getStyleObliquingAngle(text, value), Acad::eNotThatKindOfClass);
    EXPECT_EQ(getStyleXScale(text, value), Acad::eNotThatKindOfClass);
    EXPECT_EQ(setStyleObliquingAngle(0.1, text), Acad::eNotThatKindOfClass);
    EXPECT_EQ(setStyleXScale(2, text), Acad::eNotThatKindOfClass);
    EXPECT_EQ(name, "kept");
    EXPECT_EQ(value, 7);
    EXPECT_EQ(host::openObjectCount(), 0u) << host::describeOpenObjects();
}

TEST_F(TextStyles, ARecordOpenElsewhereForWriteAnswers34) {
    AcDbObject* held = nullptr;
    ASSERT_EQ(acdbOpenAcDbObject(held, id(0x11), AcDb::kForWrite), Acad::eOk);
    std::string name;
    EXPECT_EQ(getTextStyleName(id(0x11), name), Acad::eNotThatKindOfClass);
    EXPECT_EQ(setStyleXScale(2, id(0x11)), Acad::eNotThatKindOfClass);
    held->close();
    EXPECT_EQ(getTextStyleName(id(0x11), name), Acad::eOk);
    EXPECT_EQ(name, "Чертёжный"_cp);
}

TEST_F(TextStyles, ReadAndWriteTheRecordsValues) {
    std::string name;
    double angle = 0, scale = 0;
    EXPECT_EQ(getTextStyleName(id(0x10), name), Acad::eOk);
    EXPECT_EQ(name, "Standard");
    EXPECT_EQ(getStyleObliquingAngle(id(0x11), angle), Acad::eOk);
    EXPECT_NEAR(angle, kFifteenDegrees, 1e-12);
    EXPECT_EQ(getStyleXScale(id(0x11), scale), Acad::eOk);
    EXPECT_DOUBLE_EQ(scale, 0.8);

    EXPECT_EQ(setStyleObliquingAngle(0.25, id(0x10)), Acad::eOk);
    EXPECT_EQ(setStyleXScale(1.5, id(0x10)), Acad::eOk);
    EXPECT_EQ(getStyleObliquingAngle(id(0x10), angle), Acad::eOk);
    EXPECT_NEAR(angle, 0.25, 1e-9);
    EXPECT_EQ(getStyleXScale(id(0x10), scale), Acad::eOk);
    EXPECT_DOUBLE_EQ(scale, 1.5);
    EXPECT_EQ(host::openObjectCount(), 0u) << host::describeOpenObjects();
}

TEST_F(TextStyles, AValueTheRecordRefusesIsReportedNotTakenSilently) {
    EXPECT_EQ(setStyleObliquingAngle(89 * kDegreesToRadians, id(0x11)), Acad::eInvalidInput);
    EXPECT_EQ(setStyleXScale(0, id(0x11)), Acad::eInvalidInput);
    double angle = 0, scale = 0;
    getStyleObliquingAngle(id(0x11), angle);
    getStyleXScale(id(0x11), scale);
    EXPECT_NEAR(angle, kFifteenDegrees, 1e-12);
    EXPECT_DOUBLE_EQ(scale, 0.8);
    EXPECT_EQ(host::openObjectCount(), 0u) << host::describeOpenObjects();
}

TEST_F(TextStyles, FindTextStyleByName) {
    EXPECT_EQ(findTextStyle("Standard"), id(0x10));
    EXPECT_EQ(findTextStyle("Чертёжный"_cp), id(0x11));
    EXPECT_TRUE(findTextStyle("ZOR").isNull());
    EXPECT_TRUE(findTextStyle("").isNull());
    EXPECT_EQ(host::openObjectCount(), 0u);
    host::HostState::instance().working = nullptr;
    EXPECT_TRUE(findTextStyle("Standard").isNull());
}

class SymbolFontStyle : public test::PluginTest {
protected:
    SymbolFontStyle() {
        folder_ = testing::TempDir() + "kestrin_symbol_font";
        std::filesystem::create_directories(folder_);
        std::filesystem::remove(folder_ + "/zor.shx");
        host::HostRuntime::instance().clearSupportPath();
        host::HostRuntime::instance().addSupportPath(folder_);
    }
    ~SymbolFontStyle() override { host::HostRuntime::instance().clearSupportPath(); }
    void putFontFile() { std::ofstream(folder_ + "/zor.shx") << "AC1.0"; }
    std::string folder_;
};

TEST_F(SymbolFontStyle, WithoutTheFontFileNothingChanges) {
    EXPECT_TRUE(loadSymbolFontStyle().isNull());
    EXPECT_EQ(output(), "\nНе найден файл zor.shx.\n"_cp);
    EXPECT_TRUE(findTextStyle("ZOR").isNull());
}

TEST_F(SymbolFontStyle, WithTheFontFileTheStyleZorUsesZorShx) {
    putFontFile();
    const AcDbObjectId style = loadSymbolFontStyle();
    ASSERT_FALSE(style.isNull());
    EXPECT_EQ(output(), "");
    EXPECT_EQ(findTextStyle("ZOR"), style);
    AcDbTextStyleTableRecord* record = nullptr;
    ASSERT_EQ(acdbOpenObject(record, style, AcDb::kForRead), Acad::eOk);
    const char* name = nullptr;
    const char* file = nullptr;
    record->getName(name);
    record->fileName(file);
    EXPECT_STREQ(name, "ZOR");
    EXPECT_STREQ(file, "Zor.shx");  // the name, not the path found
    record->close();
    EXPECT_EQ(host::openObjectCount(), 0u) << host::describeOpenObjects();
}

TEST_F(SymbolFontStyle, AStyleOfTheSameNameInOtherCaseIsReportedAndKept) {
    putFontFile();
    AcDbTextStyleTable* table = nullptr;
    ASSERT_EQ(db().getTextStyleTable(table, AcDb::kForWrite), Acad::eOk);
    auto* lower = new AcDbTextStyleTableRecord;
    lower->setName("zor");
    AcDbObjectId lowerId;
    ASSERT_EQ(table->add(lowerId, lower), Acad::eOk);
    lower->close();
    table->close();

    EXPECT_TRUE(loadSymbolFontStyle().isNull());
    EXPECT_NE(output().find("ZOR"), std::string::npos);
    EXPECT_EQ(findTextStyle("ZOR"), lowerId);  // the table is case-blind: still only "zor"
    std::string name;
    getTextStyleName(lowerId, name);
    EXPECT_EQ(name, "zor");
    EXPECT_EQ(host::openObjectCount(), 0u) << host::describeOpenObjects();
}

}  // namespace
