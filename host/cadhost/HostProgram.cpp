#include "host/cadhost/HostProgram.h"

#include <iostream>
#include <stdexcept>

#include "base/Cp1251.h"
#include "host/api/AutoSave.h"
#include "host/api/CommandLine.h"
#include "host/api/HostRuntime.h"
#include "host/cadhost/CommandLoop.h"
#include "host/cadhost/ProfileSettings.h"
#include "host/cadhost/SessionAttach.h"
#include "host/loader/ModuleLoader.h"
#include "platform/fs/FileSystem.h"
#include "platform/fs/Path.h"
#include "platform/process/StandardInput.h"
#include "platform/registry/Registry.h"
#include "platform/session/ProgramRun.h"
#include "platform/session/ScriptError.h"
#include "platform/session/ScriptSource.h"
#include "platform/session/StreamSource.h"
#include "platform/session/TerminalSource.h"
#include "platform/session/Transcript.h"
#include "platform/ui/MessageBox.h"

namespace kestrin::cadhost {

using fs::FileSystem;
using session::Session;
using session::Transcript;

HostProgram::HostProgram(DesktopFactory desktop) : makeDesktop_(desktop) {}

HostProgram::~HostProgram() { stopDesktop(); }

int HostProgram::badArguments(const std::string& why) {
    std::cerr << "cadhost: " << why << "\n(cadhost --help shows the options)\n";
    return kBadArguments;
}

int HostProgram::run(int argc, const char* const* argv) {
    try {
        options_ = parseOptions(argc, argv);
    } catch (const std::invalid_argument& e) {
        return badArguments(e.what());
    }
    if (options_.help) {
        std::cout << usage();
        return kSucceeded;
    }
    if (options_.gui) {
        if (makeDesktop_ != nullptr) desktop_ = makeDesktop_();
        std::string why = "this cadhost has no desktop windows";
        if (!desktop_ || !desktop_->available(why)) return badArguments("cannot open the window (--gui): " + why);
    }
    std::string error;
    if (!checkArguments(error)) return badArguments(error);
    if (options_.transcript && !run_.openTranscript(*options_.transcript, "", error)) return badArguments(error);

    const Input input = chooseInput();
    run_.printTranscript(input.interactive);
    if (!input.person && !openSource(input)) {
        finish();
        return kFailed;
    }
    Session& session = Session::instance();
    session.setForgiving(input.interactive || input.person);  // a person retypes what did not fit
    run_.endRunawayWith(kFailed);
    attachStandIns();
    if (!prepare(error) || !startDesktop(error)) {
        stopDesktop();
        host::ModuleLoader::instance().unloadAll();
        finish();
        return badArguments(error);
    }
    return runSession(input);
}

// With --gui and no script the person acts in the window; else a script, or
// standard input, at a terminal or not.
HostProgram::Input HostProgram::chooseInput() const {
    using Origin = session::SessionOrigin::Kind;
    const session::SessionOrigin origin = session::sessionOrigin(options_.script, options_.gui);
    Input input;
    input.person = origin.kind == Origin::Window;
    input.fromStdin = origin.kind == Origin::StandardInput;
    // KESTRIN_CADHOST_INTERACTIVE=1 treats standard input as a terminal (tests).
    input.interactive =
        input.fromStdin && !options_.gui &&
        (origin.terminal || FileSystem::current().environment("KESTRIN_CADHOST_INTERACTIVE").value_or("") == "1");
    return input;
}

// The actions' source when they do not come from the window; false (said)
// for a script that cannot be read.
bool HostProgram::openSource(const Input& input) {
    if (input.interactive) {
        // A person at the terminal: Ctrl+C and Ctrl+D ask before anything is lost.
        source_ = std::make_unique<session::TerminalSource>(std::cout, process::standardInputIsTerminal());
    } else if (input.fromStdin) {
        source_ = std::make_unique<session::StreamSource>(std::cin, "<stdin>");
    } else {
        try {
            source_ = session::ScriptSource::fromFile(*options_.script);
        } catch (const session::ScriptError& e) {
            Transcript::instance().error(e.what());
            return false;
        }
    }
    return true;
}

// With --gui the window plays the script or takes the person's actions, and
// --record writes them.
bool HostProgram::startDesktop(std::string& error) {
    if (!desktop_) return true;
    source_ = desktop_->start(options_, profile_, std::move(source_), error);
    if (!source_) {
        error = "cannot open the window (--gui): " + error;
        return false;
    }
    if (options_.record) {
        auto recorder = std::make_unique<session::RecordingSource>(std::move(source_), *options_.record);
        recorder_ = recorder.get();
        recorder_->flush();  // an older record goes now, even if nothing is done
        source_ = std::move(recorder);
    }
    return true;
}

// The command line until the input ends or the person leaves, then the
// drawing saved (--save) when the session ended well.
int HostProgram::runSession(const Input& input) {
    Session& session = Session::instance();
    session.setSource(source_.get());
    const ProfileSettingsKeeper keeper(profile_);
    CommandLoop loop(profile_, options_.save.value_or(""));
    host::AutoSave& autoSave = host::AutoSave::instance();
    autoSave.start(options_.save.value_or(""));
    if (offerRecovery(input.interactive || input.person)) loop.markModified();
    loop.run();
    stopDesktop();
    host::ModuleLoader::instance().unloadAll();
    session.end();  // an answer no message box took fails the run

    int status = session.failed() ? kFailed : kSucceeded;
    // A record that could not be written was reported when it failed.
    if (recorder_ && !recorder_->flush().empty()) status = kFailed;
    // A person who left dropping the changes does not get them written.
    std::string error;
    if (status == kSucceeded && options_.save && !loop.discarded() &&
        !host::HostRuntime::instance().saveDrawing(*options_.save, error)) {
        Transcript::instance().error(error);
        status = kFailed;
    }
    // What a failed session leaves unsaved stays in its recovery file.
    autoSave.stop(status != kSucceeded);
    session.setSource(nullptr);
    if (!finish() && status == kSucceeded) status = kFailed;
    return status;
}

// A recovery file newer than the drawing was left by a session that did not
// end (a crash, a kill, a power cut). A person is asked whether to open it;
// a script opens it with --recover, else hears of it.
bool HostProgram::offerRecovery(bool ask) {
    host::HostRuntime& runtime = host::HostRuntime::instance();
    const std::string drawing = runtime.drawingPath();
    const auto recovery = host::AutoSave::instance().newerRecoveryFor(drawing);
    if (!recovery) return false;
    auto shown = [](const std::string& utf8) {
        try {
            return utf8ToCp1251(utf8);
        } catch (const EncodingError&) {
            return std::string("(a name the command line cannot show)");
        }
    };
    const std::string what = drawing.empty() ? std::string("the new drawing") : shown(drawing);
    bool open = options_.recover;
    if (ask) {
        const std::string question = "A session that did not end left a recovery file of " + what +
                                     ", newer than it:\n" + shown(*recovery) + "\nOpen it?";
        open = MessageBox(nullptr, question.c_str(), "cadhost", MB_YESNO | MB_ICONQUESTION) == IDYES;
    } else if (!open) {
        host::print("\nA recovery file of " + what + " is newer than it: " + shown(*recovery) +
                    " (--recover opens it).\n");
    }
    if (!open) return false;
    std::string error;
    if (!runtime.recoverDrawing(*recovery, drawing, error)) {
        session::Transcript::instance().error(error);
        return false;
    }
    host::AutoSave::instance().adopt(*recovery);
    host::print("\nRecovered from " + shown(*recovery) + "\n");
    return true;
}

// What can be checked before anything runs: the script, the save and record targets.
bool HostProgram::checkArguments(std::string& error) {
    const bool fromStdin = !options_.script || *options_.script == "-";
    if (!fromStdin) {
        if (const std::string why = session::unreadableFile(*options_.script); !why.empty()) {
            error = "cannot read the script '" + *options_.script + "': " + why;
            return false;
        }
    }
    if (options_.save) {
        if (options_.save->empty()) {
            error = "cannot save: --save was given an empty file name";
            return false;
        }
        if (const std::string why = session::unwritableFile(*options_.save); !why.empty()) {
            error = "cannot save to '" + *options_.save + "': " + why;
            return false;
        }
    }
    if (options_.record) {
        if (options_.record->empty()) {
            error = "cannot record: --record was given an empty file name";
            return false;
        }
        if (const std::string why = session::unwritableFile(*options_.record); !why.empty()) {
            error = "cannot write the record file '" + *options_.record + "': " + why;
            return false;
        }
    }
    return readRegistry(error);
}

// The registry file (--registry, else KESTRIN_REGISTRY) becomes the process's
// registry, modules' calls included; the host's profile is read from it now.
// Without either, the host reads no profile, unless the system has a
// registry of its own (Windows), where the profile is read from that.
bool HostProgram::readRegistry(std::string& error) {
    FileSystem& files = FileSystem::current();
    std::optional<std::string> file = options_.registry;
    if (file) {
        if (const std::string why = session::unreadableFile(*file); !why.empty()) {
            error = "cannot read the registry file '" + *file + "': " + why;
            return false;
        }
    } else if (auto set = files.environment("KESTRIN_REGISTRY"); set && !set->empty()) {
        file = *set;
    }
    if (!file && !registry::systemHasRegistry()) return true;
    if (file) registry::Registry::useFile(*file);
    std::string why;
    if (!readHostProfile(profile_, why)) {
        error = "cannot use the registry file: " + why;
        return false;
    }
    return true;
}

bool HostProgram::prepare(std::string& error) {
    host::HostRuntime& runtime = host::HostRuntime::instance();
    for (const std::string& problem : takeProfileSettings(profile_)) Transcript::instance().error(problem);
    for (const std::string& dir : options_.support) {
        auto st = FileSystem::current().status(dir);
        if (!st || !st->isDirectory()) {
            error = "support folder '" + dir + "' is not a folder";
            return false;
        }
        runtime.addSupportPath(dir);
    }
    // The profile's folders, as the host names them (drive paths through the
    // drive links); a folder that is not there is passed over, as the host does.
    for (const std::string& folder : profile_.supportFolders) {
        auto dir = FileSystem::current().resolve(cp1251ToUtf8(folder));
        if (!dir) continue;
        auto st = FileSystem::current().status(*dir);
        if (st && st->isDirectory()) runtime.addSupportPath(*dir);
    }
    if (options_.open) {
        if (!runtime.openDrawing(*options_.open, error)) return false;
    } else {
        runtime.newDrawing();
    }
    for (const std::string& module : options_.modules)
        if (!host::ModuleLoader::instance().load(module, error)) return false;
    return true;
}

void HostProgram::stopDesktop() {
    if (desktop_) desktop_->stop();
}

bool HostProgram::finish() { return run_.finish(); }

}  // namespace kestrin::cadhost
