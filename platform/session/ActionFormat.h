// An action written back as one line of the session language: what --record
// writes, so a session done in the windows can be replayed as a script.
#pragma once

#include <string>

#include "platform/session/Action.h"

namespace kestrin::session {

// One script line (UTF-8, no line break) that parseAction reads back to the
// same action (its origin aside). Texts are quoted where a bare word would
// not read back, with \" \\ \n \t escaped; numbers keep every digit.
std::string formatAction(const Action& action);

}  // namespace kestrin::session
