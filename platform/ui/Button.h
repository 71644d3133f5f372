// CButton: push buttons, check boxes, radio buttons (also push-like) and
// image buttons.
#pragma once

#include <string>

#include "platform/ui/Wnd.h"

inline constexpr int BST_UNCHECKED = 0;
inline constexpr int BST_CHECKED = 1;
inline constexpr int BST_INDETERMINATE = 2;

class CButton : public CWnd {
public:
    BOOL Create(const char* caption, DWORD style, const RECT& rect, CWnd* parent, UINT id);
    int GetCheck() const;
    void SetCheck(int check);
    UINT GetButtonStyle() const;
    void SetButtonStyle(UINT style, BOOL redraw = TRUE);
    HBITMAP SetBitmap(HBITMAP bitmap);  // answers the previous image
    HBITMAP GetBitmap() const;
    HICON SetIcon(HICON icon);
    HICON GetIcon() const;

    bool fitsKind(kestrin::ui::WindowKind k) const override { return k == kestrin::ui::WindowKind::Button; }
};

namespace kestrin::ui {
// The person clicks a button: it takes the focus, an automatic check box
// toggles, an automatic radio button checks itself and clears the others of
// its group, then the dialog gets BN_CLICKED.
void clickButton(HWND button);
bool isPushButton(const Window& w);
}  // namespace kestrin::ui
