// Windows: a standard stream is a terminal when it is a console.
#include "platform/process/StandardInput.h"

#include <windows.h>

namespace kestrin::process {

namespace {

bool isConsole(DWORD which) {
    HANDLE h = GetStdHandle(which);
    DWORD mode = 0;
    return h != nullptr && h != INVALID_HANDLE_VALUE && GetFileType(h) == FILE_TYPE_CHAR && GetConsoleMode(h, &mode);
}

}  // namespace

bool standardInputIsTerminal() { return isConsole(STD_INPUT_HANDLE); }
bool standardErrorIsTerminal() { return isConsole(STD_ERROR_HANDLE); }

}  // namespace kestrin::process
