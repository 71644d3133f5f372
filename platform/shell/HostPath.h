// Paths as the system names them (Windows paths through the drive links)
// turned into paths of this machine. The drive-link mapping of the file
// services is not available yet: until it is, a path is taken as this
// machine's own, and a path with a drive letter or backslashes names nothing.
#pragma once

#include <optional>
#include <string>

namespace kestrin::shell {

// The path on this machine, or nothing when the path cannot be mapped.
std::optional<std::string> hostPathOf(const std::string& path);

}  // namespace kestrin::shell
