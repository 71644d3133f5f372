// Actions from a session script file, checked whole before the first runs:
// a script with a bad line is refused before it can change anything.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/session/Session.h"

namespace kestrin::session {

class ScriptSource : public ActionSource {
public:
    // Reads the file at `path` (UTF-8). Throws ScriptError naming the file when
    // it cannot be read, or listing every bad line ("demo.ks:4: ...").
    static std::unique_ptr<ScriptSource> fromFile(const std::string& path);
    // The same from text in memory; `name` is used in origins.
    ScriptSource(std::string name, std::string_view utf8Text);

    std::optional<Action> next(const std::string& prompt) override;
    std::string name() const override { return name_; }

    std::size_t size() const { return actions_.size(); }

private:
    std::string name_;
    std::vector<Action> actions_;
    std::size_t pos_ = 0;
};

}  // namespace kestrin::session
