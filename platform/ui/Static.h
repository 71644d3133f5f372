// CStatic: text, icon and bitmap statics. With SS_NOTIFY a click raises
// STN_CLICKED.
#pragma once

#include "platform/ui/Wnd.h"

class CStatic : public CWnd {
public:
    BOOL Create(const char* text, DWORD style, const RECT& rect, CWnd* parent, UINT id = 0xFFFF);
    HICON SetIcon(HICON icon);
    HICON GetIcon() const;
    HBITMAP SetBitmap(HBITMAP bitmap);
    HBITMAP GetBitmap() const;

    bool fitsKind(kestrin::ui::WindowKind k) const override { return k == kestrin::ui::WindowKind::Static; }
};
