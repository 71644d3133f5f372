// CComboBox: the editable drop-down combo box. With CBS_SORT, AddString keeps
// the list in case-insensitive order.
#pragma once

#include <string>

#include "platform/ui/Wnd.h"

inline constexpr int CB_ERR = -1;

class CComboBox : public CWnd {
public:
    int AddString(const char* text);  // answers the entry's index
    int InsertString(int index, const char* text);  // -1 appends; no sorting
    int DeleteString(UINT index);  // answers the count left, or CB_ERR
    void ResetContent();
    int GetCount() const;
    int GetCurSel() const;
    int SetCurSel(int index);  // puts the entry into the edit field; -1 clears it
    void GetLBText(int index, std::string& out) const;
    int GetLBText(int index, LPSTR buffer) const;
    int GetLBTextLen(int index) const;
    int FindString(int startAfter, const char* prefix) const;  // case-insensitive prefix
    int FindStringExact(int startAfter, const char* text) const;  // case-insensitive
    int SelectString(int startAfter, const char* prefix);
    DWORD GetEditSel() const;
    BOOL SetEditSel(int start, int end);
    BOOL LimitText(int) { return TRUE; }
    void Cut();
    void Copy();
    void Paste();
    void Clear();

    bool fitsKind(kestrin::ui::WindowKind k) const override { return k == kestrin::ui::WindowKind::ComboBox; }
};

namespace kestrin::ui {
// The person picks entry `index` from the list: the edit field takes it, then
// CBN_SELENDOK, CBN_CLOSEUP and CBN_SELCHANGE are raised, in that order.
void chooseEntry(HWND combo, int index);
}  // namespace kestrin::ui
