// CPoint, CSize and CRect: the class framework's value types over POINT,
// SIZE and RECT.
#pragma once

#include "platform/win/Types.h"

struct CPoint : POINT {
    CPoint() = default;
    CPoint(LONG x0, LONG y0) { x = x0, y = y0; }
};

struct CSize : SIZE {
    CSize() = default;
    CSize(LONG cx0, LONG cy0) { cx = cx0, cy = cy0; }
};

struct CRect : RECT {
    CRect() = default;
    CRect(LONG l, LONG t, LONG r, LONG b) { left = l, top = t, right = r, bottom = b; }
    CRect(const RECT& r) : RECT(r) {}
    LONG Width() const { return right - left; }
    LONG Height() const { return bottom - top; }
    CPoint CenterPoint() const { return CPoint((left + right) / 2, (top + bottom) / 2); }
    void DeflateRect(LONG dx, LONG dy) { left += dx, right -= dx, top += dy, bottom -= dy; }
    void InflateRect(LONG dx, LONG dy) { DeflateRect(-dx, -dy); }
    void OffsetRect(LONG dx, LONG dy) { left += dx, right += dx, top += dy, bottom += dy; }
    bool PtInRect(POINT p) const { return p.x >= left && p.x < right && p.y >= top && p.y < bottom; }
    operator LPRECT() { return this; }
    operator LPCRECT() const { return this; }
};
