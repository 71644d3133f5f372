#include "host/cadhost/HostProgram.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <stdexcept>

#include "host/api/HostRuntime.h"
#include "host/cadhost/CommandLine.h"
#include "host/cadhost/SessionAttach.h"
#include "host/loader/ModuleLoader.h"
#include "platform/session/ScriptError.h"
#include "platform/session/ScriptSource.h"
#include "platform/session/StreamSource.h"
#include "platform/session/Transcript.h"

namespace kestrin::cadhost {

namespace fs = std::filesystem;
using session::Session;
using session::Transcript;

HostProgram::~HostProgram() {
    for (int id : sinks_) Transcript::instance().removeSink(id);
    Session::instance().setRunawayHandler({});
}

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

    if (options_.transcript) {
        transcriptFile_.open(*options_.transcript, std::ios::binary | std::ios::trunc);
        if (!transcriptFile_) return badArguments("cannot write the transcript file '" + *options_.transcript + "'");
    }
    const bool fromStdin = !options_.script || *options_.script == "-";
    const bool interactive = fromStdin && isatty(STDIN_FILENO);
    if (!fromStdin) {
        std::error_code ec;
        if (!fs::is_regular_file(*options_.script, ec))
            return badArguments("cannot read the script '" + *options_.script + "': " +
                                (fs::exists(*options_.script, ec) ? "it is not a file" : "no such file"));
    }

    Transcript& transcript = Transcript::instance();
    terminal_ = std::make_unique<TranscriptPrinter>(std::cout, !interactive);
    sinks_.push_back(transcript.addSink([this](Transcript::Kind k, const std::string& s) { terminal_->print(k, s); }));
    if (transcriptFile_.is_open()) {
        file_ = std::make_unique<TranscriptPrinter>(transcriptFile_, true);
        sinks_.push_back(transcript.addSink([this](Transcript::Kind k, const std::string& s) { file_->print(k, s); }));
    }

    if (fromStdin) {
        source_ = std::make_unique<session::StreamSource>(
            std::cin, "<stdin>", interactive ? &std::cout : nullptr,
            interactive ? session::StreamSource::OnError::Reprompt : session::StreamSource::OnError::Throw);
    } else {
        try {
            source_ = session::ScriptSource::fromFile(*options_.script);
        } catch (const session::ScriptError& e) {
            transcript.error(e.what());
            finish();
            return kFailed;
        }
    }

    Session& session = Session::instance();
    session.setRunawayHandler([this](const std::string& why) {
        Transcript::instance().error(why);
        finish();
        std::fflush(nullptr);
        std::_Exit(kFailed);
    });
    attachStandIns();

    std::string error;
    if (!prepare(error)) {
        host::ModuleLoader::instance().unloadAll();
        finish();
        return badArguments(error);
    }

    session.setSource(source_.get());
    CommandLine().run();
    host::ModuleLoader::instance().unloadAll();
    session.end();  // an answer no message box took fails the run

    int status = session.failed() ? kFailed : kSucceeded;
    if (status == kSucceeded && options_.save) {
        if (!host::HostRuntime::instance().saveDrawing(*options_.save, error)) {
            transcript.error(error);
            status = kFailed;
        }
    }
    session.setSource(nullptr);
    finish();
    return status;
}

bool HostProgram::prepare(std::string& error) {
    host::HostRuntime& runtime = host::HostRuntime::instance();
    if (options_.save) {
        const fs::path parent = fs::path(*options_.save).parent_path();
        std::error_code ec;
        if (!parent.empty() && !fs::is_directory(parent, ec)) {
            error = "cannot save to '" + *options_.save + "': no folder '" + parent.string() + "'";
            return false;
        }
    }
    for (const std::string& dir : options_.support) {
        std::error_code ec;
        if (!fs::is_directory(dir, ec)) {
            error = "support folder '" + dir + "' is not a folder";
            return false;
        }
        runtime.addSupportPath(dir);
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

void HostProgram::finish() {
    if (terminal_) terminal_->finish();
    if (file_) file_->finish();
    std::cout.flush();
}

}  // namespace kestrin::cadhost
