#include "plugin/info/LinkStatic.h"

#include "plugin/info/ClassesRoot.h"
#include "plugin/info/HyperlinkLaunch.h"

namespace {
constexpr UINT_PTR kLinkTool = 1;
}  // namespace

BEGIN_MESSAGE_MAP(CLinkStatic, CStatic)
    ON_WM_CTLCOLOR_REFLECT()
    ON_WM_SETCURSOR()
    ON_CONTROL_REFLECT(STN_CLICKED, OnClicked)
END_MESSAGE_MAP()

CLinkStatic::CLinkStatic() = default;

CLinkStatic::~CLinkStatic() { m_fontUnderline.DeleteObject(); }

void CLinkStatic::PreSubclassWindow() {
    ModifyStyle(0, SS_NOTIFY);
    std::string text;
    GetWindowText(text);
    if (m_strTarget.empty()) m_strTarget = text;
    if (text.empty()) SetWindowText(m_strTarget);
    FitToText();
    m_hCursor = ::LoadCursor(nullptr, IDC_ARROW);

    RECT client;
    GetClientRect(&client);
    m_toolTip.Create(this);
    m_toolTip.AddTool(this, m_strTarget.c_str(), &client, kLinkTool);
    CStatic::PreSubclassWindow();
}

void CLinkStatic::SetTarget(const std::string& target) {
    m_strTarget = target;
    FitToText();
    if (m_toolTip.GetSafeHwnd() != nullptr) m_toolTip.UpdateTipText(target.c_str(), this, kLinkTool);
}

void CLinkStatic::SetUnderlined(bool underlined) {
    m_bUnderlined = underlined;
    Invalidate(TRUE);
}

void CLinkStatic::MarkVisited(bool visited) {
    m_bVisited = visited;
    Invalidate(TRUE);
}

void CLinkStatic::FitToText() {
    if (!m_bFitToText || GetSafeHwnd() == nullptr) return;
    CRect rect;
    GetWindowRect(&rect);
    if (CWnd* parent = GetParent()) parent->ScreenToClient(&rect);

    std::string text;
    GetWindowText(text);
    CClientDC dc(this);
    const CSize extent = dc.GetTextExtent(text);

    const DWORD style = GetStyle();
    if (style & SS_CENTERIMAGE) rect.DeflateRect(0, (rect.Height() - extent.cy) / 2);
    else rect.bottom = rect.top + extent.cy;

    if ((style & SS_TYPEMASK) == SS_CENTER) rect.DeflateRect((rect.Width() - extent.cx) / 2, 0);
    else if ((style & SS_TYPEMASK) == SS_RIGHT) rect.left = rect.right - extent.cx;
    else rect.right = rect.left + extent.cx;

    SetWindowPos(nullptr, rect.left, rect.top, rect.Width(), rect.Height(), SWP_NOZORDER);
}

HBRUSH CLinkStatic::CtlColor(CDC* pDC, UINT) {
    pDC->SetTextColor(m_bVisited ? m_crVisited : m_crLink);
    if (m_bUnderlined) {
        if (m_fontUnderline.GetSafeHandle() == nullptr) {
            // The control's font; a dialog's control without one of its own
            // is drawn in the dialog's font.
            CFont* font = GetFont();
            if (font == nullptr && GetParent() != nullptr) font = GetParent()->GetFont();
            LOGFONT lf;
            if (font != nullptr) font->GetLogFont(&lf);
            lf.lfUnderline = TRUE;
            m_fontUnderline.CreateFontIndirect(&lf);
        }
        pDC->SelectObject(&m_fontUnderline);
    }
    pDC->SetBkMode(TRANSPARENT);
    return GetStockObject(NULL_BRUSH);
}

BOOL CLinkStatic::OnSetCursor(CWnd*, UINT, UINT) {
    ::SetCursor(m_hCursor);
    return TRUE;
}

BOOL CLinkStatic::PreTranslateMessage(MSG* pMsg) {
    if (m_toolTip.GetSafeHwnd() != nullptr) m_toolTip.RelayEvent(pMsg);
    return CStatic::PreTranslateMessage(pMsg);
}

void CLinkStatic::OnClicked() {
    const int result = LaunchTarget(m_strTarget, SW_SHOW);
    m_bVisited = result > 32;
    if (m_bVisited) {
        Invalidate(TRUE);
        return;
    }
    MessageBeep(MB_ICONEXCLAMATION);
    reportLaunchError(result);
}

int CLinkStatic::LaunchTarget(const std::string& target, int showCommand) {
    return launchHyperlink(target, showCommand, [](const std::string& subKey, std::string& value) {
        return readClassesRootDefault(subKey, value);
    });
}

void CLinkStatic::reportLaunchError(int code) {
    AfxMessageBox(launchErrorMessage(code).c_str(), MB_ICONEXCLAMATION | MB_OK);
}
