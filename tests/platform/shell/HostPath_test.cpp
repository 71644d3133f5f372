// Programs and documents the system names by Windows paths are found through
// the drive links; a drive without a link names nothing.
#include <gtest/gtest.h>

#include "platform/fs/MemoryFileSystem.h"
#include "platform/shell/HostPath.h"

namespace {

using kestrin::fs::MemoryFileSystem;
using kestrin::shell::hostPathOf;

TEST(HostPath, WindowsPathsMapThroughTheDriveLinksLinuxPathsPassUnchanged) {
    MemoryFileSystem memory;
    MemoryFileSystem::Installed installed(memory);
    memory.setEnvironment("KESTRIN_DOSDEVICES", "/wine/dosdevices");
    memory.addFile("/tools/Browser/browser.sh", "#!/bin/sh\n", 0755);
    memory.addSymlink("/tools", "/wine/dosdevices/k:");

    EXPECT_EQ(hostPathOf("K:\\BROWSER\\Browser.SH"), "/wine/dosdevices/k:/Browser/browser.sh")
        << "each component in any letter case";
    EXPECT_EQ(hostPathOf("k:/Browser/new.txt"), "/wine/dosdevices/k:/Browser/new.txt") << "a file about to be made";
    EXPECT_EQ(hostPathOf("Q:\\browser.exe"), std::nullopt) << "no link for drive Q:";
    EXPECT_EQ(hostPathOf("/usr/bin/xdg-open"), "/usr/bin/xdg-open");
    EXPECT_EQ(hostPathOf("xdg-open"), "xdg-open") << "a bare name is for the program search";
    EXPECT_EQ(hostPathOf(""), std::nullopt);
}

}  // namespace
