// The processes running on this machine: on Linux as the file system's /proc
// shows them, on Windows as a Tool Help snapshot lists them. A process goes by
// its executable's file name; on Linux a Windows program run by an emulator
// (wine and its loaders) goes by the Windows executable's file name taken
// from its command line.
#pragma once

#include <string>
#include <vector>

#include "platform/fs/FileSystem.h"

namespace kestrin::process {

struct ProcessInfo {
    int pid = 0;
    std::string name;  // "cadhost", "setup.exe"
};

// Processes that vanish while being listed are left out. (`fs` serves the
// Linux list, which reads /proc through it.)
fs::Result<std::vector<ProcessInfo>> listProcesses(fs::FileSystem& fs = fs::FileSystem::current());

// How many running processes go by `name` (letter case ignored for a name
// ending in ".exe", as Windows does).
fs::Result<int> countProcesses(const std::string& name, fs::FileSystem& fs = fs::FileSystem::current());

// The name a process goes by, from the target of /proc/N/exe and the
// arguments of /proc/N/cmdline (NUL separated).
std::string processName(const std::string& exe, const std::string& cmdline);

}  // namespace kestrin::process
