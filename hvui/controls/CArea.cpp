#include "CArea.h"

#include <mutex>

#include "MRender.h"
#include "MemorySurface.h"

namespace {

using Lock = std::lock_guard<CriticalSection>;

// The fill is never fully opaque: alpha 254 keeps it from being mistaken for
// the colour key of layered windows.
constexpr unsigned long kFillAlpha = 0xFE;

unsigned long FillArgb(COLORREF colour) {
    return kFillAlpha << 24 | static_cast<unsigned long>(GetRValue(colour)) << 16 |
           static_cast<unsigned long>(GetGValue(colour)) << 8 | GetBValue(colour);
}

}  // namespace

CArea::CArea(MObject* parent, unsigned id, CRect rect, int visible, int enabled)
    : MControl(parent, id, rect, visible, enabled, 1) {}

CArea::~CArea() = default;

void CArea::SetTransparent(int start, int end, COLORREF colour) {
    {
        Lock lock(m_stateLock);
        m_start = start;
        m_end = end;
        m_colour = colour;
    }
    UpdateControl(1, 0);
}

void CArea::SetFrame(int on, Gdiplus::Color colour, int) {
    {
        Lock lock(m_stateLock);
        m_frameOn = on ? 1 : 0;
        m_frameColor = colour.GetValue();
    }
    UpdateControl(1, 0);
}

void CArea::SetDirection(int vertical) {
    {
        Lock lock(m_stateLock);
        m_direction = vertical ? 1 : 0;
    }
    UpdateControl(1, 0);
}

CArea::Look CArea::CurrentLook() const {
    Lock lock(m_stateLock);
    return Look{m_direction, m_start, m_end, m_colour, m_frameOn, m_frameColor};
}

void CArea::DrawControl(HDC& dc, CRect) {
    if (PrepareMemDC(dc)) {
        const Look look = CurrentLook();
        if (look.start || look.end) PaintRamp(GetMemDC(), look);
        else PaintSolid(GetMemDC(), look);
    }
    PresentMemDC(dc);
}

void CArea::PaintRamp(HDC surface, const Look& look) {
    const CRect whole(0, 0, m_rect.Width(), m_rect.Height());
    MemorySurface fill;
    if (!fill.Create(surface, whole.Width(), whole.Height())) return;
    MRender::DrawColor(fill.GetDC(), whole, FillArgb(look.colour));
    HDC source = fill.GetDC();
    if (look.vertical) MRender::DrawVerticalTransition(surface, source, whole, whole, look.start, look.end);
    else MRender::DrawHorizontalTransition(surface, source, whole, whole, look.start, look.end);
}

void CArea::PaintSolid(HDC surface, const Look& look) {
    const CRect whole(0, 0, m_rect.Width(), m_rect.Height());
    if (!look.frameOn) {
        MRender::DrawColor(surface, whole, FillArgb(look.colour));
        return;
    }
    MRender::DrawColor(surface, whole, look.frameColor);
    // The inner rectangle (1, 1, W − 2, H − 2) as x, y, width, height.
    const CRect inner(1, 1, 1 + whole.Width() - 2, 1 + whole.Height() - 2);
    MRender::DrawColor(surface, inner, FillArgb(look.colour));
}
