#include "plugin/palette/FilterEdit.h"

BEGIN_MESSAGE_MAP(CFilterEdit, CEdit)
    ON_WM_CHAR()
    ON_WM_CTLCOLOR_REFLECT()
END_MESSAGE_MAP()

int filterChar(UINT c, const std::string& characters, BYTE listMode) {
    if (c == 8 || c == ' ') return static_cast<int>(c);
    // Characters beyond one byte are never in a CP1251 list.
    const bool listed = c <= 0xFF && characters.find(static_cast<char>(c)) != std::string::npos;
    if (!characters.empty()) {
        const bool accept = listMode == 1 ? listed : !listed;
        return accept ? static_cast<int>(c) : kCharRefused;
    }
    return listMode == 1 ? static_cast<int>(c) : kCharRefused;
}

CFilterEdit::CFilterEdit() : m_crText(RGB(0, 0, 0)), m_crBackground(RGB(255, 255, 255)) {
    m_brBackground.CreateSolidBrush(m_crBackground);
}

CFilterEdit::~CFilterEdit() { m_brBackground.DeleteObject(); }

void CFilterEdit::setCharacterList(const std::string& characters, BYTE listMode) {
    m_strCharacters = characters;
    m_nListMode = listMode;
}

void CFilterEdit::OnChar(UINT nChar, UINT nRepCnt, UINT nFlags) {
    if (filterChar(nChar, m_strCharacters, m_nListMode) == kCharRefused) return;
    CEdit::OnChar(nChar, nRepCnt, nFlags);
}

HBRUSH CFilterEdit::CtlColor(CDC* pDC, UINT) {
    pDC->SetTextColor(m_crText);
    pDC->SetBkColor(m_crBackground);
    return m_brBackground;
}
