#include "CHardwareInfo2.h"

#include <algorithm>
#include <mutex>

#include "ControlText.h"
#include "PaintManager.h"

using namespace Gdiplus;

namespace {
using Lock = std::lock_guard<CriticalSection>;
// Below this percentage the bar stays empty and the value text hidden.
constexpr float kShownAbove = 1.0f;
}  // namespace

CHardwareInfo2::CHardwareInfo2(MObject* parent, unsigned id, CRect rect, int visible, int enabled)
    : MControlFont(parent, id, rect, L"", visible, enabled, 1) {}

CHardwareInfo2::~CHardwareInfo2() = default;

void CHardwareInfo2::SetHardwareInfo(CString caption, CString valueText) {
    if (m_reading.SetTexts(caption, valueText)) UpdateControl(1, 0);
}

void CHardwareInfo2::SetHardwareInfoValue(float value) {
    if (m_reading.SetValue(value)) UpdateControl(1, 0);
}

void CHardwareInfo2::SetMemoryUsed(float freeAmount, float usedAmount) {
    const float total = freeAmount + usedAmount;
    SetHardwareInfoValue(total > 0.0f ? 100.0f * usedAmount / total : 0.0f);
}

void CHardwareInfo2::DrawControl(HDC& dc, CRect) {
    if (PrepareMemDC(dc)) PaintContent(GetMemDC(), m_reading.Get());
    PresentMemDC(dc);
}

void CHardwareInfo2::PaintContent(HDC dc, const HardwareReading& reading) {
    Graphics graphics(dc);
    graphics.SetSmoothingMode(SmoothingModeHighQuality);
    const ImageFrame strip = GetImageFrame();
    const TextStyle text = GetTextStyle();
    const int pictureWidth = strip.frameWidth;
    if (strip.image)
        graphics.DrawImage(strip.image, Rect(0, 0, strip.frameWidth, strip.height), 0, 0, strip.frameWidth,
                           strip.height, UnitPixel);

    graphics.SetTextRenderingHint(static_cast<TextRenderingHint>(text.renderingHint));
    auto family = hvui_text::MakeFamily(m_manager ? m_manager->FindTempFont(text.face) : nullptr, text.face);
    SolidBrush brush{Color(kCaptionColor)};
    StringFormat format;
    hvui_text::Align(format, StringAlignmentNear, StringAlignmentCenter);
    const RectF captionBox(static_cast<REAL>(pictureWidth + kGap), static_cast<REAL>(kTextTop),
                           static_cast<REAL>(kCaptionWidth), static_cast<REAL>(kTextHeight));
    hvui_text::DrawString(graphics, family.get(), kFontSize, text.style, reading.caption, captionBox, format, brush);
    if (reading.value > kShownAbove) {
        const RectF valueBox(static_cast<REAL>(m_rect.Width() - kValueWidth), static_cast<REAL>(kTextTop),
                             static_cast<REAL>(kValueWidth), static_cast<REAL>(kTextHeight));
        hvui_text::DrawString(graphics, family.get(), kFontSize, text.style, reading.valueText, valueBox, format, brush);
    }
    PaintBar(graphics, pictureWidth, reading.value);
}

void CHardwareInfo2::PaintBar(Graphics& graphics, int pictureWidth, float value) {
    Pen frame(Color(kBarColor), 1.0f);
    graphics.DrawRectangle(&frame, pictureWidth + kGap, kFrameTop, kFrameWidth, kFrameHeight);
    if (!(value > kShownAbove)) return;
    // Past 100 % the segments run on beyond the frame, but never further
    // than the surface reaches (a wild reading must not cost a long loop).
    const int left = pictureWidth + kSegmentLeft;
    const double reach = static_cast<double>(std::max(0, m_rect.Width() - left)) + kSegmentPitch;
    const int length = static_cast<int>(std::min(static_cast<double>(value) / 100.0 * kBarUnits, reach));
    const int full = length / kSegmentPitch;
    const int rest = length % kSegmentPitch;
    SolidBrush fill{Color(kBarColor)};
    for (int k = 0; k < full; ++k)
        graphics.FillRectangle(&fill, left + kSegmentPitch * k, kSegmentTop, kSegmentWidth, kSegmentHeight);
    if (rest > 0)
        graphics.FillRectangle(&fill, left + kSegmentPitch * full, kSegmentTop, std::min(rest, kSegmentWidth),
                               kSegmentHeight);
}
