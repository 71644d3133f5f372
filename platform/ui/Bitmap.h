// Bitmaps and icons loaded by resource number. A handle names the image of
// a module's resource table; the model keeps the resource number, so a view
// can draw the image.
#pragma once

#include "platform/ui/ResourceTable.h"
#include "platform/win/Types.h"

struct BITMAP {
    LONG bmType = 0;
    LONG bmWidth = 0;
    LONG bmHeight = 0;
    LONG bmWidthBytes = 0;
    WORD bmPlanes = 1;
    WORD bmBitsPixel = 32;
    LPVOID bmBits = nullptr;
};

class CBitmap {
public:
    CBitmap() = default;
    virtual ~CBitmap();
    CBitmap(const CBitmap&) = delete;
    CBitmap& operator=(const CBitmap&) = delete;

    BOOL LoadBitmap(UINT resourceId);  // along the resource chain
    int GetBitmap(BITMAP* out) const;
    BOOL DeleteObject();
    operator HBITMAP() const { return m_hObject; }
    void* GetSafeHandle() const { return m_hObject; }
    BOOL Attach(HBITMAP bitmap);
    HBITMAP Detach();

    HBITMAP m_hObject = nullptr;
};

// Module-based loading, as the operating system offers it. A null module
// searches along the resource chain.
HBITMAP LoadBitmap(HINSTANCE module, LPCSTR name);
HICON LoadIcon(HINSTANCE module, LPCSTR name);
HCURSOR LoadCursor(HINSTANCE module, LPCSTR name);
BOOL DestroyIcon(HICON icon);
// The mouse cursor: set answers the previous one.
HCURSOR SetCursor(HCURSOR cursor);
HCURSOR GetCursor();
#define IDC_ARROW MAKEINTRESOURCE(32512)
#define IDC_HAND MAKEINTRESOURCE(32649)
#define IDI_APPLICATION MAKEINTRESOURCE(32512)

namespace kestrin::ui {
// The image and resource number behind a handle (null / 0 when unknown).
const ImageResource* bitmapImage(HBITMAP bitmap);
const ImageResource* iconImage(HICON icon);
int bitmapResourceId(HBITMAP bitmap);
int iconResourceId(HICON icon);
HICON loadIconResource(int id);  // along the chain; null when missing
}  // namespace kestrin::ui
