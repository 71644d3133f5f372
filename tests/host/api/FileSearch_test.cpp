// acedFindFile looks in the drawing's folder, the current folder, then the
// support path, matching names in any letter case.
#include "host/api/FileSearch.h"

#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "platform/fs/MemoryFileSystem.h"
#include "tests/host/api/HostFixture.h"

using namespace kestrin;
namespace stdfs = std::filesystem;

namespace {

class FileSearch : public test::HostTest {
protected:
    FileSearch() {
        root = stdfs::temp_directory_path() / ("kestrin-find-" + std::to_string(::getpid()));
        for (const char* d : {"drawing", "current", "support1", "support2"}) stdfs::create_directories(root / d);
        previous = stdfs::current_path();
        stdfs::current_path(root / "current");
        host::HostState::instance().drawingPath = (root / "drawing" / "plan.dxf").string();
        host::HostRuntime::instance().clearSupportPath();
        host::HostRuntime::instance().addSupportPath((root / "support1").string());
        host::HostRuntime::instance().addSupportPath((root / "support2").string());
    }
    ~FileSearch() override {
        stdfs::current_path(previous);
        host::HostRuntime::instance().clearSupportPath();
        stdfs::remove_all(root);
    }
    void touch(const stdfs::path& p) { std::ofstream(p) << "x"; }
    std::string find(const char* name) {
        char result[260] = "unchanged";
        if (acedFindFile(name, result) != RTNORM) return "not found";
        return result;
    }
    stdfs::path root, previous;
};

TEST_F(FileSearch, FoldersAreSearchedInOrder) {
    touch(root / "support2" / "zor.shx");
    EXPECT_EQ(find("zor.shx"), (root / "support2" / "zor.shx").string());
    touch(root / "support1" / "zor.shx");
    EXPECT_EQ(find("zor.shx"), (root / "support1" / "zor.shx").string());
    touch(root / "current" / "zor.shx");
    EXPECT_EQ(find("zor.shx"), (root / "current" / "zor.shx").string());
    touch(root / "drawing" / "zor.shx");
    EXPECT_EQ(find("zor.shx"), (root / "drawing" / "zor.shx").string());
}

TEST_F(FileSearch, NamesMatchInAnyCase) {
    touch(root / "support1" / "Zor.SHX");
    EXPECT_EQ(find("zor.shx"), (root / "support1" / "Zor.SHX").string());
    EXPECT_EQ(find("ZOR.shx"), (root / "support1" / "Zor.SHX").string());
    stdfs::create_directories(root / "current" / "Help");
    touch(root / "current" / "Help" / "Kestrin.chm");
    EXPECT_EQ(find("help\\KESTRIN.CHM"), (root / "current" / "Help" / "Kestrin.chm").string());
}

TEST_F(FileSearch, MissingFilesFoldersAndLongPathsAreNotFound) {
    EXPECT_EQ(find("nothing.shx"), "not found");
    stdfs::create_directories(root / "support1" / "folder.shx");
    EXPECT_EQ(find("folder.shx"), "not found");  // a folder is not a file
    EXPECT_EQ(find(""), "not found");
    EXPECT_EQ(find(nullptr), "not found");
    touch(root / "support1" / "a.shx");
    char small[8];
    EXPECT_EQ(host::findFile("a.shx", small, sizeof small), RTERROR);
    EXPECT_STREQ(small, "");
}

// The search asks the installed file system, so a drive path of the host's
// platform is found where its drive link points, in any letter case.
TEST_F(FileSearch, AskTheInstalledFileSystemAndFollowDrives) {
    kestrin::fs::MemoryFileSystem memory;
    memory.setEnvironment("KESTRIN_DOSDEVICES", "/wine/dosdevices");
    memory.addFile("/wine/drive_c/Kestrin/Fonts/ZOR.SHX", "shapes");
    memory.addFile("/support/Help.CHM", "help");
    memory.addFile("/work/Local.ini", "settings");
    memory.setCurrentDirectory("/work");
    kestrin::fs::MemoryFileSystem::Installed installed(memory);
    host::HostRuntime::instance().clearSupportPath();
    host::HostRuntime::instance().addSupportPath("/support");

    EXPECT_EQ(find("help.chm"), "/support/Help.CHM");
    EXPECT_EQ(find("LOCAL.INI"), "/work/Local.ini");
    EXPECT_EQ(find("c:\\kestrin\\fonts\\zor.shx"), "/wine/drive_c/Kestrin/Fonts/ZOR.SHX");
    EXPECT_EQ(find("C:\\Kestrin\\Fonts\\missing.shx"), "not found");
    EXPECT_EQ(find("D:\\zor.shx"), "not found");  // no such drive
    EXPECT_EQ(find("c:\\kestrin\\fonts"), "not found");  // a folder
}

}  // namespace
