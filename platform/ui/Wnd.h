// CWnd: the class framework's window object over the window model. A CWnd
// is attached to a window handle (m_hWnd); the window's messages go to the
// object attached to it. Subclassing (DDX_Control, SubclassDlgItem) attaches
// a program's object to a control that a dialog template created.
#pragma once

#include <string>

#include "platform/ui/MessageMap.h"
#include "platform/ui/Window.h"
#include "platform/win/MessageBoxFlags.h"
#include "platform/win/Messages.h"
#include "platform/win/Styles.h"
#include "platform/win/Types.h"

class CDataExchange;
class CFont;
class CMenu;
class CDC;


class CWnd {
public:
    CWnd();
    virtual ~CWnd();
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    HWND m_hWnd = nullptr;
    HWND GetSafeHwnd() const { return m_hWnd; }
    operator HWND() const { return m_hWnd; }
    // The object that handles a window's messages (null for a dead handle).
    static CWnd* FromHandle(HWND h);

    int GetDlgCtrlID() const;
    CWnd* GetDlgItem(int id) const;
    CWnd* GetParent() const;

    void SetWindowText(const char* text);
    void SetWindowText(const std::string& text) { SetWindowText(text.c_str()); }
    void GetWindowText(std::string& out) const;
    int GetWindowText(LPSTR buffer, int size) const;
    int GetWindowTextLength() const;
    void SetDlgItemText(int id, const char* text);
    void GetDlgItemText(int id, std::string& out) const;

    BOOL ShowWindow(int command);  // answers whether it was visible before
    BOOL IsWindowVisible() const;
    BOOL EnableWindow(BOOL enable = TRUE);  // answers whether it was disabled before
    BOOL IsWindowEnabled() const;
    BOOL IsIconic() const;
    CWnd* SetFocus();  // answers the window that had the focus
    static CWnd* GetFocus();

    void SetFont(CFont* font, BOOL redraw = TRUE);
    CFont* GetFont() const;
    DWORD GetStyle() const;
    BOOL ModifyStyle(DWORD remove, DWORD add, UINT flags = 0);
    HICON SetIcon(HICON icon, BOOL big);
    HICON GetIcon(BOOL big) const;
    CMenu* GetSystemMenu(BOOL revert);

    void GetWindowRect(LPRECT r) const;  // screen coordinates
    void GetClientRect(LPRECT r) const;
    void ScreenToClient(LPRECT r) const;
    void ClientToScreen(LPRECT r) const;
    void MoveWindow(int x, int y, int width, int height, BOOL repaint = TRUE);
    void MoveWindow(LPCRECT r, BOOL repaint = TRUE);
    BOOL SetWindowPos(const CWnd* insertAfter, int x, int y, int cx, int cy, UINT flags);
    void Invalidate(BOOL erase = TRUE);
    void UpdateWindow();

    void CheckDlgButton(int id, UINT check);
    UINT IsDlgButtonChecked(int id) const;
    void CheckRadioButton(int first, int last, int checked);

    BOOL SubclassWindow(HWND h);
    BOOL SubclassDlgItem(UINT id, CWnd* parent);
    HWND UnsubclassWindow();
    BOOL Attach(HWND h) { return SubclassWindow(h); }
    HWND Detach() { return UnsubclassWindow(); }
    virtual BOOL DestroyWindow();

    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    int MessageBox(const char* text, const char* caption = nullptr, UINT type = MB_OK);

    BOOL UpdateData(BOOL saveAndValidate = TRUE);
    virtual void DoDataExchange(CDataExchange* dx);
    virtual BOOL PreTranslateMessage(MSG* msg);
    // Called by SubclassWindow once the object is attached to the window.
    virtual void PreSubclassWindow() {}

    // Handlers with the framework's signatures. Each is reached through the
    // message table when an entry names it, else called directly; the
    // versions here do the window's default processing.
    virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
    virtual void OnChar(UINT ch, UINT repeat, UINT flags);
    virtual void OnKeyDown(UINT key, UINT repeat, UINT flags);
    virtual void OnClose();
    virtual void OnDestroy();
    virtual void OnPaint();
    virtual void OnSysCommand(UINT id, LPARAM lParam);
    virtual void OnShowWindow(BOOL show, UINT status);
    virtual HCURSOR OnQueryDragIcon();
    virtual BOOL OnSetCursor(CWnd* wnd, UINT hitTest, UINT message);
    LRESULT Default();  // default processing of the message being handled

    // The table of this object's class, for dispatch.
    const AFX_MSGMAP* messageMap() const { return GetMessageMap(); }
    // The window kind objects of this class attach to; Dialog for CWnd means
    // "any kind".
    virtual bool fitsKind(kestrin::ui::WindowKind) const { return true; }

protected:
    static const AFX_MSGMAP* GetThisMessageMap();
    virtual const AFX_MSGMAP* GetMessageMap() const;
    kestrin::ui::Window* window() const { return kestrin::ui::windowOf(m_hWnd); }
    // Creates a window owned by this object (Create of the control classes).
    BOOL createOwned(kestrin::ui::WindowKind kind, CWnd* parent, UINT id, DWORD style, const std::string& text);
};

namespace kestrin::ui {

// Sends a message to a window's handling object, through its message table.
LRESULT sendMessage(HWND h, UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
// A control tells its dialog: WM_COMMAND with its id and the code.
void notifyParent(HWND control, UINT code);
// The framework's own object for a window kind (CEdit for an edit, ...).
std::unique_ptr<CWnd> makeFrameworkObject(WindowKind kind);
// Default processing of a message by the window's kind.
LRESULT defaultProcedure(HWND h, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace kestrin::ui
