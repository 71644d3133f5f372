#include "platform/fs/Path.h"

#include "base/Cp1251.h"

namespace kestrin::fs {

namespace {
char32_t folded(char32_t cp) {
    if (cp >= 'A' && cp <= 'Z') return cp - 'A' + 'a';
    if (cp >= 0x0410 && cp <= 0x042F) return cp + 0x20;  // А..Я
    if (cp >= 0x0400 && cp <= 0x040F) return cp + 0x50;  // Ѐ..Џ, Ё
    return cp;
}
}  // namespace

bool sameNameIgnoringCase(std::string_view a, std::string_view b) {
    std::size_t i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        const std::size_t ai = i, bj = j;
        const char32_t ca = decodeUtf8(a, i), cb = decodeUtf8(b, j);
        if (ca == 0xFFFFFFFF || cb == 0xFFFFFFFF) {  // malformed: bytes must match
            if (a[ai] != b[bj]) return false;
            continue;
        }
        if (folded(ca) != folded(cb)) return false;
    }
    return i == a.size() && j == b.size();
}

std::string joinPath(const std::string& a, const std::string& b) {
    if (a.empty() || (!b.empty() && b.front() == '/')) return b;
    if (b.empty()) return a;
    return a.back() == '/' ? a + b : a + "/" + b;
}

std::string parentPath(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    if (slash == std::string::npos) return "";
    const std::size_t end = path.find_last_not_of('/', slash);
    return end == std::string::npos ? "/" : path.substr(0, end + 1);
}

std::string fileName(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::vector<std::string> splitPath(const std::string& path, const std::string& separators) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    while (start <= path.size()) {
        const std::size_t end = path.find_first_of(separators, start);
        const std::size_t stop = end == std::string::npos ? path.size() : end;
        if (stop > start) parts.push_back(path.substr(start, stop - start));
        if (end == std::string::npos) break;
        start = end + 1;
    }
    return parts;
}

std::string normalPath(const std::string& path) {
    const bool absolute = !path.empty() && path.front() == '/';
    std::vector<std::string> kept;
    for (std::string& part : splitPath(path)) {
        if (part == ".") continue;
        if (part == "..") {
            if (!kept.empty() && kept.back() != "..") {
                kept.pop_back();
                continue;
            }
            if (absolute) continue;  // "/.." is "/"
        }
        kept.push_back(std::move(part));
    }
    std::string out = absolute ? "/" : "";
    for (std::size_t i = 0; i < kept.size(); ++i) out += (i ? "/" : "") + kept[i];
    return out.empty() ? "." : out;
}

}  // namespace kestrin::fs
