#include <type_traits>

#include "tests/platform/ui/UiTestSupport.h"

namespace kestrin::ui::test {
namespace {

// An edit that refuses every character outside its list, as a filtering
// field does; it gets the control through data exchange.
class DigitsOnlyEdit : public CEdit {
public:
    std::string accepted = "0123456789";
    int refused = 0;
    void OnChar(UINT ch, UINT repeat, UINT flags) override {
        if (ch != 8 && accepted.find(static_cast<char>(ch)) == std::string::npos) {
            ++refused;
            return;
        }
        CEdit::OnChar(ch, repeat, flags);
    }
};

class FilterDialog : public RecordingDialog {
public:
    DigitsOnlyEdit m_edit;
    void DoDataExchange(CDataExchange* dx) override {
        DDX_Control(dx, kText, m_edit);
        RecordingDialog::DoDataExchange(dx);
    }
};

class EditTyping : public UiTest {
protected:
    // Runs the test dialog over `actions`, then `check` while it is still open.
    template <class Dialog = RecordingDialog>
    void run(std::vector<Action> actions, std::type_identity_t<std::function<void(Dialog&, CEdit&)>> check) {
        actions.insert(actions.begin(), focus(ref(kText)));
        actions.push_back(click(ref(kPlain)));
        script(std::vector<kestrin::test::Step>(actions.begin(), actions.end()));
        Dialog dlg;
        dlg.onPlain = [&check](RecordingDialog& d) {
            check(static_cast<Dialog&>(d), *static_cast<CEdit*>(d.GetDlgItem(kText)));
            d.EndDialog(IDOK);
        };
        dlg.DoModal();
        EXPECT_FALSE(failed()) << failure();
    }
    static std::string text(CEdit& e) {
        std::string s;
        e.GetWindowText(s);
        return s;
    }
    static std::pair<int, int> sel(CEdit& e) {
        int s = 0, t = 0;
        e.GetSel(s, t);
        return {s, t};
    }
};

TEST_F(EditTyping, TypedTextReplacesTheSelectionAndUndoTakesTheWholeRunBack) {
    run({type("abc"), key("left"), type("X")}, [](RecordingDialog&, CEdit& e) {
        EXPECT_EQ(text(e), "abXc");
        EXPECT_TRUE(e.CanUndo());
        e.Undo();
        EXPECT_EQ(text(e), "abc") << "moving the caret started a new undo step";
        e.Undo();
        EXPECT_EQ(text(e), "abXc") << "one level: a second undo swaps back";
    });
}

TEST_F(EditTyping, ConsecutiveTypingIsOneUndoStep) {
    run({type("hello")}, [](RecordingDialog&, CEdit& e) {
        e.Undo();
        EXPECT_EQ(text(e), "start") << "the whole typed run goes, back to the text it replaced";
    });
}

TEST_F(EditTyping, EveryChangeRaisesChangeNotification) {
    std::vector<std::string> changes;
    run({type("ab"), key("backspace")}, [&changes](RecordingDialog& d, CEdit& e) {
        e.ReplaceSel("Z", TRUE);
        e.SetWindowText("set");
        for (const auto& l : d.log)
            if (l.rfind("EN_CHANGE", 0) == 0) changes.push_back(l);
    });
    EXPECT_EQ(changes, (std::vector<std::string>{"EN_CHANGE start", "EN_CHANGE a", "EN_CHANGE ab", "EN_CHANGE a",
                                                 "EN_CHANGE aZ", "EN_CHANGE set"}));
}

TEST_F(EditTyping, ReplaceSelWithoutUndoEmptiesTheUndoBuffer) {
    run({type("abc")}, [](RecordingDialog&, CEdit& e) {
        e.SetSel(0, 1);
        e.ReplaceSel("Q", FALSE);
        EXPECT_EQ(text(e), "Qbc");
        EXPECT_FALSE(e.CanUndo());
        EXPECT_FALSE(e.Undo());
        EXPECT_EQ(text(e), "Qbc");
        e.SetSel(1, 3);
        e.ReplaceSel("!", TRUE);
        EXPECT_EQ(text(e), "Q!");
        EXPECT_TRUE(e.Undo());
        EXPECT_EQ(text(e), "Qbc");
        EXPECT_EQ(sel(e), std::make_pair(1, 3)) << "undo restores the selection the change replaced";
    });
}

TEST_F(EditTyping, ShiftedKeysExtendTheSelectionFromTheAnchor) {
    run({type("abcdef"), key("left"), key("left"), key("left", true), key("left", true), key("home", true)},
        [](RecordingDialog&, CEdit& e) { EXPECT_EQ(sel(e), std::make_pair(0, 4)); });
    run({type("abcdef"), key("home"), key("right", true), key("right", true), key("end", true), key("left")},
        [](RecordingDialog&, CEdit& e) {
            EXPECT_EQ(sel(e), std::make_pair(0, 0)) << "left collapses a selection to its start";
        });
}

TEST_F(EditTyping, DeleteAndBackspaceAtTheEdgesAndOverASelection) {
    run({type("abcd"), key("delete"), key("home"), key("backspace"), key("delete"), select(ref(kText), 1, 3),
         key("delete")},
        [](RecordingDialog&, CEdit& e) {
            EXPECT_EQ(text(e), "b");
            EXPECT_EQ(sel(e), std::make_pair(1, 1));
        });
}

TEST_F(EditTyping, CutCopyPasteGoThroughTheClipboard) {
    run({type("Привет"_cp), select(ref(kText), 0, 3)}, [](RecordingDialog&, CEdit& e) {
        e.Copy();
        EXPECT_EQ(clipboard::text(), std::optional<std::string>("При"_cp));
        e.SetSel(3, 6);
        e.Cut();
        EXPECT_EQ(text(e), "При"_cp);
        EXPECT_EQ(clipboard::text(), std::optional<std::string>("вет"_cp));
        e.SetSel(0, 0);
        e.Paste();
        EXPECT_EQ(text(e), "ветПри"_cp);
        EXPECT_TRUE(e.Undo());
        EXPECT_EQ(text(e), "При"_cp);
    });
}

TEST_F(EditTyping, CtrlKeysAreTheEditsOwnSelectAllCopyCutPasteAndUndo) {
    clipboard::setText("old");
    run({type("Привет"_cp), key("ctrl+a"), key("ctrl+c"), key("end"), key("ctrl+v")}, [](RecordingDialog&, CEdit& e) {
        EXPECT_EQ(clipboard::text(), std::optional<std::string>("Привет"_cp));
        EXPECT_EQ(text(e), "ПриветПривет"_cp);
    });
    run({type("abc"), select(ref(kText), 0, 2), key("ctrl+x"), key("ctrl+z")}, [](RecordingDialog&, CEdit& e) {
        EXPECT_EQ(clipboard::text(), std::optional<std::string>("ab"));
        EXPECT_EQ(text(e), "abc") << "undo brings the cut text back";
    });
    // A field that filters its characters sees them first, as it would see
    // the keyboard's control characters.
    run<FilterDialog>({type("12"), key("ctrl+a"), key("ctrl+x")}, [](FilterDialog& d, CEdit& e) {
        EXPECT_EQ(text(e), "12");
        EXPECT_EQ(d.m_edit.refused, 2);
    });
}

TEST_F(EditTyping, CtrlKeysWithTheFocusOnAButtonAreRejected) {
    script({click(ref(kPlain)), key("ctrl+v")});
    RecordingDialog dlg;
    dlg.DoModal();
    EXPECT_NE(failure().find("ctrl+v goes to an edit field"), std::string::npos) << failure();
}

TEST_F(EditTyping, PasteIntoASingleLineFieldStopsAtTheLineBreak) {
    clipboard::setText("one\r\ntwo");
    run({}, [](RecordingDialog&, CEdit& e) {
        e.SetSel(0, -1);
        e.Paste();
        EXPECT_EQ(text(e), "one");
    });
}

TEST_F(EditTyping, SubclassedFieldDropsRefusedCharactersBeforeTheyArrive) {
    run<FilterDialog>({type("1a-2"), key("backspace"), type("3")}, [](FilterDialog& d, CEdit& e) {
        EXPECT_EQ(text(e), "13");
        EXPECT_EQ(d.m_edit.refused, 2);
        EXPECT_EQ(CWnd::FromHandle(e.m_hWnd), &d.m_edit) << "the member object handles the control";
    });
}

TEST_F(EditTyping, SelectOutsideTheTextIsRejectedNamingTheControl) {
    script({focus(ref(kText)), select(ref(kText), 2, 9, 4)});
    RecordingDialog dlg;
    dlg.DoModal();
    EXPECT_EQ(failure(), "test:4: select: 2..9 lies outside the text of edit 8000 (5 characters)");
}

TEST_F(EditTyping, TypingWithTheFocusOnAButtonIsRejected) {
    script({click(ref(kPlain)), type("x", 9)});
    RecordingDialog dlg;
    dlg.DoModal();
    EXPECT_EQ(failure(), "test:9: type: the focus is on button 8030 (\"Plain\"), which takes no text");
}

using MultiLineEnter = UiTest;

TEST_F(MultiLineEnter, WithoutWantReturnEnterPressesTheDefaultButton) {
    script({focus(ref(kLine)), type("a\nb"), key("escape")});
    RecordingDialog dlg;
    dlg.DoModal();
    const auto newLines = std::count(dlg.log.begin(), dlg.log.end(), "new line");
    EXPECT_EQ(newLines, 1);
    std::string text;
    EXPECT_NE(std::find(dlg.log.begin(), dlg.log.end(), "EN_CHANGE line"), dlg.log.end());
}

TEST_F(MultiLineEnter, TheDefaultButtonSetByProgramWins) {
    script({focus(ref(kLine)), key("enter"), key("escape")});
    RecordingDialog dlg;
    dlg.onInit = [](RecordingDialog& d) { d.SetDefID(kPlain); };
    dlg.DoModal();
    EXPECT_EQ(std::count(dlg.log.begin(), dlg.log.end(), "plain"), 1);
    EXPECT_EQ(std::count(dlg.log.begin(), dlg.log.end(), "new line"), 0);
}

TEST_F(MultiLineEnter, WithWantReturnEnterBreaksTheLine) {
    script({focus(ref(kLine)), type("a\nb"), click(ref(kPlain))});
    RecordingDialog dlg;
    dlg.onInit = [](RecordingDialog& d) { d.GetDlgItem(kLine)->ModifyStyle(0, ES_WANTRETURN); };
    dlg.onPlain = [](RecordingDialog& d) {
        std::string text;
        d.GetDlgItem(kLine)->GetWindowText(text);
        EXPECT_EQ(text, "a\r\nb");
        d.EndDialog(IDOK);
    };
    dlg.DoModal();
    EXPECT_EQ(std::count(dlg.log.begin(), dlg.log.end(), "new line"), 0);
}

}  // namespace
}  // namespace kestrin::ui::test
