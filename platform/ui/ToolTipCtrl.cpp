#include "platform/ui/ToolTipCtrl.h"

#include <algorithm>

#include "platform/ui/ResourceChain.h"

using kestrin::ui::Tool;

namespace {
Tool* findTool(kestrin::ui::Window* w, HWND h, UINT_PTR id) {
    if (w == nullptr) return nullptr;
    for (Tool& t : w->toolTip().tools)
        if (t.window == h && t.id == id) return &t;
    return nullptr;
}
}  // namespace

BOOL CToolTipCtrl::Create(CWnd* parent, DWORD style) {
    return createOwned(kestrin::ui::WindowKind::ToolTip, parent, 0, style, {});
}

BOOL CToolTipCtrl::AddTool(CWnd* wnd, const char* text, LPCRECT, UINT_PTR id) {
    auto* w = window();
    if (w == nullptr || wnd == nullptr || wnd->m_hWnd == nullptr) return FALSE;
    const std::string t = text ? text : "";
    if (Tool* existing = findTool(w, wnd->m_hWnd, id)) existing->text = t;
    else w->toolTip().tools.push_back(Tool{wnd->m_hWnd, id, t});
    return TRUE;
}

BOOL CToolTipCtrl::AddTool(CWnd* wnd, UINT textResource, LPCRECT rect, UINT_PTR id) {
    std::string text;
    AfxLoadString(textResource, text);
    return AddTool(wnd, text.c_str(), rect, id);
}

void CToolTipCtrl::DelTool(CWnd* wnd, UINT_PTR id) {
    auto* w = window();
    if (w == nullptr || wnd == nullptr) return;
    std::erase_if(w->toolTip().tools, [&](const Tool& t) { return t.window == wnd->m_hWnd && t.id == id; });
}

void CToolTipCtrl::UpdateTipText(const char* text, CWnd* wnd, UINT_PTR id) {
    if (wnd == nullptr) return;
    if (Tool* t = findTool(window(), wnd->m_hWnd, id)) t->text = text ? text : "";
}

void CToolTipCtrl::GetText(std::string& out, CWnd* wnd, UINT_PTR id) const {
    const Tool* t = wnd ? findTool(window(), wnd->m_hWnd, id) : nullptr;
    out = t ? t->text : std::string();
}

int CToolTipCtrl::GetToolCount() const {
    const auto* w = window();
    return w ? static_cast<int>(w->toolTip().tools.size()) : 0;
}

void CToolTipCtrl::Activate(BOOL activate) {
    if (auto* w = window()) w->toolTip().active = activate != FALSE;
}

void CToolTipCtrl::RelayEvent(MSG* msg) {
    if (auto* w = window(); w && msg) ++w->toolTip().relayed;
}
