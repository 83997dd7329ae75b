// MText: the control title drawn as text, transparent over what lies under
// it or on a solid background. Texts are created disabled: they never take
// the mouse.
#pragma once

#include "MControlFont.h"

class HVUI_API MText : public MControlFont {
public:
    static constexpr Gdiplus::ARGB kDefaultBackColor = 0xFF008000;

    MText(MObject* parent, unsigned id, CRect rect, const wchar_t* title, int visible);
    ~MText() override;

    void DrawControl(HDC& dc, CRect clip) override;

    void EnableTextBack(int on, Gdiplus::Color colour);
    HVUI_INLINE_API void EnableMultiLine(int multiLine) { m_multiLine = multiLine ? 1 : 0; }
    HVUI_INLINE_API void EnableVCenter(int centre) { m_vCentre = centre ? 1 : 0; }
    HVUI_INLINE_API int GetVirtualHeight() { return 0; }

protected:
    // Wheel input over a text is swallowed.
    int OnControlScroll(int kind, unsigned direction, CPoint point) override;

private:
    void PaintText(HDC surface);

    int m_textBackOn = 0;
    Gdiplus::ARGB m_textBackColor = kDefaultBackColor;
    int m_multiLine = 0;
    int m_vCentre = 0;
};
