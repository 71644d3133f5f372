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

    // `profile`: the host's profile read at start (menugroups lists its groups).
    explicit CommandLoop(const HostProfile& profile) : profile_(profile) {}

    // Runs until the input ends or the session fails.
    void run();

    // Whether the working drawing changed since it was opened or saved.
    bool drawingModified();

private:
    const HostProfile& profile_;
    std::string lastCommand_;  // CP1251; Enter repeats it
    // The drawing's change signals set `modified_`; watched again whenever
    // another drawing becomes the working one.
    const AcDbDatabase* watched_ = nullptr;
    std::vector<ScopedConnection> watching_;
    bool modified_ = false;

    void watchDrawing();
    // Before the drawing is dropped: asks whether to save its changes. False:
    // keep it (Cancel, or Yes and the save failed).
    bool offerToSave(const session::Action& action);

    void dispatch(const session::Action& action);
    void runCommand(const std::string& name, const session::Action* from);
    void runSentInput(const std::string& input);
    void chooseContextMenuItem(const session::Action& action);
    void openDrawing(const session::Action& action);
    void saveDrawing(const session::Action& action);
};

}  // namespace kestrin::cadhost
