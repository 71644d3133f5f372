#include "platform/session/RecordingSource.h"

#include "platform/fs/FileSystem.h"
#include "platform/session/ActionFormat.h"
#include "platform/session/Transcript.h"

namespace kestrin::session {

RecordingSource::RecordingSource(std::unique_ptr<ActionSource> source, std::string path)
    : source_(std::move(source)), path_(std::move(path)) {
    lines_.push_back("# Recorded by cadhost --gui; replays with cadhost as a session script.");
    dirty_ = true;
}

std::optional<Action> RecordingSource::next(const std::string& prompt) {
    flush();
    std::optional<Action> action = source_->next(prompt);
    if (!action) return action;
    std::string line = formatAction(*action);
    if (action->kind == ActionKind::Screenshot) {
        lines_.push_back("# " + line + "  (needs the desktop window)");
        lastIsAction_ = false;
    } else {
        lines_.push_back(std::move(line));
        lastIsAction_ = true;
    }
    forgivenBefore_ = Session::instance().forgiven();
    dirty_ = true;
    write();
    return action;
}

void RecordingSource::noteRefusal() {
    if (!lastIsAction_ || Session::instance().forgiven() == forgivenBefore_) return;
    // Refused and only reported: the session went on without it.
    lines_.back() = "# refused: " + lines_.back();
    lastIsAction_ = false;
    dirty_ = true;
}

const std::string& RecordingSource::flush() {
    noteRefusal();
    if (dirty_) write();
    return error_;
}

void RecordingSource::write() {
    if (!error_.empty()) return;  // reported once; the session's end tells it again
    std::string content;
    for (const std::string& line : lines_) content.append(line).append("\n");
    dirty_ = false;
    fs::Status done = fs::FileSystem::current().writeFile(path_, content);
    if (done) return;
    error_ = "cannot write the record file '" + path_ + "': " + done.error().reason;
    Transcript::instance().error(error_);
}

}  // namespace kestrin::session
