// CAboutDlg: the About box (template 8053) with the author's e-mail address
// as a link; and the rules by which the palette and the edit dialog open it.
#pragma once

#include "platform/ui/Framework.h"
#include "plugin/info/LinkStatic.h"

class CAboutDlg : public CDialog {
public:
    CAboutDlg();

    CLinkStatic m_stcMail;  // 8058

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
};

// Runs the About box modally over `parent`.
void showAboutBox(CWnd* parent);
// Appends a separator and "О программе.." (string 3, command 16) to the
// dialog's system menu when that string is not empty.
void appendAboutToSystemMenu(CWnd& dialog);
// A system command of the About entry: 16 to 31 (the low four bits are the
// system's own).
bool isAboutCommand(UINT id);
