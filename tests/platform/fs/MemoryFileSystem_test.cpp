// The in-memory file system behaves like the real one where tests rely on it,
// and an installed one serves every caller.
#include <gtest/gtest.h>

#include <stdexcept>

#include "platform/fs/MemoryFileSystem.h"
#include "platform/fs/OutputStream.h"
#include "platform/fs/Path.h"
#include "platform/fs/StateFolder.h"
#include "platform/session/ScriptError.h"
#include "platform/session/ScriptSource.h"

using namespace kestrin::fs;

TEST(MemoryFileSystem, ServesCallersOnceInstalled) {
    MemoryFileSystem memory;
    memory.addFile("/scripts/demo.ks", "command LINE\npoint 1,2\n");
    {
        MemoryFileSystem::Installed installed(memory);
        auto source = kestrin::session::ScriptSource::fromFile("/scripts/demo.ks");
        EXPECT_EQ(source->size(), 2u);
    }
    EXPECT_EQ(&FileSystem::current(), &FileSystem::real());
    EXPECT_THROW(kestrin::session::ScriptSource::fromFile("/scripts/demo.ks"), kestrin::session::ScriptError);
}

TEST(MemoryFileSystem, FilesFoldersAndLinks) {
    MemoryFileSystem m;
    m.addFile("/a/b/file.txt", "content");
    m.addSymlink("b", "/a/link");
    m.addSymlink("/nowhere", "/a/dangling");
    EXPECT_TRUE(m.status("/a/b")->isDirectory());
    EXPECT_EQ(*m.readFile("/a/link/file.txt"), "content");
    EXPECT_EQ(*m.canonical("/a/link/../b/./file.txt"), "/a/b/file.txt");
    EXPECT_FALSE(m.status("/a/dangling")->exists());
    EXPECT_EQ(m.linkStatus("/a/dangling")->type, FileType::Symlink);
    EXPECT_EQ(m.readFile("/a/b").error().message(), "/a/b: cannot read: is a folder");
    EXPECT_EQ(m.readFile("/a/none").error().message(), "/a/none: cannot open: No such file or directory");
    EXPECT_EQ(m.readFile("/a/b/file.txt/x").error().code, ENOTDIR);

    m.setCurrentDirectory("/a");
    EXPECT_EQ(*m.readFile("b/file.txt"), "content");
    EXPECT_EQ(*m.findIgnoringCase("b", "FILE.txt"), "b/file.txt");
    auto list = m.listDirectory(".");
    ASSERT_TRUE(list);
    ASSERT_EQ(list->size(), 3u);
    EXPECT_EQ((*list)[0].name, "b");
    EXPECT_EQ((*list)[1].name, "dangling");
    EXPECT_EQ((*list)[1].type, FileType::Symlink);
    EXPECT_EQ((*list)[2].type, FileType::Directory);  // the link to b
    ASSERT_TRUE(m.changeDirectory("link"));  // through the link, to the folder it names
    EXPECT_EQ(*m.currentDirectory(), "/a/b");
    EXPECT_EQ(m.changeDirectory("file.txt").error().code, ENOTDIR);
    EXPECT_EQ(m.changeDirectory("none").error().code, ENOENT);
    EXPECT_EQ(*m.currentDirectory(), "/a/b");
    m.setCurrentDirectory("/a");

    ASSERT_TRUE(m.createDirectories("/x/y/z"));
    EXPECT_TRUE(m.status("/x/y")->isDirectory());
    ASSERT_TRUE(m.rename("/x", "/w"));
    EXPECT_TRUE(m.status("/w/y/z")->isDirectory());
    EXPECT_FALSE(m.status("/x")->exists());
}

TEST(MemoryFileSystem, AtomicWritesKeepTheOldFileOnFailure) {
    MemoryFileSystem m;
    m.addFile("/d/old.dxf", "old", 0600);
    EXPECT_THROW((void)m.writeAtomically("/d/old.dxf",
                                         [](const ByteSink& sink) {
                                             sink("partial");
                                             throw std::runtime_error("stop");
                                         }),
                 std::runtime_error);
    EXPECT_EQ(*m.readFile("/d/old.dxf"), "old");
    ASSERT_TRUE(m.writeFile("/d/old.dxf", "new"));
    EXPECT_EQ(*m.readFile("/d/old.dxf"), "new");
    EXPECT_EQ(m.status("/d/old.dxf")->mode, 0600u);

    m.addFile("/d/locked.dxf", "keep", 0444);
    EXPECT_EQ(m.writeFile("/d/locked.dxf", "x").error().reason, "it is write-protected");
    m.addSymlink("old.dxf", "/d/link.dxf");
    ASSERT_TRUE(m.writeFile("/d/link.dxf", "via link"));
    EXPECT_EQ(*m.readFile("/d/old.dxf"), "via link");
    EXPECT_EQ(m.linkStatus("/d/link.dxf")->type, FileType::Symlink);
    EXPECT_EQ(m.writeFile("/none/x.dxf", "x").error().message(), "/none/x.dxf: folder /none: No such file or directory");
    EXPECT_EQ(m.writeFile("/d", "x").error().reason, "it is a folder");
    EXPECT_EQ(m.paths(), (std::vector<std::string>{"/", "/d", "/d/link.dxf", "/d/locked.dxf", "/d/old.dxf"}));

    ASSERT_TRUE(m.copyFile("/d/locked.dxf", "/d/copy.dxf"));
    EXPECT_EQ(*m.readFile("/d/copy.dxf"), "keep");
    {
        OutputStream out(std::move(*m.openForWriting("/d/t.txt")));
        out << "transcript";
        EXPECT_TRUE(out.close());
    }
    EXPECT_EQ(*m.readFile("/d/t.txt"), "transcript");
}

TEST(Path, LexicalOperations) {
    EXPECT_EQ(joinPath("/a", "b"), "/a/b");
    EXPECT_EQ(joinPath("/a/", "/b"), "/b");
    EXPECT_EQ(joinPath("", "b"), "b");
    EXPECT_EQ(parentPath("/a/b"), "/a");
    EXPECT_EQ(parentPath("/b"), "/");
    EXPECT_EQ(parentPath("b"), "");
    EXPECT_EQ(parentPath("a//b"), "a");
    EXPECT_EQ(normalPath("/a/./b/../../.."), "/");
    EXPECT_EQ(normalPath("../a/../../b//"), "../../b");
    EXPECT_EQ(normalPath("a/.."), ".");
    EXPECT_EQ(splitPath("C:\\a/b\\\\c", "\\/"), (std::vector<std::string>{"C:", "a", "b", "c"}));
    EXPECT_TRUE(sameNameIgnoringCase("Чертёж.DXF", "чЕРТЁЖ.dxf"));
    EXPECT_FALSE(sameNameIgnoringCase("Чертеж.dxf", "Чертёж.dxf"));
    EXPECT_FALSE(sameNameIgnoringCase("a.dxf", "a.dx"));
}

TEST(MemoryFileSystem, LocksAreGrantedInAnExistingFolderAndWritesShowAsNewVersions) {
    MemoryFileSystem fs;
    fs.addDirectory("/home/u/.kestrin");
    auto lock = fs.lockExclusively("/home/u/.kestrin/registry.reg.lock");
    ASSERT_TRUE(lock.ok());
    auto again = fs.lockExclusively("/home/u/.kestrin/registry.reg.lock");
    EXPECT_TRUE(again.ok()) << "one process holds the memory: a second lock is granted too";
    EXPECT_FALSE(fs.lockExclusively("/nowhere/x.lock").ok());

    ASSERT_TRUE(fs.writeFile("/home/u/a.reg", "one").ok());
    auto before = fs.status("/home/u/a.reg");
    ASSERT_TRUE(fs.writeFile("/home/u/a.reg", "two").ok());
    auto after = fs.status("/home/u/a.reg");
    ASSERT_TRUE(before.ok() && after.ok());
    EXPECT_NE(before->modified, after->modified) << "same size, new content: a new version";
}

TEST(StateFolder, IsUnderXdgStateHomeElseTheHomesLocalStateAndIsMade) {
    MemoryFileSystem m;
    MemoryFileSystem::Installed installed(m);
    m.setEnvironment("HOME", "/home/person");
    EXPECT_EQ(*userStateFolder("kestrin"), "/home/person/.local/state/kestrin");
    EXPECT_TRUE(m.status("/home/person/.local/state/kestrin")->isDirectory());
    m.setEnvironment("XDG_STATE_HOME", "relative/state");  // not absolute: passed over
    EXPECT_EQ(*userStateFolder("kestrin"), "/home/person/.local/state/kestrin");
    m.setEnvironment("XDG_STATE_HOME", "/var/state");
    EXPECT_EQ(*userStateFolder("kestrin"), "/var/state/kestrin");
    m.addFile("/blocked", "a file");
    m.setEnvironment("XDG_STATE_HOME", "/blocked");
    EXPECT_FALSE(userStateFolder("kestrin"));
}
