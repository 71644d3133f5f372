// The person's actions in the desktop windows, as a session's action source.
//
// The host and the dialogs ask for their next action as always; this source
// then lets the windows show the model's state and runs Qt's event loop until
// a window posts the person's next action. Everything stays on one thread:
// the event loop runs only inside next(). With a script, the script's actions
// are handed out one by one instead, the windows repainted between them.
#pragma once

#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "base/Signal.h"
#include "platform/session/Session.h"

class QEventLoop;

namespace kestrin::gui {

class GuiSource : public session::ActionSource {
public:
    // `script` (may be null): actions played in the window instead of the person's.
    explicit GuiSource(std::unique_ptr<session::ActionSource> script = nullptr);
    ~GuiSource() override;

    std::optional<session::Action> next(const std::string& prompt) override;
    std::string name() const override;

    // A person's action from a window; ends the current wait (or is handed
    // out at the next one). Ignored while a script plays.
    void post(session::Action action);
    // The person is done (the main window closed): the current and every
    // later wait answers nothing.
    void finish();
    bool finished() const { return finished_; }
    bool playing() const { return script_ != nullptr; }

    // Before each wait, with the prompt (UTF-8): views bring themselves up to date.
    Signal<const std::string&> waiting;
    // Each action handed out, the person's or the script's (what --record writes).
    Signal<const session::Action&> handedOut;

private:
    std::unique_ptr<session::ActionSource> script_;
    std::deque<session::Action> posted_;
    QEventLoop* loop_ = nullptr;  // the wait in progress, if any
    bool finished_ = false;
    int serial_ = 0;  // names the person's actions in messages ("window:3")
};

}  // namespace kestrin::gui
