// Windows: the system's own shell. ShellExecuteA opens through the registered
// associations, WinExec starts a command line; their numbers are the answers.
#include "platform/shell/Shell.h"

#include "platform/shell/win32/Shell32.h"

HINSTANCE ShellExecute(HWND, const char* verb, const char* file, const char* parameters, const char* directory,
                       int showCommand) {
    // The owner window is a window of the dialog model, not of the system.
    const std::intptr_t code = kestrin::win32::shell32::shellExecute(verb, file, parameters, directory, showCommand);
    return reinterpret_cast<HINSTANCE>(code);
}

UINT WinExec(const char* commandLine, UINT showCommand) {
    return kestrin::win32::shell32::winExec(commandLine, showCommand);
}
