// The file services on Windows: Windows paths are the system's own (no drive
// links), writes replace files whole, and failures carry the reasons the
// Linux build gives for the same errno.
#include <gtest/gtest.h>

#include <cerrno>
#include <stdexcept>
#include <string>

#include "platform/fs/FileSystem.h"
#include "platform/fs/Path.h"

namespace {

using kestrin::fs::FileSystem;
using kestrin::fs::FileType;

class WindowsFiles : public ::testing::Test {
protected:
    void SetUp() override {
        FileSystem& fs = FileSystem::current();
        const std::string temp = fs.environment("TEMP").value_or("C:\\windows\\temp");
        dir_ = kestrin::fs::joinPath(temp, "kestrin-files-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()));
        ASSERT_TRUE(fs.createDirectories(dir_ + "\\Deep\\Er"));
    }
    void TearDown() override {
        FileSystem& fs = FileSystem::current();
        for (const char* name : {"Deep\\Er\\Zor.SHX", "Deep\\Er\\b.txt", "locked.txt", "readonly.txt"}) (void)fs.removeFile(dir_ + "\\" + name);
    }
    std::string at(const std::string& name) const { return dir_ + "\\" + name; }
    std::string dir_;
};

TEST_F(WindowsFiles, WritesReplaceWholeAndFailuresLeaveNoTemporaryFile) {
    FileSystem& fs = FileSystem::current();
    const std::string file = at("Deep\\Er\\b.txt");
    ASSERT_TRUE(fs.writeFile(file, "first"));
    ASSERT_TRUE(fs.writeFile(file, "second, longer"));
    EXPECT_EQ(*fs.readFile(file), "second, longer");
    EXPECT_THROW((void)fs.writeAtomically(file,
                                          [](const kestrin::fs::ByteSink& sink) {
                                              sink("half");
                                              throw std::runtime_error("stopped");
                                          }),
                 std::runtime_error);
    EXPECT_EQ(*fs.readFile(file), "second, longer");
    auto entries = fs.listDirectory(at("Deep\\Er"));
    ASSERT_TRUE(entries);
    ASSERT_EQ(entries->size(), 1u) << "no temporary file stays";
    EXPECT_EQ((*entries)[0].name, "b.txt");
}

TEST_F(WindowsFiles, NamesMatchInAnyCaseAndAnswerTheirOwnSpelling) {
    FileSystem& fs = FileSystem::current();
    ASSERT_TRUE(fs.writeFile(at("Deep\\Er\\Zor.SHX"), "shapes"));
    auto found = fs.findIgnoringCase(at("deep\\er"), "zor.shx");
    ASSERT_TRUE(found) << found.error().message();
    EXPECT_EQ(kestrin::fs::fileName(*found), "Zor.SHX");
    auto canonical = fs.canonical(at("DEEP\\er\\zor.shx"));
    ASSERT_TRUE(canonical) << canonical.error().message();
    EXPECT_EQ(kestrin::fs::fileName(*canonical), "Zor.SHX");
    EXPECT_EQ(fs.status(at("Deep"))->type, FileType::Directory);
    EXPECT_EQ(fs.status(at("Deep\\Er\\Zor.SHX"))->size, 6u);
}

TEST_F(WindowsFiles, FailuresSayWhatLinuxSays) {
    FileSystem& fs = FileSystem::current();
    auto missing = fs.readFile(at("none\\x.dxf"));
    ASSERT_FALSE(missing);
    EXPECT_EQ(missing.error().code, ENOENT);
    EXPECT_EQ(missing.error().reason, "No such file or directory");
    ASSERT_TRUE(fs.writeFile(at("Deep\\Er\\b.txt"), "x"));
    auto underFile = fs.writeFile(at("Deep\\Er\\b.txt\\c.txt"), "y");
    ASSERT_FALSE(underFile);
    EXPECT_EQ(underFile.error().code, ENOTDIR) << underFile.error().message();
    auto folder = fs.readFile(at("Deep"));
    ASSERT_FALSE(folder);
    EXPECT_EQ(folder.error().reason, "is a folder");
    EXPECT_FALSE(fs.status(at("nothing"))->exists());
}

TEST_F(WindowsFiles, LockIsExclusiveUntilReleased) {
    FileSystem& fs = FileSystem::current();
    {
        auto lock = fs.lockExclusively(at("locked.txt"));
        ASSERT_TRUE(lock) << lock.error().message();
    }
    auto again = fs.lockExclusively(at("locked.txt"));
    EXPECT_TRUE(again) << "released when the first lock went";
}

}  // namespace
