#include "MPanel.h"

#include <algorithm>
#include <mutex>

#include "CScrollHorizontal.h"
#include "CScrollVertical.h"
#include "ControlFactory.h"
#include "PaintManager.h"

namespace {

using Lock = std::lock_guard<CriticalSection>;

// offset = (content − visible) × position / range; 0 without a range.
int ScrollOffset(int content, int visible, const MScroll* bar) {
    if (!bar || content <= visible || bar->GetRange() <= 0) return 0;
    return (content - visible) * bar->GetPosition() / bar->GetRange();
}

int RowsFor(int content, int visible) {
    return content > visible ? (content - visible + MPanel::kRowPixels - 1) / MPanel::kRowPixels : 0;
}

}  // namespace

MPanel::MPanel(MObject* parent, unsigned id, CRect rect, int visible)
    : MControlFont(parent, id, rect, L"", visible, 1, 1) {
    m_dblClk = 1;
    m_vScroll = new CScrollVertical(this, kVerticalScrollId, CRect(-kScrollThickness, 0, 0, 0), 1);
    m_hScroll = new CScrollHorizontal(this, kHorizontalScrollId, CRect(0, -kScrollThickness, 0, 0), 1);
    m_vScroll->SetRange(0);
    m_hScroll->SetRange(0);
    AppendChild(1, m_vScroll);
    AppendChild(1, m_hScroll);
    LayoutScrollBars();
}

MPanel::~MPanel() = default;

bool MPanel::IsScrollBar(const MControl* control) const { return control == m_vScroll || control == m_hScroll; }

void MPanel::LayoutScrollBars() {
    // The bars sit inside the panel along its right and bottom edges.
    m_vScroll->SetRect(CRect(m_rect.right - m_scrollThickness, m_rect.top, m_rect.right, m_rect.bottom));
    m_hScroll->SetRect(CRect(m_rect.left, m_rect.bottom - m_scrollThickness, m_rect.right, m_rect.bottom));
    m_vScroll->SetRange(RowsFor(m_virtualHeight, m_rect.Height()));
    m_hScroll->SetRange(RowsFor(m_virtualWidth, m_rect.Width()));
}

int MPanel::GetVerticalOffset() const { return ScrollOffset(m_virtualHeight, m_rect.Height(), m_vScroll); }
int MPanel::GetHorizontalOffset() const { return ScrollOffset(m_virtualWidth, m_rect.Width(), m_hScroll); }

void MPanel::SetVirtualHeight(int height) {
    m_virtualHeight = height;
    LayoutScrollBars();
}

void MPanel::SetVirtualWidth(int width) {
    m_virtualWidth = width;
    LayoutScrollBars();
}

// ---- notifications and redraw requests ----------------------------------------------------------

LRESULT MPanel::OnBaseMessage(unsigned id, unsigned code, WPARAM wParam, LPARAM lParam) {
    return OnMessage(id, code, wParam, lParam);
}

LRESULT MPanel::OnMessage(unsigned id, unsigned code, WPARAM wParam, LPARAM lParam) {
    return m_parent ? m_parent->OnBaseMessage(id, code, wParam, lParam) : 0;
}

LRESULT MPanel::OnControlUpdate(CRect rect, int updateCode, MControl* control) {
    if (updateCode && control) control->SetUpdate(0, 0);
    const int dy = GetVerticalOffset();
    const int dx = m_virtualWidth > m_rect.Width() ? ScrollOffset(m_horizontalExtent, m_rect.Width(), m_hScroll) : 0;
    if (m_initialised) {
        bool passed = false;
        Lock lock(m_controlLock);
        for (size_t i = 0; i < m_controls.size(); ++i) {
            MControl* child = m_controls[i];
            if (child == control) {
                passed = true;
                continue;
            }
            if (!passed || !child->IsVisible() || !child->GetRect().Intersects(rect)) continue;
            rect.UnionRect(rect, child->GetRect());
            child->SetUpdate(0, 0);
        }
    }
    if (control && !IsScrollBar(control)) rect.OffsetRect(-dx, -dy);
    rect.UnionRect(rect, m_rect);
    InvalidateRect(&rect, 1);
    return 0;
}

// ---- set-up --------------------------------------------------------------------------------------------

void MPanel::InitControl(PaintManager* manager) {
    m_initialised = 1;
    m_vScroll->SetManager(manager);
    m_hScroll->SetManager(manager);
    // Children made before the panel was attached get the manager now, or
    // they could never load an image or show a tooltip.
    for (MControl* child : CopyUnderLock(m_controls, m_controlLock)) {
        if (!child->GetManager()) child->SetManager(manager);
    }
}

int MPanel::IsDragDrop() { return m_hotChild ? m_hotChild->IsDragDrop() : 0; }

// ---- painting -----------------------------------------------------------------------------------------

void MPanel::DrawControl(HDC&, CRect) {}

int MPanel::DrawSubControls(HDC& dc, CRect clip) {
    CRect visible;
    if (!visible.IntersectRect(clip, m_rect)) return 1;
    const int dx = GetHorizontalOffset();
    const int dy = GetVerticalOffset();
    {
        // Children paint in content coordinates: shift the device origin by
        // the scroll offsets and clip to the panel.
        const int saved = ::SaveDC(dc);
        ::IntersectClipRect(dc, visible.left, visible.top, visible.right, visible.bottom);
        POINT previous;
        ::OffsetViewportOrgEx(dc, -dx, -dy, &previous);
        CRect contentClip = visible;
        contentClip.OffsetRect(dx, dy);
        for (MControl* child : CopyUnderLock(m_controls, m_controlLock)) {
            if (!IsScrollBar(child) && child->IsVisible()) child->Draw(dc, contentClip);
        }
        ::RestoreDC(dc, saved);
    }
    m_vScroll->Draw(dc, visible);
    m_hScroll->Draw(dc, visible);
    return 1;
}

// ---- input ----------------------------------------------------------------------------------------------

int MPanel::OnMousePointChange(CPoint& point) {
    if (!m_scrollEnabled) return 0;
    if (m_virtualHeight <= m_rect.Height() && m_virtualWidth <= m_rect.Width()) return 0;
    point.Offset(GetHorizontalOffset(), GetVerticalOffset());
    return 1;
}

int MPanel::OnCheckMouseResponse(unsigned, CPoint) { return 1; }

LRESULT MPanel::OnWindowMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    for (MControl* child : CopyUnderLock(m_controls, m_controlLock)) {
        if (child->OnWindowMessage(msg, wParam, lParam)) return 1;
    }
    return 0;
}

int MPanel::OnControlScroll(int, unsigned direction, CPoint) {
    if (!m_scrollEnabled || m_virtualHeight < m_rect.Height()) return 0;
    if (!m_vScroll->ScrollRows(direction == 1 ? 1 : -1)) return 1;
    UpdateControl(1, 0);
    m_vScroll->UpdateControl(1, 0);
    return 1;
}

int MPanel::OnControlTimer() { return 0; }
int MPanel::OnControlMouseMove(unsigned, CPoint) { return 0; }
int MPanel::OnControlSetCursor(unsigned, CPoint) { return 0; }
int MPanel::OnControlLButtonDown(unsigned, CPoint) { return 0; }
int MPanel::OnControlLButtonUp(unsigned, CPoint) { return 0; }
int MPanel::OnControlLButtonDblClk(unsigned, CPoint) { return 0; }
int MPanel::OnControlRButtonDown(unsigned, CPoint) { return 0; }
int MPanel::OnControlRButtonUp(unsigned, CPoint) { return 0; }
int MPanel::OnControlRButtonDblClk(unsigned, CPoint) { return 0; }
int MPanel::OnControlKeyDown(unsigned, unsigned, unsigned) { return 0; }
int MPanel::OnControlKeyUp(unsigned, unsigned, unsigned) { return 0; }

// ---- state -------------------------------------------------------------------------------------------------

void MPanel::SetControlRect(CRect rect) {
    MControlFont::SetControlRect(rect);
    LayoutScrollBars();
}

void MPanel::SetControlVisible(int visible) {
    MControlFont::SetControlVisible(visible);
    SetControlWndVisible(visible);
}

void MPanel::SetControlWndVisible(int) {}

void MPanel::SetControlEnabled(int enabled) {
    MControlFont::SetControlEnabled(enabled);
    for (MControl* child : CopyUnderLock(m_controls, m_controlLock)) {
        if (child->IsEnabled() == m_enabled) continue;
        child->SetEnabled(m_enabled);
    }
}

// ---- the panel-level factory ---------------------------------------------------------------------------------

MControl* MPanel::CreateControl(unsigned kind, MObject* parent, const wchar_t* className, unsigned id, CRect rect,
                                const wchar_t* title, int visible, int enabled) {
    MControl* control = ControlFactory::Construct(ControlFactory::Level::Panel, className,
                                                  {parent, id, rect, title, visible, enabled});
    if (!control) return nullptr;
    if (m_manager) control->SetManager(m_manager);
    AppendChild(kind, control);
    return control;
}

MControl* MPanel::CreateArea(const wchar_t* className, unsigned id, CRect rect, const wchar_t* title, int visible,
                             int enabled) {
    return CreateControl(0, this, className, id, rect, title, visible, enabled);
}

MControl* MPanel::CreateControl(const wchar_t* className, unsigned id, CRect rect, const wchar_t* title,
                                int visible, int enabled) {
    return CreateControl(1, this, className, id, rect, title, visible, enabled);
}
