// Connects the stand-ins to the session once at start: the keyboard, the
// dialog framework and the host register their handlers for the actions and
// checks they own; the host's window and instance become the framework's
// application.
#pragma once

namespace kestrin::cadhost {

void attachStandIns();

}  // namespace kestrin::cadhost
