// Windows: standard input is a terminal when it is a console.
#include "platform/process/StandardInput.h"

#include <windows.h>

namespace kestrin::process {

bool standardInputIsTerminal() {
    HANDLE in = GetStdHandle(STD_INPUT_HANDLE);
    DWORD mode = 0;
    return in != nullptr && in != INVALID_HANDLE_VALUE && GetFileType(in) == FILE_TYPE_CHAR && GetConsoleMode(in, &mode);
}

}  // namespace kestrin::process
