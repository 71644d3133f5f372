// What the host program and the setup program share around a session: the
// checks of the files named for the run (made before anything runs), where
// the person's actions come from, the transcript printed on standard output
// and, when asked, into a file, the end of a runaway session, and the end of
// the output. The transcript's sinks and the runaway handler go with the
// object, on every way out.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/fs/OutputStream.h"
#include "platform/session/TranscriptPrinter.h"

namespace kestrin::session {

// "" when the file can be read; else why: "no such file", "it is a folder",
// "it is not a regular file (a device, FIFO or socket)" or the system's reason.
std::string unreadableFile(const std::string& path);
// "" when the file can be written (made or replaced): its folder exists, and
// it is no folder, device, FIFO or socket, and not write-protected; else why.
// Windows paths go through the drive links.
std::string unwritableFile(const std::string& path);

// Where a session's actions come from: a script file, standard input ("-",
// or no script where the person may not act in windows), or the windows.
struct SessionOrigin {
    enum class Kind { Script, StandardInput, Window } kind = Kind::StandardInput;
    bool terminal = false;  // standard input, and a terminal
};
SessionOrigin sessionOrigin(const std::optional<std::string>& script, bool windows);

class ProgramRun {
public:
    // `program` starts what the run says on standard error ("cadhost").
    explicit ProgramRun(std::string program);
    ~ProgramRun();
    ProgramRun(const ProgramRun&) = delete;
    ProgramRun& operator=(const ProgramRun&) = delete;

    // Opens the transcript file; `name` says what named it in messages
    // ("KESTRIN_TRANSCRIPT: "). False with `why` when it cannot be written.
    bool openTranscript(const std::string& path, const std::string& name, std::string& why);
    // From now on the transcript goes to standard output (what the person
    // typed echoed unless `atTerminal`, where they see it already) and into
    // the transcript file.
    void printTranscript(bool atTerminal);
    // A session that runs away is told, the output finished, and the program
    // ends at once with `status`.
    void endRunawayWith(int status);
    // Ends the output: the last lines, the transcript file closed. False when
    // the file could not be written, said on standard error.
    bool finish();

private:
    std::string program_;
    std::string transcriptPath_, transcriptName_;
    std::unique_ptr<fs::OutputStream> transcriptFile_;
    std::unique_ptr<TranscriptPrinter> terminal_;
    std::unique_ptr<TranscriptPrinter> file_;
    std::vector<int> sinks_;
    bool runawayHandled_ = false;
    bool transcriptClosed_ = false;
};

}  // namespace kestrin::session
