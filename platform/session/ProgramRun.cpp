#include "platform/session/ProgramRun.h"

#include <cstdio>
#include <cstdlib>
#include <iostream>

#include "platform/fs/FileSystem.h"
#include "platform/fs/Path.h"
#include "platform/process/StandardInput.h"
#include "platform/session/Session.h"
#include "platform/session/Transcript.h"

namespace kestrin::session {

std::string unreadableFile(const std::string& path) {
    auto st = fs::FileSystem::current().status(path);
    if (!st) return st.error().reason;
    if (!st->exists()) return "no such file";
    if (st->isDirectory()) return "it is a folder";
    if (!st->isRegular()) return "it is not a regular file (a device, FIFO or socket)";
    return {};
}

namespace {

// Why no file can be made at `path`, or replace what is there: a folder
// missing on the way or a folder in its place. The file's own path (through
// the drive links) in `target`.
std::string noRoomForFile(const std::string& path, std::string& target) {
    fs::FileSystem& files = fs::FileSystem::current();
    auto resolved = files.resolve(path);
    if (!resolved) return resolved.error().message();
    target = *resolved;
    const std::string parent = fs::parentPath(target);
    auto folder = files.status(parent.empty() ? "." : parent);
    if (!parent.empty() && (!folder || !folder->isDirectory())) return "no folder '" + parent + "'";
    auto st = files.status(target);
    if (!st) return st.error().reason;
    if (st->isDirectory()) return "it is a folder";
    return {};
}

}  // namespace

std::string unwritableFile(const std::string& path) {
    std::string target;
    if (std::string why = noRoomForFile(path, target); !why.empty()) return why;
    auto st = fs::FileSystem::current().status(target);
    if (!st) return st.error().reason;
    if (st->exists() && !st->isRegular()) return "it is not a regular file (a device, FIFO or socket)";
    if (st->exists() && (st->mode & 0222) == 0) return "it is write-protected";
    return {};
}

SessionOrigin sessionOrigin(const std::optional<std::string>& script, bool windows) {
    SessionOrigin origin;
    if (script && *script != "-") {
        origin.kind = SessionOrigin::Kind::Script;
    } else if (!script && windows) {
        origin.kind = SessionOrigin::Kind::Window;
    } else {
        origin.kind = SessionOrigin::Kind::StandardInput;
        origin.terminal = process::standardInputIsTerminal();
    }
    return origin;
}

ProgramRun::ProgramRun(std::string program) : program_(std::move(program)) {}

ProgramRun::~ProgramRun() {
    for (int id : sinks_) Transcript::instance().removeSink(id);
    if (runawayHandled_) Session::instance().setRunawayHandler({});
}

bool ProgramRun::openTranscript(const std::string& path, const std::string& name, std::string& why) {
    // A stream of text: a device (a terminal, /dev/stdout) takes it too.
    std::string target;
    why = noRoomForFile(path, target);
    if (why.empty()) {
        auto file = fs::FileSystem::current().openForWriting(path);
        if (file) {
            transcriptFile_ = std::make_unique<fs::OutputStream>(std::move(*file));
        } else {
            why = file.error().reason;
        }
    }
    if (!why.empty()) {
        why = name + "cannot write the transcript file '" + path + "': " + why;
        return false;
    }
    transcriptPath_ = path;
    transcriptName_ = name;
    return true;
}

void ProgramRun::printTranscript(bool atTerminal) {
    Transcript& transcript = Transcript::instance();
    terminal_ = std::make_unique<TranscriptPrinter>(std::cout, !atTerminal);
    sinks_.push_back(transcript.addSink([this](Transcript::Kind k, const std::string& s) { terminal_->print(k, s); }));
    if (transcriptFile_) {
        file_ = std::make_unique<TranscriptPrinter>(*transcriptFile_, true);
        sinks_.push_back(transcript.addSink([this](Transcript::Kind k, const std::string& s) {
            if (file_) file_->print(k, s);
        }));
    }
}

void ProgramRun::endRunawayWith(int status) {
    runawayHandled_ = true;
    Session::instance().setRunawayHandler([this, status](const std::string& why) {
        Transcript::instance().error(why);
        finish();
        std::fflush(nullptr);
        std::_Exit(status);
    });
}

bool ProgramRun::finish() {
    if (terminal_) terminal_->finish();
    if (file_) file_->finish();
    std::cout.flush();
    if (!transcriptFile_ || transcriptClosed_) return true;
    transcriptClosed_ = true;  // what comes after the end goes to standard output only
    file_.reset();
    const fs::Status closed = transcriptFile_->close();
    if (closed) return true;
    std::cerr << program_ << ": " << transcriptName_ << "cannot write the transcript file '" << transcriptPath_
              << "': " << closed.error().reason << "\n";
    return false;
}

}  // namespace kestrin::session
