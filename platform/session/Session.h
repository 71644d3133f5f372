// The session: the one stream of user actions that feeds both the host's
// input requests and the active dialog.
//
// A consumer (the command line, an input request of the host, a modal dialog,
// a message box) asks for its next action. Actions addressed to the machine
// (keyboard state, message-box answers) and checks are handled by the handlers
// registered for their kind, in order, before the consumer sees anything.
// Nothing here assumes where actions come from: a script, standard input or a
// GUI event loop all implement ActionSource.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/session/Action.h"

namespace kestrin::session {

class ActionSource {
public:
    virtual ~ActionSource() = default;
    // The next action, or nothing when the person is done. `prompt` is what
    // the system shows while it waits (UTF-8), for sources that display it.
    // May throw ScriptError for a line it cannot read; the session then fails
    // with that error.
    virtual std::optional<Action> next(const std::string& prompt) = 0;
    // Names the source in messages ("demo.ks", "<stdin>"); may be empty.
    virtual std::string name() const { return {}; }
};

// Who is waiting for the action; names the moment in error messages.
enum class Waiter { CommandLine, HostInput, Dialog, MessageBox };
const char* waiterName(Waiter w);

class Session {
public:
    static Session& instance();

    void setSource(ActionSource* source);  // not owned; null detaches
    ActionSource* source() const { return source_; }

    // The next action for `waiter`, after the machine's actions and checks
    // have been handled. Answers nothing when the input ended or the session
    // failed: the waiter then gives up as on Escape. When `satisfied` is given
    // it is asked after each handled machine action, and a true answer ends
    // the wait with nothing (a message box waiting for its queued answer).
    //
    // Input that ends while anything but the command line waits fails the
    // session ("the script ended while a dialog waits"). `expect output` is
    // checked here, against the transcript. After the session has ended, only
    // a bounded number of waits are answered; the next one calls the runaway
    // handler, so a consumer that asks again and again cannot loop forever.
    std::optional<Action> next(Waiter waiter, const std::string& prompt = {},
                               const std::function<bool()>& satisfied = {});

    // Stops the session: records the first failure; from now on every waiter
    // is answered with nothing, so open dialogs are cancelled and the host
    // returns to its command line.
    void fail(const std::string& origin, const std::string& why);
    // The same for an action that cannot be run at this moment. A forgiving
    // session (a person typing at a terminal) only reports it: the waiter
    // asks again and the session goes on.
    void reject(const Action& action, const std::string& why);
    // The same where the person has been told already (the host printed its
    // own message): a forgiving session says nothing more.
    void rejectTold(const Action& action, const std::string& why);
    void setForgiving(bool forgiving) { forgiving_ = forgiving; }
    bool forgiving() const { return forgiving_; }
    // Who waits for the action being asked for now (while the source's
    // next() runs); nothing between waits. A window asks it whether it may
    // close (only at the command line).
    std::optional<Waiter> waiter() const { return waiter_; }
    // How many rejected actions were only reported so far.
    std::uint64_t forgiven() const { return forgiven_; }
    bool failed() const { return failed_; }
    const std::string& failure() const { return failure_; }  // "origin: why" (UTF-8)
    bool exhausted() const { return exhausted_; }
    // The origin of the last action handed out ("demo.ks:12"): what an idle
    // check blames when it finds a broken invariant.
    const std::string& lastOrigin() const { return lastOrigin_; }

    // Handler for a machine action or check kind (Answer, Caps, Num, Layout,
    // Layouts, Expect). An Expect handler answers true when it knows the
    // check's subject; it calls fail() itself when the check does not hold.
    // Handlers run in registration order; the id removes one again.
    using Handler = std::function<bool(const Action&)>;
    int addHandler(ActionKind kind, Handler handler);
    void removeHandler(int id);

    // Run before every wait for an action; a check that finds a broken
    // invariant calls fail(). The host's leak check lives here.
    int addIdleCheck(std::function<void()> check);
    void removeIdleCheck(int id);

    // Work done while the system waits for the person (an automatic save):
    // `due` answers when the task next wants to run (nothing: not now),
    // `run` does it. Due tasks run before every wait; a source that waits
    // for a person asks nextTaskDue() and calls runDueTasks() when that
    // time comes while it still waits.
    using Clock = std::chrono::steady_clock;
    int addTimedTask(std::function<std::optional<Clock::time_point>()> due, std::function<void()> run);
    void removeTimedTask(int id);
    std::optional<Clock::time_point> nextTaskDue() const;
    void runDueTasks();

    // Checks of what machine actions left for a later consumer (a queued
    // message-box answer). Each runs just before an action is handed to a
    // waiter, with that action, and when the session ends, with nothing; it
    // calls fail() when what it holds is overdue.
    using PendingCheck = std::function<void(const Action* next)>;
    int addPendingCheck(PendingCheck check);
    void removePendingCheck(int id);
    // How many actions have been handed to waiters so far.
    std::uint64_t handedOut() const { return handedOut_; }
    // The program or test is done with the session: runs the pending checks
    // a last time, so what nobody took fails the session.
    void end();

    // Called with a message when the system keeps waiting for actions after
    // the session ended; it should end the program. The default writes the
    // message to standard error and exits with status 1.
    static constexpr int kWaitsAfterEnd = 100;
    void setRunawayHandler(std::function<void(const std::string& utf8)> handler);

    // Back to a fresh session (tests); handlers registered by the stand-ins
    // at start-up stay.
    void reset();

private:
    ActionSource* source_ = nullptr;
    std::optional<Waiter> waiter_;
    bool failed_ = false;
    bool exhausted_ = false;
    bool forgiving_ = false;
    std::uint64_t forgiven_ = 0;
    std::string failure_;
    std::string lastOrigin_;
    int waitsAfterEnd_ = 0;
    std::uint64_t handedOut_ = 0;
    std::function<void(const std::string&)> runaway_;

    std::optional<Action> ended(Waiter waiter);
    void checkOutput(const Action& action);
    struct Registered {
        int id;
        Handler handler;
    };
    std::multimap<ActionKind, Registered> handlers_;
    int nextHandlerId_ = 1;
    std::vector<std::pair<int, std::function<void()>>> idleChecks_;
    std::vector<std::pair<int, PendingCheck>> pendingChecks_;
    struct TimedTask {
        int id;
        std::function<std::optional<Clock::time_point>()> due;
        std::function<void()> run;
    };
    std::vector<TimedTask> timedTasks_;
    void runPendingChecks(const Action* next);
};

}  // namespace kestrin::session
