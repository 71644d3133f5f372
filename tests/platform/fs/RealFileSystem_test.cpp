// The operating system's file system: reading refuses what is not a file,
// writing replaces a file whole or not at all, errors name path and reason.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <atomic>
#include <chrono>
#include <thread>
#include <filesystem>
#include <stdexcept>

#include "platform/fs/FileSystem.h"
#include "platform/fs/OutputStream.h"
#include "tests/platform/fs/TempFolder.h"

using namespace kestrin::fs;
using kestrin::fs::testing::TempFolder;
namespace stdfs = std::filesystem;

namespace {

FileSystem& real() { return FileSystem::real(); }

std::vector<std::string> names(const std::string& dir) {
    auto list = real().listDirectory(dir);
    EXPECT_TRUE(list.ok()) << list.error().message();
    std::vector<std::string> out;
    if (list)
        for (const DirEntry& e : *list) out.push_back(e.name);
    return out;
}

}  // namespace

TEST(RealFileSystem, ReadsRegularFilesAndRefusesEverythingElseAtOnce) {
    TempFolder dir("read");
    const std::string file = dir / "a.txt";
    TempFolder::write(file, std::string("line\r\n\0bytes", 12));
    auto text = real().readFile(file);
    ASSERT_TRUE(text) << text.error().message();
    EXPECT_EQ(*text, std::string("line\r\n\0bytes", 12));
    auto mapped = real().mapFile(file);
    ASSERT_TRUE(mapped);
    EXPECT_EQ((*mapped)->bytes(), std::string_view("line\r\n\0bytes", 12));
    (*mapped)->consumed(5);  // dropping pages behind the reader keeps the mapping valid
    EXPECT_EQ((*mapped)->bytes().substr(6, 1), std::string_view("\0", 1));

    TempFolder::write(dir / "empty", "");
    auto empty = real().mapFile(dir / "empty");
    ASSERT_TRUE(empty);
    EXPECT_TRUE((*empty)->bytes().empty());

    auto missing = real().readFile(dir / "none.txt");
    ASSERT_FALSE(missing);
    EXPECT_EQ(missing.error().message(), dir / "none.txt" + ": cannot open: No such file or directory");
    auto folder = real().mapFile(dir.path());
    ASSERT_FALSE(folder);
    EXPECT_EQ(folder.error().message(), dir.path() + ": cannot read: is a folder");

    // A FIFO without a writer would block a plain open; it is refused at once.
    ASSERT_EQ(::mkfifo((dir / "fifo").c_str(), 0644), 0);
    const auto start = std::chrono::steady_clock::now();
    auto fifo = real().readFile(dir / "fifo");
    ASSERT_FALSE(fifo);
    EXPECT_EQ(fifo.error().message(), dir / "fifo" + ": cannot read: not a regular file");
    EXPECT_FALSE(real().mapFile(dir / "fifo"));
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
    EXPECT_EQ(real().readFile("/dev/null").error().message(), "/dev/null: cannot read: not a regular file");
}

TEST(RealFileSystem, AtomicWriteReplacesWholeOrLeavesTheOldFile) {
    TempFolder dir("write");
    const std::string file = dir / "drawing.dxf";
    const std::string old = "old contents\r\n";
    TempFolder::write(file, old);
    ::chmod(file.c_str(), 0640);

    ASSERT_TRUE(real().writeAtomically(file, [](const ByteSink& sink) {
        sink("new ");
        sink("contents");
    }));
    EXPECT_EQ(TempFolder::read(file), "new contents");
    EXPECT_EQ(stdfs::status(file).permissions() & stdfs::perms::all,
              stdfs::perms::owner_read | stdfs::perms::owner_write | stdfs::perms::group_read);

    // An exception from the producer passes through; nothing changes.
    TempFolder::write(file, old);
    EXPECT_THROW((void)real().writeAtomically(file,
                                              [](const ByteSink& sink) {
                                                  sink("half");
                                                  throw std::runtime_error("stop");
                                              }),
                 std::runtime_error);
    EXPECT_EQ(TempFolder::read(file), old);
    EXPECT_EQ(names(dir.path()), std::vector<std::string>{"drawing.dxf"});

    // A folder that does not exist, and one that is a file.
    Status st = real().writeFile(dir / "none/x.dxf", "x");
    ASSERT_FALSE(st);
    EXPECT_EQ(st.error().message(), dir / "none/x.dxf" + ": folder " + dir / "none" + ": No such file or directory");
    st = real().writeFile(file + "/x.dxf", "x");
    ASSERT_FALSE(st);
    EXPECT_EQ(st.error().reason, "Not a directory");
    EXPECT_EQ(TempFolder::read(file), old);
    EXPECT_EQ(names(dir.path()), std::vector<std::string>{"drawing.dxf"});
}

TEST(RealFileSystem, AtomicWriteGoesThroughLinksAndRefusesWhatIsNotAWritableFile) {
    TempFolder dir("targets");
    const std::string target = dir / "real/drawing.dxf";
    TempFolder::write(target, "old");
    stdfs::create_symlink("real/drawing.dxf", dir / "link.dxf");
    ASSERT_TRUE(real().writeFile(dir / "link.dxf", "through the link"));
    EXPECT_TRUE(stdfs::is_symlink(dir / "link.dxf")) << "the link was replaced by a file";
    EXPECT_EQ(TempFolder::read(target), "through the link");
    EXPECT_EQ(names(dir / "real"), std::vector<std::string>{"drawing.dxf"});
    // A dangling link: the file it names is made.
    stdfs::create_symlink("real/new.dxf", dir / "dangling.dxf");
    ASSERT_TRUE(real().writeFile(dir / "dangling.dxf", "made"));
    EXPECT_EQ(TempFolder::read(dir / "real/new.dxf"), "made");

    // Write protection holds, root included.
    const std::string locked = dir / "locked.dxf";
    TempFolder::write(locked, "keep me");
    ::chmod(locked.c_str(), 0444);
    Status st = real().writeFile(locked, "overwritten");
    ASSERT_FALSE(st);
    EXPECT_EQ(st.error().message(), locked + ": cannot replace " + locked + ": it is write-protected");
    EXPECT_EQ(TempFolder::read(locked), "keep me");

    ASSERT_EQ(::mkfifo((dir / "fifo").c_str(), 0644), 0);
    st = real().writeFile(dir / "fifo", "x");
    ASSERT_FALSE(st);
    EXPECT_NE(st.error().message().find(dir / "fifo"), std::string::npos);
    EXPECT_NE(st.error().reason.find("not a regular file"), std::string::npos);
    EXPECT_FALSE(real().writeFile("/dev/null", "x"));
    st = real().writeFile(dir / "real", "x");
    ASSERT_FALSE(st);
    EXPECT_EQ(st.error().reason, "it is a folder");
    EXPECT_EQ(names(dir.path()), (std::vector<std::string>{"dangling.dxf", "fifo", "link.dxf", "locked.dxf", "real"}));
}

TEST(RealFileSystem, FoldersStatusCopyRenameAndEnvironment) {
    TempFolder dir("folders");
    ASSERT_TRUE(real().createDirectories(dir / "a/b/c"));
    ASSERT_TRUE(real().createDirectories(dir / "a/b"));  // already there
    TempFolder::write(dir / "a/File.TXT", "x");
    Status blocked = real().createDirectories(dir / "a/File.TXT/d");
    ASSERT_FALSE(blocked);
    EXPECT_NE(blocked.error().message().find("File.TXT"), std::string::npos);

    auto st = real().status(dir / "a");
    ASSERT_TRUE(st);
    EXPECT_TRUE(st->isDirectory());
    EXPECT_TRUE(real().status(dir / "a/File.TXT")->isRegular());
    EXPECT_FALSE(real().status(dir / "nothing")->exists());
    stdfs::create_symlink("nowhere", dir / "dangling");
    EXPECT_FALSE(real().status(dir / "dangling")->exists());
    EXPECT_EQ(real().linkStatus(dir / "dangling")->type, FileType::Symlink);

    auto list = real().listDirectory(dir / "a");
    ASSERT_TRUE(list);
    ASSERT_EQ(list->size(), 2u);
    EXPECT_EQ((*list)[0].name, "File.TXT");
    EXPECT_EQ((*list)[0].type, FileType::Regular);
    EXPECT_EQ((*list)[1].name, "b");
    EXPECT_EQ((*list)[1].type, FileType::Directory);
    EXPECT_EQ(real().listDirectory(dir / "none").error().message(),
              dir / "none" + ": cannot list: No such file or directory");

    EXPECT_EQ(*real().findIgnoringCase(dir / "a", "file.txt"), dir / "a/File.TXT");
    TempFolder::write(dir / "a/file.txt", "exact");
    EXPECT_EQ(*real().findIgnoringCase(dir / "a", "file.txt"), dir / "a/file.txt");
    EXPECT_EQ(real().findIgnoringCase(dir / "a", "other").error().code, ENOENT);

    ASSERT_TRUE(real().copyFile(dir / "a/file.txt", dir / "copy.txt"));
    EXPECT_EQ(TempFolder::read(dir / "copy.txt"), "exact");
    ASSERT_TRUE(real().rename(dir / "copy.txt", dir / "moved.txt"));
    EXPECT_EQ(TempFolder::read(dir / "moved.txt"), "exact");
    Status gone = real().rename(dir / "copy.txt", dir / "x.txt");
    ASSERT_FALSE(gone);
    EXPECT_EQ(gone.error().message(), dir / "copy.txt" + ": cannot rename to " + dir / "x.txt" +
                                          ": No such file or directory");

    EXPECT_EQ(*real().currentDirectory(), stdfs::current_path().string());
    {
        const std::string before = stdfs::current_path().string();
        ASSERT_TRUE(real().changeDirectory(dir / "a"));
        EXPECT_EQ(*real().currentDirectory(), stdfs::canonical(dir / "a").string());
        Status missing = real().changeDirectory(dir / "none");
        ASSERT_FALSE(missing);
        EXPECT_EQ(missing.error().code, ENOENT);
        EXPECT_FALSE(real().changeDirectory(dir / "moved.txt"));  // a file
        EXPECT_FALSE(real().changeDirectory(""));
        EXPECT_EQ(*real().currentDirectory(), stdfs::canonical(dir / "a").string());  // stays where it was
        ASSERT_TRUE(real().changeDirectory(before));
    }
    ::setenv("KESTRIN_TEST_VALUE", "один", 1);
    EXPECT_EQ(real().environment("KESTRIN_TEST_VALUE"), "один");
    ::unsetenv("KESTRIN_TEST_VALUE");
    EXPECT_EQ(real().environment("KESTRIN_TEST_VALUE"), std::nullopt);
}

TEST(RealFileSystem, OutputFilesReportWriteErrors) {
    TempFolder dir("output");
    {
        auto file = real().openForWriting(dir / "t.txt");
        ASSERT_TRUE(file);
        OutputStream out(std::move(*file));
        out << "first line\n" << 42;
        EXPECT_TRUE(out.close());
    }
    EXPECT_EQ(TempFolder::read(dir / "t.txt"), "first line\n42");

    auto full = real().openForWriting("/dev/full");
    ASSERT_TRUE(full);
    OutputStream out(std::move(*full));
    out << "lost";
    Status closed = out.close();
    ASSERT_FALSE(closed);
    EXPECT_EQ(closed.error().message(), "/dev/full: cannot write: No space left on device");

    ASSERT_EQ(::mkfifo((dir / "fifo").c_str(), 0644), 0);
    EXPECT_FALSE(real().openForWriting(dir / "fifo"));  // no reader: refused, not waited for
    EXPECT_FALSE(real().openForWriting(dir.path()));
}

TEST(RealFileSystem, ExclusiveLockMakesASecondLockerWaitUntilReleased) {
    TempFolder dir("lock");
    const std::string lockFile = dir / "registry.reg.lock";
    auto first = real().lockExclusively(lockFile);
    ASSERT_TRUE(first.ok()) << first.error().message();
    EXPECT_TRUE(stdfs::exists(lockFile)) << "the lock file is created";

    std::atomic<bool> taken{false};
    std::thread other([&] {
        auto second = real().lockExclusively(lockFile);  // another open of the file: waits like another process
        EXPECT_TRUE(second.ok());
        taken = true;
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(150));
    EXPECT_FALSE(taken) << "the second locker waits while the first holds the lock";
    first->reset();
    other.join();
    EXPECT_TRUE(taken);

    auto nowhere = real().lockExclusively(dir / "missing/x.lock");
    ASSERT_FALSE(nowhere.ok());
    EXPECT_NE(nowhere.error().message().find("missing/x.lock"), std::string::npos) << nowhere.error().message();
}

TEST(RealFileSystem, StatusTellsARewrittenOrReplacedFileFromTheOldOne) {
    TempFolder dir("stamp");
    const std::string file = dir / "a.reg";
    ASSERT_TRUE(real().writeFile(file, "one").ok());
    auto before = real().status(file);
    ASSERT_TRUE(before.ok());
    ASSERT_TRUE(real().writeFile(file, "two").ok());  // same size, a new file renamed over the old
    auto after = real().status(file);
    ASSERT_TRUE(after.ok());
    EXPECT_TRUE(before->modified != after->modified || before->identity != after->identity);
}
