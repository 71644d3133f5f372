#include "tests/platform/ui/UiTestSupport.h"

namespace kestrin::ui::test {
namespace {

class ComboBoxes : public UiTest {
protected:
    // The height list as a program fills it, in an order the sorting must fix.
    static void fill(RecordingDialog& d) {
        auto* combo = static_cast<CComboBox*>(d.GetDlgItem(kHeight));
        for (const char* e : {"7", "2.5", "1.8", "5", "3.5"}) combo->AddString(e);
    }
    static std::vector<std::string> notifications(const RecordingDialog& d) {
        std::vector<std::string> out;
        for (const auto& l : d.log)
            if (l.rfind("CBN_", 0) == 0) out.push_back(l);
        return out;
    }
};

TEST_F(ComboBoxes, ChoosingPutsTheEntryIntoTheFieldThenEndsWithOkThenSelectionChange) {
    script({choose(ref(kHeight), "3.5"), expect("text", ref(kHeight), "3.5"), key("escape")});
    RecordingDialog dlg;
    dlg.onInit = fill;
    dlg.DoModal();
    EXPECT_FALSE(failed()) << failure();
    EXPECT_EQ(notifications(dlg), (std::vector<std::string>{"CBN_SELENDOK 3.5", "CBN_SELCHANGE"}));
}

TEST_F(ComboBoxes, TypingRaisesEditChangeAndForgetsTheChosenEntry) {
    script({choose(ref(kHeight), "5"), type("1,5"), click(ref(kPlain))});
    RecordingDialog dlg;
    dlg.onInit = fill;
    dlg.onPlain = [](RecordingDialog& d) {
        auto* combo = static_cast<CComboBox*>(d.GetDlgItem(kHeight));
        std::string text;
        combo->GetWindowText(text);
        EXPECT_EQ(text, "1,5") << "the chosen entry was selected, so typing replaced it";
        EXPECT_EQ(combo->GetCurSel(), CB_ERR);
        d.EndDialog(IDOK);
    };
    dlg.DoModal();
    EXPECT_EQ(notifications(dlg), (std::vector<std::string>{"CBN_SELENDOK 5", "CBN_SELCHANGE", "CBN_EDITCHANGE",
                                                             "CBN_EDITCHANGE", "CBN_EDITCHANGE"}));
}

TEST_F(ComboBoxes, TextSetByTheProgramRaisesNoEditChange) {
    script({click(ref(kPlain))});
    RecordingDialog dlg;
    dlg.onPlain = [](RecordingDialog& d) {
        auto* combo = static_cast<CComboBox*>(d.GetDlgItem(kHeight));
        combo->SetWindowText("12");
        fill(d);
        combo->SetCurSel(combo->FindStringExact(-1, "2.5"));
        d.EndDialog(IDOK);
    };
    dlg.DoModal();
    EXPECT_TRUE(notifications(dlg).empty());
}

TEST_F(ComboBoxes, SortedListIgnoresLetterCase) {
    script({click(ref(kPlain))});
    RecordingDialog dlg;
    dlg.onPlain = [](RecordingDialog& d) {
        auto* combo = static_cast<CComboBox*>(d.GetDlgItem(kHeight));
        for (const char* e : {"zor", "Standard", "ZOR2", "arial", "Ёлка"_cp, "ель"_cp, "Дом"_cp}) combo->AddString(e);
        std::vector<std::string> entries;
        for (int i = 0; i < combo->GetCount(); ++i) {
            std::string e;
            combo->GetLBText(i, e);
            entries.push_back(e);
        }
        EXPECT_EQ(entries,
                  (std::vector<std::string>{"arial", "Standard", "zor", "ZOR2", "Дом"_cp, "ель"_cp, "Ёлка"_cp}));
        EXPECT_EQ(combo->FindStringExact(-1, "STANDARD"), 1);
        EXPECT_EQ(combo->FindStringExact(-1, "zo"), CB_ERR);
        EXPECT_EQ(combo->FindString(-1, "zo"), 2);
        d.EndDialog(IDOK);
    };
    dlg.DoModal();
}

// The letters of the other Cyrillic alphabets fold as the drawing folds style
// names, so two cases of one name sit side by side and are found as one.
TEST_F(ComboBoxes, SortedListFoldsEveryCyrillicLetterAsStyleNamesDo) {
    script({click(ref(kPlain))});
    RecordingDialog dlg;
    dlg.onPlain = [](RecordingDialog& d) {
        auto* combo = static_cast<CComboBox*>(d.GetDlgItem(kHeight));
        for (const char* e : {"Їжак"_cp, "Ірис"_cp, "їжа"_cp, "євро"_cp, "ЄВРОПА"_cp, "Ўзор"_cp, "ўзор"_cp}) combo->AddString(e);
        std::vector<std::string> entries;
        for (int i = 0; i < combo->GetCount(); ++i) {
            std::string e;
            combo->GetLBText(i, e);
            entries.push_back(e);
        }
        EXPECT_EQ(entries, (std::vector<std::string>{"Ўзор"_cp, "ўзор"_cp, "Ірис"_cp, "євро"_cp, "ЄВРОПА"_cp, "їжа"_cp,
                                                     "Їжак"_cp}));
        EXPECT_EQ(combo->FindStringExact(-1, "ЇЖАК"_cp), 6);
        EXPECT_EQ(combo->FindStringExact(-1, "ірис"_cp), 2);
        d.EndDialog(IDOK);
    };
    dlg.DoModal();
}

TEST_F(ComboBoxes, UnsortedListKeepsTheOrderOfAdding) {
    script({click(ref(kPlain))});
    RecordingDialog dlg;
    dlg.onPlain = [](RecordingDialog& d) {
        auto* combo = static_cast<CComboBox*>(d.GetDlgItem(kHeight));
        combo->ModifyStyle(CBS_SORT, 0);
        combo->AddString("b");
        combo->AddString("a");
        std::string first;
        combo->GetLBText(0, first);
        EXPECT_EQ(first, "b");
        d.EndDialog(IDOK);
    };
    dlg.DoModal();
}

TEST_F(ComboBoxes, ChoosingAMissingEntryNamesTheEntriesThatExist) {
    script({choose(ref(kHeight), "9", 6)});
    RecordingDialog dlg;
    dlg.onInit = fill;
    dlg.DoModal();
    EXPECT_EQ(failure(),
              "test:6: choose: combo box 8003 has no entry \"9\" (entries: \"1.8\", \"2.5\", \"3.5\", \"5\", \"7\")");
}

TEST_F(ComboBoxes, ChoosingOnAButtonIsRejected) {
    script({choose(ref(kPlain), "x", 2)});
    RecordingDialog dlg;
    dlg.DoModal();
    EXPECT_EQ(failure(), "test:2: choose: button 8030 (\"Plain\") is not a combo box or list box");
}

}  // namespace
}  // namespace kestrin::ui::test

namespace kestrin::ui::test {
namespace {

class ListDialog : public CDialog {
public:
    ListDialog() : CDialog(kNestedDialog) {}
    std::vector<std::string> chosen;
    void OnListChange() {
        auto* list = static_cast<CListBox*>(GetDlgItem(kList));
        std::string text;
        list->GetText(list->GetCurSel(), text);
        chosen.push_back(text);
    }
    BOOL OnInitDialog() override {
        CDialog::OnInitDialog();
        auto* list = static_cast<CListBox*>(GetDlgItem(kList));
        for (const char* e : {"c:\\", "Work", "data"}) list->AddString(e);
        list->SetCurSel(0);  // the program's selection raises nothing
        return TRUE;
    }

protected:
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(ListDialog, CDialog)
    ON_LBN_SELCHANGE(kList, OnListChange)
END_MESSAGE_MAP()

using ListBoxes = UiTest;

TEST_F(ListBoxes, ChoosingAnEntryRaisesSelectionChange) {
    script({choose(ref(kList), "work"), choose(ref(kList), "data"), key("enter")});
    ListDialog dlg;
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(dlg.chosen, (std::vector<std::string>{"Work", "data"})) << "the exact text wins, then any letter case";
    EXPECT_FALSE(failed()) << failure();
}

}  // namespace
}  // namespace kestrin::ui::test
