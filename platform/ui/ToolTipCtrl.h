// CToolTipCtrl: one text per tool; a tool is a window (and an id within it).
#pragma once

#include <string>

#include "platform/ui/Wnd.h"

class CToolTipCtrl : public CWnd {
public:
    BOOL Create(CWnd* parent, DWORD style = 0);
    // Adding a tool that exists already replaces its text.
    BOOL AddTool(CWnd* wnd, const char* text, LPCRECT rect = nullptr, UINT_PTR id = 0);
    BOOL AddTool(CWnd* wnd, UINT textResource, LPCRECT rect = nullptr, UINT_PTR id = 0);
    void DelTool(CWnd* wnd, UINT_PTR id = 0);
    void UpdateTipText(const char* text, CWnd* wnd, UINT_PTR id = 0);
    void GetText(std::string& out, CWnd* wnd, UINT_PTR id = 0) const;
    int GetToolCount() const;
    void Activate(BOOL activate);
    void RelayEvent(MSG* msg);

    bool fitsKind(kestrin::ui::WindowKind k) const override { return k == kestrin::ui::WindowKind::ToolTip; }
};
