#include "plugin/info/AboutDlg.h"

#include "base/Cp1251.h"
#include "plugin/resources/ResourceIds.h"

using namespace kestrin::literals;

CAboutDlg::CAboutDlg() : CDialog(IDD_ABOUTBOX) {}

void CAboutDlg::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_ABOUT_LINK, m_stcMail);
}

BOOL CAboutDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    SetWindowText("О программе Кестрин V2.4  ( Zor софт) "_cp);
    m_stcMail.SetTarget(std::string("mailto:") + kAuthorMail);
    m_stcMail.SetUnderlined(false);
    return TRUE;
}

void showAboutBox(CWnd* parent) {
    CAboutDlg about;
    about.m_pParentWnd = parent;
    about.DoModal();
}

void appendAboutToSystemMenu(CWnd& dialog) {
    std::string about;
    if (!AfxLoadString(IDS_ABOUTBOX, about) || about.empty()) return;
    if (CMenu* menu = dialog.GetSystemMenu(FALSE)) {
        menu->AppendMenu(MF_SEPARATOR);
        menu->AppendMenu(MF_STRING, IDM_ABOUTBOX, about.c_str());
    }
}

bool isAboutCommand(UINT id) { return (id & 0xFFF0) == IDM_ABOUTBOX; }
