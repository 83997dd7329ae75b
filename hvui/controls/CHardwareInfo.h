// CHardwareInfo: the ring gauge of the system page. A card picture, a dark
// full ring, a dashed ring whose length follows a percentage, the percentage
// in the ring, and a caption and a value text to the right. Read-only: it
// takes no input and does not animate. The setters may be called from any
// thread; the picture is borrowed from the dialog's image cache.
#pragma once

#include "HardwareReading.h"
#include "MControlFont.h"

class HVUI_API CHardwareInfo : public MControlFont {
public:
    static constexpr Gdiplus::ARGB kTrackColor = 0xFF3A5687;
    static constexpr Gdiplus::ARGB kNumberColor = 0xFF0084FF;
    static constexpr Gdiplus::ARGB kCaptionColor = 0xFFC8C8C8;
    static constexpr float kRingPenWidth = 6.0f;
    static constexpr float kNumberFontSize = 28.0f;
    static constexpr float kCaptionFontSize = 16.0f;
    // Geometry, fixed pixels from the control's top-left corner.
    static constexpr int kTrackBox = 30;        // x = y of the track ring's box
    static constexpr int kTrackSize = 90;
    static constexpr int kArcBox = 37;
    static constexpr int kArcSize = 76;
    static constexpr float kArcStartDegrees = 270.0f;  // the top of the circle
    static constexpr int kTextLeft = 140;

    CHardwareInfo(MObject* parent, unsigned id, CRect rect, int visible, int enabled);
    ~CHardwareInfo() override;

    void DrawControl(HDC& dc, CRect clip) override;

    void SetHardwareInfo(CString caption, CString valueText);
    void SetHardwareInfoValue(float value);
    void SetMemoryUsed(float freeAmount, float usedAmount);
    HVUI_INLINE_API HardwareReading GetHardwareInfo() const { return m_reading.Get(); }

private:
    void PaintContent(HDC dc, const HardwareReading& reading);
    void PaintRings(Gdiplus::Graphics& graphics, float value);
    void PaintTexts(Gdiplus::Graphics& graphics, const HardwareReading& reading);

    GuardedHardwareReading m_reading;
};
