// Linux: the processes as /proc shows them.
#include "platform/process/Processes.h"

namespace kestrin::process {

fs::Result<std::vector<ProcessInfo>> listProcesses(fs::FileSystem& fs) {
    auto entries = fs.listDirectory("/proc");
    if (!entries) return entries.error();
    std::vector<ProcessInfo> out;
    for (const fs::DirEntry& e : *entries) {
        if (e.name.empty() || e.name.find_first_not_of("0123456789") != std::string::npos) continue;
        const std::string dir = "/proc/" + e.name;
        auto cmdline = fs.readFile(dir + "/cmdline");
        if (!cmdline) continue;  // gone meanwhile
        auto exe = fs.readLink(dir + "/exe");  // unreadable for other users' processes
        std::string name = processName(exe ? *exe : std::string(), *cmdline);
        if (name.empty()) continue;  // a kernel thread
        out.push_back({std::stoi(e.name), std::move(name)});
    }
    return out;
}

}  // namespace kestrin::process
