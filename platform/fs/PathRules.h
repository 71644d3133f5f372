// What separates and roots a path on the system the build is for: on Linux
// '/' and "/"; on Windows '\' or '/', and the roots "C:\", "C:" and "\".
#pragma once

#include <string>

namespace kestrin::fs {

// The separator characters; the first is the one paths are written with.
const char* pathSeparators();
bool isPathSeparator(char c);
// The length of the root at the start of `path` (0 for a relative path).
std::size_t rootLength(const std::string& path);
// Whether `path` names its place without the current folder.
bool isAbsolutePath(const std::string& path);

}  // namespace kestrin::fs
