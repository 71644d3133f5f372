#include "platform/session/TerminalSource.h"

#include "platform/session/ActionParser.h"
#include "platform/session/ScriptError.h"
#include "platform/session/Transcript.h"

namespace kestrin::session {

namespace {

constexpr int kMostCancels = 50;

Action make(ActionKind kind, std::string origin) {
    Action a;
    a.kind = kind;
    a.origin = std::move(origin);
    return a;
}

}  // namespace

TerminalSource::TerminalSource(std::ostream& out, bool terminal) : out_(out), terminal_(terminal), input_(terminal) {}

Action TerminalSource::cancelOrQuit(const char* key) {
    const std::string origin = "<stdin>:" + std::string(key);
    const std::optional<Waiter> waiter = Session::instance().waiter();
    if (!waiter || *waiter == Waiter::CommandLine) return make(ActionKind::Quit, origin);
    if (*waiter == Waiter::Dialog) {
        Action escape = make(ActionKind::Key, origin);
        escape.key = "escape";
        return escape;
    }
    return make(ActionKind::Escape, origin);
}

std::optional<Action> TerminalSource::typed(std::string line) {
    if (line_ == 1 && line.rfind("\xEF\xBB\xBF", 0) == 0) line.erase(0, 3);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    const std::string origin = "<stdin>:" + std::to_string(line_);
    std::optional<Action> action = parseTypedAction(line, origin);
    // A bare word answers a message box that waits.
    if (action && action->kind == ActionKind::Command && Session::instance().waiter() == Waiter::MessageBox &&
        (action->text == "ok" || action->text == "yes" || action->text == "no" || action->text == "cancel"))
        action->kind = ActionKind::Answer;
    return action;
}

std::optional<Action> TerminalSource::next(const std::string& prompt) {
    Session& session = Session::instance();
    const bool commandLine = session.waiter() == Waiter::CommandLine;
    if (quitPending_) {
        if (commandLine) {
            quitPending_ = false;
            return make(ActionKind::Quit, "<stdin>:end");
        }
        if (++cancels_ <= kMostCancels) return cancelOrQuit("end");
        return std::nullopt;
    }
    const std::string shown = prompt.empty() ? std::string("> ") : promptBeforeInput(prompt);
    for (;;) {
        out_ << std::flush;
        std::string line;
        switch (input_.readLine(line, shown, session.nextTaskDue())) {
            case process::TerminalInput::Read::Line:
                ++line_;
                ended_ = false;
                try {
                    if (auto action = typed(std::move(line))) return action;
                } catch (const ScriptError& e) {
                    out_ << e.what() << "\n";
                }
                continue;
            case process::TerminalInput::Read::Interrupted:
                out_ << "\n" << std::flush;
                ended_ = false;
                return cancelOrQuit("^C");
            case process::TerminalInput::Read::Ended:
                out_ << "\n" << std::flush;
                if (ended_ && !terminal_) {
                    // A pipe: nothing more will come. The command line ends
                    // the session; whatever else waits is cancelled.
                    if (commandLine || ++cancels_ > kMostCancels) return std::nullopt;
                    return cancelOrQuit("end");
                }
                ended_ = true;
                cancels_ = 0;
                quitPending_ = !commandLine;
                return cancelOrQuit("end");
            case process::TerminalInput::Read::TimedOut:
                input_.makeRoomForOutput();
                session.runDueTasks();
                continue;
            case process::TerminalInput::Read::Failed: return std::nullopt;
        }
    }
}

}  // namespace kestrin::session
