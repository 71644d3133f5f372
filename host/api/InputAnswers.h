// What every input request of the host shares: asking the session with a
// prompt, and the answers that mean the same to every request (Enter,
// Escape, an action no request takes).
#pragma once

#include <optional>
#include <string>

#include "platform/session/Action.h"

namespace kestrin::host::input {

// The prompt shown, then the person's next action; nothing when the input
// ended or the session failed.
std::optional<session::Action> ask(const char* prompt);

// What refuse answers when the session only reported the refusal (a person
// at a terminal): the request asks again.
constexpr int kAskAgain = -0x7FFF;

// The answer to an action that does not fit the request: RTCAN once the
// session failed, else kAskAgain.
int refuse(const session::Action& action, const std::string& why);

// RTNONE for Enter, RTCAN for Escape (both echoed), a refusal for an action
// no input request takes; nothing for a point, a pick or a miss, which the
// request itself judges. `wanted` names what is asked for ("a point").
std::optional<int> commonAnswer(const session::Action& action, const char* wanted);

}  // namespace kestrin::host::input
