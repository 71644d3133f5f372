#include "tests/platform/ui/UiTestSupport.h"

namespace kestrin::ui::test {
namespace {

class NumberDialog : public RecordingDialog {
public:
    int m_nCount = 12;
    std::string m_strHeight = "2.5";
    CComboBox m_height;
    void DoDataExchange(CDataExchange* dx) override {
        DDX_Control(dx, kHeight, m_height);
        RecordingDialog::DoDataExchange(dx);
        DDX_Text(dx, kLine, m_nCount);
        DDX_CBString(dx, kHeight, m_strHeight);
    }
};

using DataExchange = UiTest;

TEST_F(DataExchange, ReadsControlsIntoMembersAndWritesMembersIntoControls) {
    script({focus(ref(kText)), type("typed"), click(ref(kDynamic)), choose(ref(kHeight), "5"), click(ref(kPlain))});
    NumberDialog dlg;
    dlg.onInit = [](RecordingDialog& d) { static_cast<NumberDialog&>(d).m_height.AddString("5"); };
    dlg.onPlain = [](RecordingDialog& base) {
        auto& d = static_cast<NumberDialog&>(base);
        ASSERT_TRUE(d.UpdateData(TRUE));
        EXPECT_EQ(d.m_strText, "typed");
        EXPECT_EQ(d.m_nDynamic, 0);
        EXPECT_EQ(d.m_strHeight, "5");
        EXPECT_EQ(d.m_nCount, 12);
        d.m_strText = "written";
        d.m_nCount = -3;
        ASSERT_TRUE(d.UpdateData(FALSE));
        std::string text;
        d.GetDlgItem(kText)->GetWindowText(text);
        EXPECT_EQ(text, "written");
        d.GetDlgItem(kLine)->GetWindowText(text);
        EXPECT_EQ(text, "-3");
        d.EndDialog(IDOK);
    };
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_FALSE(failed()) << failure();
}

TEST_F(DataExchange, WritingAnEqualValueChangesNothingAndRaisesNothing) {
    script({focus(ref(kText)), type("abc"), click(ref(kPlain))});
    RecordingDialog dlg;
    dlg.onPlain = [](RecordingDialog& d) {
        d.UpdateData(TRUE);
        const auto before = d.log.size();
        auto* edit = static_cast<CEdit*>(d.GetDlgItem(kText));
        ASSERT_TRUE(edit->CanUndo());
        d.UpdateData(FALSE);
        EXPECT_EQ(d.log.size(), before) << "no change notification";
        EXPECT_TRUE(edit->CanUndo()) << "the undo step of the typing survives";
        EXPECT_TRUE(edit->Undo());
        d.EndDialog(IDOK);
    };
    dlg.DoModal();
}

TEST_F(DataExchange, OkReadsTheControlsBeforeEnding) {
    script({focus(ref(kText)), type("kept"), key("tab", true), key("tab"), type("!"), click(ref(kPlain))});
    RecordingDialog dlg;
    dlg.onPlain = [](RecordingDialog& d) { d.OnOK(); };
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(dlg.m_strText, "!") << "tab back and forth selects the whole field";
}

TEST_F(DataExchange, AWrongNumberShowsTheMessageAndKeepsTheDialogOpen) {
    script({focus(ref(kLine)), type("12a"), click(ref(kPlain)), answer("ok"), key("escape")});
    NumberDialog dlg;
    std::vector<BOOL> results;
    dlg.onPlain = [&results](RecordingDialog& d) { results.push_back(d.UpdateData(TRUE)); };
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_EQ(results, std::vector<BOOL>{FALSE});
    EXPECT_EQ(lastMessageBoxText(), "Please enter an integer.");
    EXPECT_EQ(CWnd::GetFocus(), nullptr) << "the dialog is gone";
    EXPECT_FALSE(failed()) << failure();
}

TEST_F(DataExchange, AMissingControlFailsTheSessionNamingTheDialogAndId) {
    class Broken : public RecordingDialog {
    public:
        std::string value;
        void DoDataExchange(CDataExchange* dx) override { DDX_Text(dx, 9999, value); }
    };
    script({key("escape")});
    Broken dlg;
    dlg.DoModal();
    EXPECT_EQ(failure(), "data exchange of dialog 100: there is no control 9999");
}

TEST_F(DataExchange, BindingAnObjectOfTheWrongKindIsRefused) {
    class Broken : public RecordingDialog {
    public:
        CEdit edit;
        void DoDataExchange(CDataExchange* dx) override { DDX_Control(dx, kPlain, edit); }
    };
    script({key("escape")});
    Broken dlg;
    dlg.DoModal();
    EXPECT_EQ(failure(), "data exchange of dialog 100: control 8030 is a button, which the object bound to it cannot handle");
    EXPECT_EQ(dlg.edit.m_hWnd, nullptr);
}

}  // namespace
}  // namespace kestrin::ui::test
