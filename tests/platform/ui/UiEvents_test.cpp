#include "platform/ui/UiEvents.h"

#include <algorithm>

#include "tests/platform/ui/UiTestSupport.h"

namespace kestrin::ui::test {
namespace {

// What a view hears from the model, one line per notification.
class ViewLog {
public:
    ViewLog() {
        auto& e = uiEvents();
        c_.push_back(e.textChanged.connectScoped([this](HWND h, const std::string& t) { add(h, "text " + t); }));
        c_.push_back(e.shownChanged.connectScoped([this](HWND h, bool s) { add(h, s ? "shown" : "hidden"); }));
        c_.push_back(e.enabledChanged.connectScoped([this](HWND h, bool en) { add(h, en ? "enabled" : "disabled"); }));
        c_.push_back(e.checkChanged.connectScoped([this](HWND h, int c) { add(h, "check " + std::to_string(c)); }));
        c_.push_back(e.selectionChanged.connectScoped([this](HWND h, int i) { add(h, "sel " + std::to_string(i)); }));
        c_.push_back(e.entriesChanged.connectScoped([this](HWND h) { add(h, "entries"); }));
        c_.push_back(e.dialogOpened.connectScoped([this](HWND h) { add(h, "opened"); }));
        c_.push_back(e.dialogClosed.connectScoped([this](HWND h) { add(h, "closed"); }));
        c_.push_back(e.messageBoxShown.connectScoped(
            [this](HWND, const std::string& text, const std::string&, UINT) { lines.push_back("box " + text); }));
        c_.push_back(e.messageBoxClosed.connectScoped([this](HWND, int r) { lines.push_back("box closed " + std::to_string(r)); }));
    }
    // Lines about one control id (0: the dialog).
    std::vector<std::string> of(int id) const {
        std::vector<std::string> out;
        for (const auto& [i, l] : byId)
            if (i == id) out.push_back(l);
        return out;
    }
    void stop() { c_.clear(); }

    std::vector<std::string> lines;
    std::vector<std::pair<int, std::string>> byId;

private:
    void add(HWND h, const std::string& what) {
        const Window* w = windowOf(h);
        ASSERT_NE(w, nullptr) << "a notification for a window that is gone: " << what;
        const int id = w->kind == WindowKind::Dialog ? 0 : w->id;
        lines.push_back(std::to_string(id) + " " + what);
        byId.emplace_back(id, what);
    }
    std::vector<ScopedConnection> c_;
};

using UiEventsTest = UiTest;

TEST_F(UiEventsTest, ADialogRunOpensShowsHidesAndClosesWithEveryTypedCharacterBetween) {
    ViewLog view;
    script({focus(ref(kText)), type("ab"), click(ref(kPlain))});
    RecordingDialog dlg;
    dlg.onPlain = [](RecordingDialog& d) { d.EndDialog(IDOK); };
    dlg.DoModal();
    EXPECT_FALSE(failed()) << failure();
    EXPECT_EQ(view.of(0), (std::vector<std::string>{"opened", "shown", "hidden", "closed"}));
    // The data exchange writes "start"; typing over the selected text.
    EXPECT_EQ(view.of(kText), (std::vector<std::string>{"text start", "text a", "text ab"}));
    const auto& l = view.lines;
    const auto at = [&](const std::string& s) { return std::find(l.begin(), l.end(), s) - l.begin(); };
    EXPECT_LT(at("0 opened"), at("8000 text start")) << "views learn of the dialog before its initialisation";
    EXPECT_LT(at("8000 text ab"), at("0 hidden"));
}

TEST_F(UiEventsTest, EqualWritesFireNothingAndRealChangesFireOnce) {
    ViewLog view;
    script({click(ref(kPlain)), click(ref(kDynamic)), key("escape")});
    RecordingDialog dlg;
    dlg.onPlain = [](RecordingDialog& d) {
        CWnd* text = d.GetDlgItem(kText);
        text->SetWindowText("start");  // as it is
        text->EnableWindow(TRUE);
        text->ShowWindow(SW_SHOW);
        d.CheckDlgButton(kDynamic, 1);
        text->EnableWindow(FALSE);
        text->ModifyStyle(0, WS_DISABLED);
        text->ModifyStyle(WS_VISIBLE, 0);
        text->ShowWindow(SW_HIDE);
        d.GetDlgItem(kPlain)->SetWindowText("Plain");
        d.GetDlgItem(kPlain)->SetWindowText("Done");
    };
    dlg.DoModal();
    EXPECT_EQ(view.of(kText), (std::vector<std::string>{"text start", "disabled", "hidden"}));
    EXPECT_EQ(view.of(kPlain), (std::vector<std::string>{"text Done"}));
    EXPECT_EQ(view.of(kDynamic), (std::vector<std::string>{"check 1", "check 0"}))
        << "checked by the data exchange, then unchecked by the click; the equal CheckDlgButton fired nothing";
}

TEST_F(UiEventsTest, ComboSelectionFiresOncePerMoveAndEntriesOncePerChange) {
    ViewLog view;
    script({choose(ref(kHeight), "3.5"), choose(ref(kHeight), "3.5"), type("x"), key("escape")});
    RecordingDialog dlg;
    dlg.onInit = [](RecordingDialog& d) {
        auto* combo = static_cast<CComboBox*>(d.GetDlgItem(kHeight));
        for (const char* e : {"1", "2.5", "3.5"}) combo->AddString(e);  // in order, sorted or not
        combo->SetCurSel(1);
        combo->SetCurSel(1);           // as it is
        combo->InsertString(0, "0.5");  // the selected entry moves to 2
        combo->DeleteString(9);         // no such entry
    };
    dlg.DoModal();
    EXPECT_EQ(view.of(kHeight), (std::vector<std::string>{"entries", "entries", "entries", "text 2.5", "sel 1",
                                                           "entries", "sel 2", "text 3.5", "sel 3", "text x", "sel -1"}));
}

TEST_F(UiEventsTest, ListBoxSelectionAndResetFireOnce) {
    ViewLog view;
    script({click(ref(kPlain))});
    RecordingDialog dlg;
    dlg.onPlain = [](RecordingDialog& d) {
        CComboBox* combo = static_cast<CComboBox*>(d.GetDlgItem(kHeight));
        combo->AddString("7");
        combo->SetCurSel(0);
        combo->ResetContent();
        combo->ResetContent();  // already empty: the entries are reset again, nothing else changes
        d.EndDialog(IDOK);
    };
    dlg.DoModal();
    EXPECT_EQ(view.of(kHeight), (std::vector<std::string>{"entries", "text 7", "sel 0", "text ", "entries", "sel -1",
                                                           "entries"}));
}

TEST_F(UiEventsTest, MessageBoxesAreShownThenAnsweredAndDisconnectedViewsHearNothing) {
    ViewLog view;
    script({answer("no"), answer("ok"), click(ref(kPlain))});
    EXPECT_EQ(MessageBox(nullptr, "one", "c", MB_YESNO), IDNO);
    view.stop();
    MessageBox(nullptr, "two", "c", MB_OK);
    RecordingDialog dlg;
    dlg.onPlain = [](RecordingDialog& d) { d.EndDialog(IDOK); };
    dlg.DoModal();
    EXPECT_EQ(view.lines, (std::vector<std::string>{"box one", "box closed " + std::to_string(IDNO)}));
}

}  // namespace
}  // namespace kestrin::ui::test
