// Processes from a Tool Help snapshot and libraries through LoadLibrary.
#include <gtest/gtest.h>

#include "platform/process/Processes.h"
#include "platform/process/SharedLibrary.h"
#include "platform/shell/Shell.h"

using kestrin::process::SharedLibrary;

TEST(WindowsProcesses, TheTestProgramItselfIsListedByItsExecutable) {
    auto count = kestrin::process::countProcesses("PLATFORM_TESTS.EXE");
    ASSERT_TRUE(count) << count.error().message();
    EXPECT_GE(*count, 1) << "letter case ignored for .exe names";
    auto none = kestrin::process::countProcesses("no-such-program.exe");
    ASSERT_TRUE(none);
    EXPECT_EQ(*none, 0);
}

TEST(WindowsProcesses, ModulesLoadByPathAndNameTheirExports) {
    auto module = SharedLibrary::open(KESTRIN_BINARY_DIR "/modules/recording.arx");
    ASSERT_TRUE(module) << module.error().message();
    EXPECT_NE((*module)->symbol("acrxEntryPoint"), nullptr);
    std::string why;
    EXPECT_EQ((*module)->symbol("noSuchExport", &why), nullptr);
    EXPECT_FALSE(why.empty());
    EXPECT_NE((*module)->handle(), nullptr);
    auto bare = SharedLibrary::open("kernel32.dll");
    EXPECT_FALSE(bare) << "a bare name is the file in the current folder, never the system's search";
    auto missing = SharedLibrary::open(KESTRIN_BINARY_DIR "/modules/missing.arx");
    ASSERT_FALSE(missing);
    EXPECT_EQ(missing.error().reason, "No such file or directory");
}

TEST(WindowsShell, MissingTargetsAnswerTheShellsNumbers) {
    const auto opened = reinterpret_cast<INT_PTR>(ShellExecute(nullptr, "open", "C:\\no\\such\\file.htm", nullptr, nullptr, 1));
    EXPECT_LE(opened, 32) << "a failure";
    EXPECT_TRUE(opened == SE_ERR_FNF || opened == SE_ERR_PNF) << opened;
    EXPECT_LE(WinExec("C:\\no\\such\\program.exe", 1), 31u);
}
