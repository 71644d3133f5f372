#include "platform/session/Session.h"

#include "platform/session/Transcript.h"

namespace kestrin::session {

const char* waiterName(Waiter w) {
    switch (w) {
        case Waiter::CommandLine: return "the command line";
        case Waiter::HostInput: return "an input request of the host";
        case Waiter::Dialog: return "a dialog";
        case Waiter::MessageBox: return "a message box";
    }
    return "?";
}

Session& Session::instance() {
    static Session s;
    return s;
}

void Session::setSource(ActionSource* source) { source_ = source; }

std::optional<Action> Session::next(Waiter, const std::string& prompt, const std::function<bool()>& satisfied) {
    for (;;) {
        for (auto& check : idleChecks_) {
            if (failed_) break;
            check();
        }
        if (failed_ || exhausted_ || source_ == nullptr) return std::nullopt;
        std::optional<Action> action = source_->next(prompt);
        if (!action) {
            exhausted_ = true;
            return std::nullopt;
        }
        const auto [first, last] = handlers_.equal_range(action->kind);
        if (first == last) return action;  // for the waiter
        bool handled = false;
        for (auto it = first; it != last && !handled && !failed_; ++it) handled = it->second(*action);
        if (!handled && !failed_) reject(*action, std::string("nothing here can check \"") + action->expect + "\"");
        if (satisfied && satisfied()) return std::nullopt;
    }
}

void Session::fail(const std::string& origin, const std::string& why) {
    if (failed_) return;
    failed_ = true;
    failure_ = origin.empty() ? why : origin + ": " + why;
    Transcript::instance().error(failure_);
}

void Session::reject(const Action& action, const std::string& why) { fail(action.origin, why); }

void Session::addHandler(ActionKind kind, Handler handler) { handlers_.emplace(kind, std::move(handler)); }

void Session::addIdleCheck(std::function<void()> check) { idleChecks_.push_back(std::move(check)); }

void Session::reset() {
    source_ = nullptr;
    failed_ = false;
    exhausted_ = false;
    failure_.clear();
}

}  // namespace kestrin::session
