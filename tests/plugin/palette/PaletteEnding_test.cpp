// How the palette ends and what it leaves in the drawing; the own font
// button; a preview entity that went away or is no text.
#include "tests/plugin/palette/PaletteTestSupport.h"

#include <stdlib.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "base/Cp1251.h"
#include "host/api/HostRuntime.h"
#include "plugin/frame/TextStyles.h"
#include "plugin/resources/ResourceIds.h"

using namespace kestrin;
using namespace kestrin::literals;
using namespace kestrin::test;

namespace {

class PaletteEnding : public PaletteTest {};

void erasePreview() {
    AcDbObjectId id;
    acdbGetObjectId(id, g_textProperties.entity);
    AcDbObject* object = nullptr;
    ASSERT_EQ(acdbOpenObject(object, id, AcDb::kForWrite), Acad::eOk);
    object->erase();
    object->close();
}

}  // namespace

TEST_F(PaletteEnding, CancelKeepsAWrittenLineAndRemovesAnEmptyOne) {
    startLine(0, 0);
    EXPECT_EQ(runPalette({"type \"abc\"", "click 2"}), IDCANCEL);
    ASSERT_EQ(texts().size(), 1u);
    EXPECT_EQ(texts()[0].text, "abc");

    startLine(5, 5);
    EXPECT_EQ(runPalette({"key escape"}), IDCANCEL);
    EXPECT_EQ(texts().size(), 1u);

    startLine(6, 6);
    runPalette({"type \"x\"", "key backspace", "close"});
    EXPECT_EQ(texts().size(), 1u);
    EXPECT_EQ(g_textProperties.text, "");
}

TEST_F(PaletteEnding, ACancelledPickEndsThePalette) {
    startLine(0, 0);
    EXPECT_EQ(runPalette({"type \"kept\"", "click 8024", "escape"}), IDCANCEL);
    ASSERT_EQ(texts().size(), 1u);
    EXPECT_EQ(texts()[0].text, "kept");

    startLine(0, 0);
    EXPECT_EQ(runPalette({"click 8020", "escape"}), IDCANCEL);
    EXPECT_EQ(texts().size(), 1u);  // the empty line went before the pick

    startLine(0, 0);
    EXPECT_EQ(runPalette({"click 8017", "point 1,1", "escape"}), IDCANCEL);
    EXPECT_EQ(texts().size(), 1u);

    startLine(0, 0);
    EXPECT_EQ(runPalette({"click 8043", "escape"}), IDCANCEL);
    EXPECT_EQ(texts().size(), 1u);
}

TEST_F(PaletteEnding, APreviewErasedMeanwhileIsSkippedAndTheNextLineWorks) {
    startLine(0, 0);
    runPalette({"type \"a\"", [&] { erasePreview(); }, "type \"b\"", [&] {
                    EXPECT_EQ(g_textProperties.text, "ab");
                    EXPECT_EQ(stringVar("TEXTSTYLE"), "Standard");
                    EXPECT_TRUE(controlEnabled(*dlg, IDC_TEXT));
                },
                "focus 8015", "type \"1\"", "click 8024", "type \"c\"", "click 2"});
    const auto all = texts();
    ASSERT_EQ(all.size(), 1u);
    EXPECT_EQ(all[0].text, "c");
    EXPECT_EQ(all[0].position.x, 1);
}

TEST_F(PaletteEnding, APreviewThatIsNoTextDisablesTheField) {
    AcDbBlockTable* table = nullptr;
    acdbHostApplicationServices()->workingDatabase()->getBlockTable(table, AcDb::kForRead);
    AcDbBlockTableRecord* space = nullptr;
    table->getAt(ACDB_MODEL_SPACE, space, AcDb::kForWrite);
    table->close();
    auto* line = new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(1, 1, 0));
    AcDbObjectId id;
    ASSERT_EQ(space->appendAcDbEntity(id, line), Acad::eOk);
    line->close();
    space->close();
    acdbGetAdsName(g_textProperties.entity, id);

    runPalette({"choose 8003 \"5\"", [&] {
                    EXPECT_EQ(controlText(*dlg, IDC_TEXT), "Это не текст!"_cp);
                    EXPECT_FALSE(controlEnabled(*dlg, IDC_TEXT));
                    EXPECT_FALSE(controlShown(*dlg, IDC_NEW_LINE));
                },
                "click 2"});
}

class PaletteFontButton : public PaletteEnding {
protected:
    ~PaletteFontButton() override {
        host::HostRuntime::instance().clearSupportPath();
        if (!folder_.empty()) {
            std::remove((folder_ + "/zor.shx").c_str());
            std::remove(folder_.c_str());
        }
    }
    void provideFont() {
        char pattern[] = "/tmp/kestrin-font-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        folder_ = pattern;
        std::ofstream(folder_ + "/zor.shx") << "AutoCAD-86 shapes 1.0\n";
        host::HostRuntime::instance().addSupportPath(folder_);
    }
    std::string folder_;
};

TEST_F(PaletteFontButton, WithoutTheFontFileTheButtonStaysAndTheMessageIsPrinted) {
    startLine(0, 0);
    runPalette({"click 8013", [&] {
                    EXPECT_TRUE(controlShown(*dlg, IDC_LOAD_FONT));
                    EXPECT_EQ(controlText(*dlg, IDC_STYLE), "Standard");
                },
                "click 2"});
    EXPECT_NE(output().find("\nНе найден файл zor.shx.\n"_cp), std::string::npos) << output();
}

TEST_F(PaletteFontButton, WithTheFontFileTheStyleIsMadeListedAndUsed) {
    provideFont();
    startLine(0, 0);
    runPalette({"type \"q\"", "click 8013", [&] {
                    EXPECT_FALSE(controlShown(*dlg, IDC_LOAD_FONT));
                    EXPECT_EQ(controlText(*dlg, IDC_STYLE), "ZOR");
                    EXPECT_EQ(comboEntries(paletteControl<CComboBox>(*dlg, IDC_STYLE)), (std::vector<std::string>{"Standard", "ZOR"}));
                    EXPECT_EQ(preview().style, "ZOR");
                    EXPECT_EQ(stringVar("TEXTSTYLE"), "ZOR");
                    EXPECT_TRUE(controlShown(*dlg, IDC_SUPERSCRIPT));
                    EXPECT_EQ(CWnd::GetFocus()->GetDlgCtrlID(), IDC_TEXT);
                },
                "click 2"});
}

TEST_F(PaletteFontButton, AStyleTableThatCannotBeOpenedIsNamedWithItsStatus) {
    provideFont();
    startLine(0, 0);
    AcDbTextStyleTable* held = nullptr;
    // The table is held open only while the click runs: between two user
    // actions the host allows no open object.
    runPalette({[&] {
                    acdbHostApplicationServices()->workingDatabase()->getTextStyleTable(held, AcDb::kForRead);
                    CWnd* button = dlg->GetDlgItem(IDC_LOAD_FONT);
                    dlg->SendMessage(WM_COMMAND, static_cast<WPARAM>(IDC_LOAD_FONT | (BN_CLICKED << 16)),
                                     reinterpret_cast<LPARAM>(button->m_hWnd));
                    held->close();
                    EXPECT_TRUE(controlShown(*dlg, IDC_LOAD_FONT)) << "nothing was made: the button comes back";
                },
                "click 2"});
    const std::string out = output();
    EXPECT_NE(out.find("\nСтиль ZOR не создан: таблица стилей не открывается (ошибка "_cp), std::string::npos) << out;
    EXPECT_EQ(out.find("чертёж недоступен"_cp), std::string::npos) << out;
}

TEST_F(PaletteFontButton, OneSearchDecidesAndTheButtonGoesBeforeTheStyleIsMade) {
    provideFont();
    int found = 0;
    bool styleExistedWhenFound = true;
    const AcDbObjectId made = loadSymbolFontStyle([&] {
        ++found;
        styleExistedWhenFound = !findTextStyle("ZOR").isNull();
    });
    EXPECT_FALSE(made.isNull());
    EXPECT_EQ(found, 1);
    EXPECT_FALSE(styleExistedWhenFound);
    int foundWithout = 0;
    host::HostRuntime::instance().clearSupportPath();
    EXPECT_TRUE(loadSymbolFontStyle([&] { ++foundWithout; }).isNull());
    EXPECT_EQ(foundWithout, 0);
}

// Every host object the palette and the edit command open is closed through
// closeOrAbort, which stops the host when a close fails.
TEST(PaletteSources, CloseHostObjectsOnlyThroughTheCloseOrAbortHelper) {
    for (const char* dir : {"plugin/palette", "plugin/edit"}) {
        for (const auto& entry : std::filesystem::directory_iterator(std::string(KESTRIN_SOURCE_DIR) + "/" + dir)) {
            std::ifstream in(entry.path());
            std::string line;
            for (int n = 1; std::getline(in, line); ++n)
                EXPECT_EQ(line.find("->close()"), std::string::npos) << entry.path() << ":" << n << ": " << line;
        }
    }
}
