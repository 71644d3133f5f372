#include "platform/session/Session.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "base/Cp1251.h"
#include "platform/session/ScriptError.h"
#include "platform/session/Transcript.h"

namespace kestrin::session {

namespace {

// Text quoted in a failure message: UTF-8, line breaks visible, long text cut
// to its end (the newest output is the interesting part).
std::string quoteForMessage(const std::string& cp1251) {
    constexpr std::size_t kMax = 300;
    std::string s = cp1251.size() > kMax ? "..." + cp1251.substr(cp1251.size() - kMax) : cp1251;
    std::string out;
    for (char c : s) {
        if (c == '\n') out += "\\n";
        else if (c == '\t') out += "\\t";
        else out.push_back(c);
    }
    const std::string text = cp1251ToUtf8(out);  // a named string: g++ 12 warns -Wrestrict on "x" + temporary
    return "\"" + text + "\"";
}

}  // namespace

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

std::optional<Action> Session::next(Waiter waiter, const std::string& prompt, const std::function<bool()>& satisfied) {
    for (;;) {
        for (std::size_t i = 0; i < idleChecks_.size() && !failed_; ++i) idleChecks_[i].second();
        if (!failed_) runDueTasks();
        if (failed_ || exhausted_ || source_ == nullptr) return ended(waiter);
        std::optional<Action> action;
        try {
            struct Waiting {
                std::optional<Waiter>& slot;
                ~Waiting() { slot.reset(); }
            } waiting{waiter_};
            waiter_ = waiter;
            action = source_->next(prompt);
        } catch (const ScriptError& e) {
            exhausted_ = true;
            fail(e.origin(), e.reason());
            return ended(waiter);
        }
        if (!action) {
            exhausted_ = true;
            if (waiter != Waiter::CommandLine)
                fail(source_->name(), std::string("the script ended while ") + waiterName(waiter) + " waits");
            return ended(waiter);
        }
        lastOrigin_ = action->origin;
        if (action->kind == ActionKind::Expect && action->expect == "output") {
            checkOutput(*action);
            continue;
        }
        const auto [first, last] = handlers_.equal_range(action->kind);
        if (first == last && action->kind == ActionKind::Screenshot) {
            // Only the desktop window takes a picture of itself; nothing else waits for one.
            reject(*action, "screenshot needs the desktop window (cadhost --gui)");
            if (satisfied && satisfied()) return std::nullopt;
            continue;
        }
        if (first == last) {  // for the waiter
            runPendingChecks(&*action);
            if (failed_) return ended(waiter);
            ++handedOut_;
            return action;
        }
        bool handled = false;
        for (auto it = first; it != last && !handled && !failed_; ++it) handled = it->second.handler(*action);
        if (!handled && !failed_) {
            if (action->kind == ActionKind::Expect)
                reject(*action, "nothing here can check \"" + action->expect + "\" (no dialog or message box to look at)");
            else
                reject(*action, std::string("nothing here takes \"") + actionName(action->kind) + "\"");
        }
        if (satisfied && satisfied()) return std::nullopt;
    }
}

std::optional<Action> Session::ended(Waiter waiter) {
    if (++waitsAfterEnd_ > kWaitsAfterEnd) {
        const std::string why = std::string("the session has ended but ") + waiterName(waiter) + " still asked for input " +
                                std::to_string(waitsAfterEnd_) + " times; stopping";
        waitsAfterEnd_ = 0;  // a handler that returns gets another round before it is called again
        if (runaway_) {
            runaway_(why);
        } else {
            std::fprintf(stderr, "%s\n", why.c_str());
            std::exit(1);
        }
    }
    return std::nullopt;
}

void Session::checkOutput(const Action& action) {
    Transcript& transcript = Transcript::instance();
    const std::string printed = transcript.outputSinceMark();
    transcript.setMark();
    if (printed.find(action.text) != std::string::npos) return;
    const std::string wanted = quoteForMessage(action.text);
    if (printed.empty())
        fail(action.origin, "expected output " + wanted + ", but nothing was printed since the last check");
    else
        fail(action.origin, "expected output " + wanted + ", found " + quoteForMessage(printed));
    transcript.setMark();
}

void Session::fail(const std::string& origin, const std::string& why) {
    if (failed_) return;
    failed_ = true;
    failure_ = origin.empty() ? why : origin + ": " + why;
    Transcript::instance().error(failure_);
}

void Session::reject(const Action& action, const std::string& why) {
    if (!forgiving_ || failed_) return fail(action.origin, why);
    ++forgiven_;
    Transcript::instance().error(action.origin.empty() ? why : action.origin + ": " + why);
}

void Session::rejectTold(const Action& action, const std::string& why) {
    if (!forgiving_ || failed_) return fail(action.origin, why);
    ++forgiven_;
}

int Session::addHandler(ActionKind kind, Handler handler) {
    const int id = nextHandlerId_++;
    handlers_.emplace(kind, Registered{id, std::move(handler)});
    return id;
}

void Session::removeHandler(int id) {
    for (auto it = handlers_.begin(); it != handlers_.end(); ++it) {
        if (it->second.id == id) {
            handlers_.erase(it);
            return;
        }
    }
}

int Session::addIdleCheck(std::function<void()> check) {
    const int id = nextHandlerId_++;
    idleChecks_.emplace_back(id, std::move(check));
    return id;
}

void Session::removeIdleCheck(int id) {
    std::erase_if(idleChecks_, [id](const auto& c) { return c.first == id; });
}

int Session::addPendingCheck(PendingCheck check) {
    const int id = nextHandlerId_++;
    pendingChecks_.emplace_back(id, std::move(check));
    return id;
}

void Session::removePendingCheck(int id) {
    std::erase_if(pendingChecks_, [id](const auto& c) { return c.first == id; });
}

int Session::addTimedTask(std::function<std::optional<Clock::time_point>()> due, std::function<void()> run) {
    const int id = nextHandlerId_++;
    timedTasks_.push_back({id, std::move(due), std::move(run)});
    return id;
}

void Session::removeTimedTask(int id) {
    std::erase_if(timedTasks_, [id](const TimedTask& t) { return t.id == id; });
}

std::optional<Session::Clock::time_point> Session::nextTaskDue() const {
    std::optional<Clock::time_point> first;
    for (const TimedTask& t : timedTasks_)
        if (const auto at = t.due(); at && (!first || *at < *first)) first = at;
    return first;
}

void Session::runDueTasks() {
    const auto now = Clock::now();
    for (std::size_t i = 0; i < timedTasks_.size(); ++i)
        if (const auto at = timedTasks_[i].due(); at && *at <= now) timedTasks_[i].run();
}

void Session::runPendingChecks(const Action* next) {
    for (std::size_t i = 0; i < pendingChecks_.size() && !failed_; ++i) pendingChecks_[i].second(next);
}

void Session::end() { runPendingChecks(nullptr); }

void Session::setRunawayHandler(std::function<void(const std::string&)> handler) { runaway_ = std::move(handler); }

void Session::reset() {
    source_ = nullptr;
    waiter_.reset();
    failed_ = false;
    exhausted_ = false;
    forgiving_ = false;
    forgiven_ = 0;
    failure_.clear();
    lastOrigin_.clear();
    waitsAfterEnd_ = 0;
    handedOut_ = 0;
}

}  // namespace kestrin::session
