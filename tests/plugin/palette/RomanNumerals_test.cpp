#include "plugin/palette/RomanNumerals.h"

#include "base/Cp1251.h"
#include "host/api/HostState.h"
#include "tests/plugin/palette/PaletteTestSupport.h"

using namespace kestrin;
using namespace kestrin::literals;
using namespace kestrin::test;

namespace {

// An independent converter: greedy subtraction over the standard pairs.
std::string roman(int n) {
    static const std::pair<int, const char*> pairs[] = {{100, "C"}, {90, "XC"}, {50, "L"}, {40, "XL"}, {10, "X"},
                                                        {9, "IX"},  {5, "V"},   {4, "IV"}, {1, "I"}};
    std::string out;
    for (const auto& [value, digits] : pairs)
        for (; n >= value; n -= value) out += digits;
    return out;
}

TEST(RomanTable, IsOneTextOfAHundredEntriesInTheEntryForm) {
    const std::string table = kRomanNumeralTable;
    EXPECT_EQ(table.substr(0, 52), "1-I 2-II 3-III 4-IV 5-V 6-VI 7-VII 8-VIII 9-IX 10-X ");
    EXPECT_EQ(table.substr(table.size() - 6), "100-C ");
    std::string rebuilt;
    for (int n = 1; n <= 100; ++n) rebuilt += std::to_string(n) + "-" + roman(n) + " ";
    EXPECT_EQ(table, rebuilt);
}

TEST(RomanTable, EveryNumberFromOneToAHundredGivesItsStandardNumeral) {
    for (int n = 1; n <= 100; ++n) EXPECT_EQ(romanNumeralOf(n), roman(n)) << n;
    EXPECT_EQ(romanNumeralOf(4), "IV");
    EXPECT_EQ(romanNumeralOf(99), "XCIX");
    EXPECT_EQ(romanNumeralOf(0), "") << "0 must not land inside the entry of 10";
    EXPECT_EQ(romanNumeralOf(101), "");
    EXPECT_EQ(romanNumeralOf(-1), "");
}

TEST(RomanInput, ReadsWholeNumbersWithBlanksAroundAndLeadingZeros) {
    EXPECT_EQ(readRomanInput("14"), 14);
    EXPECT_EQ(readRomanInput("05"), 5);
    EXPECT_EQ(readRomanInput(" 7 "), 7);
    EXPECT_EQ(readRomanInput("0100"), 100);
    EXPECT_EQ(readRomanInput("0"), 0);
    EXPECT_EQ(readRomanInput("00"), 0);
    EXPECT_EQ(readRomanInput("101"), 101);
    EXPECT_EQ(readRomanInput("123456789012345"), INT_MAX);
}

TEST(RomanInput, RefusesWhatIsNotAWholeNumber) {
    for (const char* input : {"", "   ", "1 0", "x5", "5x", "-5", "+5", "1.5"})
        EXPECT_EQ(readRomanInput(input), std::nullopt) << '"' << input << '"';
}

using RomanButton = PaletteFieldTest;

TEST_F(RomanButton, IsEnabledExactlyWhileTheInputHoldsText) {
    bool atStart = true, afterTyping = false, afterErasing = true;
    run({[&] { atStart = control(kRomanOut).enabled; }, "focus 8038", "type \"1\"",
         [&] { afterTyping = control(kRomanOut).enabled; }, "key backspace",
         [&] { afterErasing = control(kRomanOut).enabled; }});
    EXPECT_FALSE(atStart);
    EXPECT_TRUE(afterTyping);
    EXPECT_FALSE(afterErasing);
}

TEST_F(RomanButton, ConvertsAndReplacesTheSelectionThenEmptiesTheInput) {
    std::string input = "x";
    bool enabled = true, textFocused = false;
    EXPECT_EQ(run({"focus 8019", "type \"a-b\"", "select 8019 1 2", "focus 8038", "type \"14\"", "click 8041",
                   [&] {
                       input = text(kRoman);
                       enabled = control(kRomanOut).enabled;
                       textFocused = focused(kText);
                   }}),
              "a%%O%%UXIV%%u%%ob");
    EXPECT_EQ(input, "");
    EXPECT_FALSE(enabled);
    EXPECT_TRUE(textFocused);
    EXPECT_EQ(ui::openMessageBoxes(), 0);
}

TEST_F(RomanButton, AcceptsAHundredAndLeadingZerosAndBlanksAround) {
    EXPECT_EQ(run({"focus 8038", "type \"100\"", "click 8041", "focus 8038", "type \"05\"", "click 8041", "focus 8038",
                   "type \" 7 \"", "click 8041"}),
              "%%O%%UC%%u%%o%%O%%UV%%u%%o%%O%%UVII%%u%%o");
}

TEST_F(RomanButton, RefusesAboveAHundredWithTheMessageAndEmptiesTheInput) {
    std::string input = "x";
    bool enabled = true, inputFocused = false;
    std::string caption;
    EXPECT_EQ(run({"focus 8019", "type \"keep\"", "focus 8038", "type \"101\"", "answer ok", "click 8041",
                   [&] {
                       input = text(kRoman);
                       enabled = control(kRomanOut).enabled;
                       inputFocused = focused(kRoman);
                   }}),
              "keep");
    EXPECT_EQ(ui::lastMessageBoxText(), "Число не должно превышать 100"_cp);
    EXPECT_EQ(input, "");
    EXPECT_FALSE(enabled);
    EXPECT_TRUE(inputFocused);
}

TEST_F(RomanButton, RefusesZeroBlanksBetweenDigitsAndPastedLettersNamingTheRange) {
    for (const char* typed : {"0", "00", "1 0"}) {
        EXPECT_EQ(run({"focus 8038", std::string("type \"") + typed + "\"", "answer ok", "click 8041"}), "") << typed;
        EXPECT_EQ(ui::lastMessageBoxText(), "Введите число от 1 до 100"_cp) << typed;
    }
    clipboard::setText("XV");
    EXPECT_EQ(run({"focus 8038", [&] { paletteControl<CEdit>(*dlg, IDC_ROMAN_INPUT).Paste(); }, "answer ok", "click 8041"}), "");
    EXPECT_EQ(ui::lastMessageBoxText(), "Введите число от 1 до 100"_cp);
}

}  // namespace

namespace {

TEST(RomanOutputOf, AValidInputGivesTheLinedNumeralAndNoRefusal) {
    const RomanOutput out = romanOutput("14");
    EXPECT_EQ(out.code, "%%O%%UXIV%%u%%o");
    EXPECT_EQ(out.refusal, nullptr);
    EXPECT_EQ(romanOutput(" 100 ").code, "%%O%%UC%%u%%o");
}

TEST(RomanOutputOf, OnlyDigitsFormANumberAboveAHundred) {
    EXPECT_EQ(romanOutput("101").refusal, std::string("Число не должно превышать 100"_cp));
    EXPECT_EQ(romanOutput("99999999999").refusal, std::string("Число не должно превышать 100"_cp));
    for (const char* input : {"150x", "+150", "-150", "1 50", "", "0"}) {
        const RomanOutput out = romanOutput(input);
        EXPECT_EQ(out.code, "") << input;
        ASSERT_NE(out.refusal, nullptr) << input;
        EXPECT_EQ(std::string(out.refusal), "Введите число от 1 до 100"_cp) << input;
    }
}

using PastedNumeral = PaletteFieldTest;

TEST_F(PastedNumeral, TextWithASignOrALetterIsNotANumberAboveAHundred) {
    for (const char* pasted : {"150x", "+150"}) {
        clipboard::setText(pasted);
        std::string input = "x";
        EXPECT_EQ(run({"focus 8038", [&] { paletteControl<CEdit>(*dlg, IDC_ROMAN_INPUT).Paste(); }, "answer ok", "click 8041",
                       [&] { input = text(kRoman); }}),
                  "");
        EXPECT_EQ(ui::lastMessageBoxText(), "Введите число от 1 до 100"_cp) << pasted;
        EXPECT_EQ(input, "") << pasted;
    }
}

TEST_F(PastedNumeral, TheOutputAppliesThePreviewOnceThroughTheGuardedWrite) {
    int flushes = -1;
    run({"focus 8038", "type \"14\"", [&] { flushes = host::HostState::instance().display.graphicsFlushes; },
         "click 8041", [&] { flushes = host::HostState::instance().display.graphicsFlushes - flushes; }});
    EXPECT_EQ(flushes, 1);
    EXPECT_EQ(preview().text, "%%O%%UXIV%%u%%o");
}

}  // namespace
