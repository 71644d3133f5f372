#include "platform/session/TranscriptPrinter.h"

#include <utility>

namespace kestrin::session {

using Kind = Transcript::Kind;

void TranscriptPrinter::write(const std::string& text) {
    if (text.empty()) return;
    out_ << text;
    atLineStart_ = text.back() == '\n';
}

void TranscriptPrinter::freshLine() {
    if (!atLineStart_) write("\n");
}

void TranscriptPrinter::print(Kind kind, const std::string& utf8) {
    const bool afterPrompt = std::exchange(afterPrompt_, false);
    switch (kind) {
        case Kind::Output:
            write(utf8);
            break;
        case Kind::Prompt:
            if (!echo_) return;
            freshLine();
            // The host's prompts begin with "\n" to start a line; one is enough.
            write(utf8.rfind('\n', 0) == 0 ? utf8.substr(1) : utf8);
            lastPrompt_ = utf8;
            afterPrompt_ = !atLineStart_;
            out_.flush();
            return;
        case Kind::Input:
            if (!echo_) return;
            // Right after a prompt: keep the prompt and the input apart.
            if (afterPrompt) write(session::promptBeforeInput(lastPrompt_).substr(lastPrompt_.size()));
            write(utf8 + "\n");
            break;
        case Kind::MessageBox:
            freshLine();
            write("** " + utf8 + "\n");
            break;
        case Kind::Error:
            freshLine();
            write("error: " + utf8 + "\n");
            break;
    }
    out_.flush();
}

void TranscriptPrinter::finish() {
    freshLine();
    out_.flush();
}

}  // namespace kestrin::session
