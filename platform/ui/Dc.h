// CDC and friends: a device context that records what a handler asks of it
// (colours, background mode, selected font, icons drawn). Text is measured
// with the average character size of the selected font, so layout code that
// fits a window to its text gets stable numbers.
#pragma once

#include <string>
#include <vector>

#include "platform/ui/Geometry.h"
#include "platform/win/Types.h"

class CWnd;
class CFont;

inline constexpr int TRANSPARENT = 1;
inline constexpr int OPAQUE = 2;
inline constexpr int NULL_BRUSH = 5;
inline constexpr int HOLLOW_BRUSH = NULL_BRUSH;
inline constexpr int WHITE_BRUSH = 0;
inline constexpr int SM_CXICON = 11;
inline constexpr int SM_CYICON = 12;

HBRUSH GetStockObject(int which);
HBRUSH CreateSolidBrush(COLORREF colour);
BOOL DeleteObject(HBRUSH brush);
COLORREF brushColour(HBRUSH brush);  // the colour of a solid brush; 0 for others
int GetSystemMetrics(int index);
BOOL MessageBeep(UINT type);
int messageBeeps();  // beeps since start (for tests)

class CBrush {
public:
    CBrush() = default;
    explicit CBrush(COLORREF colour) { CreateSolidBrush(colour); }
    virtual ~CBrush() { DeleteObject(); }
    CBrush(const CBrush&) = delete;
    CBrush& operator=(const CBrush&) = delete;
    BOOL CreateSolidBrush(COLORREF colour);
    BOOL DeleteObject();
    operator HBRUSH() const { return m_hObject; }
    void* GetSafeHandle() const { return m_hObject; }
    HBRUSH m_hObject = nullptr;
};

class CDC {
public:
    CDC() = default;
    virtual ~CDC() = default;
    CDC(const CDC&) = delete;
    CDC& operator=(const CDC&) = delete;

    COLORREF SetTextColor(COLORREF c);
    COLORREF SetBkColor(COLORREF c);
    int SetBkMode(int mode);
    CFont* SelectObject(CFont* font);  // answers the previous font
    CSize GetTextExtent(const std::string& text) const;
    BOOL DrawIcon(int x, int y, HICON icon);
    BOOL DrawIcon(POINT p, HICON icon) { return DrawIcon(p.x, p.y, icon); }
    HDC GetSafeHdc() const { return m_hDC; }
    LRESULT SendIconEraseBackground() { return 0; }

    HDC m_hDC = nullptr;
    HWND owner = nullptr;  // the window whose client area this is
    COLORREF textColour = 0x000000;
    COLORREF backColour = 0xFFFFFF;
    int backMode = OPAQUE;
    CFont* font = nullptr;
    struct DrawnIcon {
        int x, y;
        HICON icon;
    };
    std::vector<DrawnIcon> icons;
};

// The device context of a window's client area; the window's font is
// selected into it.
class CClientDC : public CDC {
public:
    explicit CClientDC(CWnd* wnd);
    CWnd* m_hWnd;
};

class CPaintDC : public CClientDC {
public:
    explicit CPaintDC(CWnd* wnd);
};
