// Windows' own text is UTF-16; the system's paths and names are UTF-8. The
// Windows implementations of the platform convert at the call.
#pragma once

#include <string>
#include <string_view>

namespace kestrin::win32 {

std::wstring widen(std::string_view utf8);
std::string narrow(std::wstring_view utf16);

}  // namespace kestrin::win32
