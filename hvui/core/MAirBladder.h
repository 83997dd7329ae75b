// MAirBladder: the balloon, a popup that points at a spot on the screen with
// a short text and hides itself after a while (except the type that stays).
//
// Owns its four skin images. Created by the dialog's PaintManager on first
// use, owned by it and owned (as a native window) by the paint window.
#pragma once

#include <memory>

#include "CRect.h"
#include "CString.h"
#include "GdiplusFwd.h"
#include "HvuiExport.h"
#include "MWindow.h"

// Where the balloon sits relative to its anchor point (layout table in the
// .cpp file). Type 4 stays until it is hidden.
enum AIRBLADDER_TYPE {
    AirBladderNone = 0,
    AirBladderRight = 1,   // right of the anchor, arrow on its left
    AirBladderLeft = 2,    // left of the anchor, arrow on its right
    AirBladderBelow = 3,   // below the anchor, arrow on top
    AirBladderAbove = 4,   // centred above the anchor, stays
    AirBladderRightLow = 5,
};

// Which control edge a button anchors its balloon at; the dialog uses 3.
enum AIRBLADDER_MODE {
    AirBladderModeNone = 0,
    AirBladderModeRightEdge = 1,
    AirBladderModeLeftEdge = 2,
    AirBladderModeDialog = 3,
};

class HVUI_API MAirBladder : public MWindow {
public:
    static constexpr DWORD kStyle = 0x96020080;
    static constexpr UINT_PTR kHideTimer = 10;
    static constexpr unsigned kHideAfterMs = 5000;
    static constexpr int kFontPixels = 14;
    static constexpr int kFrameBorder = 6;

    MAirBladder();
    ~MAirBladder() override;

    HWND Create(HWND owner);
    // Shows text at point; an identical repeated request changes nothing.
    // Answers 1 when the balloon was laid out anew.
    int SetMessage(const wchar_t* text, POINT point, AIRBLADDER_TYPE type, AIRBLADDER_MODE mode);
    LRESULT OnWindowMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

    // The balloon rectangle for text of tw × th at anchor (x, y).
    static CRect LayoutRect(int type, int x, int y, int tw, int th, int lineHeight);
    HVUI_INLINE_API CRect GetBalloonRect() const { return m_rect; }
    HVUI_INLINE_API CString GetText() const { return m_text; }
    HVUI_INLINE_API int GetType() const { return m_type; }

private:
    void MeasureText(int& width, int& height, int& lineHeight, int& lines) const;
    void Paint();

    CString m_text;
    POINT m_point = {0, 0};
    int m_type = AirBladderNone;
    int m_mode = AirBladderModeNone;
    CRect m_rect;
    std::unique_ptr<Gdiplus::Image> m_background;
    std::unique_ptr<Gdiplus::Image> m_arrowLeft;
    std::unique_ptr<Gdiplus::Image> m_arrowRight;
    std::unique_ptr<Gdiplus::Image> m_arrowTop;
};
