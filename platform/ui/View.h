// What a view asks of the model before it draws: the dialogs on screen, the
// colours a control wants (its reflected colour handler), the painting of a
// dialog and its drag icon.
#pragma once

#include <vector>

#include "platform/win/Types.h"

namespace kestrin::ui {

// The modal dialogs that are shown, bottom first.
std::vector<HWND> shownDialogs();

struct ControlColours {
    COLORREF text = 0x000000;
    COLORREF back = 0xFFFFFF;
    bool transparent = false;
    HBRUSH brush = nullptr;  // null: the dialog's own background
};
// Asks the control's object (ON_WM_CTLCOLOR_REFLECT) and keeps the answer in
// the window; controls without a handler get black on white.
ControlColours queryControlColours(HWND control);

// Sends WM_PAINT to the dialog; answers the icon its handler drew (a
// minimised dialog draws its icon), else null.
HICON paintDialog(HWND dialog);
// WM_QUERYDRAGICON of a minimised dialog.
HCURSOR queryDragIcon(HWND dialog);

}  // namespace kestrin::ui
