// CLinkStatic: a static text that works as a hyperlink. It draws its text in
// link colours (another colour once visited), shows its target in a tooltip,
// fits its window to its text and, when clicked, opens its target through
// the shell, falling back to the browser registered for ".htm" files.
#pragma once

#include <string>

#include "platform/ui/Framework.h"

class CLinkStatic : public CStatic {
public:
    CLinkStatic();
    ~CLinkStatic() override;

    void SetTarget(const std::string& target);
    const std::string& GetTarget() const { return m_strTarget; }
    void SetUnderlined(bool underlined);
    bool IsUnderlined() const { return m_bUnderlined; }
    void MarkVisited(bool visited);
    bool IsVisited() const { return m_bVisited; }
    // Resizes the window around its text (when fitting is on).
    void FitToText();
    void SetFitToText(bool fit) { m_bFitToText = fit; }

    // Opens `target`; answers the shell's number (above 32 is success).
    static int LaunchTarget(const std::string& target, int showCommand);

    BOOL PreTranslateMessage(MSG* pMsg) override;

    COLORREF m_crLink = RGB(0, 0, 238);
    COLORREF m_crVisited = RGB(85, 26, 139);

protected:
    void PreSubclassWindow() override;
    HBRUSH CtlColor(CDC* pDC, UINT nCtlColor);
    BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message) override;
    void OnClicked();

    DECLARE_MESSAGE_MAP()

private:
    void reportLaunchError(int code);

    bool m_bVisited = false;
    bool m_bUnderlined = true;
    bool m_bFitToText = true;
    std::string m_strTarget;
    CFont m_fontUnderline;  // made at the first drawing that needs it
    HCURSOR m_hCursor = nullptr;
    CToolTipCtrl m_toolTip;
};
