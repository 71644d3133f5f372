#include "setup/ChooseDir.h"

#include "base/TextCase.h"
#include "platform/fs/FileSystem.h"
#include "setup/SetupIds.h"
#include "tests/setup/SetupTestSupport.h"

namespace kestrin::setup::test {
namespace {

using kestrin::test::Step;

class ChooseDirTest : public SetupTest {
protected:
    CSetupApp app_;  // names the program in the message boxes
    void SetUp() override {
        SetupTest::SetUp();
        makeFolder("Program Files/Zor/beta");
        makeFolder("Program Files/Zor/Alpha");
        makeFolder("Program Files/Zor/Delta/Inner");
        writeBytes(drive_ + "/Program Files/Zor/gamma.txt", "a file, not a folder");
        makeFolder("Data");
    }
    // Runs the chooser over the steps; answers its result.
    INT_PTR run(CChooseDir& chooser, std::vector<Step> steps) {
        script(std::move(steps));
        const INT_PTR result = chooser.DoModal();
        EXPECT_FALSE(failed()) << failure();
        return result;
    }
    std::function<void()> items(CChooseDir& chooser, std::vector<std::string> expected) {
        return [&chooser, expected] {
            auto* list = static_cast<CListBox*>(chooser.GetDlgItem(IDC_DIR_LIST));
            std::vector<std::string> shown;
            for (int i = 0; i < list->GetCount(); ++i) {
                std::string text;
                list->GetText(i, text);
                shown.push_back(text);
            }
            EXPECT_EQ(shown, expected);
        };
    }
};

TEST_F(ChooseDirTest, ListsTheRootTheFoldersDownAndTheSubfoldersSortedWithoutRegardToCase) {
    CChooseDir chooser("C:\\program files\\ZOR");
    EXPECT_EQ(run(chooser, {items(chooser, {"c:\\", "Program Files", "Zor", "Alpha", "beta", "Delta"}),
                            "expect text 1002 \"C:\\\\PROGRAM FILES\\\\ZOR\"",
                            "expect focus 1121",
                            "expect hidden 1152",
                            "expect text 1152 \"Junk\"",
                            "expect hidden 1120",
                            "expect hidden 1136",
                            "expect hidden 1040",
                            "expect disabled 1038",
                            "choose 1121 \"Program Files\"",
                            "expect text 1002 \"c:\\\\Program Files\"",
                            "click 2"}),
              IDCANCEL);
    auto* drives = static_cast<CComboBox*>(chooser.GetDlgItem(IDC_DRIVES));
    EXPECT_EQ(drives, nullptr);  // the dialog is gone once it ended
}

TEST_F(ChooseDirTest, ASubfolderIsComposedBelowTheCurrentFolderNotBelowItsSiblings) {
    CChooseDir chooser("C:\\Program Files\\Zor");
    EXPECT_EQ(run(chooser, {"choose 1121 \"Delta\"", "expect text 1002 \"c:\\\\Program Files\\\\Zor\\\\Delta\"",
                            "click 1"}),
              IDOK);
    EXPECT_EQ(chooser.GetDirectory(), "c:\\Program Files\\Zor\\Delta");
    EXPECT_EQ(chooser.GetPathName(), "c:\\Program Files\\Zor\\Delta\\Junk");
    EXPECT_EQ(chooser.GetFileOffset(), static_cast<int>(std::string("c:\\Program Files\\Zor\\Delta").size()) + 1);

    // At the root, a subfolder follows the root's separator directly.
    CChooseDir atRoot("C:\\");
    EXPECT_EQ(run(atRoot, {items(atRoot, {"c:\\", "Data", "Program Files"}), "choose 1121 \"Program Files\"",
                           "expect text 1002 \"c:\\\\Program Files\"", "click 2"}),
              IDCANCEL);
}

TEST_F(ChooseDirTest, DoubleClickOpensASubfolderAndAFolderAbove) {
    CChooseDir chooser("C:\\Program Files\\Zor");
    EXPECT_EQ(run(chooser, {"dblclick 1121 \"Delta\"",
                            items(chooser, {"c:\\", "Program Files", "Zor", "Delta", "Inner"}),
                            "expect text 1002 \"c:\\\\Program Files\\\\Zor\\\\Delta\"",
                            "dblclick 1121 \"Program Files\"",
                            items(chooser, {"c:\\", "Program Files", "Zor"}),
                            "expect text 1002 \"c:\\\\Program Files\"",
                            "dblclick 1121 \"c:\\\\\"",
                            items(chooser, {"c:\\", "Data", "Program Files"}),
                            "click 1"}),
              IDOK);
    EXPECT_EQ(chooser.GetDirectory(), "c:\\");  // the root keeps its separator
}

TEST_F(ChooseDirTest, DoubleClickTakesOnlyListBoxEntriesThatAreThere) {
    CChooseDir chooser("C:\\Program Files\\Zor");
    script({"dblclick 1121 \"Nowhere\""});
    EXPECT_EQ(chooser.DoModal(), IDCANCEL);
    EXPECT_NE(failure().find("list box 1121 has no entry \"Nowhere\""), std::string::npos) << failure();
    session::Session::instance().reset();
    CChooseDir again("C:\\Program Files\\Zor");
    script({"dblclick 1137 \"c:\""});
    EXPECT_EQ(again.DoModal(), IDCANCEL);
    EXPECT_NE(failure().find("is not a list box"), std::string::npos) << failure();
}

TEST_F(ChooseDirTest, StartsAtTheNearestFolderOfTheProposedPathThatExists) {
    CChooseDir chooser("C:\\Program Files\\Zor\\Not yet\\made");
    EXPECT_EQ(run(chooser, {[&chooser] {
                                std::string shown;
                                chooser.GetDlgItemText(IDC_DIR_PATH, shown);
                                EXPECT_EQ(shown, "C:\\PROGRAM FILES\\ZOR");
                            },
                            "click 2"}),
              IDCANCEL);
}

TEST_F(ChooseDirTest, StartsInTheCurrentDirectoryWhenNoPartOfTheInitialOneExists) {
    auto cwd = fs::FileSystem::current().currentWindowsDirectory();
    ASSERT_TRUE(cwd);
    CChooseDir chooser("Q:\\No\\Such\\Folder");  // no drive Q
    const std::string expected = upperCase(*cwd);
    EXPECT_EQ(run(chooser, {[&chooser, expected] {
                                std::string shown;
                                chooser.GetDlgItemText(IDC_DIR_PATH, shown);
                                EXPECT_EQ(shown, expected);
                            },
                            "click 2"}),
              IDCANCEL);
}

TEST_F(ChooseDirTest, TheDriveListHoldsTheMappedDrivesAndOpensTheChosenRoot) {
    CChooseDir chooser("C:\\Program Files");
    EXPECT_EQ(run(chooser, {[&chooser] {
                                auto* drives = static_cast<CComboBox*>(chooser.GetDlgItem(IDC_DRIVES));
                                ASSERT_EQ(drives->GetCount(), 2);
                                std::string first, second;
                                drives->GetLBText(0, first);
                                drives->GetLBText(1, second);
                                EXPECT_EQ(first, "c:");
                                EXPECT_EQ(second, "z:");
                                EXPECT_EQ(drives->GetCurSel(), 0);
                            },
                            "choose 1137 \"z:\"", "expect text 1002 \"z:\\\\\"", "choose 1137 \"c:\"",
                            items(chooser, {"c:\\", "Data", "Program Files"}), "click 2"}),
              IDCANCEL);
}

TEST_F(ChooseDirTest, FirstPaintSelectsTheRootWithoutTouchingThePath) {
    CChooseDir chooser("C:\\Program Files\\Zor");
    EXPECT_EQ(run(chooser, {[&chooser] {
                                auto* list = static_cast<CListBox*>(chooser.GetDlgItem(IDC_DIR_LIST));
                                EXPECT_EQ(list->GetCurSel(), 2);
                                chooser.SendMessage(WM_PAINT);
                                EXPECT_EQ(list->GetCurSel(), 0);
                                list->SetCurSel(1);
                                chooser.SendMessage(WM_PAINT);  // only the first paint
                                EXPECT_EQ(list->GetCurSel(), 1);
                            },
                            "expect text 1002 \"C:\\\\PROGRAM FILES\\\\ZOR\"", "click 2"}),
              IDCANCEL);
}

TEST_F(ChooseDirTest, RefusesInvalidCharactersAndOverlongNamesBeforeLookingAtTheDisk) {
    CChooseDir chooser("C:\\Data");
    // As typed in a script line: "C:\\" stands for C:\.
    const std::string longName = "C:\\\\" + std::string(252, 'x');  // + "\Junk" makes 260 characters
    const std::string fits = "C:\\\\" + std::string(251, 'y');      // 259
    EXPECT_EQ(run(chooser, {"focus 1002", "type \"C:\\\\Data/New\"", "answer ok", "click 1",
                            "expect message \"C:\\\\Data/New is not a valid pathname.\"",
                            "focus 1002", "type \"C:\\\\a<b\"", "answer ok", "click 1",
                            "focus 1002", "type \"" + longName + "\"", "answer ok", "click 1",
                            "expect message \"" + longName +
                                " is too long a pathname.\\nA full name holds at most 259 characters.\"",
                            "focus 1002", "type \"" + fits + "\"", "answer yes", "click 1"}),
              IDOK);
    EXPECT_EQ(boxes().size(), 4u);
    EXPECT_FALSE(folderExists(std::string(252, 'x')));
    EXPECT_TRUE(folderExists(std::string(251, 'y')));
    EXPECT_EQ(chooser.GetPathName().size(), 259u);
}

TEST_F(ChooseDirTest, AMissingDirectoryIsCreatedOnYesOneLevelOnly) {
    CChooseDir chooser("C:\\Data");
    EXPECT_EQ(run(chooser, {"focus 1002", "type \"C:\\\\Data\\\\New\"", "answer no", "click 1",
                            "expect message \"Directory C:\\\\Data\\\\New does not exist.\\nCreate this directory?\"",
                            [this] { EXPECT_FALSE(folderExists("Data/New")); },
                            "focus 1002", "type \"C:\\\\Missing\\\\Deeper\"", "answer yes", "answer ok", "click 1",
                            "expect message \"There was a problem creating C:\\\\Missing\\\\Deeper.\\nThe new "
                            "directory was not created.\"",
                            [this] { EXPECT_FALSE(folderExists("Missing")); },
                            "focus 1002", "type \"C:\\\\Data\\\\New\"", "answer yes", "click 1"}),
              IDOK);
    EXPECT_TRUE(folderExists("Data/New"));
    EXPECT_EQ(chooser.GetDirectory(), "C:\\Data\\New");
    const auto shown = boxes();
    ASSERT_EQ(shown.size(), 4u);
    EXPECT_EQ(shown[0].rfind("[Plantor] ", 0), 0u) << shown[0];
}

TEST_F(ChooseDirTest, AnEmptyPathIsAskedAboutAndTheAcceptedPathBecomesTheCurrentFolder) {
    CChooseDir chooser("C:\\Data");
    EXPECT_EQ(run(chooser, {"focus 1002", "key home", "key shift+end", "key delete", "answer yes", "answer ok",
                            "click 1", "expect message \"There was a problem creating .\\nThe new directory was "
                                       "not created.\"",
                            "focus 1002", "type \"C:\\\\Program Files\\\\Zor\"", "click 1"}),
              IDOK);
    const auto shown = boxes();
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[0], "[Plantor] Directory  does not exist.\nCreate this directory? (none, yes/no) -> yes");
    EXPECT_EQ(stdfs::current_path(), stdfs::canonical(drive_ + "/Program Files/Zor"));
}

}  // namespace
}  // namespace kestrin::setup::test
