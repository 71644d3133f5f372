#include "platform/fs/PathRules.h"

namespace kestrin::fs {

const char* pathSeparators() { return "/"; }
bool isPathSeparator(char c) { return c == '/'; }
std::size_t rootLength(const std::string& path) { return !path.empty() && path.front() == '/' ? 1 : 0; }
bool isAbsolutePath(const std::string& path) { return rootLength(path) > 0; }

}  // namespace kestrin::fs
