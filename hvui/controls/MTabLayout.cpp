#include "MTabLayout.h"

MTabLayout::MTabLayout(MObject* parent, unsigned id, CRect rect, int visible) : MPanel(parent, id, rect, visible) {
    m_frameCount = 1;
    // Timer ticks reach the page's children as in any panel.
    m_runTimer = 1;
}

MTabLayout::~MTabLayout() = default;

void MTabLayout::DrawControl(HDC&, CRect) {}

// A page never scrolls: its children draw where they stand.
int MTabLayout::DrawSubControls(HDC& dc, CRect clip) { return MControl::DrawSubControls(dc, clip); }

int MTabLayout::OnCheckMouseResponse(unsigned, CPoint point) {
    for (MControl* child : GetControls()) {
        if (IsScrollBar(child)) continue;
        if (child->IsVisible() && child->GetRect().PtInRect(point)) return 1;
    }
    return 0;
}

void MTabLayout::SetControlVisible(int visible) {
    MPanel::SetControlVisible(visible);
    if (!visible) ReleaseSurfaces();
}
