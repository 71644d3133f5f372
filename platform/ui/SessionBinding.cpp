#include "platform/ui/SessionBinding.h"

#include <set>
#include <string>

#include "base/Cp1251.h"
#include "platform/keyboard/Keyboard.h"
#include "platform/session/Session.h"
#include "platform/ui/DialogActions.h"
#include "platform/ui/Focus.h"
#include "platform/ui/MessageBox.h"
#include "platform/ui/Window.h"

namespace kestrin::ui {

namespace {
using session::Action;

bool checkControl(const Action& a) {
    auto& session = session::Session::instance();
    const auto& stack = modalStack();
    if (stack.empty()) {
        session.reject(a, "expect " + a.expect + ": no dialog is open");
        return true;
    }
    const HWND dialog = stack.back();
    std::string why;
    const HWND h = findControl(dialog, a.control, why);
    if (h == nullptr) {
        session.reject(a, "expect " + a.expect + ": " + why);
        return true;
    }
    const Window& w = windowRef(h);
    bool holds = false;
    std::string found;
    if (a.expect == "text") {
        holds = w.text == a.text;
        found = "its text is \"" + cp1251ToUtf8(w.text) + "\"";
    } else if (a.expect == "shown" || a.expect == "hidden") {
        holds = w.shown == (a.expect == "shown");
        found = w.shown ? "it is shown" : "it is hidden";
    } else if (a.expect == "enabled" || a.expect == "disabled") {
        holds = w.enabled == (a.expect == "enabled");
        found = w.enabled ? "it is enabled" : "it is disabled";
    } else if (a.expect == "checked" || a.expect == "unchecked") {
        const bool checked = w.kind == WindowKind::Button && w.button().check != 0;
        holds = w.kind == WindowKind::Button && checked == (a.expect == "checked");
        found = w.kind != WindowKind::Button ? "it is not a button" : checked ? "it is checked" : "it is unchecked";
    } else {
        const HWND focus = windowRef(dialog).dialog().focus;
        holds = focus == h;
        found = focus ? "the focus is on " + describeControl(focus) : "no control has the focus";
    }
    if (!holds) session.reject(a, "expect " + a.expect + " " + describeControl(h) + ": " + found);
    return true;
}
}  // namespace

namespace {
int& expectHandler() {
    static int id = 0;
    return id;
}
}  // namespace

void detachFromSession() {
    keyboard::detachFromSession();
    detachMessageBoxesFromSession();
    if (expectHandler() != 0) session::Session::instance().removeHandler(expectHandler());
    expectHandler() = 0;
}

void attachToSession() {
    keyboard::attachToSession();
    attachMessageBoxesToSession();
    if (expectHandler() != 0) return;
    expectHandler() = session::Session::instance().addHandler(session::ActionKind::Expect, [](const Action& a) {
        static const std::set<std::string> controlChecks = {"text",    "shown",   "hidden",    "enabled",
                                                            "disabled", "checked", "unchecked", "focus"};
        if (a.expect == "message") {
            const std::string& last = lastMessageBoxText();
            if (last != a.text)
                session::Session::instance().reject(
                    a, "expect message: the last message box said \"" + cp1251ToUtf8(last) + "\"");
            return true;
        }
        if (!controlChecks.count(a.expect)) return false;
        return checkControl(a);
    });
}

}  // namespace kestrin::ui
