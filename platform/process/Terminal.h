// The program's standard input as a person types at a terminal: lines, and
// the keys besides them, Ctrl+C (an interrupt) and Ctrl+D (end of input).
#pragma once

#include <chrono>
#include <optional>
#include <string>

#include "platform/process/StandardInput.h"

namespace kestrin::process {

class TerminalInput {
public:
    enum class Read {
        Line,         // a line, without its line break
        Interrupted,  // Ctrl+C (SIGINT); what was typed on the line is dropped
        Ended,        // end of input (Ctrl+D on an empty line, or the end of a pipe)
        TimedOut,     // nothing came before the deadline
        Failed,       // standard input cannot be read
    };
    using Deadline = std::optional<std::chrono::steady_clock::time_point>;

    // While it lives, an interrupt no longer ends the program: it is held
    // until the next read reports it. One at a time. `edit`: standard input
    // is a terminal, and the line is edited as it is typed (the cursor keys,
    // the lines typed before as its history) where the system does not do
    // that itself (Windows' console does); else lines are read as they come.
    explicit TerminalInput(bool edit);
    ~TerminalInput();
    TerminalInput(const TerminalInput&) = delete;
    TerminalInput& operator=(const TerminalInput&) = delete;

    // Writes `prompt` to standard output and waits for the next line, at
    // most until `deadline` (none: as long as it takes). A last line without
    // a line break comes as a line before the end. After TimedOut the next
    // call goes on with the same line: the prompt is not written again, but
    // while editing, the prompt and what was typed are shown again.
    Read readLine(std::string& line, const std::string& prompt, Deadline deadline = std::nullopt);

    // Before the program writes while a line waits half typed (after
    // TimedOut): what it writes starts on a line of its own.
    void makeRoomForOutput();

private:
    bool edit_;
    bool waiting_ = false;  // a line is being read: the prompt is out
    bool moved_ = false;    // output was made room for: show the line again
    std::string buffer_;    // read, not yet handed out (without editing)
};

}  // namespace kestrin::process
