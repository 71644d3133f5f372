// Single values through the registry calls (WinReg.h), for code that wants
// a value rather than the calls' buffers: a string read, values written
// under a key made when missing, and why a call failed.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "platform/registry/WinReg.h"

namespace kestrin::registry {

// A string value without its terminating zero; nothing when it is missing
// or no string (`status` tells a failure of the registry itself).
std::optional<std::string> queryString(HKEY key, const char* name, LSTATUS& status);

// Opens `path` below `root` for writing (made when missing), lets `write`
// set values in it and closes it: ERROR_SUCCESS or the first failure.
LSTATUS writeValues(HKEY root, const std::string& path, const std::function<LSTATUS(HKEY)>& write);

// Why a call failed: the registry file's own problem when it has one (file
// and line), else the status number.
std::string failureOf(LSTATUS status);

}  // namespace kestrin::registry
