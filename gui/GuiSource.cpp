#include "gui/GuiSource.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>

#include <algorithm>
#include <chrono>

namespace kestrin::gui {

GuiSource::GuiSource(std::unique_ptr<session::ActionSource> script) : script_(std::move(script)) {}

GuiSource::~GuiSource() {
    if (loop_ != nullptr) loop_->exit();
}

std::string GuiSource::name() const { return script_ ? script_->name() : "window"; }

std::optional<session::Action> GuiSource::next(const std::string& prompt) {
    waiting.emit(prompt);
    if (script_) {
        QCoreApplication::processEvents();  // the windows show the state the action meets
        std::optional<session::Action> action = script_->next(prompt);
        if (action) handedOut.emit(*action);
        return action;
    }
    session::Session& session = session::Session::instance();
    while (posted_.empty() && !finished_) {
        QEventLoop loop;
        loop_ = &loop;
        // Work due while the person thinks (an automatic save) wakes the wait.
        QTimer timer;
        timer.setSingleShot(true);
        QObject::connect(&timer, &QTimer::timeout, &loop, [&loop] { loop.exit(); });
        if (const auto due = session.nextTaskDue()) {
            const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(*due - session::Session::Clock::now());
            timer.start(static_cast<int>(std::clamp<long long>(ms.count(), 0, 24 * 3600 * 1000)));
        }
        loop.exec();
        loop_ = nullptr;
        if (posted_.empty() && !finished_) session.runDueTasks();
    }
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
    if (loop_ != nullptr) loop_->exit();
}

void GuiSource::finish() {
    finished_ = true;
    if (loop_ != nullptr) loop_->exit();
}

}  // namespace kestrin::gui
