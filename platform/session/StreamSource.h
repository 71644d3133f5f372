// Actions read line by line from a stream (standard input), each parsed as
// it arrives, so a person can type them as at a command line.
#pragma once

#include <istream>
#include <ostream>
#include <string>

#include "platform/session/Session.h"

namespace kestrin::session {

class StreamSource : public ActionSource {
public:
    enum class OnError {
        Throw,     // a bad line throws ScriptError (the session stops)
        // Typed at a terminal: a bad line is reported on `promptOut` and the
        // next is read; lines read as parseTypedAction (a blank line is Enter,
        // a lone word a command name).
        Reprompt,
    };
    // `promptOut`, when given, shows the prompt before each line is read (a
    // plain "> " when the system passes none).
    StreamSource(std::istream& in, std::string name, std::ostream* promptOut = nullptr,
                 OnError onError = OnError::Throw);

    std::optional<Action> next(const std::string& prompt) override;
    std::string name() const override { return name_; }

private:
    std::istream& in_;
    std::string name_;
    std::ostream* promptOut_;
    OnError onError_;
    std::size_t line_ = 0;
};

}  // namespace kestrin::session
