// The host's command line: waits for the person's next action and runs it:
// input sent to the document first, then commands, context-menu choices and
// drawing files. Anything meant for a dialog or an input request is refused
// here with the line it came from.
#pragma once

#include <string>
#include <vector>

#include "base/Signal.h"
#include "host/cadhost/HostProfile.h"
#include "platform/session/Action.h"

class AcDbDatabase;

namespace kestrin::cadhost {

class CommandLoop {
public:
    static constexpr const char* kPrompt = "Command: ";

    // `profile`: the host's profile read at start (menugroups lists its
    // groups). `saveTarget` (UTF-8; empty: none): where the drawing goes at
    // the end (--save), and so where Yes saves it when the person leaves.
    explicit CommandLoop(const HostProfile& profile, std::string saveTarget = {})
        : profile_(profile), saveTarget_(std::move(saveTarget)) {}

    // Runs until the input ends, the person leaves (quit) or the session fails.
    void run();

    // Whether the working drawing changed since it was opened or saved.
    bool drawingModified();
    // The working drawing holds changes its file lacks (it was recovered).
    void markModified() {
        watchDrawing();
        modified_ = true;
    }
    // The person left answering No to saving the changes: they are dropped
    // (the drawing is not written at the end either).
    bool discarded() const { return discarded_; }

private:
    const HostProfile& profile_;
    std::string saveTarget_;
    bool leaving_ = false;
    bool discarded_ = false;
    std::string lastCommand_;  // CP1251; Enter repeats it
    // The drawing's change signals set `modified_`; watched again whenever
    // another drawing becomes the working one.
    const AcDbDatabase* watched_ = nullptr;
    std::vector<ScopedConnection> watching_;
    bool modified_ = false;

    void watchDrawing();
    // Before the drawing is dropped: asks whether to save its changes (Yes
    // saves them to `target`, UTF-8, empty: the drawing has no file yet).
    // Answers what the person chose; Cancel also when Yes could not save.
    enum class Choice { Unchanged, Saved, Dropped, Cancel };
    Choice offerToSave(const session::Action& action, const std::string& target);
    void leave(const session::Action& action);

    void dispatch(const session::Action& action);
    void runCommand(const std::string& name, const session::Action* from);
    void runSentInput(const std::string& input);
    void chooseContextMenuItem(const session::Action& action);
    void newDrawing(const session::Action& action);
    void openDrawing(const session::Action& action);
    void saveDrawing(const session::Action& action);
};

}  // namespace kestrin::cadhost
