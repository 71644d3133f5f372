#include "setup/SetupDlg.h"

#include <algorithm>

#include "platform/fs/MemoryFileSystem.h"
#include "setup/SetupIds.h"
#include "tests/setup/SetupTestSupport.h"

namespace kestrin::setup::test {
namespace {

using namespace kestrin::literals;
using kestrin::test::Step;

const std::string kProfiles = "Software\\Autodesk\\AutoCAD\\R15.0\\ACAD-1:409\\Profiles\\";
const std::string kServer =
    "[HKEY_CLASSES_ROOT\\AutoCAD.Drawing.15\\protocol\\StdFileEditing\\server]\n@=\"C:\\\\ACAD2000\\\\acad.exe\"\n\n";

std::string key(const std::string& profile, const std::string& sub) {
    return "[HKEY_CURRENT_USER\\" + kProfiles + profile + "\\" + sub + "]\n";
}

class SetupDlgTest : public SetupTest {
protected:
    CSetupApp app_;

    void SetUp() override {
        SetupTest::SetUp();
        source_ = dir_ + "/source";
        for (const InstalledFile& f : kInstalledFiles) writeBytes(source_ + "/" + f.name, std::string("bytes of ") + f.name);
        progressAtBox_ = ui::uiEvents().messageBoxShown.connectScoped(
            [this](HWND, const std::string& text, const std::string&, UINT) {
                if (dialog_) progressAtBoxes_.emplace_back(text, dialog_->m_progress.GetPos());
            });
    }
    // The source folder as the dialog names it (drive Z: is /).
    std::string sourceWindows() const {
        std::string out = "Z:";
        for (char c : source_) out += c == '/' ? '\\' : c;
        return out;
    }
    // Runs the setup dialog over the steps, its files taken from source_.
    INT_PTR run(std::vector<Step> steps) {
        CSetupDlg dialog;
        dialog_ = &dialog;
        steps.insert(steps.begin(), std::function<void()>([this, &dialog] { dialog.m_strSourceDir = sourceWindows(); }));
        script(std::move(steps));
        const INT_PTR result = dialog.DoModal();
        dialog_ = nullptr;
        EXPECT_FALSE(failed()) << failure();
        return result;
    }
    std::vector<Step> installStepsTo(const std::string& target) {
        return {"focus 1000", "type \"" + target + "\"", "answer ok", "click 1"};
    }
    std::string installed(const std::string& name) const { return readBytes(drive_ + "/Zor/" + name); }

    std::string source_;
    CSetupDlg* dialog_ = nullptr;
    ScopedConnection progressAtBox_;
    std::vector<std::pair<std::string, int>> progressAtBoxes_;  // message text, progress position
};

TEST_F(SetupDlgTest, OpensWithTitleDefaultTargetAndHiddenProgressAndCancelWritesNothing) {
    useRegistry("REGEDIT4\n\n" + kServer);
    const std::string before = registryText();
    EXPECT_EQ(run({[this] {
                       std::string title;
                       dialog_->GetWindowText(title);
                       EXPECT_EQ(title, "Установка  Кестрина V2.0"_cp);
                       EXPECT_NE(dialog_->GetIcon(TRUE), nullptr);
                   },
                   "expect text 1000 \"C:\\\\ACAD2000\\\\Zor soft\"", "expect hidden 1005",
                   "click \"Выбрать директорию\"",  // the browse button by its tooltip
                   "expect text 1152 \"Junk\"", "click 2", "click 2"}),
              IDCANCEL);
    EXPECT_EQ(registryText(), before);
    EXPECT_FALSE(folderExists("ACAD2000"));
}

TEST_F(SetupDlgTest, WithoutTheHostsServerEntryTheTargetIsUnderProgramFiles) {
    EXPECT_EQ(run({"expect text 1000 \"C:\\\\Program Files\\\\Zor soft\"", "click 2"}), IDCANCEL);
}

TEST_F(SetupDlgTest, RegistersEveryProfileAndCopiesTheSixFilesWithTheirProgress) {
    useRegistry("REGEDIT4\n\n" + kServer +
                // Group2 is ours from an earlier installation: rewritten, nothing added.
                key("Ours", "General") + "\"ACAD\"=\"C:\\\\old\"\n\n" + key("Ours", "Menus") +
                "\"Group1\"=\"ACAD C:\\\\acad\\\\acad\"\n\"Group2\"=\"ZOR_ARX C:\\\\Before\\\\Zor_arx\"\n\n" +
                // Two foreign groups: Group3 is added.
                key("Two", "General") + "\"ACAD\"=\"c:\\\\zor;C:\\\\x\"\n\n" + key("Two", "Menus") +
                "\"Group1\"=\"ACAD a\"\n\"Group2\"=\"EXPRESS b\"\n\n" +
                // No group at all (and no support path): Group1.
                key("Bare", "General") + "\n" + key("Bare", "Menus") + "\"Other\"=\"x\"\n\n" +
                // Two foreign groups, the count's name taken: the next free number.
                key("Gaps", "General") + "\"ACAD\"=\"C:\\\\Zor;D:\\\\y\"\n\n" + key("Gaps", "Menus") +
                "\"Group1\"=\"ACAD a\"\n\"Group3\"=\"EXPRESS b\"\n\n");
    EXPECT_EQ(run(installStepsTo("C:\\\\Zor")), IDOK);

    EXPECT_EQ(regValue(kProfiles + "Ours\\General", "ACAD"), "C:\\Zor;C:\\old");
    EXPECT_EQ(regValue(kProfiles + "Ours\\Menus", "Group2"), "ZOR_ARX C:\\Zor\\Zor_arx");
    EXPECT_EQ(regValue(kProfiles + "Ours\\Menus", "Group1"), "ACAD C:\\acad\\acad");
    EXPECT_EQ(regValue(kProfiles + "Ours\\Menus", "Group3"), "<missing>");
    // The search is case-sensitive: "c:\zor" is not "C:\Zor".
    EXPECT_EQ(regValue(kProfiles + "Two\\General", "ACAD"), "C:\\Zor;c:\\zor;C:\\x");
    EXPECT_EQ(regValue(kProfiles + "Two\\Menus", "Group3"), "ZOR_ARX C:\\Zor\\Zor_arx");
    EXPECT_EQ(regValue(kProfiles + "Bare\\General", "ACAD"), "C:\\Zor;");
    EXPECT_EQ(regValue(kProfiles + "Bare\\Menus", "Group1"), "ZOR_ARX C:\\Zor\\Zor_arx");
    EXPECT_EQ(regValue(kProfiles + "Gaps\\General", "ACAD"), "C:\\Zor;D:\\y");
    EXPECT_EQ(regValue(kProfiles + "Gaps\\Menus", "Group3"), "EXPRESS b");
    EXPECT_EQ(regValue(kProfiles + "Gaps\\Menus", "Group4"), "ZOR_ARX C:\\Zor\\Zor_arx");

    for (const InstalledFile& f : kInstalledFiles) EXPECT_EQ(installed(f.name), std::string("bytes of ") + f.name);
    ASSERT_EQ(progressAtBoxes_.size(), 1u);
    EXPECT_EQ(progressAtBoxes_[0].first, "Установка завершена, запускайте AutoCAD 2000"_cp);
    EXPECT_EQ(progressAtBoxes_[0].second, 4096);
    EXPECT_EQ(boxes().back(), std::string("[Setup] ") + "Установка завершена, запускайте AutoCAD 2000 (information, ok) -> ok"_cp);

    // Again with the same target: the registry file stays as it is.
    const std::string once = registryText();
    EXPECT_EQ(run(installStepsTo("C:\\\\Zor")), IDOK);
    EXPECT_EQ(registryText(), once);

    // Another target goes in front; the earlier one stays.
    EXPECT_EQ(run(installStepsTo("C:\\\\Other")), IDOK);
    EXPECT_EQ(regValue(kProfiles + "Ours\\General", "ACAD"), "C:\\Other;C:\\Zor;C:\\old");
    EXPECT_EQ(regValue(kProfiles + "Ours\\Menus", "Group2"), "ZOR_ARX C:\\Other\\Zor_arx");
    EXPECT_EQ(regValue(kProfiles + "Gaps\\Menus", "Group4"), "ZOR_ARX C:\\Other\\Zor_arx");
    EXPECT_EQ(regValue(kProfiles + "Gaps\\Menus", "Group5"), "<missing>");
}

TEST_F(SetupDlgTest, AProfileWhoseMenusCannotBeListedGetsNoEntryAndTheNextStillDoes) {
    const std::string longName(200, 'G');
    useRegistry("REGEDIT4\n\n" + key("A", "General") + "\n" + key("A", "Menus") + "\"" + longName + "\"=\"x\"\n\n" +
                key("B", "General") + "\n" + key("B", "Menus") + "\n");
    EXPECT_EQ(run({"focus 1000", "type \"C:\\\\Zor\"", "answer ok", "answer ok", "click 1"}), IDOK);
    EXPECT_EQ(regValue(kProfiles + "A\\Menus", "Group1"), "<missing>");
    EXPECT_EQ(regValue(kProfiles + "A\\General", "ACAD"), "C:\\Zor;");
    EXPECT_EQ(regValue(kProfiles + "B\\Menus", "Group1"), "ZOR_ARX C:\\Zor\\Zor_arx");
    const auto shown = boxes();
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_NE(shown[0].find("RegEnumValue"), std::string::npos) << shown[0];
}

TEST_F(SetupDlgTest, WithoutTheHostKeyNothingIsRegisteredOrCopiedAndTheDialogCloses) {
    useRegistry("REGEDIT4\n\n" + kServer);
    const std::string before = registryText();
    EXPECT_EQ(run(installStepsTo("C:\\\\Zor")), IDOK);
    EXPECT_EQ(boxes(), std::vector<std::string>{"[Setup] Acad2000 не установлен! (stop, ok) -> ok"_cp});
    EXPECT_EQ(registryText(), before);
    EXPECT_FALSE(folderExists("Zor"));
}

TEST_F(SetupDlgTest, AFileThatCannotBeCopiedIsReportedLeavesNoHalfFileAndTheRestIsCopied) {
    useRegistry("REGEDIT4\n\n" + key("P", "General") + "\n" + key("P", "Menus") + "\n");
    stdfs::remove(source_ + "/Kestrin.chm");
    stdfs::create_directory(source_ + "/Kestrin.chm");  // cannot be read as a file
    makeFolder("Zor/Txe.bmp");                          // cannot be replaced by a file
    writeBytes(drive_ + "/Zor/Kestrin.chm", "the old help");
    EXPECT_EQ(run({"focus 1000", "type \"C:\\\\Zor\"", "answer ok", "answer ok", "answer ok", "click 1"}), IDOK);

    const std::string missing = "Не найден файлы"_cp + sourceWindows();
    ASSERT_EQ(progressAtBoxes_.size(), 3u);
    EXPECT_EQ(progressAtBoxes_[0].first, missing + "\\Kestrin.chm");
    EXPECT_EQ(progressAtBoxes_[0].second, 1700);  // after Kestrin.arx
    EXPECT_EQ(progressAtBoxes_[1].first, missing + "\\Txe.bmp");
    EXPECT_EQ(progressAtBoxes_[1].second, 3500);
    EXPECT_EQ(progressAtBoxes_[2].second, 4096);  // the closing message all the same

    EXPECT_EQ(installed("Kestrin.chm"), "the old help");
    EXPECT_EQ(installed("Dtext.bmp"), "bytes of Dtext.bmp");
    std::vector<std::string> left;
    for (const auto& e : stdfs::directory_iterator(drive_ + "/Zor")) left.push_back(e.path().filename().string());
    std::sort(left.begin(), left.end());
    EXPECT_EQ(left, (std::vector<std::string>{"Dtext.bmp", "Kestrin.arx", "Kestrin.chm", "Txe.bmp", "Zor_arx.mns",
                                              "zor.shx"}));
}

TEST_F(SetupDlgTest, ATargetTheChooserWouldRefuseIsRefusedBeforeAnythingIsWritten) {
    useRegistry("REGEDIT4\n\n" + key("P", "General") + "\n" + key("P", "Menus") + "\n");
    const std::string before = registryText();
    EXPECT_EQ(run({"focus 1000", "type \"C:\\\\Zor|x\"", "answer ok", "click 1",
                   "expect message \"C:\\\\Zor|x is not a valid pathname.\"", "focus 1000", "key delete",
                   "answer ok", "click 1", "expect message \" is not a valid pathname.\"", "click 2"}),
              IDCANCEL);
    EXPECT_EQ(registryText(), before);
    EXPECT_TRUE(stdfs::is_empty(drive_));
}

TEST_F(SetupDlgTest, BrowseStartsAtTheProgramsTargetSetsItOnOkAndLeavesItOnCancel) {
    makeFolder("Program Files/Zor soft");
    EXPECT_EQ(run({"focus 1000", "type \"C:\\\\Typed\"",  // typed, not yet taken by the program
                   "click 3", "expect text 1002 \"C:\\\\PROGRAM FILES\\\\ZOR SOFT\"", "choose 1121 \"c:\\\\\"",
                   "click 2", "expect text 1000 \"C:\\\\Typed\"",
                   "click 3", "choose 1121 \"Program Files\"", "click 1",
                   "expect text 1000 \"c:\\\\Program Files\"", "click 2"}),
              IDCANCEL);
}

TEST_F(SetupDlgTest, RefusesWhileTheHostRunsAndWritesNothing) {
    useRegistry("REGEDIT4\n\n" + key("P", "General") + "\n" + key("P", "Menus") + "\n");
    const std::string before = registryText();
    fs::MemoryFileSystem memory;
    memory.addFile("/proc/42/cmdline", std::string("wine64-preloader\0C:\\ACAD2000\\acad.exe\0", 38));
    memory.addSymlink("/usr/bin/wine64-preloader", "/proc/42/exe");
    memory.addFile("/usr/bin/wine64-preloader", "");
    fs::MemoryFileSystem::Installed installed(memory);
    EXPECT_TRUE(isHostRunning());
    EXPECT_EQ(run({"focus 1000", "type \"C:\\\\Zor\"", "answer ok", "click 1", "expect shown 1000", "click 2"}),
              IDCANCEL);
    EXPECT_EQ(boxes(), std::vector<std::string>{"[Setup] Закройте открытый Автокад! (stop, ok) -> ok"_cp});
    EXPECT_EQ(registryText(), before);
}

TEST(HostProcess, OnlyAnExecutableNamedAcadCountsInAnyLetterCase) {
    fs::MemoryFileSystem memory;
    memory.addFile("/proc/1/cmdline", std::string("/usr/bin/acad\0", 14));
    memory.addSymlink("/usr/bin/acad", "/proc/1/exe");
    memory.addFile("/usr/bin/acad", "");
    fs::MemoryFileSystem::Installed installed(memory);
    EXPECT_FALSE(isHostRunning());
    memory.addFile("/proc/2/cmdline", std::string("/opt/ACAD.EXE\0", 14));
    memory.addSymlink("/opt/ACAD.EXE", "/proc/2/exe");
    memory.addFile("/opt/ACAD.EXE", "");
    EXPECT_TRUE(isHostRunning());
}

}  // namespace
}  // namespace kestrin::setup::test
