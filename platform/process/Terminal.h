// The program's standard input as a person types at a terminal: lines, and
// the keys besides them, Ctrl+C (an interrupt) and Ctrl+D (end of input).
#pragma once

#include <chrono>
#include <optional>
#include <string>

namespace kestrin::process {

bool standardInputIsTerminal();

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
    // until the next read reports it. One at a time.
    TerminalInput();
    ~TerminalInput();
    TerminalInput(const TerminalInput&) = delete;
    TerminalInput& operator=(const TerminalInput&) = delete;

    // Waits for the next line, at most until `deadline` (none: as long as it
    // takes). A last line without a line break comes as a line before the end.
    Read readLine(std::string& line, Deadline deadline = std::nullopt);

private:
    std::string buffer_;  // read, not yet handed out
};

}  // namespace kestrin::process
