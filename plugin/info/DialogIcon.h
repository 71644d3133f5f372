// The module's dialogs share their icon handling: the group icon 8052 set
// as both the large and the small icon, drawn centred in the client area
// while the dialog is minimised, and given as the drag cursor.
#pragma once

#include "platform/ui/Framework.h"

// Both sizes of the dialog's icon.
void setDialogIcons(CWnd& dialog, HICON icon);
// While the dialog is minimised: erases the icon background and draws the
// icon at ((width - icon width + 1) / 2, (height - icon height + 1) / 2), and
// answers true. False (nothing painted) otherwise: the dialog paints as usual.
bool paintMinimisedIcon(CWnd& dialog, HICON icon);
HCURSOR dragCursorOf(HICON icon);
