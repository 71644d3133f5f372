#include "platform/ui/MessageBox.h"

#include <cstdint>
#include <deque>
#include <vector>

#include "base/Cp1251.h"
#include "platform/session/Session.h"
#include "platform/session/Transcript.h"
#include "platform/ui/App.h"
#include "platform/ui/ResourceChain.h"
#include "platform/ui/UiEvents.h"

namespace kestrin::ui {

namespace {
struct QueuedAnswer {
    std::string word;
    session::Action action;  // names the line in messages
    std::uint64_t queuedAt;  // actions handed out when it was queued
};
struct State {
    std::deque<QueuedAnswer> answers;
    std::string lastText;
    std::vector<UINT> open;  // types of the boxes waiting, innermost last
};
State& state() {
    static State s;
    return s;
}

std::vector<std::string> offered(UINT type) {
    switch (type & MB_TYPEMASK) {
        case MB_OKCANCEL: return {"ok", "cancel"};
        case MB_ABORTRETRYIGNORE: return {"abort", "retry", "ignore"};
        case MB_YESNOCANCEL: return {"yes", "no", "cancel"};
        case MB_YESNO: return {"yes", "no"};
        case MB_RETRYCANCEL: return {"retry", "cancel"};
        default: return {"ok"};
    }
}

int resultOf(const std::string& word) {
    if (word == "ok") return IDOK;
    if (word == "yes") return IDYES;
    if (word == "no") return IDNO;
    return IDCANCEL;
}

bool offers(UINT type, const std::string& word) {
    for (const auto& w : offered(type))
        if (w == word) return true;
    return false;
}

// What the box answers when it is closed without a choice.
std::pair<int, std::string> escapeResult(UINT type) {
    if (offers(type, "cancel")) return {IDCANCEL, "cancel"};
    if ((type & MB_TYPEMASK) == MB_OK) return {IDOK, "ok"};
    if ((type & MB_TYPEMASK) == MB_YESNO) return {IDNO, "no"};
    return {IDCANCEL, "cancel"};
}

std::string offeredText(UINT type) {
    std::string s;
    for (const auto& w : offered(type)) s += (s.empty() ? "" : ", ") + w;
    return s;
}
}  // namespace

const std::string& lastMessageBoxText() { return state().lastText; }
std::string messageBoxButtons(UINT type) {
    std::string s;
    for (const auto& w : offered(type)) s += (s.empty() ? "" : "/") + w;
    return s;
}

std::string messageBoxIcon(UINT type) {
    switch (type & MB_ICONMASK) {
        case MB_ICONSTOP: return "stop";
        case MB_ICONQUESTION: return "question";
        case MB_ICONEXCLAMATION: return "exclamation";
        case MB_ICONINFORMATION: return "information";
        default: return "none";
    }
}

int openMessageBoxes() { return static_cast<int>(state().open.size()); }

void resetMessageBoxes() {
    state().answers.clear();
    state().lastText.clear();
}

namespace {
int& answerHandler() {
    static int id = 0;
    return id;
}
int& unusedAnswerCheck() {
    static int id = 0;
    return id;
}

// An answer is meant for a box that the next action handed out raises (or
// one already waiting). When a second action is about to be handed out, or
// the session ends, and the answer is still queued, the box it was meant for
// never appeared: the session fails with the answer's line.
// "on line 12" for an action from "demo.ks:12"; its whole origin otherwise.
std::string lineOf(const session::Action& a) {
    const std::size_t colon = a.origin.rfind(':');
    if (colon == std::string::npos || colon + 1 == a.origin.size()) return "(" + a.origin + ")";
    return "on line " + a.origin.substr(colon + 1);
}

void checkUnusedAnswers(const session::Action* next) {
    auto& st = state();
    if (st.answers.empty()) return;
    auto& session = session::Session::instance();
    const QueuedAnswer oldest = st.answers.front();
    if (next != nullptr && oldest.queuedAt >= session.handedOut()) return;
    st.answers.clear();  // the queue is out of step with the boxes now
    const std::string what = "answer " + oldest.word + ": no message box took this answer ";
    if (next == nullptr)
        session.reject(oldest.action, what + "before the session ended");
    else
        session.reject(oldest.action, what + "before \"" + session::actionName(next->kind) + "\" " + lineOf(*next));
}
}  // namespace

void detachMessageBoxesFromSession() {
    if (answerHandler() != 0) session::Session::instance().removeHandler(answerHandler());
    if (unusedAnswerCheck() != 0) session::Session::instance().removePendingCheck(unusedAnswerCheck());
    answerHandler() = 0;
    unusedAnswerCheck() = 0;
}

void attachMessageBoxesToSession() {
    if (answerHandler() != 0) return;
    answerHandler() = session::Session::instance().addHandler(session::ActionKind::Answer, [](const session::Action& a) {
        auto& st = state();
        const std::string word = a.text;
        if (word != "ok" && word != "yes" && word != "no" && word != "cancel") {
            session::Session::instance().reject(a, "answer: \"" + cp1251ToUtf8(word) + "\" is not one of ok, yes, no, cancel");
            return true;
        }
        // A box that waits right now checks the answer at once.
        if (st.answers.empty() && !st.open.empty() && !offers(st.open.back(), word)) {
            session::Session::instance().reject(a, "answer: the message box offers " + offeredText(st.open.back()) +
                                                       ", not \"" + word + "\"");
            return true;
        }
        st.answers.push_back({word, a, session::Session::instance().handedOut()});
        return true;
    });
    unusedAnswerCheck() = session::Session::instance().addPendingCheck(checkUnusedAnswers);
}

}  // namespace kestrin::ui

int MessageBox(HWND owner, const char* text, const char* caption, UINT type) {
    using namespace kestrin;
    auto& st = ui::state();
    const std::string body = text ? text : "";
    const std::string title = caption ? caption : "Error";
    st.lastText = body;
    st.open.push_back(type);
    ui::uiEvents().messageBoxShown.emit(owner, body, title, type);
    auto& session = session::Session::instance();
    const std::string prompt = "message box [" + cp1251ToUtf8(title) + "] " + cp1251ToUtf8(body) + " (" +
                               ui::messageBoxButtons(type) + ")";
    std::string word;
    while (word.empty()) {
        if (!st.answers.empty()) {
            ui::QueuedAnswer answer = st.answers.front();
            st.answers.pop_front();
            if (ui::offers(type, answer.word)) {
                word = answer.word;
            } else {
                session.reject(answer.action, "answer: the message box \"" + cp1251ToUtf8(body) + "\" offers " +
                                                  ui::offeredText(type) + ", not \"" + answer.word + "\"");
            }
            continue;
        }
        if (session.failed()) break;
        auto action = session.next(session::Waiter::MessageBox, prompt, [&st] { return !st.answers.empty(); });
        if (action && action->kind == session::ActionKind::Escape) break;  // closed as by the Escape key
        if (action) session.reject(*action, std::string(session::actionName(action->kind)) + ": a message box waits for an answer");
        else if (st.answers.empty()) break;
    }
    st.open.pop_back();
    int result = 0;
    std::string shown;
    if (word.empty()) {
        const auto [r, w] = ui::escapeResult(type);
        result = r;
        shown = "(no answer: " + w + ")";
    } else {
        result = ui::resultOf(word);
        shown = word;
    }
    session::Transcript::instance().messageBox(title, body, ui::messageBoxIcon(type), ui::messageBoxButtons(type), shown);
    ui::uiEvents().messageBoxClosed.emit(owner, result);
    return result;
}

int AfxMessageBox(const char* text, UINT type, UINT) {
    const std::string title = AfxGetAppName();
    return MessageBox(nullptr, text, title.c_str(), type);
}

int AfxMessageBox(UINT promptResource, UINT type, UINT) {
    std::string text;
    AfxLoadString(promptResource, text);
    return AfxMessageBox(text.c_str(), type);
}
