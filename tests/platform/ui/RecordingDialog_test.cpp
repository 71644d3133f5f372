// The message table of the recording dialog used by the other tests, and
// the checks of its dispatch.
#include "tests/platform/ui/UiTestSupport.h"

namespace kestrin::ui::test {

BEGIN_MESSAGE_MAP(RecordingDialog, CDialog)
    ON_EN_CHANGE(kText, OnTextChange)
    ON_EN_CHANGE(kLine, OnLineChange)
    ON_CBN_SELENDOK(kHeight, OnHeightEndOk)
    ON_CBN_SELCHANGE(kHeight, OnHeightSelChange)
    ON_CBN_EDITCHANGE(kHeight, OnHeightEdit)
    ON_CONTROL_RANGE(BN_CLICKED, kLeft, kRight, OnJustify)
    ON_BN_CLICKED(kDynamic, OnDynamic)
    ON_STN_CLICKED(kLanguage, OnLanguage)
    ON_BN_CLICKED(kNewLine, OnNewLine)
    ON_BN_CLICKED(kPlain, OnPlain)
    ON_WM_SYSCOMMAND()
    ON_WM_SHOWWINDOW()
    ON_WM_CLOSE()
END_MESSAGE_MAP()

namespace {

// A base dialog with handlers of its own, and a derived one that adds some
// and overrides one: lookups go derived first, then along the chain.
class BaseDialog : public CDialog {
public:
    BaseDialog() : CDialog(kTestDialog) {}
    std::vector<std::string> log;
    void OnPlainInBase() { log.push_back("base plain"); }
    void OnNewLineInBase() { log.push_back("base new line"); }

protected:
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(BaseDialog, CDialog)
    ON_BN_CLICKED(kPlain, OnPlainInBase)
    ON_BN_CLICKED(kNewLine, OnNewLineInBase)
END_MESSAGE_MAP()

class DerivedDialog : public BaseDialog {
public:
    void OnNewLineInDerived() { log.push_back("derived new line"); }
    void OnRange(UINT id) { log.push_back("range " + std::to_string(id)); }

protected:
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(DerivedDialog, BaseDialog)
    ON_BN_CLICKED(kNewLine, OnNewLineInDerived)
    ON_CONTROL_RANGE(BN_CLICKED, kLeft, kCenter, OnRange)
END_MESSAGE_MAP()

// A static that handles its own click (reflection): its dialog does not see it.
class ReflectingStatic : public CStatic {
public:
    int clicks = 0;
    void OnClicked() { ++clicks; }

protected:
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(ReflectingStatic, CStatic)
    ON_CONTROL_REFLECT(STN_CLICKED, OnClicked)
END_MESSAGE_MAP()

using MessageTables = UiTest;

TEST_F(MessageTables, DerivedEntriesComeFirstAndBaseEntriesStillApply) {
    script({click(ref(kNewLine)), click(ref(kPlain)), click(ref(kCenter)), click(ref(kRight)), key("escape")});
    DerivedDialog dlg;
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    // kRight lies outside the range entry and nobody handles it.
    EXPECT_EQ(dlg.log, (std::vector<std::string>{"derived new line", "base plain", "range 8022"}));
    EXPECT_FALSE(failed()) << failure();
}

TEST_F(MessageTables, RangeEntryPassesTheControlId) {
    script({click(ref(kLeft)), click(ref(kRight)), key("escape")});
    RecordingDialog dlg;
    dlg.DoModal();
    const std::vector<std::string> want = {"justify 8021", "justify 8023"};
    std::vector<std::string> got;
    for (const auto& e : dlg.log)
        if (e.rfind("justify", 0) == 0) got.push_back(e);
    EXPECT_EQ(got, want);
}

TEST_F(MessageTables, ReflectedNotificationStaysWithTheControl) {
    class Dlg : public RecordingDialog {
    public:
        ReflectingStatic link;
        void DoDataExchange(CDataExchange* dx) override {
            RecordingDialog::DoDataExchange(dx);
            DDX_Control(dx, kLanguage, link);
        }
    };
    script({click(ref(kLanguage)), click(ref(kLanguage)), key("escape")});
    Dlg dlg;
    dlg.DoModal();
    EXPECT_EQ(dlg.link.clicks, 2);
    EXPECT_EQ(std::count(dlg.log.begin(), dlg.log.end(), "STN_CLICKED"), 0);
    EXPECT_EQ(dlg.link.m_hWnd, nullptr) << "the bound control is released when the dialog ends";
}

}  // namespace
}  // namespace kestrin::ui::test
