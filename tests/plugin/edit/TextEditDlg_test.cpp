#include "plugin/edit/TextEditDlg.h"

#include <algorithm>

#include "base/Cp1251.h"
#include "platform/ui/Menu.h"
#include "tests/plugin/edit/EditTestSupport.h"

using namespace kestrin;
using namespace kestrin::literals;
using namespace kestrin::test::edit;

namespace {

using EditDialog = EditTest;

TEST_F(EditDialog, OpensWithTitleIconAboutEntryDynamicCheckedAndTheTextSelected) {
    std::string title;
    int checked = -1, selStart = -1, selEnd = -1, aboutId = 0;
    bool iconSet = false, fieldFocused = false;
    run({"pick 40", [&] {
             const HWND h = ui::activeDialog();
             ui::Window& w = ui::windowRef(h);
             title = w.text;
             iconSet = w.dialog().bigIcon != nullptr && w.dialog().bigIcon == w.dialog().smallIcon;
             checked = ui::childById(h, 8001)->button().check;
             selStart = ui::childById(h, 8000)->edit().selStart();
             selEnd = ui::childById(h, 8000)->edit().selEnd();
             fieldFocused = CWnd::GetFocus() == CWnd::FromHandle(h)->GetDlgItem(8000);
             CMenu* menu = CWnd::FromHandle(h)->GetSystemMenu(FALSE);
             aboutId = static_cast<int>(menu->GetMenuItemID(menu->GetMenuItemCount() - 1));
         },
         "key escape"});
    EXPECT_EQ(title, "Кестрин V2.4  (Zor софт)"_cp);
    EXPECT_TRUE(iconSet);
    EXPECT_EQ(checked, 1);
    EXPECT_EQ(selStart, 0);
    EXPECT_EQ(selEnd, 6);
    EXPECT_TRUE(fieldFocused);
    EXPECT_EQ(aboutId, 16);
}

TEST_F(EditDialog, WithDynamicOffTypingChangesNothingUntilOk) {
    std::string whileTyping;
    std::string shownNext;
    run({"pick 40", "click 8001", "focus 8000", "type \"abc\"", [&] { whileTyping = stringOf(0x40); }, "click \"OK\"",
         "pick 43", [&] { shownNext = fieldText(); }, "key escape"});
    EXPECT_EQ(whileTyping, "Строка"_cp);
    EXPECT_EQ(stringOf(0x40), "abc");
    EXPECT_EQ(shownNext, "12") << "OK picks the next entity into the same dialog";
    EXPECT_EQ(g_textProperties.picked, 0);
}

TEST_F(EditDialog, OkPicksWhileHiddenAndLaterWritesGoToTheNewEntity) {
    bool hiddenWhilePicking = false;
    run({"pick 40", "type \"one\"", "click \"OK\"", [&] { hiddenWhilePicking = ui::activeDialog() == nullptr; },
         "pick 60 in 42", "type \"two\"", "key escape"});
    EXPECT_TRUE(hiddenWhilePicking);
    EXPECT_EQ(stringOf(0x40), "one");
    EXPECT_EQ(stringOf(0x60), "two");
    EXPECT_EQ(std::count(prompts.begin(), prompts.end(), std::string("\nВыберите примитив")), 2);
}

TEST_F(EditDialog, OkWithAnEmptyFieldErasesTheEntityThenAsksForTheNext) {
    std::string heldBeforeOk = "x";
    run({"pick 40", "key delete", [&] { heldBeforeOk = stringOf(0x40); }, "click \"OK\"", "escape"});
    EXPECT_EQ(heldBeforeOk, "") << "with dynamic writing the entity held the empty string first";
    EXPECT_TRUE(erased(0x40));
    EXPECT_EQ(ui::activeDialog(), nullptr) << "Escape at the prompt ended the dialog";
}

TEST_F(EditDialog, TheCloseBoxErasesAnEmptyEntityButEscapeDoesNot) {
    run({"pick 40", "key delete", "close"});
    EXPECT_TRUE(erased(0x40));
    run({"pick 43", "key delete", "key escape"});
    EXPECT_FALSE(erased(0x43));
    EXPECT_EQ(stringOf(0x43), "");
}

TEST_F(EditDialog, TheCloseBoxErasesWhenTheFieldWasEmptiedWithDynamicOff) {
    run({"pick 40", "click 8001", "focus 8000", "key delete", "close"});
    EXPECT_TRUE(erased(0x40));
}

TEST_F(EditDialog, TheCloseBoxKeepsAnEntityWithText) {
    run({"pick 40", "type \"kept\"", "close"});
    EXPECT_FALSE(erased(0x40));
    EXPECT_EQ(stringOf(0x40), "kept");
}

TEST_F(EditDialog, OtmenaUndoesTheLastChangeAndKeepsTheDialogOpen) {
    std::string field, held;
    bool open = false;
    run({"pick 40", "type \"abc\"", "click \"Отмена\"", [&] {
             field = fieldText();
             held = stringOf(0x40);
             open = ui::activeDialog() != nullptr;
         },
         "key escape"});
    EXPECT_EQ(field, "Строка"_cp);
    EXPECT_EQ(held, "Строка"_cp) << "the undone text is written like any change";
    EXPECT_TRUE(open);
}

TEST_F(EditDialog, TheIndicatorsFollowTheKeyboard) {
    std::string caps, language;
    run({"caps on", "layout 00000419", "pick 40", "key home", [&] {
             const HWND h = ui::activeDialog();
             caps = ui::childById(h, 8053)->text;
             language = ui::childById(h, 8056)->text;
         },
         "key escape"});
    EXPECT_EQ(caps, "CAP");
    EXPECT_EQ(language, "RUS");
}

TEST_F(EditDialog, TheCloseBoxErasingAnEmptyEntityLeavesTheRecordsTextAlone) {
    run({"pick 40", "click 8001", "focus 8000", "key delete", "close"});
    EXPECT_TRUE(erased(0x40));
    EXPECT_EQ(g_textProperties.text, "Строка"_cp) << "only a kept text empties the record's text";
}

TEST_F(EditDialog, TheCloseBoxKeepingATextEmptiesTheRecordsText) {
    run({"pick 40", "type \"kept\"", "close"});
    EXPECT_EQ(g_textProperties.text, "");
}

TEST_F(EditDialog, ARefusedTextIsReportedPlainlyNotAsATag) {
    run({"pick 40", [&] { CWnd::FromHandle(ui::activeDialog())->SetDlgItemText(8000, "a\r\nb"); }, "key escape"});
    const std::string out = output();
    EXPECT_EQ(out.find("Тег атрибута"_cp), std::string::npos) << out;
    EXPECT_NE(out.find("\nТекст \"a\r\nb\" не записан (ошибка "_cp), std::string::npos) << out;
    EXPECT_EQ(stringOf(0x40), "Строка"_cp);
}

}  // namespace
