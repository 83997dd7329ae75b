// MScroll: a thin scroll bar for a panel. Keeps a range (rows) and a
// position, scrolls by whole rows, and can be dragged along its track.
// A position change notifies the parent (code 8) and redraws the panel.
#pragma once

#include "MControlFont.h"

class HVUI_API MScroll : public MControlFont {
public:
    static constexpr unsigned kCodePositionChanged = 8;

    MScroll(MObject* parent, unsigned id, CRect rect, int visible, bool vertical);

    void DrawControl(HDC& dc, CRect clip) override;

    HVUI_INLINE_API int GetRange() const { return m_range; }
    HVUI_INLINE_API int GetPosition() const { return m_position; }
    // A range below 1 means nothing to scroll; the position is clamped.
    void SetRange(int range);
    // Answers 1 when the position moved.
    int SetPosition(int position);
    HVUI_INLINE_API int ScrollRows(int rows) { return SetPosition(m_position + rows); }
    HVUI_INLINE_API bool IsVertical() const { return m_vertical; }
    // The thumb in client coordinates.
    CRect GetThumbRect() const;

protected:
    int OnControlLButtonDown(unsigned flags, CPoint point) override;
    int OnControlMouseMove(unsigned flags, CPoint point) override;
    int OnControlLButtonUp(unsigned flags, CPoint point) override;

private:
    int PositionAt(CPoint point) const;

    bool m_vertical;
    int m_range = 0;
    int m_position = 0;
    bool m_dragging = false;
};
