// The one Qt application object of a desktop run.
#pragma once

namespace kestrin::gui {

// Makes the application object on first use (the platform plug-in from the
// environment, QT_QPA_PLATFORM=offscreen without a display); later calls
// answer the same one.
void ensureApplication();

// Whether a window can be shown: a display, or an explicitly chosen platform
// plug-in (offscreen in tests).
bool displayAvailable();

}  // namespace kestrin::gui
