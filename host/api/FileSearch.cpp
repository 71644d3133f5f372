#include "host/api/FileSearch.h"

#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "base/Cp1251.h"
#include "host/api/AdsTypes.h"
#include "host/api/HostState.h"
#include "platform/fs/FileSystem.h"
#include "platform/fs/Path.h"

namespace {

using kestrin::fs::FileSystem;

// The regular file reached from `dir` through `parts`, each matched in any
// letter case (an exact match wins).
std::optional<std::string> lookIn(FileSystem& files, std::string dir, const std::vector<std::string>& parts) {
    for (const std::string& part : parts) {
        if (part == ".") continue;
        auto next = files.findIgnoringCase(dir, part);
        if (!next) return std::nullopt;
        dir = *next;
    }
    auto st = files.status(dir);
    return st && st->isRegular() ? std::optional<std::string>(dir) : std::nullopt;
}

bool hasDrive(const std::string& s) {
    return s.size() >= 2 && s[1] == ':' && ((s[0] >= 'A' && s[0] <= 'Z') || (s[0] >= 'a' && s[0] <= 'z'));
}

}  // namespace

namespace kestrin::host {

int findFile(const char* name, char* result, std::size_t size) {
    if (result != nullptr && size > 0) result[0] = '\0';
    if (name == nullptr || *name == '\0' || result == nullptr) return RTERROR;
    FileSystem& files = FileSystem::current();
    const std::string text = cp1251ToUtf8(name);
    auto answer = [&](const std::string& full) {
        std::string out;
        try {
            out = utf8ToCp1251(full);
        } catch (const EncodingError&) {
            return false;
        }
        if (out.size() + 1 > size) return false;
        std::memcpy(result, out.c_str(), out.size() + 1);
        return true;
    };
    if (hasDrive(text)) {  // a Windows path: where its drive is
        auto st = files.status(text);
        if (!st || !st->isRegular()) return RTERROR;
        auto full = files.canonical(text);
        return full && answer(*full) ? RTNORM : RTERROR;
    }
    const std::vector<std::string> parts = fs::splitPath(text, "/\\");
    if (parts.empty()) return RTERROR;
    const bool hasFolder = text.find_first_of("/\\") != std::string::npos;
    auto cwd = files.currentDirectory();
    std::vector<std::string> folders;
    if (text.front() == '/' || text.front() == '\\') {
        folders.emplace_back("/");
    } else if (hasFolder) {
        if (cwd) folders.push_back(*cwd);
    } else {
        const HostState& state = HostState::instance();
        if (!state.drawingPath.empty()) folders.push_back(fs::parentPath(state.drawingPath));
        if (cwd) folders.push_back(*cwd);
        for (const auto& dir : state.supportPath) folders.emplace_back(dir);
    }
    for (const std::string& dir : folders) {
        const auto found = lookIn(files, dir.empty() ? "." : dir, parts);
        if (!found) continue;
        const std::string full = fs::normalPath(cwd ? fs::joinPath(*cwd, *found) : *found);
        // Too long for the caller's buffer: not found (as before), not a truncated path.
        if (!answer(full)) {
            try {
                if (utf8ToCp1251(full).size() + 1 > size) return RTERROR;
            } catch (const EncodingError&) {
            }
            continue;
        }
        return RTNORM;
    }
    return RTERROR;
}

}  // namespace kestrin::host

int acedFindFile(const char* name, char* result) { return kestrin::host::findFile(name, result, 260); }
