#include "MScroll.h"

#include <algorithm>

#include "MRender.h"

namespace {

constexpr unsigned long kTrackColour = 0x40FFFFFF;
constexpr unsigned long kThumbColour = 0xC0A0A0A0;
constexpr int kMinThumb = 16;

}  // namespace

MScroll::MScroll(MObject* parent, unsigned id, CRect rect, int visible, bool vertical)
    : MControlFont(parent, id, rect, L"", visible, 1, 1), m_vertical(vertical) {}

void MScroll::SetRange(int range) {
    m_range = std::max(range, 0);
    m_position = std::min(m_position, m_range);
}

int MScroll::SetPosition(int position) {
    position = std::max(0, std::min(position, m_range));
    if (position == m_position) return 0;
    m_position = position;
    SendMessageW(kCodePositionChanged, static_cast<WPARAM>(m_position), 0);
    // What the panel shows depends on the position.
    if (auto* panel = dynamic_cast<MControl*>(m_parent)) panel->UpdateControl(1, 0);
    else UpdateControl(1, 0);
    return 1;
}

CRect MScroll::GetThumbRect() const {
    const int length = m_vertical ? m_rect.Height() : m_rect.Width();
    const int thumb = std::max(kMinThumb, length / (m_range + 1));
    const int travel = std::max(length - thumb, 0);
    const int start = m_range > 0 ? travel * m_position / m_range : 0;
    return m_vertical ? CRect(m_rect.left, m_rect.top + start, m_rect.right, m_rect.top + start + thumb)
                      : CRect(m_rect.left + start, m_rect.top, m_rect.left + start + thumb, m_rect.bottom);
}

void MScroll::DrawControl(HDC& dc, CRect) {
    if (m_range <= 0 || m_rect.IsRectEmpty()) return;
    MRender::DrawColor(dc, m_rect, kTrackColour);
    MRender::DrawColor(dc, GetThumbRect(), kThumbColour);
}

int MScroll::PositionAt(CPoint point) const {
    const int length = m_vertical ? m_rect.Height() : m_rect.Width();
    const int offset = m_vertical ? point.y - m_rect.top : point.x - m_rect.left;
    if (length <= 0) return 0;
    return (offset * m_range + length / 2) / length;
}

int MScroll::OnControlLButtonDown(unsigned, CPoint point) {
    if (m_range <= 0) return 0;
    m_dragging = true;
    SetPosition(PositionAt(point));
    return 1;
}

int MScroll::OnControlMouseMove(unsigned flags, CPoint point) {
    if (!m_dragging) return 0;
    if (!(flags & MK_LBUTTON)) {
        m_dragging = false;
        return 0;
    }
    SetPosition(PositionAt(point));
    return 1;
}

int MScroll::OnControlLButtonUp(unsigned, CPoint) {
    const bool was = m_dragging;
    m_dragging = false;
    return was ? 1 : 0;
}
