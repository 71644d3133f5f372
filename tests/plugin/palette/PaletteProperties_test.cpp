// Every change in the palette reaches the preview entity, the style record
// and the system variables at once.
#include "tests/plugin/palette/PaletteTestSupport.h"

#include <cmath>
#include <cstdlib>

#include "base/Cp1251.h"
#include "plugin/palette/PaletteNumbers.h"
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
                    EXPECT_EQ(paletteControl<CButton>(*dlg, IDC_JUSTIFY_CENTER).GetCheck(), BST_CHECKED);
                    EXPECT_EQ(paletteControl<CButton>(*dlg, IDC_JUSTIFY_LEFT).GetCheck(), BST_UNCHECKED);
                    EXPECT_EQ(preview().alignment.x, 4);
                    EXPECT_EQ(CWnd::GetFocus()->GetDlgCtrlID(), IDC_TEXT);
                },
                "click 8023", [&] {
                    EXPECT_EQ(preview().horizontalMode, 2);
                    EXPECT_EQ(paletteControl<CButton>(*dlg, IDC_JUSTIFY_CENTER).GetCheck(), BST_UNCHECKED);
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

namespace {

int countOf(const std::string& text, const std::string& part) {
    int count = 0;
    for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++count;
    return count;
}

}  // namespace

// Slant "90" is beyond the host's limit: the box keeps what was typed while
// the preview and the style keep 9 degrees; the command line says so once,
// with the allowed range; leaving the box puts 9 back into it.
TEST_F(PaletteProperties, ARefusedSlantIsSaidOnceAndTheBoxPutBackWhenLeft) {
    startLine(0, 0);
    const std::string message = "\nНаклон должен быть от -85 до 85.\n"_cp;
    runPalette({"focus 8005", "type \"9\"", "type \"0\"", [&] {
                    EXPECT_EQ(controlText(*dlg, IDC_OBLIQUE), "90");
                    EXPECT_DOUBLE_EQ(preview().oblique, 9 * kDegreesToRadians);
                    EXPECT_DOUBLE_EQ(styleOblique("Standard"), 9 * kDegreesToRadians);
                },
                "type \"0\"", [&] {
                    EXPECT_EQ(controlText(*dlg, IDC_OBLIQUE), "900");
                    EXPECT_EQ(countOf(output(), message), 1) << "once per refusal: " << output();
                },
                "focus 8019", [&] {
                    EXPECT_EQ(std::atof(controlText(*dlg, IDC_OBLIQUE).c_str()), 9.0);
                    EXPECT_DOUBLE_EQ(preview().oblique, 9 * kDegreesToRadians);
                },
                // A later refusal is a new one and is said again.
                "focus 8005", "type \"-86\"", "focus 8019", "click 2"});
    EXPECT_EQ(countOf(output(), message), 2) << output();
}

// Height "0" cannot be drawn: the preview keeps 2.5, the box is put back.
TEST_F(PaletteProperties, ARefusedHeightKeepsThePreviewAndNamesTheRange) {
    startLine(0, 0);
    runPalette({"choose 8003 \"2.5\"", "focus 8003", "type \"0\"", [&] {
                    EXPECT_EQ(controlText(*dlg, IDC_HEIGHT), "0");
                    EXPECT_EQ(preview().height, 2.5);
                    EXPECT_EQ(g_textProperties.height, 2.5);
                    EXPECT_EQ(realVar("TEXTSIZE"), 2.5);
                },
                "type \"e99\"", "focus 8019",
                [&] { EXPECT_EQ(std::atof(controlText(*dlg, IDC_HEIGHT).c_str()), 2.5); }, "click 2"});
    EXPECT_EQ(countOf(output(), "\nВысота букв должна быть больше 0 и не больше 1000000000000.\n"_cp), 1)
        << output();
}

// An empty box on the way to a new height is not a refusal.
TEST_F(PaletteProperties, AnEmptiedHeightBoxIsNotRefused) {
    startLine(0, 0);
    runPalette({"choose 8003 \"5\"", "focus 8003", "key end", "key backspace", "type \"7\"", "click 2"});
    EXPECT_EQ(g_textProperties.height, 7.0);
    EXPECT_EQ(output().find("Высота букв"_cp), std::string::npos) << output();
}

// Typed key by key, "1e13" passes through 1e1, which is taken; 1e13 is not.
TEST_F(PaletteProperties, AbsurdWidthIsRefusedBeforeItReachesTheStyle) {
    startLine(0, 0);
    runPalette({"choose 8004 \"1\"", "focus 8004", "type \"1e13\"", "click 2"});
    EXPECT_EQ(styleXScale("Standard"), 10.0);
    EXPECT_EQ(preview().widthFactor, 10.0);
    EXPECT_NE(output().find("\nШирина букв должна быть больше 0 и не больше 1000000000000.\n"_cp), std::string::npos)
        << output();
}

// "1e308" degrees is a rotation like any other, brought into one turn; it
// used to reach the entity as infinity, and the drawing could not be saved.
// What cannot be a number of degrees at all is refused.
TEST_F(PaletteProperties, RotationsAreTakenModulo360AndInfinityRefused) {
    startLine(0, 0);
    runPalette({"focus 8006", "type \"450\"", [&] {
                    EXPECT_DOUBLE_EQ(preview().rotation, 90 * kDegreesToRadians);
                },
                "focus 8019", "focus 8006", "type \"1e308\"", [&] {
                    const double rotation = preview().rotation;
                    EXPECT_TRUE(std::isfinite(rotation));
                    EXPECT_GE(rotation, 0);
                    EXPECT_LT(rotation, 2 * 3.141592653589793);
                    EXPECT_EQ(rotation, g_textProperties.rotation);
                },
                "focus 8019", "focus 8006", "type \"1e999\"", [&] {
                    EXPECT_EQ(controlText(*dlg, IDC_ROTATION), "1e999");
                    EXPECT_TRUE(std::isfinite(preview().rotation));
                },
                "focus 8019", [&] {
                    const std::string shown = controlText(*dlg, IDC_ROTATION);
                    const double degrees = std::atof(shown.c_str());
                    EXPECT_TRUE(degrees >= 0 && degrees <= 360) << shown;
                },
                "click 2"});
    EXPECT_NE(output().find("\nПоворот текста должен быть конечным числом градусов.\n"_cp), std::string::npos)
        << output();
}

// An offset beyond the bounds is refused as typed; the box is put back to
// the step in force, shown in whole digits.
TEST_F(PaletteProperties, AnAbsurdOffsetIsRefusedAndItsBoxPutBack) {
    startLine(1, 1);
    runPalette({"focus 8015", "type \"10000000000000\"", [&] {
                    EXPECT_EQ(g_textProperties.offsetX, kMaxOffset);
                    EXPECT_EQ(controlText(*dlg, IDC_OFFSET_X), "10000000000000");
                },
                "focus 8019", [&] { EXPECT_EQ(controlText(*dlg, IDC_OFFSET_X), "1000000000000"); }, "click 2"});
    EXPECT_NE(output().find("\nСмещение должно быть от -1000000000000 до 1000000000000.\n"_cp), std::string::npos)
        << output();
}
