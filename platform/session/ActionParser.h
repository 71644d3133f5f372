// Reads one line of the session language into an Action.
//
// A line is UTF-8; its strings come out in CP1251. `#` outside quotes starts a
// comment; a blank or comment-only line gives no action. Anything else that is
// not a well-formed action throws ScriptError naming `origin` and the reason.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/session/Action.h"

namespace kestrin::session {

std::optional<Action> parseAction(std::string_view utf8Line, const std::string& origin);

// A line a person typed at the command line: as parseAction, but a blank line
// is Enter, X,Y[,Z] is a point ("10,20" for "point 10,20") and a lone word
// that names no action is a command name ("CKestrin" for "command CKestrin").
std::optional<Action> parseTypedAction(std::string_view utf8Line, const std::string& origin);

}  // namespace kestrin::session
