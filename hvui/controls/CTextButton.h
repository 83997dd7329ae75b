// CTextButton: a link-like button that is only its title, in one of four
// text colours (normal, hover, pressed, disabled), underlined while hovered
// or disabled. Its text keeps its pixel size whatever the framework scale.
#pragma once

#include "MControlFont.h"

class HVUI_API CTextButton : public MControlFont {
public:
    enum State { kNormal = 0, kHover = 1, kPressed = 2, kDisabled = 3 };
    static constexpr unsigned kCodePressed = 1;
    static constexpr unsigned kCodeClicked = 2;
    static constexpr Gdiplus::ARGB kNormalColor = 0xFFFFFFFF;
    static constexpr Gdiplus::ARGB kDisabledColor = 0xFF808080;

    CTextButton(MObject* parent, unsigned id, CRect rect, const wchar_t* title, int visible, int enabled);
    ~CTextButton() override;

    void DrawControl(HDC& dc, CRect clip) override;

    void SetTextButtonColor(Gdiplus::Color normal, Gdiplus::Color hover, Gdiplus::Color pressed,
                            Gdiplus::Color disabled);
    HVUI_INLINE_API void EnableMultiLine(int multiLine) { m_multiLine = multiLine ? 1 : 0; }
    HVUI_INLINE_API int GetState() const { return m_state; }

protected:
    void SetControlEnabled(int enabled) override;
    int OnControlMouseMove(unsigned flags, CPoint point) override;
    int OnControlLButtonDown(unsigned flags, CPoint point) override;
    int OnControlLButtonUp(unsigned flags, CPoint point) override;

private:
    int ChangeState(int state);
    Gdiplus::ARGB ColorOf(int state);

    Gdiplus::ARGB m_hoverColor;
    Gdiplus::ARGB m_pressedColor;
    Gdiplus::ARGB m_disabledColor = kDisabledColor;
    int m_state = kNormal;
    int m_multiLine = 0;
};
