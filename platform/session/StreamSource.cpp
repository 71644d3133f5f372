#include "platform/session/StreamSource.h"

#include "platform/session/ActionParser.h"
#include "platform/session/ScriptError.h"
#include "platform/session/Transcript.h"

namespace kestrin::session {

StreamSource::StreamSource(std::istream& in, std::string name, std::ostream* promptOut, OnError onError)
    : in_(in), name_(std::move(name)), promptOut_(promptOut), onError_(onError) {}

std::optional<Action> StreamSource::next(const std::string& prompt) {
    std::string line;
    for (;;) {
        if (promptOut_) {
            *promptOut_ << (prompt.empty() ? std::string("> ") : promptBeforeInput(prompt)) << std::flush;
        }
        if (!std::getline(in_, line)) {
            if (promptOut_) *promptOut_ << "\n" << std::flush;
            return std::nullopt;
        }
        ++line_;
        if (line_ == 1 && line.rfind("\xEF\xBB\xBF", 0) == 0) line.erase(0, 3);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        try {
            const std::string origin = name_ + ":" + std::to_string(line_);
            if (auto action = onError_ == OnError::Reprompt ? parseTypedAction(line, origin) : parseAction(line, origin))
                return action;
        } catch (const ScriptError& e) {
            if (onError_ == OnError::Throw || !promptOut_) throw;
            *promptOut_ << e.what() << "\n";
        }
    }
}

}  // namespace kestrin::session
