#include "CSwitchButton.h"

#include <mutex>

using namespace Gdiplus;

namespace {

using Lock = std::lock_guard<CriticalSection>;

}  // namespace

CSwitchButton::CSwitchButton(MObject* parent, unsigned id, CRect rect, int visible, int enabled)
    : MControlFont(parent, id, rect, L"", visible, enabled, 1) {
    m_tabStop = 1;
    m_vAlign = 4;
    m_frameCount = kSwitchFrameCount;
}

CSwitchButton::~CSwitchButton() = default;

// Called from the worker as well: under the state lock like the paint that
// reads the check, and the redraw request only after the lock is let go.
int CSwitchButton::SetCheck(int check) {
    bool changed = false;
    {
        Lock lock(m_stateLock);
        changed = check != m_check;
        m_check = check;
        m_hover = 0;
    }
    if (changed) UpdateControl(1, 0);
    return check;
}

// The look does not depend on being enabled; SetEnabled's redraw suffices.
void CSwitchButton::SetControlEnabled(int enabled) { MControlFont::SetControlEnabled(enabled); }

int CSwitchButton::OnControlMouseMove(unsigned, CPoint point) {
    if (!m_enabled || m_pressed) return 0;
    const int hover = m_rect.PtInRect(point) ? 1 : 0;
    if (hover == m_hover) return 0;
    m_hover = hover;
    UpdateControl(1, 0);
    return 1;
}

int CSwitchButton::OnControlLButtonDown(unsigned, CPoint point) {
    if (!m_enabled || !m_rect.PtInRect(point)) return 0;
    m_pressed = 1;
    const int changed = m_hover ? 0 : 1;
    m_hover = 1;
    if (changed) UpdateControl(1, 0);
    return changed;
}

int CSwitchButton::OnControlLButtonUp(unsigned, CPoint point) {
    const int wasPressed = m_pressed;
    m_pressed = 0;
    if (!m_enabled) return 0;
    const int oldCheck = m_check;
    const int oldHover = m_hover;
    const bool inside = m_rect.PtInRect(point);
    if (!inside) m_hover = 0;
    const bool toggled = inside && wasPressed;
    if (toggled) {
        Lock lock(m_stateLock);
        m_check = 1 - m_check;
    }
    const bool changed = m_check != oldCheck || m_hover != oldHover;
    if (changed) UpdateControl(1, 0);
    if (toggled) SendMessageW(kCodeToggled, 0, m_check);
    return changed ? 1 : 0;
}

int CSwitchButton::OnControlKeyDown(unsigned, unsigned, unsigned) { return 0; }

void CSwitchButton::DrawControl(HDC& dc, CRect) {
    if (PrepareMemDC(dc)) {
        const ImageFrame strip = GetImageFrame();
        int frame = 0;
        {
            Lock lock(m_stateLock);
            frame = m_check ? 1 : 0;
        }
        Graphics graphics(GetMemDC());
        graphics.SetPageUnit(UnitPixel);
        if (strip.image) {
            graphics.DrawImage(strip.image, Rect(0, 0, m_rect.Width(), m_rect.Height()), frame * strip.frameWidth, 0,
                               strip.frameWidth, strip.height, UnitPixel);
        }
    }
    PresentMemDC(dc);
}
