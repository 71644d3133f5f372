#include "platform/ui/Button.h"

#include "platform/ui/Bitmap.h"
#include "platform/ui/Focus.h"

using kestrin::ui::Window;
using kestrin::ui::WindowKind;

BOOL CButton::Create(const char* caption, DWORD style, const RECT& rect, CWnd* parent, UINT id) {
    if (!createOwned(WindowKind::Button, parent, id, style, caption ? caption : "")) return FALSE;
    window()->rect = rect;
    return TRUE;
}

int CButton::GetCheck() const {
    const Window* w = window();
    return w ? w->button().check : 0;
}

void CButton::SetCheck(int check) {
    if (Window* w = window()) {
        ++w->paints;
        kestrin::ui::setCheck(*w, check);
    }
}

UINT CButton::GetButtonStyle() const {
    const Window* w = window();
    return w ? static_cast<UINT>(w->style & 0xFFFF) : 0;
}

void CButton::SetButtonStyle(UINT style, BOOL) {
    if (Window* w = window()) w->style = (w->style & 0xFFFF0000u) | (style & 0xFFFF);
}

HBITMAP CButton::SetBitmap(HBITMAP bitmap) {
    auto* w = window();
    return w ? kestrin::ui::setWindowBitmap(*w, bitmap) : nullptr;
}

HBITMAP CButton::GetBitmap() const {
    const Window* w = window();
    return w ? w->image().bitmap : nullptr;
}

HICON CButton::SetIcon(HICON icon) {
    auto* w = window();
    return w ? kestrin::ui::setWindowIcon(*w, icon) : nullptr;
}

HICON CButton::GetIcon() const {
    const Window* w = window();
    return w ? w->image().icon : nullptr;
}

namespace kestrin::ui {

bool isPushButton(const Window& w) {
    if (w.kind != WindowKind::Button) return false;
    const DWORD type = w.style & BS_TYPEMASK;
    return type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON;
}

void clickButton(HWND button) {
    Window* b = windowOf(button);
    if (b == nullptr) return;
    setFocus(button);
    if ((b = windowOf(button)) == nullptr) return;
    const DWORD type = b->style & BS_TYPEMASK;
    if (type == BS_AUTOCHECKBOX) {
        setCheck(*b, b->button().check ? 0 : 1);
    } else if (type == BS_AUTO3STATE) {
        setCheck(*b, (b->button().check + 1) % 3);
    } else if (type == BS_AUTORADIOBUTTON) {
        if (Window* parent = windowOf(b->parent)) {
            const auto& c = parent->children;
            std::size_t i = 0;
            while (i < c.size() && c[i] != button) ++i;
            std::size_t first = i, last = i + 1;
            while (first > 0 && !(windowRef(c[first]).style & WS_GROUP)) --first;
            while (last < c.size() && !(windowRef(c[last]).style & WS_GROUP)) ++last;
            for (std::size_t k = first; k < last; ++k) {
                Window& other = windowRef(c[k]);
                if (other.handle != button && other.kind == WindowKind::Button &&
                    (other.style & BS_TYPEMASK) == BS_AUTORADIOBUTTON)
                    setCheck(other, 0);
            }
        }
        setCheck(*b, 1);
    }
    ++b->paints;
    notifyParent(button, BN_CLICKED);
}

}  // namespace kestrin::ui
