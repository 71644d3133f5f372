// The keyboard helpers as the palette carries them: symbol buttons, the
// Roman numeral button, conversions, filtered fields, indicators and the
// Symbol font, each reaching the preview entity.
#include "base/Cp1251.h"
#include "plugin/palette/SymbolFont.h"
#include "tests/plugin/palette/PaletteTestSupport.h"

using namespace kestrin;
using namespace kestrin::literals;
using namespace kestrin::test;

namespace {

class PaletteKeyboard : public PaletteTest {
protected:
    void startUnderZor() {
        addStyle("ZOR");
        g_textProperties.styleName = "ZOR";
        startLine(0, 0);
    }
};

TEST_F(PaletteKeyboard, SymbolButtonsWriteTheirCodesIntoThePreview) {
    startUnderZor();
    runPalette({"click 8012", "click 8029", "type \"2\"", "click 8029", "click 8047", "click 8039", "key escape"});
    EXPECT_EQ(preview().text, "%%142%%1722%%173%%147%%127");
}

TEST_F(PaletteKeyboard, UnderAnotherStyleOwnFontButtonsAreIgnoredAndDualButtonsUseHostCodes) {
    startLine(0, 0);
    runPalette({"type \"a\"", "click 8012", "click 8033", "click 8042", "click 8031", "key escape"});
    EXPECT_EQ(preview().text, "a%%c%%p%%O");
}

TEST_F(PaletteKeyboard, TheRomanButtonWritesTheNumeralAndRefusesAboveAHundred) {
    startLine(0, 0);
    runPalette({"focus 8038", "type \"14\"", "click 8041", "expect text 8038 \"\"", "expect disabled 8041",
                "expect focus 8019", "focus 8038", "type \"101\"", "answer ok", "click 8041", "expect focus 8038",
                "key escape"});
    EXPECT_EQ(preview().text, "%%O%%UXIV%%u%%o");
    EXPECT_EQ(ui::lastMessageBoxText(), "Число не должно превышать 100"_cp);
}

TEST_F(PaletteKeyboard, ConversionsRewriteTheSelectionAndThePreview) {
    startLine(0, 0);
    std::string afterLayout;
    runPalette({"type \"ghbdtn Ok\"", "select 8019 0 6", "click 8048", [&] { afterLayout = preview().text; },
                "select 8019 7 9", "click 8046", "key escape"});
    EXPECT_EQ(afterLayout, "привет Ok"_cp);
    EXPECT_EQ(preview().text, "привет oK"_cp);
}

TEST_F(PaletteKeyboard, OffsetAndNumeralFieldsFilterTypedCharacters) {
    startLine(0, 0);
    runPalette({"focus 8015", "type \"a-5.,\"", "expect text 8015 \"-5\"", "focus 8016", "type \"x7\"",
                "expect text 8016 \"7\"", "focus 8038", "type \"-4b\"", "expect text 8038 \"4\"", "key escape"});
}

TEST_F(PaletteKeyboard, IndicatorsAndTheLanguageSwitch) {
    startLine(0, 0);
    std::string caps, language, active;
    runPalette({"caps on", "layouts 00000409 00000419", "layout 00000409", "click 8056", "key home", [&] {
                    caps = controlText(*dlg, 8053);
                    language = controlText(*dlg, 8056);
                    active = keyboard::Keyboard::instance().activeLayout();
                },
                "key escape"});
    EXPECT_EQ(caps, "CAP");
    EXPECT_EQ(language, "RUS");
    EXPECT_EQ(active, "00000419");
}

TEST_F(PaletteKeyboard, TheGreekButtonsShowTheSymbolFont) {
    startUnderZor();
    int withSymbol = 0;
    runPalette({[&] {
                    for (const int id : kSymbolFontButtons)
                        withSymbol += ui::childById(dlg->m_hWnd, id)->fontFace == "Symbol";
                },
                "key escape"});
    EXPECT_EQ(withSymbol, 35);
}

}  // namespace
