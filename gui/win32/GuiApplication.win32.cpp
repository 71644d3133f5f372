// Windows: the system's own windows; no Qt application object.
#include "gui/GuiApplication.h"

#include "platform/ui/win32/NativeDialog.h"

namespace kestrin::gui {

bool displayAvailable() { return ui::win32::windowsAvailable(); }

void ensureApplication() { ui::win32::initialiseControls(); }

}  // namespace kestrin::gui
