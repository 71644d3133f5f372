// Writes transcript entries to a stream as the command line shows them:
// prompts and message boxes start a fresh line, echoed input ends one.
#pragma once

#include <ostream>
#include <string>

#include "platform/session/Transcript.h"

namespace kestrin::session {

class TranscriptPrinter {
public:
    // With `echo` false, prompts and echoed input are left out: a person at a
    // terminal sees the prompt from the input source and their own typing.
    TranscriptPrinter(std::ostream& out, bool echo) : out_(out), echo_(echo) {}

    void print(Transcript::Kind kind, const std::string& utf8);
    // Ends the last line, so the shell's prompt starts on its own.
    void finish();

private:
    std::ostream& out_;
    bool echo_;
    bool atLineStart_ = true;
    bool afterPrompt_ = false;  // the last thing written is a prompt
    std::string lastPrompt_;

    void write(const std::string& text);
    void freshLine();
};

}  // namespace kestrin::session
