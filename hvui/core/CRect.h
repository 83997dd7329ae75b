// CRect: a rectangle of four int32 (left, top, right, bottom), usable wherever
// a RECT is. Right and bottom are exclusive in hit tests.
#pragma once

#include <windows.h>

#include "CPoint.h"
#include "CSize.h"

class CRect : public RECT {
public:
    CRect() : RECT{0, 0, 0, 0} {}
    CRect(int l, int t, int r, int b) : RECT{l, t, r, b} {}
    CRect(const RECT& rect) : RECT(rect) {}
    CRect(const POINT& topLeft, const SIZE& size)
        : RECT{topLeft.x, topLeft.y, topLeft.x + size.cx, topLeft.y + size.cy} {}

    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    CSize Size() const { return CSize(Width(), Height()); }
    CPoint TopLeft() const { return CPoint(left, top); }
    CPoint BottomRight() const { return CPoint(right, bottom); }
    CPoint CenterPoint() const { return CPoint((left + right) / 2, (top + bottom) / 2); }

    // Empty: no area (zero or negative width or height).
    bool IsRectEmpty() const { return right <= left || bottom <= top; }
    bool IsRectNull() const { return left == 0 && top == 0 && right == 0 && bottom == 0; }
    bool PtInRect(const POINT& p) const { return p.x >= left && p.x < right && p.y >= top && p.y < bottom; }

    void SetRect(int l, int t, int r, int b) { left = l; top = t; right = r; bottom = b; }
    void SetRectEmpty() { SetRect(0, 0, 0, 0); }
    void OffsetRect(int dx, int dy) { left += dx; right += dx; top += dy; bottom += dy; }
    void InflateRect(int dx, int dy) { left -= dx; right += dx; top -= dy; bottom += dy; }
    void DeflateRect(int dx, int dy) { InflateRect(-dx, -dy); }
    void MoveToXY(int x, int y) { OffsetRect(x - left, y - top); }

    // Both answer false and leave an empty rectangle when the result has no area.
    bool IntersectRect(const RECT& a, const RECT& b) { return ::IntersectRect(this, &a, &b) != FALSE; }
    bool UnionRect(const RECT& a, const RECT& b) { return ::UnionRect(this, &a, &b) != FALSE; }
    bool Intersects(const RECT& other) const {
        CRect common;
        return common.IntersectRect(*this, other);
    }

    bool operator==(const RECT& o) const {
        return left == o.left && top == o.top && right == o.right && bottom == o.bottom;
    }
    bool operator!=(const RECT& o) const { return !(*this == o); }
    CRect operator&(const RECT& o) const { CRect r; r.IntersectRect(*this, o); return r; }
    CRect operator|(const RECT& o) const { CRect r; r.UnionRect(*this, o); return r; }
};
