// CirclePalette: the colour wheel. A hue ring picture with a small marker on
// it and, in the middle, a square of saturation and lightness for the hue
// under the marker. Colours are picked from the pixels the control painted
// itself: a table captured from the painted ring, and the painted square.
//
// Owns its shade bitmap (a 32-bit DIB with its DC) and the colour table; the
// ring picture is borrowed from the dialog's image cache. UI thread only.
//
// Notifications: code 27 when the marker moves to a new ring colour (lParam =
// the colour) and while the button is held in the square (lParam 0); code 2
// when the button is released.
#pragma once

#include <vector>

#include "GdiObject.h"
#include "MControlFont.h"

class HVUI_API CirclePalette : public MControlFont {
public:
    static constexpr unsigned kCodeColourChanging = 27;
    static constexpr unsigned kCodeCommitted = 2;
    static constexpr COLORREF kDefaultColour = 255;  // pure red
    static constexpr int kTableWidth = 200;
    static constexpr int kTableHeight = 300;
    static constexpr int kShadeWidth = 400;
    static constexpr int kShadeHeight = 360;
    static constexpr int kShadeColumns = 200;  // columns computed: saturation 0 to 1
    static constexpr int kShadeShownColumns = 160;
    static constexpr int kRingRadius = 65;
    static constexpr int kSquareInset = 65;
    static constexpr int kMarkerHalf = 5;

    CirclePalette(MObject* parent, unsigned id, CRect rect, int visible, int enabled);
    ~CirclePalette() override;

    void InitControl(PaintManager* manager) override;
    void DrawControl(HDC& dc, CRect clip) override;

    using MControlFont::SetImage;
    int SetImage(const wchar_t* name, int count) override;
    int SetImage(unsigned resourceId, CString resourceType, int count) override;

    void SetSelectColor(COLORREF colour);
    HVUI_INLINE_API COLORREF GetSelectColor() const { return m_selectColour; }
    int GetDistanse(CPoint point) const;
    // Fills the square for the current hue.
    void UpdateBarData();
    void MoveThumbPos(int x, int y);

    HVUI_INLINE_API int GetHue() const { return m_hue; }
    HVUI_INLINE_API int GetSaturation() const { return m_saturation; }
    HVUI_INLINE_API int GetLightness() const { return m_lightness; }
    HVUI_INLINE_API int GetState() const { return m_state; }
    HVUI_INLINE_API CRect GetMarkerRect() const { return m_marker; }
    HVUI_INLINE_API CRect GetSquareRect() const { return m_square; }
    // The captured ring colour at control coordinates; 0 outside the table.
    COLORREF GetTableColor(int x, int y) const;

    // The standard conversions, all components 0 to 1; bytes truncate v × 255.
    static void RGBToHSL(COLORREF colour, double& hue, double& saturation, double& lightness);
    static COLORREF HSLToRGB(double hue, double saturation, double lightness);

protected:
    void SetControlRect(CRect rect) override;
    int OnControlMouseMove(unsigned flags, CPoint point) override;
    int OnControlLButtonDown(unsigned flags, CPoint point) override;
    int OnControlLButtonUp(unsigned flags, CPoint point) override;

private:
    void PlaceMarkerAndSquare();
    void TakeHSL(COLORREF colour);
    bool CreateShadeBitmap(HDC reference);
    void CaptureTable();
    void PaintContent(HDC dc);
    void PaintSquare(HDC dc);
    bool InSquare(CPoint point) const { return m_square.PtInRect(point); }
    CPoint Centre() const;

    int m_state = 0;
    COLORREF m_selectColour = kDefaultColour;
    CRect m_marker;
    CPoint m_lastRingPoint;
    std::vector<COLORREF> m_table;  // [x * kTableHeight + y]
    CRect m_square;
    GdiObject<HBITMAP> m_shadeBitmap;
    HDC m_shadeDC = nullptr;
    HGDIOBJ m_shadePrevious = nullptr;
    unsigned char* m_shadeBits = nullptr;
    int m_hue = 180;
    int m_saturation = 200;
    int m_lightness = 120;
    CPoint m_lastSquarePoint;
};
