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

TEST_F(SetupDlgTest, AServerEntryShorterThanTheProgramsNameGivesTheBareFolderName) {
    useRegistry("REGEDIT4\n\n[HKEY_CLASSES_ROOT\\AutoCAD.Drawing.15\\protocol\\StdFileEditing\\server]\n@=\"acad\"\n\n");
    EXPECT_EQ(run({"expect text 1000 \"Zor soft\"", "click 2"}), IDCANCEL);
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
                key("Gaps", "General") + "\"ACAD\"=\"C:\\\\Zor\\\\;D:\\\\y\"\n\n" + key("Gaps", "Menus") +
                "\"Group1\"=\"ACAD a\"\n\"Group3\"=\"EXPRESS b\"\n\n");
    EXPECT_EQ(run(installStepsTo("C:\\\\Zor")), IDOK);

    EXPECT_EQ(regValue(kProfiles + "Ours\\General", "ACAD"), "C:\\Zor;C:\\old");
    EXPECT_EQ(regValue(kProfiles + "Ours\\Menus", "Group2"), "ZOR_ARX C:\\Zor\\Zor_arx");
    EXPECT_EQ(regValue(kProfiles + "Ours\\Menus", "Group1"), "ACAD C:\\acad\\acad");
    EXPECT_EQ(regValue(kProfiles + "Ours\\Menus", "Group3"), "<missing>");
    // Whole entries are compared, in any letter case: "c:\zor" is "C:\Zor".
    EXPECT_EQ(regValue(kProfiles + "Two\\General", "ACAD"), "c:\\zor;C:\\x");
    EXPECT_EQ(regValue(kProfiles + "Two\\Menus", "Group3"), "ZOR_ARX C:\\Zor\\Zor_arx");
    EXPECT_EQ(regValue(kProfiles + "Bare\\General", "ACAD"), "C:\\Zor;");
    EXPECT_EQ(regValue(kProfiles + "Bare\\Menus", "Group1"), "ZOR_ARX C:\\Zor\\Zor_arx");
    EXPECT_EQ(regValue(kProfiles + "Gaps\\General", "ACAD"), "C:\\Zor\\;D:\\y");  // the same folder
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

TEST_F(SetupDlgTest, AMissingFileOrAFolderThatCannotBeMadeStopsBeforeAnythingIsRegisteredOrCopied) {
    useRegistry("REGEDIT4\n\n" + key("P", "General") + "\"ACAD\"=\"C:\\\\old\"\n\n" + key("P", "Menus") + "\n");
    const std::string before = registryText();
    stdfs::remove(source_ + "/Kestrin.chm");
    stdfs::remove(source_ + "/Txe.bmp");
    stdfs::create_directory(source_ + "/Txe.bmp");  // a folder, not a file to copy
    // Every missing file is named, each in the box the setup shows for it;
    // the dialog stays, and OK to a good target then installs.
    EXPECT_EQ(run({"focus 1000", "type \"C:\\\\Zor\"", "answer ok", "answer ok", "click 1",
                   [this, before] {
                       EXPECT_EQ(registryText(), before);
                       EXPECT_FALSE(folderExists("Zor"));
                   },
                   "click 2"}),
              IDCANCEL);
    const std::string missing = "[Setup] Не найден файлы"_cp + sourceWindows();
    EXPECT_EQ(boxes(), (std::vector<std::string>{missing + "\\Kestrin.chm (stop, ok) -> ok",
                                                 missing + "\\Txe.bmp (stop, ok) -> ok"}));
    stdfs::remove(source_ + "/Txe.bmp");
    for (const InstalledFile& f : kInstalledFiles) writeBytes(source_ + "/" + f.name, "x");
    session::Transcript::instance().clear();

    // A target below a file, or on a drive that is not there, cannot be made.
    writeBytes(drive_ + "/Data", "a file");
    EXPECT_EQ(run({"focus 1000", "type \"C:\\\\Data\\\\Zor\"", "answer ok", "click 1", "focus 1000",
                   "key home", "key shift+end", "type \"Q:\\\\Zor soft\"", "answer ok", "click 1", "click 2"}),
              IDCANCEL);
    const auto shown = boxes();
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[0], "[Setup] Нельзя создать каталог C:\\Data\\Zor: C:\\Data — файл, а не каталог (stop, ok) -> ok"_cp);
    EXPECT_EQ(shown[1].rfind("[Setup] Нельзя создать каталог Q:\\Zor soft: no drive Q:"_cp, 0), 0u) << shown[1];
    EXPECT_EQ(registryText(), before);
    EXPECT_EQ(readBytes(drive_ + "/Data"), "a file");
}

TEST_F(SetupDlgTest, EveryMissingLevelOfTheTargetIsMade) {
    useRegistry("REGEDIT4\n\n" + key("P", "General") + "\n" + key("P", "Menus") + "\n");
    EXPECT_EQ(run(installStepsTo("C:\\\\Programs\\\\Deep\\\\Zor")), IDOK);
    EXPECT_EQ(readBytes(drive_ + "/Programs/Deep/Zor/zor.shx"), "bytes of zor.shx");
    EXPECT_EQ(regValue(kProfiles + "P\\General", "ACAD"), "C:\\Programs\\Deep\\Zor;");
}

TEST_F(SetupDlgTest, ACopyThatFailsHalfWayPutsTheProfilesBackAndLeavesNoHalfFile) {
    useRegistry("REGEDIT4\n\n" + key("One", "General") + "\"ACAD\"=\"C:\\\\old\"\n\n" + key("One", "Menus") +
                "\"Group1\"=\"ZOR_ARX C:\\\\Before\\\\Zor_arx\"\n\n" + key("Two", "General") + "\n" +
                key("Two", "Menus") + "\"Group1\"=\"ACAD a\"\n\n");
    const std::string before = registryText();
    writeBytes(drive_ + "/Zor/Kestrin.chm", "the old help");
    stdfs::permissions(drive_ + "/Zor/Kestrin.chm", stdfs::perms::owner_read | stdfs::perms::group_read);
    EXPECT_EQ(run({"focus 1000", "type \"C:\\\\Zor\"", "answer ok", "answer ok", "click 1"}), IDOK);

    // Values rewritten, values added and values that were missing: all as before.
    EXPECT_EQ(registryText(), before);
    ASSERT_EQ(progressAtBoxes_.size(), 2u);
    EXPECT_EQ(progressAtBoxes_[0].first.rfind("Не удалось записать файл C:\\Zor\\Kestrin.chm: "_cp, 0), 0u)
        << progressAtBoxes_[0].first;
    EXPECT_EQ(progressAtBoxes_[0].second, 1700);  // after Kestrin.arx, before the help
    EXPECT_EQ(progressAtBoxes_[1].first, "Установка не завершена: профили Автокада восстановлены."_cp);
    EXPECT_EQ(installed("Kestrin.chm"), "the old help");
    std::vector<std::string> left;
    for (const auto& e : stdfs::directory_iterator(drive_ + "/Zor")) left.push_back(e.path().filename().string());
    std::sort(left.begin(), left.end());
    EXPECT_EQ(left, (std::vector<std::string>{"Kestrin.arx", "Kestrin.chm", "Zor_arx.mns", "zor.shx"}));
}

TEST_F(SetupDlgTest, ALongSupportPathIsReadWholeAndAnUnreadableOneIsLeftAlone) {
    std::string path;
    for (int i = 0; path.size() < 6000; ++i) {
        if (i > 0) path += ';';
        path += "C:\\Folder";
        path += std::to_string(i);
    }
    std::string escaped;
    for (char c : path) escaped += c == '\\' ? std::string("\\\\") : std::string(1, c);
    useRegistry("REGEDIT4\n\n" + key("Long", "General") + "\"ACAD\"=\"" + escaped + "\"\n\n" +
                key("Long", "Menus") + "\n" +
                // A value that is no string cannot be read as the support path.
                key("Odd", "General") + "\"ACAD\"=dword:00000007\n\n" + key("Odd", "Menus") + "\n");
    EXPECT_EQ(run({"focus 1000", "type \"C:\\\\Zor soft\"", "answer ok", "answer ok", "click 1"}), IDOK);
    HKEY h = nullptr;
    ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, (kProfiles + "Long\\General").c_str(), 0, KEY_READ, &h), ERROR_SUCCESS);
    std::string value(8000, '\0');
    DWORD size = static_cast<DWORD>(value.size());
    ASSERT_EQ(RegQueryValueExA(h, "ACAD", nullptr, nullptr, reinterpret_cast<BYTE*>(value.data()), &size), ERROR_SUCCESS);
    RegCloseKey(h);
    value.resize(size - 1);
    EXPECT_EQ(value, "C:\\Zor soft;" + path);
    const auto shown = boxes();
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[0], "[Setup] Путь поиска профиля Odd не прочитан (значение не строка); он оставлен как есть. "
                        "(exclamation, ok) -> ok"_cp);
    EXPECT_EQ(regValue(kProfiles + "Odd\\Menus", "Group1"), "ZOR_ARX C:\\Zor soft\\Zor_arx");
}

TEST(SupportPath, HoldsAWholeEntryInAnyLetterCaseNeverAPartOfOne) {
    EXPECT_FALSE(supportPathHolds("C:\\Zor soft;D:\\x", "C:\\Zor"));
    EXPECT_TRUE(supportPathHolds("C:\\Zor soft;D:\\x", "c:\\ZOR SOFT"));
    EXPECT_TRUE(supportPathHolds("D:\\x;C:\\Zor\\", "C:\\Zor"));
    EXPECT_TRUE(supportPathHolds("C:\\", "c:\\"));
    EXPECT_FALSE(supportPathHolds("", "C:\\Zor"));
    EXPECT_FALSE(supportPathHolds("C:\\Zor2", "C:\\Zor"));
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
