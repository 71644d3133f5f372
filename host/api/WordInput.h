// A word the host asks for at the command line (a number, an option such as
// "All"): what a person types there and ends with Enter, in a script the
// text of a `command` line.
#pragma once

#include <string>

namespace kestrin::host {

// Shows `prompt` and takes the next word (CP1251) into `word`: RTNORM, RTNONE
// for Enter (`word` empty), RTCAN for Escape or the end of input. A point or
// a pick is refused and asked again at a terminal.
int getWord(const char* prompt, std::string& word);

}  // namespace kestrin::host
