// The desktop program's windows, when cadhost runs with --gui. The host knows
// them only through this interface: the windows are one more source of the
// person's actions, and everything they show is read from the model.
#pragma once

#include <memory>
#include <string>

#include "host/cadhost/HostProfile.h"
#include "host/cadhost/Options.h"
#include "platform/session/Session.h"

namespace kestrin::cadhost {

class Desktop {
public:
    virtual ~Desktop() = default;
    // Whether a window can be opened here (a display); false with `why`
    // (UTF-8). Asked before anything runs.
    virtual bool available(std::string& why) const = 0;
    // Opens the main window once the host is prepared (drawing, modules,
    // `profile`, whose menu groups give the toolbar). Answers the source the
    // session reads: the person's actions in the window, or `script` (when
    // given) played in the window. Null with `error` (UTF-8) when no window
    // can be opened. The windows use the source: stop() comes before it goes.
    virtual std::unique_ptr<session::ActionSource> start(const Options& options, const HostProfile& profile,
                                                         std::unique_ptr<session::ActionSource> script,
                                                         std::string& error) = 0;
    // The session is over: the windows close (again: nothing happens).
    virtual void stop() = 0;
};

// Makes the desktop windows; given to HostProgram by the program's main.
using DesktopFactory = std::unique_ptr<Desktop> (*)();

}  // namespace kestrin::cadhost
