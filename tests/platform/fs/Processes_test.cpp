// Processes go by their executable's name; a Windows program under an
// emulator by the Windows executable named on its command line.
#include <gtest/gtest.h>
#include <unistd.h>

#include "platform/fs/MemoryFileSystem.h"
#include "platform/process/Processes.h"

using namespace kestrin;
using kestrin::fs::MemoryFileSystem;

namespace {

void addProcess(MemoryFileSystem& m, int pid, const std::string& exe, const std::string& cmdline) {
    const std::string dir = "/proc/" + std::to_string(pid);
    m.addFile(dir + "/cmdline", cmdline);
    if (!exe.empty()) m.addSymlink(exe, dir + "/exe");
}

}  // namespace

TEST(Processes, AreNamedByExecutableOrByTheWindowsProgram) {
    MemoryFileSystem m;
    addProcess(m, 1, "/usr/lib/systemd/systemd", std::string("/sbin/init\0splash\0", 18));
    addProcess(m, 42, "/opt/cadhost", std::string("cadhost\0--open\0x.exe\0", 21));
    addProcess(m, 77, "/usr/bin/wine64-preloader", std::string("C:\\Program Files\\Plantor\\Setup.EXE\0/q\0", 39));
    addProcess(m, 78, "/usr/bin/wine", std::string("wine\0Z:\\home\\x\\zorString.exe\0", 29));
    addProcess(m, 79, "/usr/bin/wineserver", std::string("/usr/bin/wineserver\0", 20));
    addProcess(m, 2, "", "");                                          // a kernel thread
    addProcess(m, 90, "", std::string("/usr/bin/other\0", 15));        // exe unreadable
    m.addFile("/proc/self/cmdline", "not a process");
    m.addFile("/proc/meminfo", "");

    auto list = process::listProcesses(m);
    ASSERT_TRUE(list) << list.error().message();
    std::vector<std::string> names;
    for (const auto& p : *list) names.push_back(std::to_string(p.pid) + " " + p.name);
    EXPECT_EQ(names, (std::vector<std::string>{"1 systemd", "42 cadhost", "77 Setup.EXE", "78 zorString.exe",
                                                "79 wineserver", "90 other"}));
    EXPECT_EQ(*process::countProcesses("setup.exe", m), 1);  // Windows names ignore letter case
    EXPECT_EQ(*process::countProcesses("CADHOST", m), 0);
    EXPECT_EQ(*process::countProcesses("cadhost", m), 1);
    EXPECT_EQ(process::processName("/usr/bin/vim (deleted)", std::string("vim\0", 4)), "vim");

    MemoryFileSystem noProc;
    auto none = process::listProcesses(noProc);
    ASSERT_FALSE(none);
    EXPECT_EQ(none.error().path, "/proc");
}

TEST(Processes, TheRealListHoldsThisProgram) {
    auto list = process::listProcesses(fs::FileSystem::real());
    ASSERT_TRUE(list) << list.error().message();
    bool self = false;
    for (const auto& p : *list)
        if (p.pid == ::getpid()) self = p.name == "platform_tests";
    EXPECT_TRUE(self);
    EXPECT_GE(*process::countProcesses("platform_tests", fs::FileSystem::real()), 1);
}
