#include "platform/ui/Static.h"

#include "platform/ui/Bitmap.h"

BOOL CStatic::Create(const char* text, DWORD style, const RECT& rect, CWnd* parent, UINT id) {
    if (!createOwned(kestrin::ui::WindowKind::Static, parent, id, style, text ? text : "")) return FALSE;
    window()->rect = rect;
    return TRUE;
}

HICON CStatic::SetIcon(HICON icon) {
    auto* w = window();
    if (w == nullptr) return nullptr;
    const HICON old = w->icon;
    w->icon = icon;
    w->imageId = kestrin::ui::iconResourceId(icon);
    ++w->paints;
    return old;
}

HICON CStatic::GetIcon() const {
    const auto* w = window();
    return w ? w->icon : nullptr;
}

HBITMAP CStatic::SetBitmap(HBITMAP bitmap) {
    auto* w = window();
    if (w == nullptr) return nullptr;
    const HBITMAP old = w->bitmap;
    w->bitmap = bitmap;
    w->imageId = kestrin::ui::bitmapResourceId(bitmap);
    ++w->paints;
    return old;
}

HBITMAP CStatic::GetBitmap() const {
    const auto* w = window();
    return w ? w->bitmap : nullptr;
}
