#include "CHardwareInfo.h"

#include <algorithm>
#include <mutex>

#include "ControlText.h"
#include "Manager.h"
#include "PaintManager.h"

using namespace Gdiplus;

namespace {

using Lock = std::lock_guard<CriticalSection>;

// The dash pattern of the progress ring, in multiples of the pen width.
constexpr REAL kDashOn = 1.8f;
constexpr REAL kDashOff = 0.5f;
constexpr REAL kFullCircle = 360.0f;
// The number in the ring: the one height that follows the scale factor.
constexpr int kNumberBoxHeight = 90;
const RectF kValueTextBox(140.0f, 85.0f, 200.0f, 60.0f);
const RectF kCaptionBox(140.0f, 25.0f, 160.0f, 70.0f);

// The value truncated toward zero; a reading beyond int shows the limit.
int TruncatedPercent(float value) {
    constexpr double kLimit = 2147483647.0;
    if (!(value == value)) return 0;  // NaN
    return static_cast<int>(std::clamp(static_cast<double>(value), -kLimit, kLimit));
}

}  // namespace

CHardwareInfo::CHardwareInfo(MObject* parent, unsigned id, CRect rect, int visible, int enabled)
    : MControlFont(parent, id, rect, L"", visible, enabled, 1) {}

CHardwareInfo::~CHardwareInfo() = default;

void CHardwareInfo::SetHardwareInfo(CString caption, CString valueText) {
    if (m_reading.SetTexts(caption, valueText)) UpdateControl(1, 0);
}

void CHardwareInfo::SetHardwareInfoValue(float value) {
    if (m_reading.SetValue(value)) UpdateControl(1, 0);
}

void CHardwareInfo::SetMemoryUsed(float freeAmount, float usedAmount) {
    const float total = freeAmount + usedAmount;
    // Nothing known yet shows an empty gauge rather than NaN.
    SetHardwareInfoValue(total > 0.0f ? 100.0f * usedAmount / total : 0.0f);
}

void CHardwareInfo::DrawControl(HDC& dc, CRect) {
    if (PrepareMemDC(dc)) {
        // One reading per frame, taken after the surface was marked valid: a
        // newer reading that arrives now marks it stale again.
        PaintContent(GetMemDC(), m_reading.Get());
    }
    PresentMemDC(dc);
}

void CHardwareInfo::PaintContent(HDC dc, const HardwareReading& reading) {
    Graphics graphics(dc);
    graphics.SetSmoothingMode(SmoothingModeHighQuality);
    const ImageFrame strip = GetImageFrame();
    if (strip.image)
        graphics.DrawImage(strip.image, Rect(0, 0, m_rect.Width(), m_rect.Height()), 0, 0, strip.frameWidth,
                           strip.height, UnitPixel);
    PaintRings(graphics, reading.value);
    PaintTexts(graphics, reading);
}

void CHardwareInfo::PaintRings(Graphics& graphics, float value) {
    Pen track(Color(kTrackColor), kRingPenWidth);
    graphics.DrawEllipse(&track, kTrackBox, kTrackBox, kTrackSize, kTrackSize);
    if (value == 0.0f) return;
    Pen progress(Manager::GetSelectColor(), kRingPenWidth);
    progress.SetLineCap(LineCapFlat, LineCapFlat, DashCapFlat);
    const REAL pattern[] = {kDashOn, kDashOff};
    progress.SetDashPattern(pattern, 2);
    graphics.DrawArc(&progress, kArcBox, kArcBox, kArcSize, kArcSize, kArcStartDegrees, value * kFullCircle / 100.0f);
}

void CHardwareInfo::PaintTexts(Graphics& graphics, const HardwareReading& reading) {
    const TextStyle text = GetTextStyle();
    graphics.SetTextRenderingHint(static_cast<TextRenderingHint>(text.renderingHint));
    auto family = hvui_text::MakeFamily(m_manager ? m_manager->FindTempFont(text.face) : nullptr, text.face);
    SolidBrush number{Color(kNumberColor)};
    SolidBrush caption{Color(kCaptionColor)};

    CString percent;
    percent.Format(L"%d%%", TruncatedPercent(reading.value));
    StringFormat centred(StringFormatFlagsNoWrap);
    hvui_text::Align(centred, StringAlignmentCenter, StringAlignmentCenter);
    const RectF numberBox(static_cast<REAL>(kTrackBox), static_cast<REAL>(kTrackBox), static_cast<REAL>(kTrackSize),
                          static_cast<REAL>(Manager::GetScaleValue(kNumberBoxHeight)));
    hvui_text::DrawString(graphics, family.get(), kNumberFontSize, text.style, percent, numberBox, centred, number);

    StringFormat topLeft;
    hvui_text::Align(topLeft, StringAlignmentNear, StringAlignmentNear);
    hvui_text::DrawString(graphics, family.get(), kNumberFontSize, text.style, reading.valueText, kValueTextBox, topLeft,
                          number);
    hvui_text::DrawString(graphics, family.get(), kCaptionFontSize, text.style, reading.caption, kCaptionBox, topLeft,
                          caption);
}
