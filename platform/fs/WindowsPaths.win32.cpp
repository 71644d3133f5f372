// Windows paths on Windows are the system's own: nothing to map.
#include "platform/fs/FileSystem.h"

namespace kestrin::fs {

Result<std::string> FileSystem::resolve(const std::string& path) { return path; }

Result<std::string> FileSystem::currentWindowsDirectory() { return doCurrentDirectory(); }

}  // namespace kestrin::fs
