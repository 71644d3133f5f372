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
#include <exception>
#include <iostream>
#include <memory>
#include <optional>
#include <string>

#include "gui/DialogWindows.h"
#include "gui/GuiApplication.h"
#include "gui/GuiSource.h"
#include "platform/fs/FileSystem.h"
#include "platform/registry/Registry.h"
#include "platform/registry/WinReg.h"
#include "platform/session/ProgramRun.h"
#include "platform/session/ScriptError.h"
#include "platform/session/ScriptSource.h"
#include "platform/session/Session.h"
#include "platform/session/StreamSource.h"
#include "platform/session/Transcript.h"
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

class Program {
public:
    int run() {
        if (int status = checkEnvironment(); status != kSucceeded) return status;
        using Origin = kestrin::session::SessionOrigin::Kind;
        // "-" asks for standard input, even with a display.
        const auto origin = kestrin::session::sessionOrigin(script_, kestrin::gui::displayAvailable());
        run_.printTranscript(origin.terminal);
        if (origin.kind == Origin::Script) {
            try {
                source_ = kestrin::session::ScriptSource::fromFile(*script_);
            } catch (const kestrin::session::ScriptError& e) {
                Transcript::instance().error(e.what());
                run_.finish();
                return kFailed;
            }
        } else if (origin.kind == Origin::Window) {
            // The person acts in the dialogs' windows.
            kestrin::gui::ensureApplication();
            auto windowSource = std::make_unique<kestrin::gui::GuiSource>();
            windows_ = std::make_unique<kestrin::gui::DialogWindows>(*windowSource);
            source_ = std::move(windowSource);
        } else {
            using kestrin::session::StreamSource;
            source_ = std::make_unique<StreamSource>(std::cin, "<stdin>", origin.terminal ? &std::cout : nullptr,
                                                     origin.terminal ? StreamSource::OnError::Reprompt
                                                                     : StreamSource::OnError::Throw);
        }
        Session& session = Session::instance();
        run_.endRunawayWith(kFailed);
        kestrin::ui::attachToSession();
        session.setSource(source_.get());
        {
            CSetupApp app;
            app.InitInstance();
        }
        session.end();  // an answer no message box took fails the run
        int status = session.failed() ? kFailed : kSucceeded;
        session.setSource(nullptr);
        if (!run_.finish() && status == kSucceeded) status = kFailed;
        return status;
    }

private:
    kestrin::session::ProgramRun run_{"Plantor"};
    std::optional<std::string> script_;  // "-": standard input
    std::unique_ptr<kestrin::session::ActionSource> source_;
    std::unique_ptr<kestrin::gui::DialogWindows> windows_;  // with source_ a GuiSource; goes first

    int checkEnvironment() {
        using kestrin::session::unreadableFile;
        using kestrin::session::unwritableFile;
        FileSystem& files = FileSystem::current();
        if (auto registry = setting("KESTRIN_REGISTRY")) {
            if (std::string why = unwritableFile(*registry); !why.empty())
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
            if (std::string why = unreadableFile(*script_); !why.empty())
                return badEnvironment("KESTRIN_SESSION: cannot read the session script '" + *script_ + "': " + why);
        }
        if (auto transcript = setting("KESTRIN_TRANSCRIPT")) {
            std::string why;
            if (!run_.openTranscript(*transcript, "KESTRIN_TRANSCRIPT: ", why)) return badEnvironment(why);
        }
        return kSucceeded;
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
