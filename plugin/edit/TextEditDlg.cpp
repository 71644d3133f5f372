#include "plugin/edit/TextEditDlg.h"

#include "base/Cp1251.h"
#include "host/api/Arx.h"
#include "plugin/edit/EditCommand.h"
#include "plugin/info/AboutDlg.h"
#include "plugin/info/DialogIcon.h"
#include "plugin/palette/KeyboardIndicators.h"
#include "plugin/palette/TextProperties.h"
#include "plugin/resources/ResourceIds.h"

using namespace kestrin::literals;

BEGIN_MESSAGE_MAP(CTextEditDlg, CAcUiDialog)
    ON_WM_PAINT()
    ON_WM_QUERYDRAGICON()
    ON_WM_SHOWWINDOW()
    ON_WM_CLOSE()
    ON_WM_SYSCOMMAND()
    ON_EN_CHANGE(IDC_EDIT_TEXT, OnTextChanged)
    ON_BN_CLICKED(IDC_EDIT_DYNAMIC, OnDynamicClicked)
    ON_BN_CLICKED(IDC_EDIT_UNDO, OnUndoClicked)
END_MESSAGE_MAP()

CTextEditDlg::CTextEditDlg(CWnd* pParent, const EditPick& picked)
    : CAcUiDialog(IDD_TEXT_EDIT, pParent), m_model(g_textProperties, picked) {
    m_hIcon = AfxGetApp()->LoadIcon(IDI_KESTRIN);
}

void CTextEditDlg::DoDataExchange(CDataExchange* pDX) {
    CAcUiDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_LANGUAGE, m_stcLanguage);
    DDX_Control(pDX, IDC_NUM_LOCK, m_stcNumLock);
    DDX_Control(pDX, IDC_CAPS_LOCK, m_stcCapsLock);
    DDX_Control(pDX, IDC_EDIT_TEXT, m_edtText);
    DDX_Text(pDX, IDC_EDIT_TEXT, m_strText);
    DDX_Check(pDX, IDC_EDIT_DYNAMIC, m_nDynamic);
    DDX_Text(pDX, IDC_LANGUAGE, m_strLanguage);
}

BOOL CTextEditDlg::OnInitDialog() {
    CAcUiDialog::OnInitDialog();
    m_strTitle = "Кестрин V2.4  (Zor софт)"_cp;
    setDialogIcons(*this, m_hIcon);
    appendAboutToSystemMenu(*this);
    SetWindowText(m_strTitle);
    loadFromRecord();
    return TRUE;
}

BOOL CTextEditDlg::PreTranslateMessage(MSG* pMsg) {
    updateCapsIndicator(*this);
    updateNumIndicator(*this);
    updateLanguageIndicator(*this);
    return CAcUiDialog::PreTranslateMessage(pMsg);
}

void CTextEditDlg::OnShowWindow(BOOL bShow, UINT nStatus) {
    CAcUiDialog::OnShowWindow(bShow, nStatus);
    m_edtText.SetFocus();
}

void CTextEditDlg::OnTextChanged() {
    // Filling the field from the entity's own string writes nothing back.
    if (m_bLoading || m_nDynamic != 1) return;
    writeBackText();
}

void CTextEditDlg::OnDynamicClicked() { m_nDynamic = m_nDynamic == 1 ? 0 : 1; }

void CTextEditDlg::OnUndoClicked() { m_edtText.Undo(); }

void CTextEditDlg::OnClose() {
    // The field as it stands decides, also when nothing was written yet.
    UpdateData(TRUE);
    eraseIfEmpty(g_textProperties.entity);
    CAcUiDialog::OnClose();
}

void CTextEditDlg::OnOK() {
    BeginEditorCommand();
    ShowWindow(SW_HIDE);
    UpdateData(TRUE);
    // With "Динамически" checked the entity already holds the text.
    if (m_nDynamic == 0) writeBackText();
    const std::string text = m_strText;
    m_strText.clear();
    if (!m_model.finishAndPickNext(text)) {
        CancelEditorCommand();
        return;
    }
    loadFromRecord();
    CompleteEditorCommand(true);
    ShowWindow(SW_SHOW);
}

void CTextEditDlg::writeBackText() {
    UpdateData(TRUE);
    m_model.write(m_strText);
}

bool CTextEditDlg::eraseIfEmpty(ads_name entity) {
    m_model.eraseIfEmpty(m_strText, entity);
    return true;
}

void CTextEditDlg::loadFromRecord() {
    m_strText = m_model.load();
    m_bLoading = true;
    UpdateData(FALSE);
    m_bLoading = false;
    m_edtText.SetSel(0, -1);  // selects all and scrolls the caret into view
}

void CTextEditDlg::OnPaint() {
    if (!paintMinimisedIcon(*this, m_hIcon)) CAcUiDialog::OnPaint();
}

void CTextEditDlg::OnSysCommand(UINT nID, LPARAM lParam) {
    if (isAboutCommand(nID)) showAboutBox(this);
    else CAcUiDialog::OnSysCommand(nID, lParam);
}

HCURSOR CTextEditDlg::OnQueryDragIcon() { return dragCursorOf(m_hIcon); }
