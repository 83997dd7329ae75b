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
        Lock lock(m_stateLock);
        for (int slot = 0; slot < control_paint::kStateSlots; ++slot) {
            if (m_image)
                graphics.DrawImage(m_image, Rect(slot * width, 0, width, height), slot * m_frameWidth, 0,
                                   m_frameWidth, m_imageHeight, UnitPixel);
            if (m_icon) {
                const int x = slot * width + (width - m_iconFrameWidth) / 2 + kIconOffsetX;
                const int y = (height - m_iconHeight) / 2 + kIconOffsetY;
                graphics.DrawImage(m_icon.get(), Rect(x, y, m_iconFrameWidth, m_iconHeight), 0, 0,
                                   m_iconFrameWidth, m_iconHeight, UnitPixel);
            }
        }
    }
    control_paint::PresentSlot(*this, dc, m_state);
}
