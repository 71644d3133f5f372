#include "platform/ui/Static.h"

#include "platform/ui/Bitmap.h"

BOOL CStatic::Create(const char* text, DWORD style, const RECT& rect, CWnd* parent, UINT id) {
    if (!createOwned(kestrin::ui::WindowKind::Static, parent, id, style, text ? text : "")) return FALSE;
    window()->rect = rect;
    return TRUE;
}

HICON CStatic::SetIcon(HICON icon) {
    auto* w = window();
    return w ? kestrin::ui::setWindowIcon(*w, icon) : nullptr;
}

HICON CStatic::GetIcon() const {
    const auto* w = window();
    return w ? w->image().icon : nullptr;
}

HBITMAP CStatic::SetBitmap(HBITMAP bitmap) {
    auto* w = window();
    return w ? kestrin::ui::setWindowBitmap(*w, bitmap) : nullptr;
}

HBITMAP CStatic::GetBitmap() const {
    const auto* w = window();
    return w ? w->image().bitmap : nullptr;
}
