#include "platform/ui/View.h"

#include "platform/ui/Dc.h"
#include "platform/ui/Wnd.h"

namespace kestrin::ui {

std::vector<HWND> shownDialogs() {
    std::vector<HWND> out;
    for (HWND h : modalStack())
        if (const Window* w = windowOf(h); w && w->shown) out.push_back(h);
    return out;
}

ControlColours queryControlColours(HWND control) {
    ControlColours colours;
    Window* w = windowOf(control);
    CWnd* object = CWnd::FromHandle(control);
    if (w == nullptr || object == nullptr) return colours;
    const auto* entry = msgmap::findEntry(object->messageMap(), WM_REFLECT_BASE + WM_CTLCOLOR, 0, 0);
    if (entry != nullptr) {
        CClientDC dc(object);
        const UINT kind = w->kind == WindowKind::Edit ? CTLCOLOR_EDIT : CTLCOLOR_STATIC;
        colours.brush = reinterpret_cast<HBRUSH>(
            entry->pfn(object, reinterpret_cast<WPARAM>(static_cast<CDC*>(&dc)), static_cast<LPARAM>(kind)));
        colours.text = dc.textColour;
        colours.back = dc.backColour;
        colours.transparent = dc.backMode == TRANSPARENT;
    }
    if ((w = windowOf(control)) != nullptr) {
        w->textColor = colours.text;
        w->backColor = colours.back;
    }
    return colours;
}

HICON paintDialog(HWND dialog) {
    Window* w = windowOf(dialog);
    if (w == nullptr) return nullptr;
    w->paintedIcon = nullptr;
    sendMessage(dialog, WM_PAINT);
    w = windowOf(dialog);
    return w ? w->paintedIcon : nullptr;
}

HCURSOR queryDragIcon(HWND dialog) { return reinterpret_cast<HCURSOR>(sendMessage(dialog, WM_QUERYDRAGICON)); }

}  // namespace kestrin::ui
