#include "plugin/info/DialogIcon.h"

void setDialogIcons(CWnd& dialog, HICON icon) {
    dialog.SetIcon(icon, TRUE);
    dialog.SetIcon(icon, FALSE);
}

bool paintMinimisedIcon(CWnd& dialog, HICON icon) {
    if (!dialog.IsIconic()) return false;
    CPaintDC dc(&dialog);
    dc.SendIconEraseBackground();
    RECT rect;
    dialog.GetClientRect(&rect);
    const int x = (rect.right - rect.left - GetSystemMetrics(SM_CXICON) + 1) / 2;
    const int y = (rect.bottom - rect.top - GetSystemMetrics(SM_CYICON) + 1) / 2;
    dc.DrawIcon(x, y, icon);
    return true;
}

HCURSOR dragCursorOf(HICON icon) { return reinterpret_cast<HCURSOR>(icon); }
