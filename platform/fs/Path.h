// Lexical operations on the system's paths; nothing is looked up. On Linux
// they are '/' separated; on Windows '\' or '/' separate and "C:\" is a root
// (PathRules.h).
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kestrin::fs {

// `a` and `b` joined by one '/'; `b` when it is absolute.
std::string joinPath(const std::string& a, const std::string& b);
// The folder part: "a/b" -> "a", "b" -> "", "/b" -> "/".
std::string parentPath(const std::string& path);
// The last component: "a/b" -> "b".
std::string fileName(const std::string& path);
// "." and ".." and repeated '/' removed as far as the text allows.
std::string normalPath(const std::string& path);
// The components between separators (any of `separators`), empty ones dropped.
// Two UTF-8 names equal without regard to letter case (Latin and Cyrillic).
bool sameNameIgnoringCase(std::string_view a, std::string_view b);
std::vector<std::string> splitPath(const std::string& path, const std::string& separators = "/");

}  // namespace kestrin::fs
