#include "host/api/FileSearch.h"

#include <cstring>
#include <filesystem>
#include <optional>
#include <string>
#include <system_error>
#include <vector>

#include "base/Cp1251.h"
#include "host/api/AdsTypes.h"
#include "host/api/HostState.h"
#include "host/db/RecordTags.h"

namespace fs = std::filesystem;

namespace {

// The entry of `dir` named `name` (CP1251) in any letter case; an exact
// match wins.
std::optional<fs::path> entryIn(const fs::path& dir, const std::string& name) {
    std::error_code ec;
    std::string utf8;
    try {
        utf8 = kestrin::cp1251ToUtf8(name);
    } catch (const kestrin::EncodingError&) {
        return std::nullopt;
    }
    if (fs::exists(dir / utf8, ec)) return dir / utf8;
    for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
        std::string candidate;
        try {
            candidate = kestrin::utf8ToCp1251(it->path().filename().string());
        } catch (const kestrin::EncodingError&) {
            continue;  // a name the code page cannot spell cannot be asked for
        }
        if (kestrin::db::sameName(candidate, name)) return it->path();
    }
    return std::nullopt;
}

std::optional<fs::path> lookIn(fs::path dir, const std::vector<std::string>& parts) {
    for (std::size_t i = 0; i < parts.size(); ++i) {
        if (parts[i].empty() || parts[i] == ".") continue;
        auto next = entryIn(dir, parts[i]);
        if (!next) return std::nullopt;
        dir = *next;
    }
    std::error_code ec;
    return fs::is_regular_file(dir, ec) ? std::optional<fs::path>(dir) : std::nullopt;
}

}  // namespace

namespace kestrin::host {

int findFile(const char* name, char* result, std::size_t size) {
    if (result != nullptr && size > 0) result[0] = '\0';
    if (name == nullptr || *name == '\0' || result == nullptr) return RTERROR;
    std::string text(name);
    for (char& c : text)
        if (c == '\\') c = '/';
    std::vector<std::string> parts;
    for (std::size_t start = 0;;) {
        const std::size_t slash = text.find('/', start);
        parts.push_back(text.substr(start, slash - start));
        if (slash == std::string::npos) break;
        start = slash + 1;
    }
    std::vector<fs::path> folders;
    if (text.front() == '/') {
        folders.emplace_back("/");
    } else if (parts.size() > 1) {
        folders.push_back(fs::current_path());
    } else {
        const HostState& state = HostState::instance();
        if (!state.drawingPath.empty()) folders.push_back(fs::path(state.drawingPath).parent_path());
        std::error_code ec;
        folders.push_back(fs::current_path(ec));
        for (const auto& dir : state.supportPath) folders.emplace_back(dir);
    }
    for (const fs::path& dir : folders) {
        const auto found = lookIn(dir.empty() ? fs::path(".") : dir, parts);
        if (!found) continue;
        std::error_code ec;
        const fs::path full = fs::absolute(*found, ec).lexically_normal();
        std::string out;
        try {
            out = utf8ToCp1251(full.string());
        } catch (const EncodingError&) {
            continue;
        }
        if (out.size() + 1 > size) return RTERROR;
        std::memcpy(result, out.c_str(), out.size() + 1);
        return RTNORM;
    }
    return RTERROR;
}

}  // namespace kestrin::host

int acedFindFile(const char* name, char* result) { return kestrin::host::findFile(name, result, 260); }
