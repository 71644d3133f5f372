// Windows error numbers (GetLastError) in the platform's terms: the errno
// that means the same (the callers test ENOENT, EEXIST, EACCES ...) and the
// system's own text.
#pragma once

#include <string>

#include "platform/fs/Result.h"

namespace kestrin::win32 {

int errnoOf(unsigned long error);
// The system's message for `error`, without its final period and line break.
std::string systemMessage(unsigned long error);
// An Error for `path` from a Windows error number.
fs::Error windowsError(std::string path, std::string action, unsigned long error);
// The same for GetLastError() now.
fs::Error lastError(std::string path, std::string action);

}  // namespace kestrin::win32
