// Records a session: every action its source hands out is written to a
// script file as it comes (formatAction, one a line), so that the file,
// played as a script, does the session again. The file is rewritten whole
// after each action (replaced atomically), so a crash loses nothing before it.
//
// Lines a replay could not do are kept as comments: an action the session
// refused and only reported (a person's misspelt command, in a forgiving
// session), and a screenshot (a replay may run without a window).
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/session/Session.h"

namespace kestrin::session {

class RecordingSource : public ActionSource {
public:
    // `path`: the script written (UTF-8 file name); the first flush() or
    // action replaces what is there, so no older record is left behind.
    RecordingSource(std::unique_ptr<ActionSource> source, std::string path);

    std::optional<Action> next(const std::string& prompt) override;
    std::string name() const override { return source_->name(); }

    // Brings the file up to date with what is known (the last action
    // refused); answers the first write error (UTF-8), empty when none.
    const std::string& flush();
    const std::string& error() const { return error_; }

private:
    std::unique_ptr<ActionSource> source_;
    std::string path_;
    std::vector<std::string> lines_;
    std::uint64_t forgivenBefore_ = 0;  // Session::forgiven() when the last action was handed out
    bool lastIsAction_ = false;         // the last line is an action line that may still be refused
    bool dirty_ = false;
    std::string error_;

    void noteRefusal();
    void write();
};

}  // namespace kestrin::session
