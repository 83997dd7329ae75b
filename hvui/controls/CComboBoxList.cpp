#include "CComboBoxList.h"

#include <algorithm>
#include <mutex>

#include "ControlPaint.h"
#include "CScrollVertical.h"
#include "MRender.h"
#include "Manager.h"

using namespace Gdiplus;

namespace {

using Lock = std::lock_guard<CriticalSection>;

constexpr COLORREF kListBackground = RGB(255, 255, 255);
// A notch of the wheel moves two line steps, together one row of content.
constexpr int kLineStepsPerNotch = 2;
constexpr unsigned kTowardEnd = 1;

}  // namespace

CComboBoxList::CComboBoxList(MObject* parent, unsigned id, CRect rect, int visible)
    : MPanel(parent, id, rect, visible),
      m_rowHeight(Manager::GetScaleValue(kBaseRowHeight)), m_outline(Manager::GetSelectColor().GetValue()) {
    m_scrollThickness = kScrollBarWidth;
    LayoutScrollBars();
}

void CComboBoxList::SyncScrollRange() {
    int content;
    {
        Lock lock(m_listLock);
        content = static_cast<int>(m_items.size()) * m_rowHeight;
    }
    m_vScroll->SetRange(m_rect.Height() < content ? content : 0);
}

CComboBoxList::~CComboBoxList() = default;

int CComboBoxList::AddItem(const ComboItem& item) {
    int index;
    {
        Lock lock(m_listLock);
        m_items.push_back(item);
        index = static_cast<int>(m_items.size()) - 1;
    }
    SyncScrollRange();
    return index;
}

int CComboBoxList::GetItemCount() {
    Lock lock(m_listLock);
    return static_cast<int>(m_items.size());
}

void CComboBoxList::SetTextColor(Color colour) {
    MPanel::SetTextColor(colour);
    Lock lock(m_listLock);
    m_normalText = colour.GetValue();
}

void CComboBoxList::SetControlRect(CRect rect) {
    // The panel lays its scroll bar along the new right edge.
    MPanel::SetControlRect(rect);
    m_vScroll->SetRange(0);
    SyncScrollRange();
}

LRESULT CComboBoxList::OnMessage(unsigned id, unsigned code, WPARAM, LPARAM) {
    // The scroll bar moved: the rows shown change, and the hovered row's
    // place moved with the content.
    if (id == kVerticalScrollId && code == kCodeScrolled) {
        m_hovered = -1;
        Repaint();
    }
    return 0;
}

// ---- geometry -----------------------------------------------------------------------

CComboBoxList::View CComboBoxList::CurrentView() {
    Lock lock(m_listLock);
    const int count = static_cast<int>(m_items.size());
    const int height = m_rect.Height();
    const int content = count * m_rowHeight;
    View view{0, 0, 0, height < content};
    const int range = view.scrollBar ? m_vScroll->GetRange() : 0;
    view.offset = range > 0 ? (content - height) * m_vScroll->GetPosition() / range : 0;
    view.first = m_rowHeight > 0 ? std::max(0, view.offset / m_rowHeight) : 0;
    view.last = m_rowHeight > 0 ? std::max(0, std::min(count - 1, (view.offset + height) / m_rowHeight)) : 0;
    return view;
}

int CComboBoxList::GetFirstVisible() { return CurrentView().first; }
int CComboBoxList::IsScrollBarShown() { return CurrentView().scrollBar ? 1 : 0; }

int CComboBoxList::RowAt(CPoint point) {
    if (!m_rect.PtInRect(point)) return -1;
    const View view = CurrentView();
    Lock lock(m_listLock);
    for (int i = view.first; i <= view.last && i < static_cast<int>(m_items.size()); ++i) {
        if (m_items[static_cast<size_t>(i)].rect.PtInRect(point)) return i;
    }
    return -1;
}

// ---- input -------------------------------------------------------------------------------

int CComboBoxList::OnControlMouseMove(unsigned, CPoint point) {
    if (!GetItemCount()) return 0;
    const int row = RowAt(point);
    if (row == m_hovered) return 0;
    m_hovered = row;
    Repaint();
    return 1;
}

int CComboBoxList::OnControlLButtonDown(unsigned, CPoint) {
    if (!GetItemCount()) return 0;
    if (m_hovered == m_chosen) return 1;
    m_chosen = m_hovered;
    Repaint();
    return 1;
}

int CComboBoxList::OnControlLButtonUp(unsigned, CPoint) {
    if (!GetItemCount() || m_chosen < 0) return 0;
    SendMessageW(kCodeChosen, static_cast<WPARAM>(m_chosen), kChosenTag);
    return 1;
}

int CComboBoxList::OnControlScroll(int, unsigned direction, CPoint) {
    int step;
    {
        Lock lock(m_listLock);
        const int content = static_cast<int>(m_items.size()) * m_rowHeight;
        if (m_rect.Height() >= content) return 0;
        // The position runs over the content height while the content moves
        // only by what does not fit: scale the step so a notch is one row.
        const int hidden = std::max(1, content - m_rect.Height());
        const int lineStep = std::max(1, (m_rowHeight * content / hidden + kLineStepsPerNotch - 1) / kLineStepsPerNotch);
        step = kLineStepsPerNotch * lineStep;
    }
    // A moved bar tells the list (code 8), which repaints.
    m_vScroll->SetPosition(m_vScroll->GetPosition() + (direction == kTowardEnd ? step : -step));
    return 1;
}

// ---- painting -------------------------------------------------------------------------------

void CComboBoxList::PaintRows(HDC surface, const View& view) {
    const int width = m_rect.Width();
    const int contentWidth = width - (view.scrollBar ? kScrollBarWidth : 0);
    const int shift = view.offset - view.first * m_rowHeight;
    auto graphics = control_paint::MakeGraphics(surface, m_renderingHint);
    const control_paint::TextFont font(*this, GetTextFont(), control_paint::ScaledFontSize(m_fontSize), m_fontStyle);
    StringFormat format;
    format.SetAlignment(StringAlignmentNear);
    format.SetLineAlignment(StringAlignmentCenter);
    format.SetFormatFlags(StringFormatFlagsNoWrap | StringFormatFlagsMeasureTrailingSpaces);
    Pen outline(Color(m_outline), 1.0f);
    SolidBrush normal{Color(m_normalText)};
    SolidBrush highlighted{Color(m_highlightText)};
    const int marked = m_chosen >= 0 ? m_chosen : m_hovered;

    Lock lock(m_listLock);
    for (int i = view.first; i <= view.last && i < static_cast<int>(m_items.size()); ++i) {
        ComboItem& item = m_items[static_cast<size_t>(i)];
        const int r = i - view.first;
        item.rect = CRect(m_rect.left, m_rect.top + r * m_rowHeight - shift, m_rect.right - (view.scrollBar ? kScrollBarWidth : 0),
                          m_rect.top + (r + 1) * m_rowHeight - shift);
        const bool isMarked = i == marked;
        if (isMarked) graphics->DrawRectangle(&outline, 1, r * m_rowHeight, contentWidth - 2, m_rowHeight - 2);
        if (!font.IsValid() || item.text.IsEmpty()) continue;
        const RectF layout(0, static_cast<REAL>(r * m_rowHeight), static_cast<REAL>(contentWidth),
                           static_cast<REAL>(m_rowHeight));
        graphics->DrawString(item.text, item.text.GetLength(), font.Get(), layout, &format,
                             isMarked ? &highlighted : &normal);
    }
}

void CComboBoxList::DrawControl(HDC& dc, CRect) {
    const View view = CurrentView();
    const int width = m_rect.Width();
    const int height = m_rect.Height();
    // Room for every row shown, plus the part of a row scrolled off the top.
    const int surfaceHeight = std::max(height, (view.last - view.first + 2) * m_rowHeight);
    const int shift = view.offset - view.first * m_rowHeight;
    if (!m_update || !GetMemDC() || m_surfaceWidth != width || m_surfaceHeight != surfaceHeight) {
        UpdateMemDC(dc, width, surfaceHeight);
        if (HDC surface = GetMemDC()) {
            const RECT all = {0, 0, width, surfaceHeight};
            MRender::FillSolidRect(surface, &all, kListBackground);
            ::BitBlt(surface, 0, shift, width, height, dc, m_rect.left, m_rect.top, SRCCOPY);
            PaintRows(surface, view);
        }
    }
    if (HDC surface = GetMemDC()) ::BitBlt(dc, m_rect.left, m_rect.top, width, height, surface, 0, shift, SRCCOPY);
}
