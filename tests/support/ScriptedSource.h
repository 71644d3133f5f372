// The one scripted action source of the tests: a list of steps handed to the
// session one at a time. A step is an action built here, a line of the session
// language (parsed when it is reached, named "<source>:<step>"), or a probe
// that runs when it is reached and looks at the system between two actions.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <variant>
#include <vector>

#include "platform/session/Action.h"
#include "platform/session/ActionParser.h"
#include "platform/session/Session.h"

namespace kestrin::test {

using session::Action;
using session::ActionKind;

using Step = std::variant<Action, std::string, std::function<void()>>;

class ScriptedSource : public session::ActionSource {
public:
    explicit ScriptedSource(std::vector<Step> steps = {}, std::string name = "test")
        : steps_(std::move(steps)), name_(std::move(name)) {}

    // Replaces the steps not yet taken; lines are numbered from 1 again.
    void load(std::vector<Step> steps) {
        steps_ = std::move(steps);
        at_ = 0;
    }

    std::optional<Action> next(const std::string& prompt) override {
        prompts.push_back(prompt);
        while (at_ < steps_.size()) {
            Step& step = steps_[at_++];
            if (auto* probe = std::get_if<std::function<void()>>(&step)) {
                (*probe)();
                continue;
            }
            std::optional<Action> action;
            if (auto* line = std::get_if<std::string>(&step))
                action = session::parseAction(*line, name_ + ":" + std::to_string(at_));  // blank lines give nothing
            else
                action = std::get<Action>(step);
            if (action) {
                ++consumed_;
                return action;
            }
        }
        return std::nullopt;
    }
    std::string name() const override { return name_; }

    // Actions handed out so far.
    std::size_t consumed() const { return consumed_; }
    // What the system showed at each request (UTF-8).
    std::vector<std::string> prompts;

private:
    std::vector<Step> steps_;
    std::string name_;
    std::size_t at_ = 0;
    std::size_t consumed_ = 0;
};

// Actions, named "test:<line>" in messages.
inline Action act(ActionKind kind, int line = 1) {
    Action a;
    a.kind = kind;
    a.origin = "test:" + std::to_string(line);
    return a;
}
inline session::ControlRef ref(int id) { return session::ControlRef{id, {}}; }
inline session::ControlRef ref(const std::string& caption) { return session::ControlRef{std::nullopt, caption}; }

inline Action click(session::ControlRef c, int line = 0) {
    Action a = act(ActionKind::Click, line);
    a.control = std::move(c);
    return a;
}
inline Action type(std::string text, int line = 0) {
    Action a = act(ActionKind::Type, line);
    a.text = std::move(text);
    return a;
}
inline Action key(std::string name, bool shift = false, int line = 0) {
    Action a = act(ActionKind::Key, line);
    a.key = std::move(name);
    a.shift = shift;
    return a;
}
inline Action focus(session::ControlRef c, int line = 0) {
    Action a = act(ActionKind::Focus, line);
    a.control = std::move(c);
    return a;
}
inline Action choose(session::ControlRef c, std::string entry, int line = 0) {
    Action a = act(ActionKind::Choose, line);
    a.control = std::move(c);
    a.text = std::move(entry);
    return a;
}
inline Action select(session::ControlRef c, int first, int last, int line = 0) {
    Action a = act(ActionKind::Select, line);
    a.control = std::move(c);
    a.first = first;
    a.last = last;
    return a;
}
inline Action closeBox(int line = 0) { return act(ActionKind::Close, line); }
inline Action sysmenu(int number, int line = 0) {
    Action a = act(ActionKind::SysMenu, line);
    a.number = number;
    return a;
}
inline Action answer(std::string word, int line = 0) {
    Action a = act(ActionKind::Answer, line);
    a.text = std::move(word);
    return a;
}
inline Action expect(std::string what, session::ControlRef c, std::string text = {}, int line = 0) {
    Action a = act(ActionKind::Expect, line);
    a.expect = std::move(what);
    a.control = std::move(c);
    a.text = std::move(text);
    a.hasText = !a.text.empty();
    return a;
}
// Keyboard state: caps, num (on), layout (text), layouts (words).
inline Action machine(ActionKind kind, bool on = false, std::string text = {}, std::vector<std::string> words = {},
                      int line = 1) {
    Action a = act(kind, line);
    a.on = on;
    a.text = std::move(text);
    a.words = std::move(words);
    return a;
}
inline Action point(double x, double y, double z = 0, int line = 1) {
    Action a = act(ActionKind::Point, line);
    a.x = x;
    a.y = y;
    a.z = z;
    return a;
}
inline Action pick(std::uint64_t handle, std::vector<std::uint64_t> containers = {}, int line = 1) {
    Action a = act(ActionKind::Pick, line);
    a.pick.by = session::PickTarget::By::Handle;
    a.pick.handle = handle;
    a.pick.containers = std::move(containers);
    return a;
}

}  // namespace kestrin::test
