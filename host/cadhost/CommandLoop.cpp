#include "host/cadhost/CommandLoop.h"

#include "base/Cp1251.h"
#include "base/TextCase.h"
#include "host/api/HostRuntime.h"
#include "host/api/UndoCommands.h"
#include "host/cadhost/ContextMenuChoice.h"
#include "host/db/AcDbDatabase.h"
#include "platform/fs/Path.h"
#include "platform/session/Session.h"
#include "platform/session/Transcript.h"
#include "platform/ui/MessageBox.h"

namespace kestrin::cadhost {

using session::Action;
using session::ActionKind;
using session::Session;
using session::Transcript;
using session::Waiter;

namespace {

bool isBlankChar(char c) { return c == ' ' || c == '\n' || c == '\t' || c == '\r'; }

// Why an action that needs a dialog or an input request cannot run here.
std::string notHere(const Action& a) {
    switch (a.kind) {
        case ActionKind::Point: return "nothing asks for a point: the command line waits for a command";
        case ActionKind::Pick:
        case ActionKind::Miss: return "nothing asks for an entity: the command line waits for a command";
        case ActionKind::Expect:
            return "no dialog is shown to check " + a.control.describe() + " (expect " + a.expect + ")";
        case ActionKind::Answer: return "no message box waits for an answer";
        case ActionKind::Click:
        case ActionKind::Type:
        case ActionKind::Key:
        case ActionKind::Focus:
        case ActionKind::Choose:
        case ActionKind::Select:
        case ActionKind::Close:
        case ActionKind::SysMenu:
            return std::string("no dialog is shown to take \"") + session::actionName(a.kind) + "\"";
        default: return std::string("the command line cannot take \"") + session::actionName(a.kind) + "\"";
    }
}

}  // namespace

void CommandLoop::run() {
    Session& session = Session::instance();
    host::HostRuntime& runtime = host::HostRuntime::instance();
    while (!session.failed() && !leaving_) {
        watchDrawing();
        Transcript::instance().prompt(kPrompt);
        // Input sent to the document runs first, as if typed at this prompt
        // (the host echoes it when the sender asked for that).
        if (auto sent = runtime.takeSentInput()) {
            runSentInput(*sent);
            continue;
        }
        std::optional<Action> action = session.next(Waiter::CommandLine, kPrompt);
        if (!action) return;
        dispatch(*action);
    }
}

void CommandLoop::dispatch(const Action& a) {
    Transcript& transcript = Transcript::instance();
    switch (a.kind) {
        case ActionKind::Command:
            transcript.input(a.text);
            runCommand(a.text, &a);
            break;
        case ActionKind::Enter:
            transcript.input("");
            if (!lastCommand_.empty()) runCommand(lastCommand_, &a);
            break;
        case ActionKind::Escape:
            transcript.input("*Cancel*");
            break;
        case ActionKind::ContextMenu:
            chooseContextMenuItem(a);
            host::endUndoStep(a.text);  // what the item itself changed (a command it sends is a step of its own)
            break;
        case ActionKind::New:
            newDrawing(a);
            break;
        case ActionKind::Open:
            openDrawing(a);
            break;
        case ActionKind::Save:
            saveDrawing(a);
            break;
        case ActionKind::Quit:
            transcript.input("QUIT");
            leave(a);
            break;
        case ActionKind::MenuGroups:
            transcript.input("MENUGROUPS");
            transcript.output(describeMenuGroups(profile_));
            break;
        default:
            Session::instance().reject(a, notHere(a));
            break;
    }
}

void CommandLoop::runCommand(const std::string& name, const Action* from) {
    host::HostRuntime& runtime = host::HostRuntime::instance();
    if (!runtime.hasCommand(name)) {
        runtime.runCommand(name);  // prints the host's own message
        const std::string why = "unknown command \"" + cp1251ToUtf8(name) + "\"";
        Session& session = Session::instance();
        if (from) session.rejectTold(*from, why);
        else session.fail(session.lastOrigin(), why + " in input sent to the document");
        return;
    }
    lastCommand_ = name;
    runtime.runCommand(name);
}

// Sent input runs as if typed: each word is a command name ended by a blank.
void CommandLoop::runSentInput(const std::string& input) {
    std::size_t i = 0;
    while (i < input.size() && !Session::instance().failed()) {
        while (i < input.size() && isBlankChar(input[i])) ++i;
        std::size_t end = i;
        while (end < input.size() && !isBlankChar(input[end])) ++end;
        if (end > i) runCommand(input.substr(i, end - i), nullptr);
        i = end;
    }
}

void CommandLoop::chooseContextMenuItem(const Action& a) {
    std::string error;
    if (!chooseDefaultContextMenuItem(a.text, error)) Session::instance().reject(a, error);
}

void CommandLoop::watchDrawing() {
    const AcDbDatabase* db = host::HostRuntime::instance().database();
    // A drawing opened at the address of the one it replaced has new signals.
    if (db == watched_ && (db == nullptr || (!watching_.empty() && watching_.front().connected()))) return;
    watching_.clear();
    watched_ = db;
    modified_ = false;
    if (db == nullptr) return;
    auto& events = db->events();
    watching_.push_back(events.added.connectScoped([this](AcDbObjectId) { modified_ = true; }));
    watching_.push_back(events.changed.connectScoped([this](AcDbObjectId) { modified_ = true; }));
    watching_.push_back(events.erased.connectScoped([this](AcDbObjectId) { modified_ = true; }));
    watching_.push_back(events.replaced.connectScoped([this] { modified_ = true; }));
}

bool CommandLoop::drawingModified() {
    watchDrawing();
    return modified_;
}

CommandLoop::Choice CommandLoop::offerToSave(const Action& a, const std::string& target) {
    if (!drawingModified()) return Choice::Unchanged;
    const std::string shown = target.empty() ? std::string("Drawing1") : fs::fileName(target);
    std::string text;
    try {
        text = "Save changes to " + utf8ToCp1251(shown) + "?";
    } catch (const EncodingError&) {
        text = "Save changes to the drawing?";
    }
    switch (MessageBox(nullptr, text.c_str(), "cadhost", MB_YESNOCANCEL | MB_ICONWARNING)) {
        case IDYES: break;
        case IDNO: return Choice::Dropped;
        default: return Choice::Cancel;  // Cancel, or the session ended
    }
    if (target.empty()) {
        Session::instance().reject(a, "the drawing has no file name to save its changes to (save it with \"save FILE\" "
                                      "or File > Save As first); it stays open");
        return Choice::Cancel;
    }
    std::string error;
    if (!host::HostRuntime::instance().saveDrawing(target, error)) {
        Session::instance().reject(a, error + "; the drawing stays open");
        return Choice::Cancel;
    }
    modified_ = false;
    return Choice::Saved;
}

void CommandLoop::leave(const Action& a) {
    const std::string target = !saveTarget_.empty() ? saveTarget_ : host::HostRuntime::instance().drawingPath();
    switch (offerToSave(a, target)) {
        case Choice::Cancel: return;  // the work goes on
        case Choice::Dropped: discarded_ = true; break;
        default: break;
    }
    leaving_ = true;
}

void CommandLoop::openDrawing(const Action& a) {
    Transcript::instance().input("OPEN " + a.text);
    if (offerToSave(a, host::HostRuntime::instance().drawingPath()) == Choice::Cancel) return;
    std::string error;
    if (!host::HostRuntime::instance().openDrawing(cp1251ToUtf8(a.text), error)) Session::instance().reject(a, error);
    watchDrawing();
}

void CommandLoop::newDrawing(const Action& a) {
    Transcript::instance().input("NEW");
    if (offerToSave(a, host::HostRuntime::instance().drawingPath()) == Choice::Cancel) return;
    host::HostRuntime::instance().newDrawing();
    watchDrawing();
}

void CommandLoop::saveDrawing(const Action& a) {
    const std::string version = a.words.empty() ? std::string() : a.words.front();
    std::string echo = "SAVEAS " + a.text;
    if (!version.empty()) echo += " " + version;
    Transcript::instance().input(echo);
    std::string error, dropped;
    if (!host::HostRuntime::instance().saveDrawing(cp1251ToUtf8(a.text), error, version, &dropped)) {
        Session::instance().reject(a, error);
        return;
    }
    modified_ = false;
    if (!dropped.empty()) {
        std::string note = "\nSaved as " + upperCase(version);
        note += ", without what it cannot hold: ";
        note += utf8ToCp1251(dropped);
        note += '\n';
        Transcript::instance().output(note);
    }
}

}  // namespace kestrin::cadhost
