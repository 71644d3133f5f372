// The keyboard focus: each dialog remembers its focused control; the focus
// of the session is that of the topmost modal dialog.
#pragma once

#include "platform/win/Types.h"

namespace kestrin::ui {

HWND setFocus(HWND h);  // answers the window that had the focus
HWND focusedWindow();

}  // namespace kestrin::ui
