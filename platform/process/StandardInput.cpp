#include "platform/process/StandardInput.h"

#include <unistd.h>

namespace kestrin::process {

bool standardInputIsTerminal() { return ::isatty(STDIN_FILENO) != 0; }
bool standardErrorIsTerminal() { return ::isatty(STDERR_FILENO) != 0; }

}  // namespace kestrin::process
