// The commands of the host itself, typed at the command line like a module's:
// REGEN, U, UNDO, REDO, and the name of each host setting (SAVETIME,
// UNDOLIMIT), which shows the value and asks for a new one.
#pragma once

#include <string_view>

namespace kestrin::host {

// `name` without a leading '_' or '.'; any letter case.
bool isHostCommand(std::string_view name);
// Runs it; false when there is no such command.
bool runHostCommand(std::string_view name);

}  // namespace kestrin::host
