// The person's actions on the active dialog: click, type, key, focus,
// choose, dblclick, select, close and sysmenu. Each first goes through
// PreTranslateMessage (from the target control up to the dialog) as the
// message that the real action would post: WM_LBUTTONDOWN for click, choose,
// dblclick and select, WM_CHAR for each typed character, WM_KEYDOWN for a key,
// WM_SETFOCUS for focus, WM_NCLBUTTONDOWN for close and sysmenu. An action
// that cannot be done (a missing, hidden or disabled control, a choice on
// something that is not a list, a host-input action) is rejected with a
// message naming the control, and the session fails.
#pragma once

#include <string>

#include "platform/session/Action.h"
#include "platform/win/Types.h"

namespace kestrin::ui {

void performDialogAction(HWND dialog, const session::Action& action);

// A control of the dialog by id, or by caption and then by tooltip text.
// Null, with `why` (UTF-8) set, when none or more than one fits.
HWND findControl(HWND dialog, const session::ControlRef& ref, std::string& why);

// How a person names `control` in an action: by id when that is unique in
// the dialog, else by caption; false when neither names it alone.
bool nameControl(HWND dialog, HWND control, session::ControlRef& out);

// "dialog 8002 ("Caption")" (UTF-8).
std::string describeDialog(HWND dialog);

}  // namespace kestrin::ui
