#include "plugin/palette/FilterEdit.h"

#include "base/Cp1251.h"
#include "platform/clipboard/Clipboard.h"
#include "platform/ui/View.h"
#include "plugin/palette/SymbolFont.h"
#include "tests/plugin/palette/PaletteTestSupport.h"

using namespace kestrin;
using namespace kestrin::literals;
using namespace kestrin::test;

namespace {

const std::string kOffsetList = "1 2 3 4 5 6 7 8 9 0 - ";

TEST(FilterChar, AListInModeOneAcceptsExactlyItsCharacters) {
    for (const char c : std::string("0123456789-")) EXPECT_EQ(filterChar(UINT(c), kOffsetList, 1), c) << c;
    for (const char c : std::string("a.,+eZ/")) EXPECT_EQ(filterChar(UINT(c), kOffsetList, 1), kCharRefused) << c;
    EXPECT_EQ(filterChar(static_cast<unsigned char>("ж"_cp[0]), kOffsetList, 1), kCharRefused);
}

TEST(FilterChar, BackspaceAndBlankPassEveryFilterButOtherControlCharactersDoNot) {
    for (const BYTE mode : {BYTE{1}, BYTE{0}, BYTE{7}}) {
        for (const std::string& list : {kOffsetList, std::string()}) {
            EXPECT_EQ(filterChar(8, list, mode), 8);
            EXPECT_EQ(filterChar(32, list, mode), 32);
        }
    }
    for (const UINT c : {1u, 9u, 13u, 27u, 127u}) EXPECT_EQ(filterChar(c, kOffsetList, 1), kCharRefused) << c;
}

TEST(FilterChar, OtherModesRefuseTheListAndAcceptTheRest) {
    EXPECT_EQ(filterChar('5', kOffsetList, 0), kCharRefused);
    EXPECT_EQ(filterChar('-', kOffsetList, 2), kCharRefused);
    EXPECT_EQ(filterChar('a', kOffsetList, 0), 'a');
    EXPECT_EQ(filterChar(13, kOffsetList, 0), 13);
}

TEST(FilterChar, AnEmptyListAcceptsAllInModeOneAndNothingOtherwise) {
    const auto cyrillic = static_cast<unsigned char>("Ё"_cp[0]);
    EXPECT_EQ(filterChar('a', "", 1), 'a');
    EXPECT_EQ(filterChar(cyrillic, "", 1), cyrillic);
    EXPECT_EQ(filterChar(13, "", 1), 13);
    EXPECT_EQ(filterChar('a', "", 0), kCharRefused);
    EXPECT_EQ(filterChar(cyrillic, "", 3), kCharRefused);
}

TEST(FilterChar, ACodeBeyondOneByteIsNeverTakenForAListedByte) {
    EXPECT_EQ(filterChar(0x100 + '5', kOffsetList, 1), kCharRefused);
    EXPECT_EQ(filterChar(0x100 + '5', kOffsetList, 0), 0x100 + '5');
}

using FilterEditInDialog = PaletteFieldTest;

TEST_F(FilterEditInDialog, TypingIntoAnOffsetFieldKeepsDigitsMinusAndBlanks) {
    std::string offset;
    run({"focus 8015", "type \"a1-2.,b 3\"", "key backspace", "type \"7x\"",
         [&] { offset = text(kOffsetX); }});
    EXPECT_EQ(offset, "1-2 7");
}

TEST_F(FilterEditInDialog, TheNumeralFieldRefusesTheMinusSign) {
    std::string roman;
    run({"focus 8038", "type \"-1 2-\"", [&] { roman = text(kRoman); }});
    EXPECT_EQ(roman, "1 2");
}

TEST_F(FilterEditInDialog, TheTextFieldTakesEveryCharacter) {
    EXPECT_EQ(run({"focus 8019", "type \"Ab,.%-Ёж?\""}), "Ab,.%-Ёж?"_cp);
}

TEST_F(FilterEditInDialog, PastedTextIsNotFiltered) {
    std::string offset;
    clipboard::setText("abc.5");
    run({"focus 8015", [&] { paletteControl<CEdit>(*dlg, IDC_OFFSET_X).Paste(); }, "type \"x\"", [&] { offset = text(kOffsetX); }});
    EXPECT_EQ(offset, "abc.5");
}

TEST_F(FilterEditInDialog, TheFieldsAreBlackOnWhiteWithAWhiteBrush) {
    ui::ControlColours colours;
    COLORREF brush = 0;
    run({[&] {
        colours = ui::queryControlColours(paletteControl<CEdit>(*dlg, IDC_OFFSET_X).m_hWnd);
        brush = colours.brush != nullptr ? brushColour(colours.brush) : 0;
    }});
    EXPECT_EQ(colours.text, RGB(0, 0, 0));
    EXPECT_EQ(colours.back, RGB(255, 255, 255));
    EXPECT_EQ(brush, RGB(255, 255, 255));
}

TEST(FilterEditObject, TheBrushLivesAsLongAsTheObject) {
    HBRUSH brush = nullptr;
    {
        CFilterEdit edit;
        brush = edit.m_brBackground;
        ASSERT_NE(brush, nullptr);
        EXPECT_EQ(brushColour(brush), RGB(255, 255, 255));
    }
    EXPECT_EQ(brushColour(brush), 0u) << "the destructor deletes the brush";
}

using SymbolFont = PaletteFieldTest;

TEST_F(SymbolFont, TheGreekButtonsGetTheDialogFontWithTheFaceSymbol) {
    std::string dialogFace, greekFace, otherFace;
    int dialogPoints = 0, greekPoints = 0;
    int withSymbol = 0;
    run({[&] {
        const ui::Window& d = ui::windowRef(dlg->m_hWnd);
        dialogFace = d.fontFace;
        dialogPoints = d.fontPoints;
        greekFace = control(8047).fontFace;
        greekPoints = control(8047).fontPoints;
        otherFace = control(8012).fontFace;
        for (const int id : kSymbolFontButtons) withSymbol += control(id).fontFace == "Symbol";
    }});
    EXPECT_EQ(greekFace, "Symbol");
    EXPECT_EQ(greekPoints, dialogPoints);
    EXPECT_EQ(withSymbol, 35);
    EXPECT_EQ(otherFace, dialogFace) << "an own-font image button keeps the dialog font";
}

}  // namespace
