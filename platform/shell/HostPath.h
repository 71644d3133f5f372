// Paths as the system names them turned into paths of this machine: a
// Windows path ("C:\Browser\browser.exe") is mapped through the drive links
// of the file services (FileSystem::resolve); a Linux path is taken as given.
#pragma once

#include <optional>
#include <string>

namespace kestrin::shell {

// The path on this machine, or nothing when the path cannot be mapped (its
// drive has no link, or the links cannot be read).
std::optional<std::string> hostPathOf(const std::string& path);

}  // namespace kestrin::shell
