#include "MTabLayout.h"

MTabLayout::MTabLayout(MObject* parent, unsigned id, CRect rect, int visible)
    : MControlFont(parent, id, rect, L"", visible, 1, 1) {
    m_frameCount = 1;
    m_runTimer = 1;
}

MTabLayout::~MTabLayout() = default;

void MTabLayout::DrawControl(HDC&, CRect) {}

int MTabLayout::DrawSubControls(HDC& dc, CRect clip) { return MControlFont::DrawSubControls(dc, clip); }

int MTabLayout::OnCheckMouseResponse(unsigned, CPoint point) {
    for (MControl* child : GetControls()) {
        if (child->IsVisible() && child->GetRect().PtInRect(point)) return 1;
    }
    return 0;
}

LRESULT MTabLayout::OnControlUpdate(CRect rect, int updateCode, MControl* control) {
    // A child's fresh look shows only through the page: the page's parent
    // composes the page again.
    if (!m_parent) return 0;
    return m_parent->OnControlUpdate(rect, updateCode, control);
}

LRESULT MTabLayout::OnBaseMessage(unsigned id, unsigned code, WPARAM wParam, LPARAM lParam) {
    return m_parent ? m_parent->OnBaseMessage(id, code, wParam, lParam) : 0;
}
