// Actions typed by a person at a terminal (standard input), each line read
// as parseTypedAction reads it, with the terminal's keys besides:
//   Ctrl+C  while the command line waits: `quit` (the host asks whether to
//           save, and Cancel goes on); while anything else waits: it is
//           cancelled as by Escape (the Escape key in a dialog).
//   Ctrl+D  (end of input) the same; what waits is cancelled, and the
//           command line then gets `quit`. Standard input that is no
//           terminal (a pipe) cannot be read after it ends: then what
//           waits is cancelled and the command line ends the input.
// While a message box waits, a bare ok, yes, no or cancel answers it. A line
// that does not read is reported and the next one read. While it waits,
// the session's timed tasks run when they are due.
#pragma once

#include <ostream>
#include <string>

#include "platform/process/Terminal.h"
#include "platform/session/Session.h"

namespace kestrin::session {

class TerminalSource : public ActionSource {
public:
    // Messages go to `out`, prompts to standard output. `terminal`: standard
    // input is a terminal, which can be read again after an end of input,
    // and its lines are edited as they are typed.
    TerminalSource(std::ostream& out, bool terminal);

    std::optional<Action> next(const std::string& prompt) override;
    std::string name() const override { return "<stdin>"; }

private:
    std::ostream& out_;
    bool terminal_;
    process::TerminalInput input_;
    std::size_t line_ = 0;
    bool ended_ = false;        // the last read was an end of input
    bool quitPending_ = false;  // the input ended while something else waited: quit at the command line
    int cancels_ = 0;           // cancels in a row for a pending quit (a request that never ends)

    // What Ctrl+C or Ctrl+D does to whoever waits now.
    Action cancelOrQuit(const char* key);
    std::optional<Action> typed(std::string line);
};

}  // namespace kestrin::session
