// The edit dialog of EKestrin: one field with the picked entity's string.
// With "Динамически" checked every change goes into the drawing at once; OK
// writes the string and picks the next entity while the dialog is hidden.
#pragma once

#include <string>

#include "host/api/AdsTypes.h"
#include "host/ui/AcUiDialog.h"
#include "platform/ui/Framework.h"
#include "plugin/edit/EditCommand.h"
#include "plugin/edit/TextEditModel.h"

class CTextEditDlg : public CAcUiDialog {
public:
    // Over the entity `picked` (one in a block has its insertions
    // regenerated after each write).
    explicit CTextEditDlg(CWnd* pParent = nullptr, const EditPick& picked = {});

    BOOL PreTranslateMessage(MSG* pMsg) override;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnOK() override;

    void OnShowWindow(BOOL bShow, UINT nStatus) override;
    void OnClose() override;
    void OnPaint() override;
    HCURSOR OnQueryDragIcon() override;
    void OnSysCommand(UINT nID, LPARAM lParam) override;
    void OnTextChanged();
    void OnDynamicClicked();
    void OnUndoClicked();

    DECLARE_MESSAGE_MAP()

private:
    CStatic m_stcLanguage;  // 8056
    CStatic m_stcNumLock;   // 8057
    CStatic m_stcCapsLock;  // 8053
    CEdit m_edtText;        // 8000
    std::string m_strText;
    int m_nDynamic = 1;
    std::string m_strLanguage;

    // The field's text into the entity (TextEditModel::write).
    void writeBackText();
    // The entity erased when the field is empty (TextEditModel::eraseIfEmpty);
    // always answers true.
    bool eraseIfEmpty(ads_name entity);
    // Shows the record's text, all of it selected.
    void loadFromRecord();

    TextEditModel m_model;
    bool m_bLoading = false;  // the field is being filled from the record
    HICON m_hIcon = nullptr;
    std::string m_strTitle;
};
