// CSwitchButton: a two-position on/off switch. Its image is a strip of two
// frames, off then on, stretched over the control. Only a user's toggle
// notifies the parent; SetCheck from code never does.
#pragma once

#include <atomic>

#include "MControlFont.h"

class HVUI_API CSwitchButton : public MControlFont {
public:
    static constexpr unsigned kCodeToggled = 2;
    static constexpr int kSwitchFrameCount = 2;

    CSwitchButton(MObject* parent, unsigned id, CRect rect, int visible, int enabled);
    ~CSwitchButton() override;

    void DrawControl(HDC& dc, CRect clip) override;

    int SetCheck(int check);
    HVUI_INLINE_API int GetCheck() const { return m_check; }
    HVUI_INLINE_API int IsHover() const { return m_hover; }

protected:
    void SetControlEnabled(int enabled) override;
    int OnControlMouseMove(unsigned flags, CPoint point) override;
    int OnControlLButtonDown(unsigned flags, CPoint point) override;
    int OnControlLButtonUp(unsigned flags, CPoint point) override;
    int OnControlKeyDown(unsigned key, unsigned repeat, unsigned modifiers) override;

private:
    std::atomic<int> m_hover{0};
    std::atomic<int> m_check{0};
    int m_pressed = 0;
};
