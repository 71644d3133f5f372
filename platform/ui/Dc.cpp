#include "platform/ui/Dc.h"

#include <map>

#include "platform/ui/Font.h"
#include "platform/ui/Wnd.h"

namespace {
struct Brushes {
    std::map<HBRUSH, COLORREF> solid;
    std::uintptr_t next = 0x4000;
};
Brushes& brushes() {
    static Brushes b;
    return b;
}
int& beeps() {
    static int n = 0;
    return n;
}
}  // namespace

HBRUSH GetStockObject(int which) { return reinterpret_cast<HBRUSH>(static_cast<std::uintptr_t>(0x100 + which)); }

HBRUSH CreateSolidBrush(COLORREF colour) {
    auto& b = brushes();
    const HBRUSH h = reinterpret_cast<HBRUSH>(b.next);
    b.next += 0x10;
    b.solid[h] = colour;
    return h;
}

BOOL DeleteObject(HBRUSH brush) { return brushes().solid.erase(brush) ? TRUE : FALSE; }

COLORREF brushColour(HBRUSH brush) {
    const auto& s = brushes().solid;
    const auto it = s.find(brush);
    return it == s.end() ? 0 : it->second;
}

int GetSystemMetrics(int index) { return index == SM_CXICON || index == SM_CYICON ? 32 : 0; }

BOOL MessageBeep(UINT) {
    ++beeps();
    return TRUE;
}
int messageBeeps() { return beeps(); }

BOOL CBrush::CreateSolidBrush(COLORREF colour) {
    if (m_hObject != nullptr) return FALSE;
    m_hObject = ::CreateSolidBrush(colour);
    return TRUE;
}

BOOL CBrush::DeleteObject() {
    if (m_hObject == nullptr) return FALSE;
    ::DeleteObject(m_hObject);
    m_hObject = nullptr;
    return TRUE;
}

COLORREF CDC::SetTextColor(COLORREF c) {
    const COLORREF old = textColour;
    textColour = c;
    return old;
}

COLORREF CDC::SetBkColor(COLORREF c) {
    const COLORREF old = backColour;
    backColour = c;
    return old;
}

int CDC::SetBkMode(int mode) {
    const int old = backMode;
    backMode = mode;
    return old;
}

CFont* CDC::SelectObject(CFont* f) {
    CFont* old = font;
    font = f;
    return old;
}

CSize CDC::GetTextExtent(const std::string& text) const {
    LOGFONT lf;
    LONG height = 13;
    if (font && font->GetLogFont(&lf) && lf.lfHeight != 0) height = lf.lfHeight < 0 ? -lf.lfHeight + 2 : lf.lfHeight;
    const LONG average = (height * 5 + 6) / 13;  // 5 pixels at the 8-point dialog font
    return CSize(static_cast<LONG>(text.size()) * average, height);
}

BOOL CDC::DrawIcon(int x, int y, HICON icon) {
    icons.push_back({x, y, icon});
    if (auto* w = kestrin::ui::windowOf(owner)) w->paintedIcon = icon;
    return TRUE;
}

CClientDC::CClientDC(CWnd* wnd) : m_hWnd(wnd) {
    font = wnd ? wnd->GetFont() : nullptr;
    owner = wnd ? wnd->m_hWnd : nullptr;
}

CPaintDC::CPaintDC(CWnd* wnd) : CClientDC(wnd) {}
