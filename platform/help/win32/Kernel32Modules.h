// Libraries of Windows by name (LoadLibrary, GetProcAddress, FreeLibrary)
// behind plain types, for the platform files that declare the system's names
// with the platform's own types.
#pragma once

#include <string>

namespace kestrin::win32::modules {

// The library's handle, or null.
void* load(const std::string& nameOrPath);
// The export by ordinal, or null.
void* exportByOrdinal(void* library, int ordinal);
bool release(void* library);

}  // namespace kestrin::win32::modules
