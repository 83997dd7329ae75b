// CHardwareInfo2: the fan gauge of the system page. A fan picture, a caption
// beside it, a value text at the right end and a segmented bar below whose
// filled length follows a percentage. Read-only, like the ring gauge; the
// setters may be called from any thread.
#pragma once

#include "HardwareReading.h"
#include "MControlFont.h"

class HVUI_API CHardwareInfo2 : public MControlFont {
public:
    static constexpr Gdiplus::ARGB kCaptionColor = 0xFFC8C8C8;
    static constexpr Gdiplus::ARGB kBarColor = 0xFF2A48B9;
    static constexpr float kFontSize = 20.0f;
    // Geometry, fixed pixels; x measured from the picture's right edge.
    static constexpr int kGap = 10;
    static constexpr int kTextTop = 10;
    static constexpr int kTextHeight = 30;
    static constexpr int kCaptionWidth = 60;
    static constexpr int kValueWidth = 200;
    static constexpr int kFrameTop = 55;
    static constexpr int kFrameWidth = 260;
    static constexpr int kFrameHeight = 32;
    static constexpr int kSegmentLeft = 12;
    static constexpr int kSegmentTop = 57;
    static constexpr int kSegmentPitch = 12;
    static constexpr int kSegmentWidth = 10;
    static constexpr int kSegmentHeight = 28;
    static constexpr double kBarUnits = 256.0;  // filled length at 100 %

    CHardwareInfo2(MObject* parent, unsigned id, CRect rect, int visible, int enabled);
    ~CHardwareInfo2() override;

    void DrawControl(HDC& dc, CRect clip) override;

    void SetHardwareInfo(CString caption, CString valueText);
    void SetHardwareInfoValue(float value);
    void SetMemoryUsed(float freeAmount, float usedAmount);
    HVUI_INLINE_API HardwareReading GetHardwareInfo() const { return m_reading.Get(); }

private:
    void PaintContent(HDC dc, const HardwareReading& reading);
    void PaintBar(Gdiplus::Graphics& graphics, int pictureWidth, float value);

    GuardedHardwareReading m_reading;
};
