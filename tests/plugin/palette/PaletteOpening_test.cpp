// What the palette shows when it opens: fixed lists, the drawing's styles,
// the look that depends on the style, tooltips and the record's values.
#include "tests/plugin/palette/PaletteTestSupport.h"

#include <cmath>

#include "base/Cp1251.h"
#include "plugin/resources/ResourceIds.h"

using namespace kestrin;
using namespace kestrin::literals;
using namespace kestrin::test;

namespace {

class PaletteOpening : public PaletteTest {};

int bitmapOn(CTextPaletteDlg& dlg, int id) {
    auto* button = dynamic_cast<CButton*>(dlg.GetDlgItem(id));
    return button == nullptr ? -1 : ui::bitmapResourceId(button->GetBitmap());
}

}  // namespace

TEST_F(PaletteOpening, FixedListsKeepTheirOrderAndTheRoundButtonIsOff) {
    startLine(0, 0);
    runPalette({[&] {
                    EXPECT_EQ(comboEntries(paletteControl<CComboBox>(*dlg, IDC_OBLIQUE)), (std::vector<std::string>{"0", "15"}));
                    EXPECT_EQ(comboEntries(paletteControl<CComboBox>(*dlg, IDC_ROTATION)), (std::vector<std::string>{"0", "90"}));
                    EXPECT_EQ(comboEntries(paletteControl<CComboBox>(*dlg, IDC_HEIGHT)),
                              (std::vector<std::string>{"1.8", "2.5", "3.5", "5", "7"}));
                    EXPECT_EQ(comboEntries(paletteControl<CComboBox>(*dlg, IDC_WIDTH)), (std::vector<std::string>{"0.6", "1"}));
                    EXPECT_FALSE(controlEnabled(*dlg, IDC_ROMAN_OUTPUT));
                    EXPECT_EQ(controlText(*dlg, IDC_ROTATION), "0");
                    std::string caption;
                    dlg->GetWindowText(caption);
                    EXPECT_EQ(caption, "Кестрин V2.4  ( Zor софт)"_cp);
                    EXPECT_EQ(ui::iconResourceId(dlg->GetIcon(TRUE)), IDI_KESTRIN);
                    EXPECT_EQ(ui::iconResourceId(reinterpret_cast<HICON>(dlg->SendMessage(WM_QUERYDRAGICON))),
                              IDI_KESTRIN);
                    CMenu* menu = dlg->GetSystemMenu(FALSE);
                    ASSERT_NE(menu, nullptr);
                    const int count = menu->GetMenuItemCount();
                    ASSERT_GE(count, 2);
                    EXPECT_EQ(menu->GetMenuItemID(count - 2), 0u);  // separator
                    EXPECT_EQ(menu->GetMenuItemID(count - 1), static_cast<UINT>(IDM_ABOUTBOX));
                    std::string entry;
                    menu->GetMenuString(IDM_ABOUTBOX, entry, MF_BYCOMMAND);
                    EXPECT_EQ(entry, "О программе.."_cp);
                },
                "focus 8003", "type \"12\"", [&] {
                    // A typed height is not added to the list.
                    EXPECT_EQ(paletteControl<CComboBox>(*dlg, IDC_HEIGHT).GetCount(), 5);
                },
                "click 2"});
}

TEST_F(PaletteOpening, StyleListHidesTheFontButtonForTheExactName) {
    addStyle("Alpha");
    addStyle("ZOR");
    startLine(0, 0);
    runPalette({[&] {
                    EXPECT_EQ(comboEntries(paletteControl<CComboBox>(*dlg, IDC_STYLE)), (std::vector<std::string>{"Alpha", "Standard", "ZOR"}));
                    EXPECT_FALSE(controlShown(*dlg, IDC_LOAD_FONT));
                },
                "click 2"});
}

TEST_F(PaletteOpening, StyleListKeepsTheFontButtonForAnotherCase) {
    addStyle("zor");
    startLine(0, 0);
    runPalette({[&] {
                    EXPECT_EQ(comboEntries(paletteControl<CComboBox>(*dlg, IDC_STYLE)), (std::vector<std::string>{"Standard", "zor"}));
                    EXPECT_TRUE(controlShown(*dlg, IDC_LOAD_FONT));
                },
                "click 2"});
}

TEST_F(PaletteOpening, OwnFontButtonsLookDependsOnTheStyleName) {
    addStyle("ZOR");
    g_textProperties.styleName = "ZOR";
    startLine(0, 0);
    runPalette({[&] {
                    EXPECT_EQ(bitmapOn(*dlg, IDC_RADICAL), IDB_RADICAL);
                    EXPECT_EQ(bitmapOn(*dlg, IDC_ELEMENT_OF), IDB_ELEMENT_OF);
                    EXPECT_TRUE(controlShown(*dlg, IDC_SUPERSCRIPT));
                    EXPECT_TRUE(controlShown(*dlg, IDC_SUBSCRIPT));
                    EXPECT_TRUE(controlEnabled(*dlg, IDC_GREEK_ALPHA));
                    EXPECT_TRUE(controlEnabled(*dlg, IDC_GREEK_SIGMA_CAP));
                    // Fixed images do not depend on the style.
                    EXPECT_EQ(bitmapOn(*dlg, IDC_CUT), IDB_CUT);
                    EXPECT_EQ(bitmapOn(*dlg, IDC_DIAMETER), IDB_DIAMETER);
                },
                // One more letter typed after the name turns the look back.
                "focus 8002", "type \"ZORx\"", [&] {
                    EXPECT_EQ(bitmapOn(*dlg, IDC_RADICAL), IDB_BLANK);
                    EXPECT_TRUE(controlEnabled(*dlg, IDC_RADICAL));  // blank, still enabled
                    EXPECT_FALSE(controlShown(*dlg, IDC_SUPERSCRIPT));
                    EXPECT_FALSE(controlEnabled(*dlg, IDC_GREEK_ALPHA));
                    EXPECT_TRUE(controlShown(*dlg, IDC_OVERLINE));
                    // Typing in the style box changes the look only.
                    EXPECT_EQ(g_textProperties.styleName, "ZOR");
                },
                "key backspace", [&] { EXPECT_TRUE(controlShown(*dlg, IDC_SUPERSCRIPT)); }, "click 2"});
}

TEST_F(PaletteOpening, AnyOtherStyleShowsBlankFacesAndDisabledLetters) {
    addStyle("zor");
    g_textProperties.styleName = "zor";
    startLine(0, 0);
    runPalette({[&] {
                    EXPECT_EQ(controlText(*dlg, IDC_STYLE), "zor");
                    EXPECT_EQ(bitmapOn(*dlg, IDC_NABLA), IDB_BLANK);
                    EXPECT_FALSE(controlShown(*dlg, IDC_SUBSCRIPT));
                    EXPECT_FALSE(controlEnabled(*dlg, IDC_GREEK_MU));
                    EXPECT_FALSE(controlEnabled(*dlg, IDC_GREEK_SIGMA_CAP));
                },
                "click 2"});
}

TEST_F(PaletteOpening, ThirtyOneToolsWithTheirTexts) {
    startLine(0, 0);
    runPalette({[&] {
                    ASSERT_NE(dlg->toolTips(), nullptr);
                    EXPECT_EQ(dlg->toolTips()->GetToolCount(), 31);
                    std::string text;
                    dlg->toolTips()->GetText(text, dlg->GetDlgItem(IDC_OFFSET_X));
                    EXPECT_EQ(text, "Смещение по Х"_cp);
                    EXPECT_EQ(static_cast<unsigned char>(text.back()), 0xD5);  // Cyrillic Х
                    dlg->toolTips()->GetText(text, dlg->GetDlgItem(IDC_OFFSET_Y));
                    EXPECT_EQ(text.back(), 'Y');  // Latin
                    dlg->toolTips()->GetText(text, dlg->GetDlgItem(IDC_NEW_LINE));
                    EXPECT_EQ(text, "Новая строка"_cp);
                    dlg->toolTips()->GetText(text, dlg->GetDlgItem(IDC_ROMAN_INPUT));
                    EXPECT_EQ(text, "Ввод арабских цифр от 0 - 100"_cp);
                    dlg->toolTips()->GetText(text, dlg->GetDlgItem(IDC_GREEK_ALPHA));
                    EXPECT_EQ(text, "");  // letters have no tool
                },
                "click 2"});
}

TEST_F(PaletteOpening, RecordValuesAreShownAndTheWholeTextIsSelected) {
    startLine(0, 0);
    g_textProperties.text = "old line";
    g_textProperties.rotation = 15 * kDegreesToRadians;  // 14.999999999999998 degrees
    g_textProperties.offsetX = 3.9;
    g_textProperties.horizontalMode = 2;
    g_textProperties.picked = 1;
    runPalette({[&] {
                    EXPECT_EQ(controlText(*dlg, IDC_TEXT), "old line");
                    EXPECT_EQ(paletteControl<CEdit>(*dlg, IDC_TEXT).GetSel(), MAKELONG(0, 8));
                    EXPECT_EQ(controlText(*dlg, IDC_ROTATION), "15");
                    EXPECT_EQ(controlText(*dlg, IDC_OFFSET_X), "3");
                    EXPECT_EQ(controlText(*dlg, IDC_OFFSET_Y), "");
                    EXPECT_EQ(paletteControl<CButton>(*dlg, IDC_JUSTIFY_RIGHT).GetCheck(), BST_CHECKED);
                    EXPECT_EQ(paletteControl<CButton>(*dlg, IDC_JUSTIFY_LEFT).GetCheck(), BST_UNCHECKED);
                    // Height 0 shows the drawing's TEXTSIZE; the style gives width and slant.
                    EXPECT_EQ(std::atof(controlText(*dlg, IDC_HEIGHT).c_str()), 2.5);
                    EXPECT_EQ(std::atof(controlText(*dlg, IDC_WIDTH).c_str()), 1.0);
                    EXPECT_EQ(controlText(*dlg, IDC_STYLE), "Standard");
                    EXPECT_EQ(g_textProperties.height, 0.0);
                    EXPECT_EQ(g_textProperties.widthFactor, 1.0);
                    EXPECT_FALSE(g_textProperties.styleId.isNull());
                    EXPECT_EQ(g_textProperties.picked, 1);  // width taken from the style
                },
                // The first key replaces the line the record held.
                "type \"n\"", [&] { EXPECT_EQ(preview().text, "n"); }, "click 2"});
}

TEST_F(PaletteOpening, AWidthOfItsOwnClearsThePickedFlag) {
    startLine(0, 0);
    g_textProperties.widthFactor = 0.8;
    g_textProperties.oblique = 15 * kDegreesToRadians;
    g_textProperties.picked = 1;
    runPalette({[&] {
                    EXPECT_EQ(g_textProperties.picked, 0);
                    EXPECT_EQ(std::atof(controlText(*dlg, IDC_WIDTH).c_str()), 0.8);
                    EXPECT_EQ(std::atof(controlText(*dlg, IDC_OBLIQUE).c_str()), 15.0);
                },
                "click 2"});
}
