#include "platform/session/ScriptSource.h"


#include "platform/fs/FileSystem.h"
#include "platform/session/ActionParser.h"
#include "platform/session/ScriptError.h"

namespace kestrin::session {

namespace {
constexpr std::size_t kErrorsListed = 10;
}

std::unique_ptr<ScriptSource> ScriptSource::fromFile(const std::string& path) {
    auto text = fs::FileSystem::current().readFile(path);
    if (!text) throw ScriptError("", "cannot read script '" + path + "': " + text.error().reason);
    return std::make_unique<ScriptSource>(path, *text);
}

ScriptSource::ScriptSource(std::string name, std::string_view text) : name_(std::move(name)) {
    if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);  // a byte-order mark some editors write
    std::vector<std::string> errors;
    std::size_t lineNo = 0;
    while (!text.empty()) {
        const std::size_t eol = text.find('\n');
        std::string_view line = text.substr(0, eol);
        text.remove_prefix(eol == std::string_view::npos ? text.size() : eol + 1);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        ++lineNo;
        try {
            if (auto action = parseAction(line, name_ + ":" + std::to_string(lineNo))) actions_.push_back(std::move(*action));
        } catch (const ScriptError& e) {
            errors.push_back(e.what());
        }
    }
    if (errors.empty()) return;
    std::string message = errors.front();
    for (std::size_t i = 1; i < errors.size() && i < kErrorsListed; ++i) message += "\n" + errors[i];
    if (errors.size() > kErrorsListed)
        message += "\n(" + std::to_string(errors.size() - kErrorsListed) + " more bad lines)";
    throw ScriptError("", message);
}

std::optional<Action> ScriptSource::next(const std::string&) {
    if (pos_ >= actions_.size()) return std::nullopt;
    return actions_[pos_++];
}

}  // namespace kestrin::session
