// Windows paths reach Linux files through the drive links, each component
// matched in any letter case; Linux paths pass unchanged.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "platform/fs/FileSystem.h"
#include "platform/fs/MemoryFileSystem.h"
#include "tests/platform/fs/TempFolder.h"

using namespace kestrin::fs;
using kestrin::fs::testing::TempFolder;
namespace stdfs = std::filesystem;

namespace {

class WindowsPaths : public ::testing::Test {
protected:
    WindowsPaths() : root_("drives") {
        const char* old = std::getenv("KESTRIN_DOSDEVICES");
        if (old) saved_ = old;
        ::setenv("KESTRIN_DOSDEVICES", (root_ / "dosdevices").c_str(), 1);
        cwd_ = stdfs::current_path();
    }
    ~WindowsPaths() override {
        stdfs::current_path(cwd_);
        if (saved_)
            ::setenv("KESTRIN_DOSDEVICES", saved_->c_str(), 1);
        else
            ::unsetenv("KESTRIN_DOSDEVICES");
    }
    FileSystem& fs() { return FileSystem::real(); }
    std::string resolved(const std::string& path) {
        auto r = fs().resolve(path);
        return r ? *r : "error: " + r.error().message();
    }

    TempFolder root_;
    std::optional<std::string> saved_;
    stdfs::path cwd_;
};

}  // namespace

TEST_F(WindowsPaths, TheStandardDrivesAreMadeOnFirstUse) {
    EXPECT_FALSE(stdfs::exists(root_ / "dosdevices"));
    EXPECT_EQ(resolved("/tmp/x"), "/tmp/x");  // a Linux path needs no drive
    EXPECT_EQ(resolved("plain.txt"), "plain.txt");
    EXPECT_FALSE(stdfs::exists(root_ / "dosdevices"));

    EXPECT_EQ(resolved("C:\\"), root_ / "dosdevices/c:");
    EXPECT_EQ(stdfs::read_symlink(root_ / "dosdevices/c:"), "../drive_c");
    EXPECT_EQ(stdfs::read_symlink(root_ / "dosdevices/z:"), "/");
    EXPECT_TRUE(stdfs::is_directory(root_ / "drive_c"));
    // Z: is the whole Linux tree.
    EXPECT_EQ(*fs().canonical("z:\\" + root_.path().substr(1)), root_.path());
}

TEST_F(WindowsPaths, ComponentsMatchInAnyLetterCase) {
    TempFolder::write(root_ / "drive_c/Program Files/Kestrin/Kestrin.arx", "module");
    TempFolder::write(root_ / "drive_c/Чертежи/План.dxf", "drawing");
    auto text = fs().readFile("c:\\PROGRAM FILES\\kestrin\\KESTRIN.ARX");
    ASSERT_TRUE(text) << text.error().message();
    EXPECT_EQ(*text, "module");
    EXPECT_EQ(*fs().readFile("C:/чертежи/ПЛАН.DXF"), "drawing");
    EXPECT_EQ(*fs().readFile("C:\\Program Files\\Kestrin\\..\\Kestrin\\.\\Kestrin.arx"), "module");

    // A file about to be made keeps the name it was given.
    ASSERT_TRUE(fs().writeFile("C:\\program files\\KESTRIN\\New.INI", "x"));
    EXPECT_EQ(TempFolder::read(root_ / "drive_c/Program Files/Kestrin/New.INI"), "x");
    // ".." stops at the drive's root.
    EXPECT_EQ(resolved("C:\\..\\..\\Program Files"), root_ / "dosdevices/c:/Program Files");
}

TEST_F(WindowsPaths, MissingAndDanglingDrivesAreNamed) {
    auto none = fs().readFile("D:\\a.txt");
    ASSERT_FALSE(none);
    EXPECT_EQ(none.error().message(), root_ / "dosdevices/d:" + ": no drive D:: there is no such drive link");

    ASSERT_TRUE(fs().createDirectories("C:\\"));  // makes the standard links
    stdfs::create_symlink(root_ / "gone", root_ / "dosdevices/E:");
    auto dangling = fs().status("e:\\file");
    ASSERT_FALSE(dangling);
    EXPECT_EQ(dangling.error().path, root_ / "dosdevices/E:");
    EXPECT_NE(dangling.error().reason.find("dangling"), std::string::npos) << dangling.error().reason;
    EXPECT_NE(dangling.error().reason.find(root_ / "gone"), std::string::npos) << dangling.error().reason;
}

TEST_F(WindowsPaths, TheCurrentFolderIsShownUnderTheDriveThatHoldsIt) {
    stdfs::create_directories(root_ / "drive_c/work/sub");
    stdfs::create_directories(root_ / "other");
    ASSERT_TRUE(fs().createDirectories("c:\\work"));
    stdfs::current_path(root_ / "drive_c/work/sub");
    EXPECT_EQ(*fs().currentWindowsDirectory(), "C:\\work\\sub");
    // The longest match wins over C: and Z:.
    stdfs::create_symlink(root_ / "drive_c/work", root_ / "dosdevices/d:");
    EXPECT_EQ(*fs().currentWindowsDirectory(), "D:\\sub");
    stdfs::current_path(root_ / "drive_c");
    EXPECT_EQ(*fs().currentWindowsDirectory(), "C:\\");
    stdfs::current_path(root_ / "other");
    std::string expected = "Z:" + root_ / "other";
    for (char& c : expected)
        if (c == '/') c = '\\';
    EXPECT_EQ(*fs().currentWindowsDirectory(), expected);
    // Relative Windows paths start from the current folder.
    TempFolder::write(root_ / "other/Sub/F.txt", "rel");
    EXPECT_EQ(*fs().readFile("sub\\f.TXT"), "rel");
}

TEST(WindowsPathsInMemory, UseTheDriveLinksOfTheInstalledFileSystem) {
    MemoryFileSystem memory;
    memory.setEnvironment("KESTRIN_DOSDEVICES", "/wine/dosdevices");
    memory.addFile("/wine/drive_c/Fonts/ZOR.SHX", "shapes");
    MemoryFileSystem::Installed installed(memory);
    auto text = FileSystem::current().readFile("C:\\fonts\\zor.shx");
    ASSERT_TRUE(text) << text.error().message();
    EXPECT_EQ(*text, "shapes");
    EXPECT_EQ(*FileSystem::current().readLink("/wine/dosdevices/c:"), "../drive_c");
    memory.setCurrentDirectory("/wine/drive_c/Fonts");
    EXPECT_EQ(*FileSystem::current().currentWindowsDirectory(), "C:\\Fonts");

    // Without HOME nor KESTRIN_DOSDEVICES there are no drives, and it says so.
    MemoryFileSystem bare;
    auto none = bare.resolve("C:\\x");
    ASSERT_FALSE(none);
    EXPECT_EQ(none.error().reason, "HOME is not set");
}
