// The cadhost program as a whole: reads its options, prepares the host
// (drawing, support path, modules), runs the command line (its actions from
// a script, standard input or, with --gui, the desktop window), then unloads
// the modules and saves the drawing when the session succeeded.
#pragma once

#include <memory>
#include <optional>
#include <vector>

#include "host/cadhost/Desktop.h"
#include "host/cadhost/HostProfile.h"
#include "host/cadhost/Options.h"
#include "platform/session/ProgramRun.h"
#include "platform/session/RecordingSource.h"
#include "platform/session/Session.h"

namespace kestrin::cadhost {

class HostProgram {
public:
    static constexpr int kSucceeded = 0;
    static constexpr int kFailed = 1;
    static constexpr int kBadArguments = 2;

    // `desktop` makes the windows of --gui; null: --gui is refused.
    explicit HostProgram(DesktopFactory desktop = nullptr);
    ~HostProgram();
    int run(int argc, const char* const* argv);

private:
    DesktopFactory makeDesktop_;
    Options options_;
    std::unique_ptr<session::ActionSource> source_;
    session::RecordingSource* recorder_ = nullptr;  // source_ itself, with --record
    std::unique_ptr<Desktop> desktop_;  // its windows use source_: declared after it, so gone first
    session::ProgramRun run_{"cadhost"};
    HostProfile profile_;

    struct Input {
        bool person = false;       // the window's
        bool fromStdin = false;
        bool interactive = false;  // a person at a terminal
    };

    int badArguments(const std::string& why);
    Input chooseInput() const;
    bool openSource(const Input& input);        // false: a script that cannot be read (said)
    bool startDesktop(std::string& error);      // false: the window cannot open
    int runSession(const Input& input);
    bool checkArguments(std::string& error);  // false: bad arguments
    bool readRegistry(std::string& error);    // false: bad arguments
    bool prepare(std::string& error);         // false: bad arguments
    bool offerRecovery(bool ask);             // true: the drawing is a recovered one
    void stopDesktop();
    // Ends the output; false when the transcript file could not be written
    // (said on standard error).
    bool finish();
};

}  // namespace kestrin::cadhost
