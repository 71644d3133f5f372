#include "plugin/palette/LayoutConverter.h"

#include "base/Cp1251.h"
#include "host/api/HostState.h"
#include "tests/plugin/palette/PaletteTestSupport.h"

using namespace kestrin;
using namespace kestrin::literals;
using namespace kestrin::test;

namespace {

TEST(LayoutTables, HaveTheirLengthsAndOneDoubleQuote) {
    EXPECT_EQ(CLayoutConverter::lowerLetters().size(), 58u);
    EXPECT_EQ(CLayoutConverter::upperLetters().size(), 58u);
    EXPECT_EQ(CLayoutConverter::keyCharacters().size(), 66u);
    EXPECT_EQ(CLayoutConverter::cyrillicCharacters().size(), 66u);
    const std::string& keys = CLayoutConverter::keyCharacters();
    EXPECT_EQ(std::count(keys.begin(), keys.end(), '"'), 1);
    EXPECT_EQ(keys[22], '"');
    EXPECT_EQ(CLayoutConverter::cyrillicCharacters()[22], "Э"_cp[0]);
}

TEST(LayoutConversion, EveryKeyCharacterComesBackAfterTwoConversions) {
    const CLayoutConverter c;
    for (const char key : CLayoutConverter::keyCharacters()) {
        const std::string one(1, key);
        if (key == '.' || key == '/') continue;  // the full stop pairs twice, checked below
        EXPECT_EQ(c.convertLayout(c.convertLayout(one)), one) << key;
        EXPECT_NE(c.convertLayout(one), one) << key;
    }
}

TEST(LayoutConversion, TheFullStopAndSlashFollowTheirFirstOccurrence) {
    const CLayoutConverter c;
    EXPECT_EQ(c.convertLayout("/"), ".");
    EXPECT_EQ(c.convertLayout("."), "ю"_cp);
    EXPECT_EQ(c.convertLayout("ю"_cp), ".");
    EXPECT_EQ(c.convertLayout("ХЪЖЭБЮхъжэбю"_cp), "{}:\"<>[];',.");
}

TEST(LayoutConversion, TurnsWordsBothWaysAndLeavesTheRest) {
    const CLayoutConverter c;
    EXPECT_EQ(c.convertLayout("ghbdtn"), "привет"_cp);
    EXPECT_EQ(c.convertLayout("привет"_cp), "ghbdtn");
    EXPECT_EQ(c.convertLayout("Ёё 19?"_cp), "Ёё 19?"_cp);
    EXPECT_EQ(c.convertLayout(""), "");
}

TEST(CaseConversion, SwapsRussianAndLatinLettersButNotYo) {
    const CLayoutConverter c;
    EXPECT_EQ(c.convertCase("Привет, Мир"_cp), "пРИВЕТ, мИР"_cp);
    EXPECT_EQ(c.convertCase("Hello Ёё 42?"_cp), "hELLO Ёё 42?"_cp);
    EXPECT_EQ(c.convertCase(c.convertCase(CLayoutConverter::lowerLetters())), CLayoutConverter::lowerLetters());
    EXPECT_EQ(c.convertCase(CLayoutConverter::lowerLetters()), CLayoutConverter::upperLetters());
}

TEST(MapCharacters, SearchesTheFromTableFirstAndKeepsTheLength) {
    const CLayoutConverter c;
    EXPECT_EQ(c.mapCharacters("abcx", "ab", "ba"), "bacx") << "a is found in from first";
    EXPECT_EQ(c.mapCharacters("aa", "aa", "bc"), "bb") << "the first position counts";
    EXPECT_EQ(c.mapCharacters("z", "xy", "yz"), "y") << "a character only in to maps back";
}

using SelectionConversionInDialog = PaletteFieldTest;

TEST_F(SelectionConversionInDialog, LayoutButtonConvertsTheSelectionBothWays) {
    std::string first;
    EXPECT_EQ(run({"focus 8019", "type \"ghbdtn\"", "select 8019 0 6", "click 8048",
                   [&] { first = controlText(*dlg, IDC_TEXT); }, "select 8019 0 6", "click 8048"}),
              "ghbdtn");
    EXPECT_EQ(first, "привет"_cp);
}

TEST_F(SelectionConversionInDialog, CaseButtonConvertsOnlyTheSelectedPart) {
    EXPECT_EQ(run({"focus 8019", "type \"Привет, Мир\"", "select 8019 0 11", "click 8046"}), "пРИВЕТ, мИР"_cp);
    EXPECT_EQ(run({"focus 8019", "type \"abcdef\"", "select 8019 2 4", "click 8046"}), "abCDef");
}

TEST_F(SelectionConversionInDialog, AnEmptySelectionLeavesTheTextAndTheFocusStaysOnTheButton) {
    bool buttonFocused = false;
    EXPECT_EQ(run({"focus 8019", "type \"abc\"", "select 8019 1 1", "click 8046", "click 8048",
                   [&] { buttonFocused = focused(kLayout); }}),
              "abc");
    EXPECT_TRUE(buttonFocused);
}

}  // namespace

namespace {

TEST(ConvertSelection, ConvertsOnlyTheSelectedRangeClampedToTheText) {
    EXPECT_EQ(convertSelection("abcdef", 2, 4, SelectionConversion::Case), "abCDef");
    EXPECT_EQ(convertSelection("ghbdtn Ok", 0, 6, SelectionConversion::Layout), "привет Ok"_cp);
    EXPECT_EQ(convertSelection("abc", 1, 1, SelectionConversion::Case), "abc");
    EXPECT_EQ(convertSelection("abc", -3, 99, SelectionConversion::Case), "ABC");
    EXPECT_EQ(convertSelection("abc", 2, 1, SelectionConversion::Case), "abc") << "an end before the start";
}

using ConversionWrite = PaletteFieldTest;

TEST_F(ConversionWrite, AConversionAppliesThePreviewOnce) {
    int before = -1, after = -1;
    run({"type \"abc\"", "select 8019 0 3", [&] { before = host::HostState::instance().display.graphicsFlushes; },
         "click 8046", [&] { after = host::HostState::instance().display.graphicsFlushes; }});
    EXPECT_EQ(after - before, 1) << "writing the new text raises no second apply";
    EXPECT_EQ(preview().text, "ABC");
}

}  // namespace
