// CImageButton: an MButton whose frame strip is stretched whole over each
// state slot and which draws an optional icon instead of its title. With a
// balloon mode its title is shown in the dialog's balloon while hovered.
#pragma once

#include "MAirBladder.h"
#include "MButton.h"

class HVUI_API CImageButton : public MButton {
public:
    static constexpr int kBalloonType = 5;

    CImageButton(MObject* parent, unsigned id, CRect rect, const wchar_t* title, int visible, int enabled);
    ~CImageButton() override;

    void DrawControl(HDC& dc, CRect clip) override;
    HVUI_INLINE_API void SetAlrBladderMode(AIRBLADDER_MODE mode) { m_balloonMode = mode; }
    HVUI_INLINE_API AIRBLADDER_MODE GetAlrBladderMode() const { return m_balloonMode; }

protected:
    int OnControlMouseMove(unsigned flags, CPoint point) override;

private:
    void UpdateBalloon();
    // The dialog's balloon window, reached through the paint manager.
    void ShowBalloon(const CString& text, POINT screenPoint);
    void HideBalloon();

    AIRBLADDER_MODE m_balloonMode = AirBladderModeNone;
};
