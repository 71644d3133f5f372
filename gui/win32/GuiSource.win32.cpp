// Windows: the person's actions come from the system's message loop, run
// until a window posts the next one (see GuiSource.h).
#include "gui/GuiSource.h"

#include "platform/ui/win32/NativeDialog.h"

namespace kestrin::gui {

GuiSource::GuiSource(std::unique_ptr<session::ActionSource> script) : script_(std::move(script)) {}

GuiSource::~GuiSource() = default;

std::string GuiSource::name() const { return script_ ? script_->name() : "window"; }

std::optional<session::Action> GuiSource::next(const std::string& prompt) {
    waiting.emit(prompt);
    if (script_) {
        std::optional<session::Action> action = script_->next(prompt);
        if (action) handedOut.emit(*action);
        return action;
    }
    if (!ui::win32::pumpUntil([this] { return !posted_.empty() || finished_; })) finished_ = true;
    if (posted_.empty()) return std::nullopt;
    session::Action action = std::move(posted_.front());
    posted_.pop_front();
    handedOut.emit(action);
    return action;
}

void GuiSource::post(session::Action action) {
    if (script_ || finished_) return;
    if (action.origin.empty()) action.origin = "window:" + std::to_string(++serial_);
    posted_.push_back(std::move(action));
}

void GuiSource::finish() { finished_ = true; }

}  // namespace kestrin::gui
