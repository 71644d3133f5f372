#include "platform/fs/Path.h"

#include "base/Cp1251.h"
#include "platform/fs/PathRules.h"

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
    if (a.empty() || (!b.empty() && rootLength(b) > 0)) return b;
    if (b.empty()) return a;
    if (isPathSeparator(a.back())) return a + b;
    // The separator `a` is written with (Windows takes either), else the system's own.
    const std::size_t last = a.find_last_of(pathSeparators());
    return a + (last == std::string::npos ? pathSeparators()[0] : a[last]) + b;
}

std::string parentPath(const std::string& path) {
    const std::size_t root = rootLength(path);
    const std::size_t slash = path.find_last_of(pathSeparators());
    if (slash == std::string::npos) return path.substr(0, root);
    if (slash < root) return path.substr(0, root);
    const std::size_t end = path.find_last_not_of(pathSeparators(), slash);
    if (end == std::string::npos || end < root) return path.substr(0, root);
    return path.substr(0, end + 1);
}

std::string fileName(const std::string& path) {
    const std::size_t slash = path.find_last_of(pathSeparators());
    const std::size_t root = rootLength(path);
    if (slash == std::string::npos) return path.substr(root);
    return path.substr(slash + 1);
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
    const std::size_t rootSize = rootLength(path);
    const std::string root = path.substr(0, rootSize);
    // Written with the separator the path already uses (Windows takes either).
    const std::size_t first = path.find_first_of(pathSeparators());
    const char separator = first == std::string::npos ? pathSeparators()[0] : path[first];
    const bool absolute = isAbsolutePath(path);
    std::vector<std::string> kept;
    for (std::string& part : splitPath(path.substr(rootSize), pathSeparators())) {
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
    std::string out = root;
    for (std::size_t i = 0; i < kept.size(); ++i) {
        if (i > 0) out += separator;
        out += kept[i];
    }
    return out.empty() ? "." : out;
}

}  // namespace kestrin::fs
