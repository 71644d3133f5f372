// The Win32 dialog of a model dialog: made from the template in memory with
// the system's controls, it shows what it is told and reports the person's
// input without changing its own state. The input here goes through the
// system's controls (button clicks, keys, a click on a list entry), so what
// Wine's controls do is what is checked. Needs a display (under Xvfb in
// scripts/test.sh mingw); KESTRIN_REQUIRE_DISPLAY=1 makes its absence a failure.
#include <gtest/gtest.h>
#include <windows.h>

#include <vector>

#include "platform/fs/FileSystem.h"
#include "platform/ui/win32/NativeDialog.h"

namespace {

using kestrin::ui::win32::NativeControl;
using kestrin::ui::win32::NativeDialog;
using kestrin::ui::win32::NativeInput;
using kestrin::ui::win32::NativeKind;

class NativeDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!kestrin::ui::win32::windowsAvailable()) {
            if (kestrin::fs::FileSystem::current().environment("KESTRIN_REQUIRE_DISPLAY").value_or("") == "1")
                FAIL() << "no display for the dialog windows";
            GTEST_SKIP() << "no display";
        }
        kestrin::ui::win32::initialiseControls();
        kestrin::ui::win32::NativeTemplate t;
        t.caption = "Установка";
        t.style = WS_POPUP | WS_CAPTION | WS_SYSMENU;
        t.cx = 200, t.cy = 120;
        auto add = [&](int id, NativeKind kind, DWORD style, int y, const char* text) {
            NativeControl c;
            c.id = id, c.kind = kind, c.style = style | WS_VISIBLE | WS_TABSTOP;
            c.x = 5, c.y = y, c.cx = 120, c.cy = kind == NativeKind::ComboBox ? 60 : 12;
            c.text = text;
            t.controls.push_back(c);
        };
        add(1, NativeKind::Button, BS_PUSHBUTTON, 5, "ОК");
        add(2, NativeKind::Button, BS_AUTOCHECKBOX, 20, "Наклон");
        add(3, NativeKind::Edit, ES_AUTOHSCROLL | WS_BORDER, 35, "abc");
        add(4, NativeKind::ListBox, LBS_NOTIFY | LBS_SORT | WS_BORDER, 50, "");
        t.controls.back().cy = 40;
        add(5, NativeKind::ComboBox, CBS_DROPDOWN, 95, "");
        dialog_ = std::make_unique<NativeDialog>(t, [this](const NativeInput& in) { inputs_.push_back(in); });
        ASSERT_TRUE(dialog_->valid());
        dialog_->show(true);
    }
    HWND control(int id) const { return static_cast<HWND>(dialog_->handle(id)); }
    void pump() {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
    std::unique_ptr<NativeDialog> dialog_;
    std::vector<NativeInput> inputs_;
};

TEST_F(NativeDialogTest, ControlsShowWhatTheyAreToldInTheModelsOrder) {
    EXPECT_EQ(dialog_->text(0), "Установка");
    EXPECT_EQ(dialog_->text(3), "abc");
    dialog_->setEntries(4, {"Zeta", "alpha", "Mid"});
    EXPECT_EQ(dialog_->entries(4), (std::vector<std::string>{"Zeta", "alpha", "Mid"}))
        << "a sorting list box keeps the model's order";
    dialog_->setSelection(4, 2);
    EXPECT_EQ(dialog_->selection(4), 2);
    dialog_->setEntries(5, {"2.5", "3.5"});
    dialog_->setSelection(5, 1);
    dialog_->setText(5, "7");
    EXPECT_EQ(dialog_->text(5), "7") << "the field shows the model's text, not the chosen entry";
    dialog_->setCheck(2, 1);
    EXPECT_EQ(dialog_->check(2), 1);
    dialog_->setEnabled(1, false);
    EXPECT_FALSE(dialog_->enabled(1));
    dialog_->setShown(3, false);
    EXPECT_FALSE(dialog_->shown(3));
    EXPECT_TRUE(inputs_.empty()) << "what the model shows is not the person's input: " << inputs_.size();
}

TEST_F(NativeDialogTest, TheControlsReportInputAndLeaveTheirStateToTheModel) {
    SendMessageW(control(1), BM_CLICK, 0, 0);
    SendMessageW(control(2), BM_CLICK, 0, 0);
    EXPECT_EQ(dialog_->check(2), 0) << "a check box does not check itself";
    SendMessageW(control(3), WM_CHAR, L'ж', 1);
    SendMessageW(control(3), WM_KEYDOWN, VK_DELETE, 1);
    EXPECT_EQ(dialog_->text(3), "abc") << "typing changes the text only through the model";
    SendMessageW(static_cast<HWND>(dialog_->handle()), WM_CLOSE, 0, 0);
    pump();
    ASSERT_EQ(inputs_.size(), 5u);
    EXPECT_EQ(inputs_[0].kind, NativeInput::Kind::Click);
    EXPECT_EQ(inputs_[0].id, 1);
    EXPECT_EQ(inputs_[1].kind, NativeInput::Kind::Click);
    EXPECT_EQ(inputs_[1].id, 2);
    EXPECT_EQ(inputs_[2].kind, NativeInput::Kind::Type);
    EXPECT_EQ(inputs_[2].text, "ж");
    EXPECT_EQ(inputs_[2].id, 3);
    EXPECT_EQ(inputs_[3].kind, NativeInput::Kind::Key);
    EXPECT_EQ(inputs_[3].text, "delete");
    EXPECT_EQ(inputs_[3].id, 3);
    EXPECT_EQ(inputs_[4].kind, NativeInput::Kind::Close);
}

TEST_F(NativeDialogTest, AClickOnAListEntryChoosesItADoubleClickOpensIt) {
    dialog_->setEntries(4, {"Zeta", "alpha", "Mid"});
    RECT item{};
    ASSERT_NE(SendMessageW(control(4), LB_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&item)), LB_ERR);
    const LPARAM at = MAKELPARAM((item.left + item.right) / 2, (item.top + item.bottom) / 2);
    SendMessageW(control(4), WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageW(control(4), WM_LBUTTONUP, 0, at);
    SendMessageW(control(4), WM_LBUTTONDBLCLK, MK_LBUTTON, at);
    SendMessageW(control(4), WM_LBUTTONUP, 0, at);
    pump();
    std::vector<NativeInput> lists;
    for (const NativeInput& in : inputs_)
        if (in.kind == NativeInput::Kind::Choose || in.kind == NativeInput::Kind::Open) lists.push_back(in);
    ASSERT_GE(lists.size(), 2u);
    EXPECT_EQ(lists.front().kind, NativeInput::Kind::Choose);
    EXPECT_EQ(lists.front().index, 1);
    EXPECT_EQ(lists.back().kind, NativeInput::Kind::Open);
    EXPECT_EQ(lists.back().index, 1);
}

}  // namespace
