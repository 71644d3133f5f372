#include "platform/ui/Wnd.h"

#include <algorithm>
#include <cstring>

#include "platform/ui/App.h"
#include "platform/ui/DataExchange.h"
#include "platform/ui/EditBehaviour.h"
#include "platform/ui/Focus.h"
#include "platform/ui/Font.h"
#include "platform/ui/Menu.h"
#include "platform/ui/MessageBox.h"

using kestrin::ui::Window;
using kestrin::ui::WindowKind;
using kestrin::ui::windowOf;

namespace {
struct CurrentMessage {
    HWND hwnd;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};
std::vector<CurrentMessage>& currentMessages() {
    static std::vector<CurrentMessage> stack;
    return stack;
}
struct MessageScope {
    MessageScope(HWND h, UINT m, WPARAM w, LPARAM l) { currentMessages().push_back({h, m, w, l}); }
    ~MessageScope() { currentMessages().pop_back(); }
    MessageScope(const MessageScope&) = delete;
    MessageScope& operator=(const MessageScope&) = delete;
};
CWnd* handlerOf(const Window* w) {
    if (w == nullptr) return nullptr;
    return w->handler ? w->handler : w->frameworkObject.get();
}
}  // namespace

CWnd::CWnd() = default;

CWnd::~CWnd() {
    Window* w = window();
    if (w == nullptr) return;
    if (w->creator == this) {
        kestrin::ui::destroyWindow(m_hWnd);
    } else if (w->handler == this) {
        w->handler = w->frameworkObject.get();
    }
    m_hWnd = nullptr;
}

const AFX_MSGMAP* CWnd::GetThisMessageMap() {
    static const AFX_MSGMAP_ENTRY entries[] = {{0, 0, 0, 0, nullptr}};
    static const AFX_MSGMAP map = {nullptr, &entries[0]};
    return &map;
}
const AFX_MSGMAP* CWnd::GetMessageMap() const { return GetThisMessageMap(); }

CWnd* CWnd::FromHandle(HWND h) { return handlerOf(windowOf(h)); }

int CWnd::GetDlgCtrlID() const {
    const Window* w = window();
    return w ? w->id : 0;
}

CWnd* CWnd::GetDlgItem(int id) const { return handlerOf(kestrin::ui::childById(m_hWnd, id)); }

CWnd* CWnd::GetParent() const {
    const Window* w = window();
    return w ? FromHandle(w->parent) : nullptr;
}

void CWnd::SetWindowText(const char* text) {
    Window* w = window();
    if (w == nullptr) return;
    const std::string t = text ? text : "";
    if (w->kind == WindowKind::Edit || w->kind == WindowKind::ComboBox) {
        kestrin::ui::editSetText(*w, t, false);
    } else {
        ++w->paints;
        kestrin::ui::setWindowText(*w, t);
    }
}

void CWnd::GetWindowText(std::string& out) const {
    const Window* w = window();
    out = w ? w->text : std::string();
}

int CWnd::GetWindowText(LPSTR buffer, int size) const {
    if (buffer == nullptr || size <= 0) return 0;
    const Window* w = window();
    const std::string t = w ? w->text : std::string();
    const auto n = std::min<std::size_t>(t.size(), static_cast<std::size_t>(size - 1));
    std::memcpy(buffer, t.data(), n);
    buffer[n] = '\0';
    return static_cast<int>(n);
}

int CWnd::GetWindowTextLength() const {
    const Window* w = window();
    return w ? static_cast<int>(w->text.size()) : 0;
}

void CWnd::SetDlgItemText(int id, const char* text) {
    if (CWnd* c = GetDlgItem(id)) c->SetWindowText(text);
}

void CWnd::GetDlgItemText(int id, std::string& out) const {
    out.clear();
    if (CWnd* c = GetDlgItem(id)) c->GetWindowText(out);
}

BOOL CWnd::ShowWindow(int command) {
    Window* w = window();
    if (w == nullptr) return FALSE;
    const BOOL was = w->shown;
    const bool show = command != SW_HIDE;
    if (command == SW_MINIMIZE || command == SW_SHOWMINIMIZED) w->iconic = true;
    if (command == SW_RESTORE || command == SW_SHOWNORMAL) w->iconic = false;
    if (show == static_cast<bool>(was)) return was;
    ++w->paints;
    kestrin::ui::setShown(*w, show);
    if (window() == nullptr) return was;
    if (w->kind == WindowKind::Dialog) kestrin::ui::sendMessage(m_hWnd, WM_SHOWWINDOW, show ? TRUE : FALSE, 0);
    return was;
}

BOOL CWnd::IsWindowVisible() const {
    for (const Window* w = window(); w; w = windowOf(w->parent))
        if (!w->shown) return FALSE;
    return window() ? TRUE : FALSE;
}

BOOL CWnd::EnableWindow(BOOL enable) {
    Window* w = window();
    if (w == nullptr) return FALSE;
    const BOOL wasDisabled = !w->enabled;
    ++w->paints;
    kestrin::ui::setEnabled(*w, enable != FALSE);
    return wasDisabled;
}

BOOL CWnd::IsWindowEnabled() const {
    const Window* w = window();
    return w && w->enabled ? TRUE : FALSE;
}

BOOL CWnd::IsIconic() const {
    const Window* w = window();
    return w && w->iconic ? TRUE : FALSE;
}

CWnd* CWnd::SetFocus() { return FromHandle(kestrin::ui::setFocus(m_hWnd)); }
CWnd* CWnd::GetFocus() { return FromHandle(kestrin::ui::focusedWindow()); }

void CWnd::SetFont(CFont* font, BOOL redraw) {
    Window* w = window();
    if (w == nullptr) return;
    w->font = font ? static_cast<HFONT>(font->GetSafeHandle()) : nullptr;
    LOGFONT lf{};
    if (font && font->GetLogFont(&lf)) {
        w->fontFace = lf.lfFaceName;
        w->fontPoints = pointsOfHeight(lf.lfHeight);
    }
    if (redraw) ++w->paints;
}

CFont* CWnd::GetFont() const {
    const Window* w = window();
    return w ? CFont::FromHandle(w->font) : nullptr;
}

DWORD CWnd::GetStyle() const {
    const Window* w = window();
    if (w == nullptr) return 0;
    DWORD s = w->style & ~(WS_VISIBLE | WS_DISABLED);
    if (w->shown) s |= WS_VISIBLE;
    if (!w->enabled) s |= WS_DISABLED;
    return s;
}

BOOL CWnd::ModifyStyle(DWORD remove, DWORD add, UINT) {
    Window* w = window();
    if (w == nullptr) return FALSE;
    const DWORD before = w->style;
    w->style = (w->style & ~remove) | add;
    const DWORD after = w->style;
    const HWND h = m_hWnd;
    if (remove & WS_VISIBLE) kestrin::ui::setShown(*w, false);
    if ((add & WS_VISIBLE) && (w = windowOf(h)) != nullptr) kestrin::ui::setShown(*w, true);
    if ((remove & WS_DISABLED) && (w = windowOf(h)) != nullptr) kestrin::ui::setEnabled(*w, true);
    if ((add & WS_DISABLED) && (w = windowOf(h)) != nullptr) kestrin::ui::setEnabled(*w, false);
    return before != after;
}

HICON CWnd::SetIcon(HICON icon, BOOL big) {
    Window* w = window();
    if (w == nullptr || w->kind != WindowKind::Dialog) return nullptr;
    HICON& slot = big ? w->dialog().bigIcon : w->dialog().smallIcon;
    HICON old = slot;
    slot = icon;
    return old;
}

HICON CWnd::GetIcon(BOOL big) const {
    const Window* w = window();
    if (w == nullptr || w->kind != WindowKind::Dialog) return nullptr;
    return big ? w->dialog().bigIcon : w->dialog().smallIcon;
}

CMenu* CWnd::GetSystemMenu(BOOL revert) {
    Window* w = window();
    if (w == nullptr || w->kind != WindowKind::Dialog || (w->style & WS_SYSMENU) == 0) return nullptr;
    auto& menu = w->dialog().systemMenu;
    if (revert || !menu) menu = CMenu::makeSystemMenu();
    return revert ? nullptr : menu.get();
}

void CWnd::GetWindowRect(LPRECT r) const {
    if (r == nullptr) return;
    const Window* w = window();
    *r = w ? w->rect : RECT{};
    for (const Window* p = w ? windowOf(w->parent) : nullptr; p; p = windowOf(p->parent)) {
        r->left += p->rect.left;
        r->right += p->rect.left;
        r->top += p->rect.top;
        r->bottom += p->rect.top;
    }
}

void CWnd::GetClientRect(LPRECT r) const {
    if (r == nullptr) return;
    const Window* w = window();
    *r = w ? RECT{0, 0, w->rect.right - w->rect.left, w->rect.bottom - w->rect.top} : RECT{};
}

void CWnd::ScreenToClient(LPRECT r) const {
    RECT me;
    GetWindowRect(&me);
    r->left -= me.left;
    r->right -= me.left;
    r->top -= me.top;
    r->bottom -= me.top;
}

void CWnd::ClientToScreen(LPRECT r) const {
    RECT me;
    GetWindowRect(&me);
    r->left += me.left;
    r->right += me.left;
    r->top += me.top;
    r->bottom += me.top;
}

void CWnd::MoveWindow(int x, int y, int width, int height, BOOL repaint) {
    Window* w = window();
    if (w == nullptr) return;
    w->rect = RECT{x, y, x + width, y + height};
    if (repaint) ++w->paints;
}

void CWnd::MoveWindow(LPCRECT r, BOOL repaint) {
    if (r) MoveWindow(r->left, r->top, r->right - r->left, r->bottom - r->top, repaint);
}

BOOL CWnd::SetWindowPos(const CWnd*, int x, int y, int cx, int cy, UINT flags) {
    Window* w = window();
    if (w == nullptr) return FALSE;
    RECT r = w->rect;
    if ((flags & SWP_NOMOVE) == 0) {
        r.right += x - r.left;
        r.bottom += y - r.top;
        r.left = x;
        r.top = y;
    }
    if ((flags & SWP_NOSIZE) == 0) {
        r.right = r.left + cx;
        r.bottom = r.top + cy;
    }
    w->rect = r;
    ++w->paints;
    return TRUE;
}

void CWnd::Invalidate(BOOL) {
    if (Window* w = window()) ++w->paints;
}

void CWnd::UpdateWindow() {
    if (window()) kestrin::ui::sendMessage(m_hWnd, WM_PAINT);
}

void CWnd::CheckDlgButton(int id, UINT check) {
    if (Window* b = kestrin::ui::childById(m_hWnd, id)) kestrin::ui::setCheck(*b, static_cast<int>(check));
}

UINT CWnd::IsDlgButtonChecked(int id) const {
    const Window* b = kestrin::ui::childById(m_hWnd, id);
    return b && b->kind == WindowKind::Button ? static_cast<UINT>(b->button().check) : 0;
}

void CWnd::CheckRadioButton(int first, int last, int checked) {
    for (int id = first; id <= last; ++id) CheckDlgButton(id, id == checked ? 1 : 0);
}

BOOL CWnd::SubclassWindow(HWND h) {
    Window* w = windowOf(h);
    if (w == nullptr || m_hWnd != nullptr || !fitsKind(w->kind)) return FALSE;
    if (w->handler != nullptr && w->handler != w->frameworkObject.get()) return FALSE;
    w->handler = this;
    m_hWnd = h;
    PreSubclassWindow();
    return TRUE;
}

BOOL CWnd::SubclassDlgItem(UINT id, CWnd* parent) {
    if (parent == nullptr) return FALSE;
    Window* c = kestrin::ui::childById(parent->m_hWnd, static_cast<int>(id));
    return c ? SubclassWindow(c->handle) : FALSE;
}

HWND CWnd::UnsubclassWindow() {
    Window* w = window();
    const HWND h = m_hWnd;
    if (w && w->handler == this) w->handler = w->frameworkObject.get();
    m_hWnd = nullptr;
    return h;
}

BOOL CWnd::DestroyWindow() {
    if (window() == nullptr) return FALSE;
    kestrin::ui::sendMessage(m_hWnd, WM_DESTROY);
    kestrin::ui::destroyWindow(m_hWnd);
    m_hWnd = nullptr;
    return TRUE;
}

BOOL CWnd::createOwned(WindowKind kind, CWnd* parent, UINT id, DWORD style, const std::string& text) {
    if (m_hWnd != nullptr) return FALSE;
    const HWND h = kestrin::ui::createWindow(kind, parent ? parent->m_hWnd : nullptr, static_cast<int>(id), style, text);
    Window& w = kestrin::ui::windowRef(h);
    w.frameworkObject = kestrin::ui::makeFrameworkObject(kind);
    w.frameworkObject->m_hWnd = h;
    w.handler = this;
    w.creator = this;
    m_hWnd = h;
    return TRUE;
}

LRESULT CWnd::SendMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    return kestrin::ui::sendMessage(m_hWnd, message, wParam, lParam);
}

int CWnd::MessageBox(const char* text, const char* caption, UINT type) {
    const std::string title = caption ? caption : AfxGetAppName();
    return ::MessageBox(m_hWnd, text, title.c_str(), type);
}

BOOL CWnd::UpdateData(BOOL saveAndValidate) {
    CDataExchange dx(this, saveAndValidate);
    try {
        DoDataExchange(&dx);
    } catch (const kestrin::ui::DataExchangeFailure&) {
        return FALSE;
    }
    return TRUE;
}

void CWnd::DoDataExchange(CDataExchange*) {}
BOOL CWnd::PreTranslateMessage(MSG*) { return FALSE; }

BOOL CWnd::OnCommand(WPARAM wParam, LPARAM lParam) {
    const UINT id = LOWORD(wParam), code = HIWORD(wParam);
    // Reflection first: the control that sent the notification may handle it
    // itself, and then the parent does not see it.
    if (CWnd* control = FromHandle(reinterpret_cast<HWND>(lParam))) {
        if (const auto* e = kestrin::ui::msgmap::findEntry(control->messageMap(), WM_REFLECT_BASE + WM_COMMAND, code, 0)) {
            e->pfn(control, 0, 0);
            return TRUE;
        }
    }
    if (const auto* e = kestrin::ui::msgmap::findEntry(messageMap(), WM_COMMAND, code, id)) {
        e->pfn(this, wParam, lParam);
        return TRUE;
    }
    return FALSE;
}

void CWnd::OnChar(UINT ch, UINT repeat, UINT flags) {
    kestrin::ui::defaultProcedure(m_hWnd, WM_CHAR, ch, static_cast<LPARAM>(repeat | (flags << 16)));
}
void CWnd::OnKeyDown(UINT key, UINT repeat, UINT flags) {
    kestrin::ui::defaultProcedure(m_hWnd, WM_KEYDOWN, key, static_cast<LPARAM>(repeat | (flags << 16)));
}
void CWnd::OnClose() { kestrin::ui::defaultProcedure(m_hWnd, WM_CLOSE, 0, 0); }
void CWnd::OnDestroy() {}
void CWnd::OnPaint() { kestrin::ui::defaultProcedure(m_hWnd, WM_PAINT, 0, 0); }
void CWnd::OnSysCommand(UINT id, LPARAM lParam) { kestrin::ui::defaultProcedure(m_hWnd, WM_SYSCOMMAND, id, lParam); }
void CWnd::OnShowWindow(BOOL, UINT) {}
HCURSOR CWnd::OnQueryDragIcon() { return nullptr; }
BOOL CWnd::OnSetCursor(CWnd*, UINT, UINT) { return FALSE; }

LRESULT CWnd::Default() {
    const auto& stack = currentMessages();
    if (stack.empty()) return 0;
    const CurrentMessage m = stack.back();
    return kestrin::ui::defaultProcedure(m.hwnd, m.message, m.wParam, m.lParam);
}

namespace kestrin::ui {

LRESULT sendMessage(HWND h, UINT message, WPARAM wParam, LPARAM lParam) {
    Window* w = windowOf(h);
    CWnd* target = handlerOf(w);
    if (target == nullptr) return defaultProcedure(h, message, wParam, lParam);
    MessageScope scope(h, message, wParam, lParam);
    if (message == WM_COMMAND) {
        if (target->OnCommand(wParam, lParam)) return 0;
        return defaultProcedure(h, message, wParam, lParam);
    }
    if (const auto* e = msgmap::findEntry(target->messageMap(), message, 0, 0)) return e->pfn(target, wParam, lParam);
    const auto repeat = static_cast<UINT>(lParam & 0xFFFF), flags = static_cast<UINT>((lParam >> 16) & 0xFFFF);
    switch (message) {
        case WM_CHAR: target->OnChar(static_cast<UINT>(wParam), repeat, flags); return 0;
        case WM_KEYDOWN: target->OnKeyDown(static_cast<UINT>(wParam), repeat, flags); return 0;
        case WM_CLOSE: target->OnClose(); return 0;
        case WM_DESTROY: target->OnDestroy(); return 0;
        case WM_PAINT: target->OnPaint(); return 0;
        case WM_SYSCOMMAND: target->OnSysCommand(static_cast<UINT>(wParam), lParam); return 0;
        case WM_SHOWWINDOW: target->OnShowWindow(static_cast<BOOL>(wParam), static_cast<UINT>(lParam)); return 0;
        case WM_QUERYDRAGICON: return reinterpret_cast<LRESULT>(target->OnQueryDragIcon());
        default: return defaultProcedure(h, message, wParam, lParam);
    }
}

void notifyParent(HWND control, UINT code) {
    const Window* w = windowOf(control);
    if (w == nullptr || w->parent == nullptr) return;
    sendMessage(w->parent, WM_COMMAND, MAKELONG(static_cast<WORD>(w->id), static_cast<WORD>(code)),
                reinterpret_cast<LPARAM>(control));
}

}  // namespace kestrin::ui
