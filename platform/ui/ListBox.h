// CListBox: a list of entries with one current selection. With LBS_SORT the
// list keeps case-insensitive order.
#pragma once

#include <string>

#include "platform/ui/Wnd.h"

inline constexpr int LB_ERR = -1;

class CListBox : public CWnd {
public:
    int AddString(const char* text);
    int InsertString(int index, const char* text);
    int DeleteString(UINT index);
    void ResetContent();
    int GetCount() const;
    int GetCurSel() const;
    int SetCurSel(int index);  // raises no notification
    void GetText(int index, std::string& out) const;
    int FindStringExact(int startAfter, const char* text) const;

    bool fitsKind(kestrin::ui::WindowKind k) const override { return k == kestrin::ui::WindowKind::ListBox; }
};

namespace kestrin::ui {
// The person selects entry `index`; LBN_SELCHANGE goes to the dialog when the
// list has LBS_NOTIFY.
void selectListEntry(HWND list, int index);
}  // namespace kestrin::ui
