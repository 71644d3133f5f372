#include "platform/shell/win32/Shell32.h"

#include <windows.h>
#include <shellapi.h>

namespace kestrin::win32::shell32 {

std::intptr_t shellExecute(const char* verb, const char* file, const char* parameters, const char* directory,
                           int showCommand) {
    return reinterpret_cast<std::intptr_t>(ShellExecuteA(nullptr, verb, file, parameters, directory, showCommand));
}

unsigned winExec(const char* commandLine, unsigned showCommand) { return WinExec(commandLine, showCommand); }

}  // namespace kestrin::win32::shell32
