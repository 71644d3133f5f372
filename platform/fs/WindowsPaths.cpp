// Windows paths on Linux, mapped as the host's own platform does under an
// emulator: a folder of drive links (KESTRIN_DOSDEVICES, by default
// ~/.kestrin/dosdevices) where "c:" links to the folder that is drive C.
// "c:" -> ../drive_c and "z:" -> / are made the first time a drive is needed.
#include <cerrno>

#include "platform/fs/FileSystem.h"
#include "platform/fs/Path.h"

namespace kestrin::fs {

namespace {

bool isLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

bool hasDrive(const std::string& path) { return path.size() >= 2 && isLetter(path[0]) && path[1] == ':'; }

char upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }
char lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

}  // namespace

Result<std::string> FileSystem::resolve(const std::string& path) {
    if (path.empty() || path.front() == '/') return path;
    if (hasDrive(path) || path.find('\\') != std::string::npos) return resolveWindows(path);
    return path;
}

Result<std::string> FileSystem::dosDevices() {
    std::string dir;
    if (auto set = doEnvironment("KESTRIN_DOSDEVICES"); set && !set->empty()) {
        dir = *set;
    } else {
        auto home = doEnvironment("HOME");
        if (!home || home->empty())
            return Error{"~/.kestrin/dosdevices", "cannot find the drive links", "HOME is not set", 0};
        dir = joinPath(*home, ".kestrin/dosdevices");
    }
    Status made = createDirectoriesLinux(dir);
    if (!made) return made.error();
    // The two drives every installation has.
    const struct {
        const char* name;
        const char* target;
    } standard[] = {{"c:", "../drive_c"}, {"z:", "/"}};
    for (const auto& drive : standard) {
        auto existing = findEntry(dir, drive.name);
        if (existing) continue;
        if (existing.error().code != ENOENT) return existing.error();
        if (drive.name[0] == 'c') {
            Status folder = createDirectoriesLinux(joinPath(parentPath(normalPath(dir)), "drive_c"));
            if (!folder) return folder.error();
        }
        Status link = doCreateSymlink(drive.target, joinPath(dir, drive.name));
        if (!link && link.error().code != EEXIST) return link.error();
    }
    return dir;
}

Result<std::string> FileSystem::driveFolder(char drive) {
    auto dir = dosDevices();
    if (!dir) return dir.error();
    const std::string name = std::string(1, lower(drive)) + ":";
    auto link = findEntry(*dir, name);
    if (!link) {
        if (link.error().code != ENOENT) return link.error();
        return Error{joinPath(*dir, name), std::string("no drive ") + upper(drive) + ":", "there is no such drive link",
                     ENOENT};
    }
    auto target = doStatus(*link, true);
    if (!target) return target.error();
    if (!target->exists()) {
        auto points = doReadLink(*link);
        return Error{*link, std::string("drive ") + upper(drive) + ": cannot be used",
                     "the drive link is dangling (it points to '" + (points ? *points : std::string("?")) +
                         "', which does not exist)",
                     ENOENT};
    }
    if (!target->isDirectory())
        return Error{*link, std::string("drive ") + upper(drive) + ": cannot be used", "the drive link is not a folder",
                     ENOTDIR};
    return *link;
}

Result<std::string> FileSystem::resolveWindows(const std::string& path) {
    std::string rest = path;
    std::string base;
    if (hasDrive(path)) {
        auto drive = driveFolder(path[0]);
        if (!drive) return drive.error();
        base = *drive;
        rest = path.substr(2);
    } else if (path.front() == '\\') {  // the root of the current drive
        auto cwd = currentWindowsDirectory();
        if (!cwd) return cwd.error();
        auto drive = driveFolder((*cwd)[0]);
        if (!drive) return drive.error();
        base = *drive;
    }
    const std::string root = base;
    std::vector<std::string> added;
    for (const std::string& part : splitPath(rest, "\\/")) {
        if (part == ".") continue;
        if (part == "..") {
            if (!added.empty()) {
                added.pop_back();
                base = parentPath(base);
                if (base.empty() && !root.empty()) base = root;
            } else if (root.empty()) {
                base = joinPath(base, "..");
            }
            continue;
        }
        // The exact name, else the entry that differs only in letter case,
        // else the name as given (a file about to be made).
        auto found = findEntry(base, part);
        base = found ? (base.empty() ? fileName(*found) : *found) : joinPath(base, part);
        added.push_back(part);
    }
    if (base.empty()) return std::string(".");
    return base;
}

Result<std::string> FileSystem::currentWindowsDirectory() {
    auto cwd = doCurrentDirectory();
    if (!cwd) return cwd.error();
    std::string letter = "Z";
    std::string rest = *cwd;
    if (auto dir = dosDevices()) {
        std::size_t best = 0;
        bool found = false;
        if (auto entries = doListDirectory(*dir)) {
            for (const DirEntry& e : *entries) {
                if (e.name.size() != 2 || !hasDrive(e.name)) continue;
                auto target = doCanonical(joinPath(*dir, e.name));
                if (!target) continue;
                const std::string& t = *target;
                const bool holds = t == "/" || *cwd == t || cwd->compare(0, t.size() + 1, t + "/") == 0;
                if (!holds || (found && t.size() <= best)) continue;
                found = true;
                best = t.size();
                letter = std::string(1, upper(e.name[0]));
                rest = t == "/" ? *cwd : cwd->substr(t.size());
            }
        }
    }
    std::string out = letter + ":";
    for (char c : rest) out += c == '/' ? '\\' : c;
    if (out.size() == 2) out += '\\';
    return out;
}

}  // namespace kestrin::fs
