// The shell's calls of Windows (shell32's ShellExecuteA, kernel32's WinExec)
// behind plain types, so that the system's declarations of the same names
// (Shell.h) never meet the system headers in one file.
#pragma once

#include <cstdint>

namespace kestrin::win32::shell32 {

std::intptr_t shellExecute(const char* verb, const char* file, const char* parameters, const char* directory,
                           int showCommand);
unsigned winExec(const char* commandLine, unsigned showCommand);

}  // namespace kestrin::win32::shell32
