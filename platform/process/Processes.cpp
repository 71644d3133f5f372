#include "platform/process/Processes.h"

#include "platform/fs/Path.h"

namespace kestrin::process {

namespace {

std::string baseName(const std::string& path) {
    const std::size_t cut = path.find_last_of("/\\");
    return cut == std::string::npos ? path : path.substr(cut + 1);
}

bool endsWithExe(const std::string& s) {
    if (s.size() < 4) return false;
    return fs::sameNameIgnoringCase(std::string_view(s).substr(s.size() - 4), ".exe");
}

bool isEmulator(const std::string& name) {
    return name == "wine" || name == "wine64" || name == "wine-preloader" || name == "wine64-preloader" ||
           name == "wineserver";
}

}  // namespace

std::string processName(const std::string& exe, const std::string& cmdline) {
    std::vector<std::string> args;
    for (std::size_t start = 0; start < cmdline.size();) {
        std::size_t end = cmdline.find('\0', start);
        if (end == std::string::npos) end = cmdline.size();
        args.push_back(cmdline.substr(start, end - start));
        start = end + 1;
    }
    // The kernel marks the executable of a deleted file.
    std::string name = baseName(exe);
    if (const std::size_t deleted = name.rfind(" (deleted)"); deleted != std::string::npos && deleted + 10 == name.size())
        name.erase(deleted);
    if (name.empty() && !args.empty()) name = baseName(args.front());
    if (isEmulator(name) && name != "wineserver")
        for (const std::string& arg : args)
            if (endsWithExe(arg)) return baseName(arg);
    return name;
}

fs::Result<int> countProcesses(const std::string& name, fs::FileSystem& fs) {
    auto list = listProcesses(fs);
    if (!list) return list.error();
    int n = 0;
    for (const ProcessInfo& p : *list)
        if (endsWithExe(name) ? fs::sameNameIgnoringCase(p.name, name) : p.name == name) ++n;
    return n;
}

}  // namespace kestrin::process
