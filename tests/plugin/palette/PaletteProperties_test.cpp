// Every change in the palette reaches the preview entity, the style record
// and the system variables at once.
#include "tests/plugin/palette/PaletteTestSupport.h"

#include "base/Cp1251.h"
#include "plugin/resources/ResourceIds.h"

using namespace kestrin;
using namespace kestrin::literals;
using namespace kestrin::test;

namespace {

class PaletteProperties : public PaletteTest {};

}  // namespace

TEST_F(PaletteProperties, TypedTextReachesTheEntityAndTheVariables) {
    startLine(10, 20);
    runPalette({"choose 8003 \"3.5\"", "type \"abc\"", [&] {
                    const TextSeen seen = preview();
                    EXPECT_EQ(seen.text, "abc");
                    EXPECT_EQ(seen.height, 3.5);
                    EXPECT_EQ(seen.position.x, 10);
                    EXPECT_EQ(seen.alignment.y, 20);
                    EXPECT_EQ(seen.style, "Standard");
                    EXPECT_EQ(stringVar("TEXTSTYLE"), "Standard");
                    EXPECT_EQ(realVar("TEXTSIZE"), 3.5);
                    EXPECT_EQ(g_textProperties.text, "abc");
                },
                "type \"Ж\"", [&] { EXPECT_EQ(preview().text, "abcЖ"_cp); }, "click 2"});
}

TEST_F(PaletteProperties, HeightByChoiceAndByTypingWithAtofRules) {
    startLine(0, 0);
    runPalette({"choose 8003 \"5\"", [&] {
                    EXPECT_EQ(g_textProperties.height, 5.0);
                    EXPECT_EQ(preview().height, 5.0);
                    EXPECT_EQ(CWnd::GetFocus()->GetDlgCtrlID(), IDC_TEXT);
                },
                "focus 8003", "type \"1,5\"", [&] {
                    EXPECT_EQ(g_textProperties.height, 1.0);  // stops at the comma
                    EXPECT_EQ(preview().height, 1.0);
                    EXPECT_EQ(realVar("TEXTSIZE"), 1.0);
                    EXPECT_EQ(CWnd::GetFocus()->GetDlgCtrlID(), IDC_HEIGHT);  // typing keeps the focus
                },
                "click 2"});
}

TEST_F(PaletteProperties, SlantTypedOrChosenChangesEntityAndStyle) {
    startLine(0, 0);
    runPalette({"focus 8005", "type \"15\"", [&] {
                    EXPECT_EQ(g_textProperties.oblique, 0.2617993877991494);
                    EXPECT_EQ(styleOblique("Standard"), 0.2617993877991494);
                    EXPECT_EQ(preview().oblique, 0.2617993877991494);
                },
                "choose 8005 \"0\"", [&] {
                    EXPECT_EQ(preview().oblique, 0.0);
                    EXPECT_EQ(styleOblique("Standard"), 0.0);
                },
                "choose 8005 \"15\"", [&] {
                    EXPECT_EQ(preview().oblique, 0.2617993877991494);
                    EXPECT_EQ(styleOblique("Standard"), 0.2617993877991494);
                },
                "click 2"});
}

TEST_F(PaletteProperties, WidthTypedOrChosenChangesEntityAndStyle) {
    startLine(0, 0);
    runPalette({"focus 8004", "type \"0.8\"", [&] {
                    EXPECT_EQ(g_textProperties.widthFactor, 0.8);
                    EXPECT_EQ(styleXScale("Standard"), 0.8);
                    EXPECT_EQ(preview().widthFactor, 0.8);
                },
                "choose 8004 \"0.6\"", [&] {
                    EXPECT_EQ(preview().widthFactor, 0.6);
                    EXPECT_EQ(styleXScale("Standard"), 0.6);
                },
                "click 2"});
}

TEST_F(PaletteProperties, RotationTypedOrChosenIsHeldInRadians) {
    startLine(0, 0);
    runPalette({"choose 8006 \"90\"", [&] { EXPECT_EQ(preview().rotation, 90 * kDegreesToRadians); },
                "focus 8006", "type \"45\"", [&] {
                    EXPECT_EQ(g_textProperties.rotation, 45 * kDegreesToRadians);
                    EXPECT_EQ(preview().rotation, 45 * kDegreesToRadians);
                },
                "click 2"});
}

TEST_F(PaletteProperties, ChosenStyleGoesIntoEntityVariableAndLook) {
    addStyle("ZOR");
    startLine(0, 0);
    runPalette({"choose 8002 \"ZOR\"", [&] {
                    EXPECT_EQ(preview().style, "ZOR");
                    EXPECT_EQ(g_textProperties.styleName, "ZOR");
                    EXPECT_EQ(stringVar("TEXTSTYLE"), "ZOR");
                    EXPECT_TRUE(controlShown(*dlg, IDC_SUPERSCRIPT));
                },
                "choose 8002 \"Standard\"", [&] {
                    EXPECT_EQ(preview().style, "Standard");
                    EXPECT_FALSE(controlShown(*dlg, IDC_SUPERSCRIPT));
                },
                "click 2"});
}

TEST_F(PaletteProperties, JustificationButtonsActAsOneGroup) {
    startLine(4, 5);
    runPalette({"type \"j\"", "click 8022", [&] {
                    EXPECT_EQ(preview().horizontalMode, 1);
                    EXPECT_EQ(dlg->m_btnCenter.GetCheck(), BST_CHECKED);
                    EXPECT_EQ(dlg->m_btnLeft.GetCheck(), BST_UNCHECKED);
                    EXPECT_EQ(preview().alignment.x, 4);
                    EXPECT_EQ(CWnd::GetFocus()->GetDlgCtrlID(), IDC_TEXT);
                },
                "click 8023", [&] {
                    EXPECT_EQ(preview().horizontalMode, 2);
                    EXPECT_EQ(dlg->m_btnCenter.GetCheck(), BST_UNCHECKED);
                },
                "click 8021", [&] { EXPECT_EQ(preview().horizontalMode, 0); }, "click 2"});
}

TEST_F(PaletteProperties, CutCopyPasteAndUndoWorkOnTheTextField) {
    startLine(0, 0);
    runPalette({"type \"abcd\"", "select 8019 0 2", "click 8008", [&] { EXPECT_EQ(preview().text, "cd"); },
                "select 8019 2 2", "click 8011", [&] { EXPECT_EQ(preview().text, "cdab"); },
                "select 8019 0 1", "click 8007", "select 8019 4 4", "click 8011",
                [&] { EXPECT_EQ(preview().text, "cdabc"); }, "click 8044",
                [&] {
                    EXPECT_EQ(controlText(*dlg, IDC_TEXT), "cdab");
                    EXPECT_EQ(preview().text, "cdab");
                },
                "click 2"});
}

TEST_F(PaletteProperties, OffsetFieldsGoIntoTheRecordWithoutApplying) {
    startLine(0, 0);
    runPalette({"focus 8015", "type \"12\"", "focus 8016", "type \"-4\"", [&] {
                    EXPECT_EQ(g_textProperties.offsetX, 12.0);
                    EXPECT_EQ(g_textProperties.offsetY, -4.0);
                },
                "click 2"});
}
