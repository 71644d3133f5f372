// Plantor: the setup program. It takes no command line; the environment
// says where things are: KESTRIN_REGISTRY (the registry file),
// KESTRIN_DOSDEVICES (the drive links), KESTRIN_SESSION (a session script of
// the person's actions; "-" for standard input; without it the person acts
// in the dialogs' windows when there is a display, else on standard input)
// and KESTRIN_TRANSCRIPT (a copy of what the person sees).
//
// Exit status: 0 the session ran to its end, 1 a line failed or a check did
// not hold, 2 a bad environment (the message names the variable and file).
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <iostream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "gui/DialogWindows.h"
#include "gui/GuiApplication.h"
#include "gui/GuiSource.h"
#include "platform/fs/FileSystem.h"
#include "platform/fs/OutputStream.h"
#include "platform/fs/Path.h"
#include "platform/process/StandardInput.h"
#include "platform/registry/Registry.h"
#include "platform/registry/WinReg.h"
#include "platform/session/ScriptError.h"
#include "platform/session/ScriptSource.h"
#include "platform/session/Session.h"
#include "platform/session/StreamSource.h"
#include "platform/session/Transcript.h"
#include "platform/session/TranscriptPrinter.h"
#include "platform/ui/SessionBinding.h"
#include "setup/SetupApp.h"

namespace {

using kestrin::fs::FileSystem;
using kestrin::session::Session;
using kestrin::session::Transcript;

constexpr int kSucceeded = 0;
constexpr int kFailed = 1;
constexpr int kBadEnvironment = 2;

int badEnvironment(const std::string& why) {
    std::cerr << "Plantor: " << why << "\n";
    return kBadEnvironment;
}

std::optional<std::string> setting(const char* name) {
    auto value = FileSystem::current().environment(name);
    if (value && value->empty()) return std::nullopt;
    return value;
}

// A file the program will read or write: not a folder or device, in a folder
// that exists.
std::string unusableFile(const std::string& path, bool mustExist) {
    FileSystem& files = FileSystem::current();
    auto st = files.status(path);
    if (!st) return st.error().message();
    if (st->isDirectory()) return "it is a folder";
    if (st->exists() && !st->isRegular()) return "it is not a regular file";
    if (!st->exists()) {
        if (mustExist) return "no such file";
        const std::string parent = kestrin::fs::parentPath(path);
        auto folder = files.status(parent.empty() ? "." : parent);
        if (!folder || !folder->isDirectory()) return "no folder '" + parent + "'";
    }
    return {};
}

class Program {
public:
    ~Program() {
        for (int id : sinks_) Transcript::instance().removeSink(id);
        Session::instance().setRunawayHandler({});
    }

    int run() {
        if (int status = checkEnvironment(); status != kSucceeded) return status;
        Transcript& transcript = Transcript::instance();
        const bool interactive = !script_ && kestrin::process::standardInputIsTerminal();
        terminal_ = std::make_unique<kestrin::session::TranscriptPrinter>(std::cout, !interactive);
        sinks_.push_back(transcript.addSink([this](Transcript::Kind k, const std::string& s) { terminal_->print(k, s); }));
        if (transcriptFile_) {
            file_ = std::make_unique<kestrin::session::TranscriptPrinter>(*transcriptFile_, true);
            sinks_.push_back(transcript.addSink([this](Transcript::Kind k, const std::string& s) { file_->print(k, s); }));
        }
        if (script_) {
            try {
                source_ = kestrin::session::ScriptSource::fromFile(*script_);
            } catch (const kestrin::session::ScriptError& e) {
                transcript.error(e.what());
                finish();
                return kFailed;
            }
        } else if (!standardInput_ && kestrin::gui::displayAvailable()) {
            // The person acts in the dialogs' windows.
            kestrin::gui::ensureApplication();
            auto windowSource = std::make_unique<kestrin::gui::GuiSource>();
            windows_ = std::make_unique<kestrin::gui::DialogWindows>(*windowSource);
            source_ = std::move(windowSource);
        } else {
            using kestrin::session::StreamSource;
            source_ = std::make_unique<StreamSource>(std::cin, "<stdin>", interactive ? &std::cout : nullptr,
                                                     interactive ? StreamSource::OnError::Reprompt
                                                                 : StreamSource::OnError::Throw);
        }
        Session& session = Session::instance();
        session.setRunawayHandler([this](const std::string& why) {
            Transcript::instance().error(why);
            finish();
            std::fflush(nullptr);
            std::_Exit(kFailed);
        });
        kestrin::ui::attachToSession();
        session.setSource(source_.get());
        {
            CSetupApp app;
            app.InitInstance();
        }
        session.end();  // an answer no message box took fails the run
        int status = session.failed() ? kFailed : kSucceeded;
        session.setSource(nullptr);
        if (!finish() && status == kSucceeded) status = kFailed;
        return status;
    }

private:
    std::optional<std::string> script_;
    bool standardInput_ = false;  // KESTRIN_SESSION=- asks for standard input, even with a display
    std::optional<std::string> transcriptPath_;
    std::unique_ptr<kestrin::session::ActionSource> source_;
    std::unique_ptr<kestrin::gui::DialogWindows> windows_;  // with source_ a GuiSource; goes first
    std::unique_ptr<kestrin::session::TranscriptPrinter> terminal_;
    std::unique_ptr<kestrin::fs::OutputStream> transcriptFile_;
    std::unique_ptr<kestrin::session::TranscriptPrinter> file_;
    std::vector<int> sinks_;

    int checkEnvironment() {
        FileSystem& files = FileSystem::current();
        if (auto registry = setting("KESTRIN_REGISTRY")) {
            if (std::string why = unusableFile(*registry, false); !why.empty())
                return badEnvironment("KESTRIN_REGISTRY: cannot use the registry file '" + *registry + "': " + why);
            kestrin::registry::Registry::useFile(*registry);
        }
        {
            // A registry file that does not parse is refused before anything runs.
            HKEY key = nullptr;
            if (RegOpenKeyExA(HKEY_CURRENT_USER, "Software", 0, KEY_READ, &key) == ERROR_BADDB)
                return badEnvironment("KESTRIN_REGISTRY: the registry file '" +
                                      kestrin::registry::Registry::current().path() +
                                      "' cannot be read: " + kestrin::registry::Registry::current().problem());
            if (key) RegCloseKey(key);
        }
        if (auto devices = setting("KESTRIN_DOSDEVICES")) {
            auto st = files.status(*devices);
            if (!st || (st->exists() && !st->isDirectory()))
                return badEnvironment("KESTRIN_DOSDEVICES: the drive links folder '" + *devices +
                                      "' is not a folder" + (st ? std::string() : ": " + st.error().message()));
        }
        script_ = setting("KESTRIN_SESSION");
        if (script_ && *script_ != "-") {
            if (std::string why = unusableFile(*script_, true); !why.empty())
                return badEnvironment("KESTRIN_SESSION: cannot read the session script '" + *script_ + "': " + why);
        } else {
            standardInput_ = script_.has_value();  // "-": the person's actions come on standard input
            script_.reset();
        }
        transcriptPath_ = setting("KESTRIN_TRANSCRIPT");
        if (transcriptPath_) {
            if (std::string why = unusableFile(*transcriptPath_, false); !why.empty())
                return badEnvironment("KESTRIN_TRANSCRIPT: cannot write the transcript file '" + *transcriptPath_ +
                                      "': " + why);
            auto file = files.openForWriting(*transcriptPath_);
            if (!file)
                return badEnvironment("KESTRIN_TRANSCRIPT: cannot write the transcript file '" + *transcriptPath_ +
                                      "': " + file.error().reason);
            transcriptFile_ = std::make_unique<kestrin::fs::OutputStream>(std::move(*file));
        }
        return kSucceeded;
    }

    bool finish() {
        if (terminal_) terminal_->finish();
        if (file_) file_->finish();
        std::cout.flush();
        if (!transcriptFile_) return true;
        kestrin::fs::Status closed = transcriptFile_->close();
        if (closed) return true;
        std::cerr << "Plantor: KESTRIN_TRANSCRIPT: cannot write the transcript file '" << *transcriptPath_
                  << "': " << closed.error().reason << "\n";
        return false;
    }
};

}  // namespace

int main() {
    try {
        return Program().run();
    } catch (const std::exception& e) {
        std::fprintf(stderr, "Plantor: internal error: %s\n", e.what());
        return kFailed;
    }
}
