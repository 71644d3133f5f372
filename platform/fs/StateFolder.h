// Where a program keeps what it writes for itself between runs (recovery
// files): $XDG_STATE_HOME/PROGRAM, else ~/.local/state/PROGRAM.
#pragma once

#include <string>

#include "platform/fs/Result.h"

namespace kestrin::fs {

// The folder, made when missing (with its parents). An error names the
// folder, or the variables when neither is set.
Result<std::string> userStateFolder(const std::string& program);

}  // namespace kestrin::fs
