#include "CImageButton.h"

#include <mutex>

#include "ControlPaint.h"
#include "PaintManager.h"

using namespace Gdiplus;

namespace {

using Lock = std::lock_guard<CriticalSection>;

// The icon sits slightly right of and above the centre, clear of the
// frame's drop shadow.
constexpr int kIconOffsetX = 2;
constexpr int kIconOffsetY = -4;

}  // namespace

CImageButton::CImageButton(MObject* parent, unsigned id, CRect rect, const wchar_t* title, int visible, int enabled)
    : MButton(parent, id, rect, title, visible, enabled) {}

CImageButton::~CImageButton() = default;

int CImageButton::OnControlMouseMove(unsigned flags, CPoint point) {
    const int changed = MButton::OnControlMouseMove(flags, point);
    if (changed) UpdateBalloon();
    return changed;
}

void CImageButton::UpdateBalloon() {
    if (m_balloonMode == AirBladderModeNone) return;
    const CString title = GetTitle();
    if (title.IsEmpty()) return;
    if (m_state != kHover) {
        HideBalloon();
        return;
    }
    POINT anchor = {m_balloonMode == AirBladderModeRightEdge ? m_rect.right : m_rect.left,
                    m_rect.top + m_rect.Height() / 2};
    if (m_manager && m_manager->GetPaintWnd()) ::ClientToScreen(m_manager->GetPaintWnd(), &anchor);
    ShowBalloon(title, anchor);
}

void CImageButton::ShowBalloon(const CString& text, POINT screenPoint) {
    if (!m_manager) return;
    m_manager->SetAirBladderMsg(text, screenPoint, static_cast<AIRBLADDER_TYPE>(kBalloonType), m_balloonMode);
    m_manager->ShowAirBladder(1, m_balloonMode);
}

void CImageButton::HideBalloon() {
    if (m_manager) m_manager->ShowAirBladder(0, m_balloonMode);
}

void CImageButton::DrawControl(HDC& dc, CRect) {
    if (control_paint::PrepareSlots(*this, dc, control_paint::kStateSlots)) {
        Graphics graphics(GetMemDC());
        graphics.SetPageUnit(UnitPixel);
        const int width = m_rect.Width();
        const int height = m_rect.Height();
        const ImageFrame strip = GetImageFrame();
        const IconFrame icon = GetIconFrame();
        for (int slot = 0; slot < control_paint::kStateSlots; ++slot) {
            if (strip.image)
                graphics.DrawImage(strip.image, Rect(slot * width, 0, width, height), slot * strip.frameWidth, 0,
                                   strip.frameWidth, strip.height, UnitPixel);
            if (icon.image) {
                const int x = slot * width + (width - icon.frameWidth) / 2 + kIconOffsetX;
                const int y = (height - icon.height) / 2 + kIconOffsetY;
                graphics.DrawImage(icon.image.get(), Rect(x, y, icon.frameWidth, icon.height), 0, 0, icon.frameWidth,
                                   icon.height, UnitPixel);
            }
        }
    }
    control_paint::PresentSlot(*this, dc, m_state);
}
