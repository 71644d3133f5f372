// CEdit: the edit control.
#pragma once

#include "platform/ui/Wnd.h"

class CEdit : public CWnd {
public:
    BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);

    void SetSel(int start, int end, BOOL noScroll = FALSE);
    void SetSel(DWORD selection, BOOL noScroll = FALSE);
    DWORD GetSel() const;  // MAKELONG(start, end)
    void GetSel(int& start, int& end) const;
    void ReplaceSel(const char* text, BOOL canUndo = FALSE);
    BOOL Undo();
    BOOL CanUndo() const;
    void EmptyUndoBuffer();
    void Cut();
    void Copy();
    void Paste();
    void Clear();
    void SetReadOnly(BOOL readOnly = TRUE);
    void LimitText(int) {}  // the stand-in sets no limit
    int GetLineCount() const;

    bool fitsKind(kestrin::ui::WindowKind k) const override { return k == kestrin::ui::WindowKind::Edit; }
};
