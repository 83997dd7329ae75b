// CArea: a rectangle filled with one colour, either solid (optionally inside
// a one-pixel frame) or with a transparency that runs linearly from the
// first row (column) to the last.
#pragma once

#include "GdiplusFwd.h"
#include "MControl.h"

class HVUI_API CArea : public MControl {
public:
    static constexpr int kDefaultTransparency = 80;
    static constexpr COLORREF kDefaultColor = 0x00FFFFFF;
    static constexpr Gdiplus::ARGB kDefaultFrameColor = 0xFE050505;

    CArea(MObject* parent, unsigned id, CRect rect, int visible, int enabled);
    ~CArea() override;

    void DrawControl(HDC& dc, CRect clip) override;

    // start and end in percent; both 0 select the solid fill.
    void SetTransparent(int start, int end, COLORREF colour);
    // The third argument is accepted for callers that pass a frame width.
    void SetFrame(int on, Gdiplus::Color colour, int unused);
    // 1: the ramp runs from top to bottom, 0: from left to right.
    void SetDirection(int vertical);

private:
    struct Look {
        int vertical;
        int start;
        int end;
        COLORREF colour;
        int frameOn;
        Gdiplus::ARGB frameColor;
    };
    Look CurrentLook() const;
    void PaintRamp(HDC surface, const Look& look);
    void PaintSolid(HDC surface, const Look& look);

    int m_direction = 1;
    int m_start = kDefaultTransparency;
    int m_end = kDefaultTransparency;
    COLORREF m_colour = kDefaultColor;
    int m_frameOn = 0;
    Gdiplus::ARGB m_frameColor = kDefaultFrameColor;
};
