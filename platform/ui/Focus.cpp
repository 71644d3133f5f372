#include "platform/ui/Focus.h"

#include "platform/ui/Wnd.h"

namespace kestrin::ui {

namespace {
HWND& lastDialog() {
    static HWND h = nullptr;
    return h;
}

void notifyFocus(HWND h, bool gained) {
    const Window* w = windowOf(h);
    if (w == nullptr) return;
    if (w->kind == WindowKind::Edit) notifyParent(h, gained ? EN_SETFOCUS : EN_KILLFOCUS);
    if (w->kind == WindowKind::ComboBox) notifyParent(h, gained ? CBN_SETFOCUS : CBN_KILLFOCUS);
}
}  // namespace

HWND focusedWindow() {
    const auto& stack = modalStack();
    const Window* d = windowOf(stack.empty() ? lastDialog() : stack.back());
    return d && d->kind == WindowKind::Dialog ? d->dialog().focus : nullptr;
}

HWND setFocus(HWND h) {
    Window* d = dialogOf(h);
    if (d == nullptr) return nullptr;
    const HWND previous = focusedWindow();
    lastDialog() = d->handle;
    const HWND target = d->handle == h ? nullptr : h;
    HWND& focus = d->dialog().focus;
    if (focus == target) return previous;
    const HWND lost = focus;
    focus = target;
    notifyFocus(lost, false);
    notifyFocus(target, true);
    return previous;
}

}  // namespace kestrin::ui
