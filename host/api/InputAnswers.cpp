#include "host/api/InputAnswers.h"

#include "base/Cp1251.h"
#include "host/api/AdsTypes.h"
#include "host/api/CommandLine.h"
#include "platform/session/Session.h"

namespace kestrin::host::input {

using session::Action;
using session::ActionKind;
using session::Session;

std::optional<Action> ask(const char* prompt) {
    const std::string text = prompt != nullptr ? prompt : "";
    if (!text.empty()) showPrompt(text);
    return Session::instance().next(session::Waiter::HostInput, cp1251ToUtf8(text));
}

int refuse(const Action& action, const std::string& why) {
    Session::instance().reject(action, why);
    return Session::instance().failed() ? RTCAN : kAskAgain;
}

std::optional<int> commonAnswer(const Action& action, const char* wanted) {
    switch (action.kind) {
        case ActionKind::Enter: echoInput(""); return RTNONE;
        case ActionKind::Escape: echoInput("*Cancel*"); return RTCAN;
        case ActionKind::Point:
        case ActionKind::Pick:
        case ActionKind::Miss: return std::nullopt;
        default:
            return refuse(action, std::string("\"") + session::actionName(action.kind) +
                                      "\" cannot be done while the host asks for " + wanted);
    }
}

}  // namespace kestrin::host::input
