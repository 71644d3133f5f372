#include "plugin/edit/EditCommand.h"

#include "base/Cp1251.h"
#include "tests/plugin/edit/EditTestSupport.h"

using namespace kestrin;
using namespace kestrin::literals;
using namespace kestrin::test::edit;

namespace {

using EditCommand = EditTest;

TEST_F(EditCommand, ATextShowsItsStringAndTakesEachKeystrokeAtOnce) {
    std::string shown, afterTyping;
    run({"pick 40", [&] { shown = fieldText(); }, "type \"Нов\"", [&] { afterTyping = stringOf(0x40); },
         "key escape"});
    EXPECT_EQ(shown, "Строка"_cp);
    EXPECT_EQ(afterTyping, "Нов"_cp) << "the whole text was selected, typing replaced it";
    EXPECT_EQ(stringOf(0x40), "Нов"_cp);
    ASSERT_FALSE(prompts.empty());
    EXPECT_EQ(prompts.front(), "\nВыберите примитив") << "prompts reach the person in UTF-8";
    EXPECT_EQ(regenerations(), 0) << "a pick outside blocks needs no regeneration";
}

TEST_F(EditCommand, AnAttributeShowsAndReceivesItsValue) {
    std::string shown;
    run({"pick 43", [&] { shown = fieldText(); }, "type \"7\"", "key escape"});
    EXPECT_EQ(shown, "12");
    EXPECT_EQ(stringOf(0x43), "7");
}

TEST_F(EditCommand, AnAttributeDefinitionShowsAndReceivesItsTagNotItsDefault) {
    std::string shown;
    run({"pick 61 in 42", [&] { shown = fieldText(); }, "type \"NR\"", "key escape"});
    EXPECT_EQ(shown, "NUMBER");
    EXPECT_EQ(stringOf(0x61), "NR");
    EXPECT_EQ(regenerations(), 2) << "in a block: each written keystroke regenerates its insertions";
}

// Typed at each keystroke, "A B" passes through "A", which must not stay:
// the tag as picked is kept and named, and the refusal is said once.
TEST_F(EditCommand, ARefusedTagIsReportedAndTheOldOneKept) {
    run({"pick 61 in 42", "type \"A B\"", "key escape"});
    EXPECT_EQ(stringOf(0x61), "NUMBER") << "the tag as picked, not the part before the blank";
    const std::string message = "\nТег атрибута не может содержать пробелы, оставлен прежний: \"NUMBER\"\n"_cp;
    const std::string out = output();
    const auto first = out.find(message);
    ASSERT_NE(first, std::string::npos) << out;
    EXPECT_EQ(out.find(message, first + 1), std::string::npos) << "once for \"A \" and \"A B\": " << out;
}

// Once the blank is gone the typed tag is taken again, and a new refusal is
// reported anew.
TEST_F(EditCommand, ATagTakenAfterARefusalIsWrittenAndALaterRefusalReportedAgain) {
    std::string afterFix;
    run({"pick 61 in 42", "type \"A B\"", "key backspace", "key backspace", "type \"C\"",
         [&] { afterFix = stringOf(0x61); }, "type \" D\"", "key escape"});
    EXPECT_EQ(afterFix, "AC");
    EXPECT_EQ(stringOf(0x61), "NUMBER");
    const std::string message = "оставлен прежний: \"NUMBER\""_cp;
    const std::string out = output();
    const auto first = out.find(message);
    ASSERT_NE(first, std::string::npos) << out;
    EXPECT_NE(out.find(message, first + 1), std::string::npos) << out;
}

TEST_F(EditCommand, AMultilineTextShowsAndReceivesItsContents) {
    std::string shown;
    run({"pick 45", [&] { shown = fieldText(); }, "key end", "type \"d\"", "key escape"});
    EXPECT_EQ(shown, std::string(250, 'a') + "bc");
    EXPECT_EQ(stringOf(0x45), std::string(250, 'a') + "bcd");
}

TEST_F(EditCommand, ANestedTextIsWrittenAndTheDrawingRegenerated) {
    run({"pick 60 in 42", "type \"out\"", "key escape"});
    EXPECT_EQ(stringOf(0x60), "out");
    EXPECT_EQ(regenerations(), 3) << "one regeneration per written keystroke";
    EXPECT_NE(output().find("Regenerating model."), std::string::npos);
}

// Whether a write regenerates the drawing follows the last pick: after OK
// picks a text outside blocks, typing there regenerates nothing more.
TEST_F(EditCommand, TheRegenerationFollowsTheLastPickOfTheDialog) {
    int afterNested = 0;
    run({"pick 60 in 42", "type \"out\"", "click \"OK\"", [&] { afterNested = regenerations(); }, "pick 40",
         "type \"x\"", "key escape"});
    EXPECT_EQ(afterNested, 3);
    EXPECT_EQ(regenerations(), afterNested) << "the text outside blocks needs none";
    EXPECT_EQ(stringOf(0x40), "x");
}

TEST_F(EditCommand, EntitiesWithoutAStringAreRefusedByClassAndAskedAgain) {
    run({"pick 46", "pick 47", "pick 41", "miss", "escape"});
    const std::string out = output();
    EXPECT_NE(out.find("\nОшибка вы выбрали...AcDbLine"_cp), std::string::npos) << out;
    EXPECT_NE(out.find("\nОшибка вы выбрали...AcDbCircle"_cp), std::string::npos);
    EXPECT_NE(out.find("\nОшибка вы выбрали...AcDbPolyline"_cp), std::string::npos);
    EXPECT_EQ(prompts.size(), 5u) << "asked again after each refusal and the miss, until Escape";
    EXPECT_EQ(ui::activeDialog(), nullptr);
}

TEST_F(EditCommand, EscapeAtTheFirstPromptEndsTheCommandWithoutADialog) {
    run({"escape"});
    EXPECT_EQ(prompts.size(), 1u);
    EXPECT_EQ(stringOf(0x40), "Строка"_cp);
}

TEST_F(EditCommand, AFlagLeftSetByAnotherCommandDoesNotSuppressTheDialog) {
    g_textProperties.picked = 1;
    std::string shown;
    run({"pick 40", [&] { shown = fieldText(); }, "key escape"});
    EXPECT_EQ(shown, "Строка"_cp);
}

}  // namespace
