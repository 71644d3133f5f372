#include "platform/fs/PathRules.h"

namespace kestrin::fs {

namespace {
bool isLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
}  // namespace

const char* pathSeparators() { return "\\/"; }
bool isPathSeparator(char c) { return c == '\\' || c == '/'; }

std::size_t rootLength(const std::string& path) {
    if (path.size() >= 2 && isLetter(path[0]) && path[1] == ':')
        return path.size() >= 3 && isPathSeparator(path[2]) ? 3 : 2;
    return !path.empty() && isPathSeparator(path.front()) ? 1 : 0;
}

// "C:x" is relative to drive C's current folder; "\x" to the current drive.
bool isAbsolutePath(const std::string& path) { return rootLength(path) != 2 && rootLength(path) > 0; }

}  // namespace kestrin::fs
