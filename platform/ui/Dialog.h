// CDialog: a dialog from a template of the module resources, run modally.
//
// DoModal creates the controls from the template, sends WM_INITDIALOG
// (OnInitDialog), gives the focus to the first tab stop when OnInitDialog
// answers TRUE, shows the dialog (WM_SHOWWINDOW) and then takes the person's
// actions one at a time from the session until EndDialog. When the session
// has no more actions (input ended, or the session failed), the dialog ends
// with IDCANCEL and no handler runs.
#pragma once

#include "platform/ui/Wnd.h"

class CDialog : public CWnd {
public:
    CDialog();
    explicit CDialog(UINT templateId, CWnd* parent = nullptr);
    ~CDialog() override;

    virtual INT_PTR DoModal();
    // Creates the dialog without a modal run (shown when the template says
    // WS_VISIBLE); for code that drives the dialog itself.
    BOOL Create(UINT templateId, CWnd* parent = nullptr);
    void EndDialog(int result);
    virtual BOOL OnInitDialog();
    virtual void OnOK();
    virtual void OnCancel();

    void SetDefID(UINT id);
    DWORD GetDefID() const;  // MAKELONG(id, DC_HASDEFID)
    void GotoDlgCtrl(CWnd* control);
    void NextDlgCtrl() const;
    void PrevDlgCtrl() const;

    bool ended() const { return ended_; }
    UINT templateId() const { return m_nIDTemplate; }
    bool fitsKind(kestrin::ui::WindowKind k) const override { return k == kestrin::ui::WindowKind::Dialog; }

    UINT m_nIDTemplate = 0;
    UINT m_nIDHelp = 0;
    CWnd* m_pParentWnd = nullptr;

protected:
    DECLARE_MESSAGE_MAP()

private:
    BOOL createFromTemplate();
    void runModalLoop();
    bool ended_ = false;
    int result_ = IDCANCEL;
};

namespace kestrin::ui {
// The control id that Enter presses: DM_SETDEFID's, else the template's last
// default push button, else IDOK.
int defaultButtonId(HWND dialog);
// The next (or previous) control that takes the focus by Tab; null when none.
HWND nextTabStop(HWND dialog, HWND from, bool backwards);
}  // namespace kestrin::ui
