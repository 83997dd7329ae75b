// CPoint: a client-pixel position (two int32), usable wherever a POINT is.
#pragma once

#include <windows.h>

class CPoint : public POINT {
public:
    CPoint() : POINT{0, 0} {}
    CPoint(int px, int py) : POINT{px, py} {}
    CPoint(const POINT& point) : POINT(point) {}

    void Offset(int dx, int dy) { x += dx; y += dy; }
    bool operator==(const POINT& other) const { return x == other.x && y == other.y; }
    bool operator!=(const POINT& other) const { return !(*this == other); }
};
