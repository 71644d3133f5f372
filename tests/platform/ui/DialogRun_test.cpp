#include "tests/platform/ui/UiTestSupport.h"

namespace kestrin::ui::test {
namespace {

using ModalRun = UiTest;

TEST_F(ModalRun, InitialisesShowsThenRunsActionsEachAfterPreTranslate) {
    auto& src = script({click(ref(kPlain)), focus(ref(kText)), type("ab"), key("escape")});
    RecordingDialog dlg;
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_EQ(src.consumed(), 4u);
    ASSERT_GE(dlg.log.size(), 4u);
    // Writing the member into the field at initialisation changes it.
    EXPECT_EQ(dlg.log[0], "EN_CHANGE start");
    EXPECT_EQ(dlg.log[1], "init");
    EXPECT_EQ(dlg.log[2], "show");
    EXPECT_EQ(dlg.pretranslated, (std::vector<UINT>{WM_LBUTTONDOWN, WM_SETFOCUS, WM_CHAR, WM_CHAR, WM_KEYDOWN}));
    EXPECT_EQ(dlg.log.back(), "OnCancel");
    EXPECT_EQ(dlg.m_hWnd, nullptr);
    EXPECT_FALSE(failed()) << failure();
}

TEST_F(ModalRun, TemplateControlsAreCreatedWithTheirState) {
    script({});
    RecordingDialog dlg;
    dlg.onInit = [](RecordingDialog& d) {
        const Window& w = windowRef(d.m_hWnd);
        EXPECT_EQ(w.text, "Dialog");
        EXPECT_EQ(w.fontFace, "MS Sans Serif");
        EXPECT_EQ(w.children.size(), 17u);
        const Window& dynamic = windowRef(d.GetDlgItem(kDynamic)->m_hWnd);
        EXPECT_EQ(dynamic.kind, WindowKind::Button);
        EXPECT_EQ(dynamic.text, "Динамически"_cp);
        EXPECT_EQ(dynamic.units.width, 63);
        EXPECT_EQ(dynamic.button().check, 1) << "the data exchange of the base initialisation wrote the member";
        EXPECT_EQ(windowRef(d.GetDlgItem(kText)->m_hWnd).text, "start");
        EXPECT_FALSE(d.GetDlgItem(kDisabled)->IsWindowEnabled());
        // The later of two default push buttons is the dialog's default.
        EXPECT_EQ(LOWORD(d.GetDefID()), kNewLine);
    };
    dlg.DoModal();
    EXPECT_EQ(dlg.log.at(1), "init");
}

TEST_F(ModalRun, FocusGoesToTheFirstTabStopWithItsTextSelected) {
    script({type("x"), key("escape")});
    RecordingDialog dlg;
    dlg.DoModal();
    EXPECT_EQ(dlg.m_strText, "start") << "cancel reads nothing back";
    EXPECT_NE(std::find(dlg.log.begin(), dlg.log.end(), "EN_CHANGE x"), dlg.log.end())
        << "the first key replaced the selected text";
}

TEST_F(ModalRun, EnterPressesTheDefaultButtonAndOkReadsTheControls) {
    auto& src = script({type("new"), key("enter"), click(ref(IDOK))});
    RecordingDialog dlg;
    dlg.onNewLine = [](RecordingDialog& d) { d.EndDialog(IDOK); };
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_NE(std::find(dlg.log.begin(), dlg.log.end(), "new line"), dlg.log.end());
    EXPECT_EQ(src.consumed(), 2u) << "the dialog ended before the third action";
}

TEST_F(ModalRun, CloseBoxGoesThroughOnCloseToOnCancel) {
    script({closeBox()});
    RecordingDialog dlg;
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    const std::vector<std::string> tail(dlg.log.end() - 3, dlg.log.end());
    EXPECT_EQ(tail, (std::vector<std::string>{"syscommand 61536", "OnClose", "OnCancel"}));
}

TEST_F(ModalRun, SystemMenuTakesAppendedCommands) {
    script({sysmenu(kAboutCommand), sysmenu(99, 7)});
    RecordingDialog dlg;
    int about = 0;
    dlg.onInit = [](RecordingDialog& d) {
        std::string text;
        ASSERT_TRUE(AfxLoadString(kAboutString, text));
        CMenu* menu = d.GetSystemMenu(FALSE);
        ASSERT_NE(menu, nullptr);
        menu->AppendMenu(MF_SEPARATOR);
        menu->AppendMenu(MF_STRING, kAboutCommand, text.c_str());
    };
    dlg.onSysCommand = [&about](RecordingDialog&, UINT) { ++about; };
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_EQ(about, 1);
    EXPECT_EQ(failure(), "test:7: sysmenu: the system menu of dialog 100 (\"Dialog\") has no command 99 "
                         "(commands: 61456, 61536, 16)");
}

TEST_F(ModalRun, EndOfInputCancelsWithoutRunningHandlers) {
    script({type("abc")});
    RecordingDialog dlg;
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_EQ(std::count(dlg.log.begin(), dlg.log.end(), "OnCancel"), 0);
    EXPECT_TRUE(session::Session::instance().exhausted());
    EXPECT_EQ(failure(), "test: the script ended while a dialog waits");
}

TEST_F(ModalRun, HostInputWhileADialogWaitsIsRejected) {
    Action command = act(ActionKind::Command, 12);
    command.text = "LINE";
    script({command, click(ref(kPlain))});
    RecordingDialog dlg;
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_EQ(failure().rfind("test:12: command: a dialog waits: dialog 100", 0), 0u) << failure();
    EXPECT_EQ(std::count(dlg.log.begin(), dlg.log.end(), "plain"), 0) << "nothing runs after a failure";
}

TEST_F(ModalRun, NestedDialogTakesActionsUntilItEndsThenTheOuterOneResumes) {
    script({click(ref(kPlain)), expect("text", ref(IDOK), "OK"), key("enter"), click(ref(kPlain)), key("escape")});
    RecordingDialog outer;
    std::vector<INT_PTR> results;
    outer.onPlain = [&results](RecordingDialog& d) {
        RecordingDialog inner(kNestedDialog);
        inner.m_pParentWnd = &d;
        EXPECT_EQ(activeDialog(), d.m_hWnd);
        results.push_back(inner.DoModal());
        EXPECT_EQ(activeDialog(), d.m_hWnd) << "the outer dialog is active again";
    };
    EXPECT_EQ(outer.DoModal(), IDCANCEL);
    EXPECT_EQ(results, (std::vector<INT_PTR>{IDOK, IDCANCEL}));
    EXPECT_EQ(failure(), "test: the script ended while a dialog waits");
    EXPECT_EQ(std::count(outer.log.begin(), outer.log.end(), "OnCancel"), 0) << "the input ended: no handler ran";
}

TEST_F(ModalRun, SessionFailureCancelsEveryOpenDialog) {
    script({click(ref(kPlain)), click(ref(777), 3), click(ref(kPlain))});
    RecordingDialog outer;
    INT_PTR inner = 0;
    outer.onPlain = [&inner](RecordingDialog&) {
        RecordingDialog nested(kNestedDialog);
        inner = nested.DoModal();
    };
    EXPECT_EQ(outer.DoModal(), IDCANCEL);
    EXPECT_EQ(inner, IDCANCEL);
    EXPECT_EQ(failure(), "test:3: click: dialog 101 (\"О программе\") has no control 777");
    EXPECT_EQ(std::count(outer.log.begin(), outer.log.end(), "plain"), 1);
}

TEST_F(ModalRun, HiddenDialogTakesNoActionsAndHostInputCanRunMeanwhile) {
    script({click(ref(kPlain)), expect("hidden", ref(kPlain)), type("x", 5)});
    RecordingDialog dlg;
    dlg.onPlain = [](RecordingDialog& d) {
        d.ShowWindow(SW_HIDE);
        EXPECT_EQ(activeDialog(), nullptr);
        // The host asks for input while the dialog is hidden.
        auto action = session::Session::instance().next(session::Waiter::HostInput);
        EXPECT_FALSE(action.has_value()) << "the expect was handled, then the type action went to the host";
    };
    dlg.DoModal();
    EXPECT_EQ(dlg.log, (std::vector<std::string>{"EN_CHANGE start", "init", "show", "plain", "hide"}));
}

TEST_F(ModalRun, MissingTemplateFailsTheSessionAndAnswersMinusOne) {
    script({});
    RecordingDialog dlg(4242);
    EXPECT_EQ(dlg.DoModal(), -1);
    EXPECT_EQ(failure(), "dialog template 4242 is not among the resources of any loaded module");
}

}  // namespace
}  // namespace kestrin::ui::test
