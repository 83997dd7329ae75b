#include "LightCtrl.h"

#include <windowsx.h>

#include <algorithm>
#include <cmath>
#include <mutex>

#include "CScrollHorizontal.h"
#include "CScrollVertical.h"
#include "ControlText.h"
#include "MRender.h"
#include "Manager.h"
#include "PaintManager.h"

using namespace Gdiplus;

namespace {

using Lock = std::lock_guard<CriticalSection>;

const wchar_t kPagingThumbImage[] = L"img_slider.png";
constexpr float kMinWheelStep = 0.02f;
constexpr float kMaxWheelStep = 0.1f;
constexpr int kCaptionRise = 50;   // caption box top above the tile bottom
constexpr int kCaptionHeight = 60;
constexpr int kCaptionInset = 20;  // caption box narrower than the tile
enum TileFrame { kFrameNormal = 0, kFrameHover = 1, kFrameSelected = 2 };

bool FileExists(const CString& path) { return GetFileAttributesW(path) != INVALID_FILE_ATTRIBUTES; }

}  // namespace

LightCtrl::LightCtrl(MObject* parent, unsigned id, CRect rect, int visible, int)
    : MPanel(parent, id, rect, visible) {
    // A double click is two presses here, not a notification of its own.
    m_dblClk = 0;
    m_hScroll->SetVisible(0);
    PlacePanelScrollBar();
}

LightCtrl::~LightCtrl() { ClearItems(); }

// ---- items ------------------------------------------------------------------------------

void LightCtrl::AddLight(CString caption, int lightMode, CString imageName) {
    auto item = std::make_unique<Item>();
    item->caption = caption;
    item->lightMode = lightMode;
    const CString path = Manager::GetSkinFile(imageName);
    // A missing picture leaves a tile that shows its caption only.
    if (FileExists(path)) item->image.reset(MRender::LoadImageFromFile(path));
    if (item->image) {
        item->frameWidth = static_cast<int>(item->image->GetWidth()) / kFrameCount;
        item->imageHeight = static_cast<int>(item->image->GetHeight());
    }
    {
        Lock lock(m_itemLock);
        m_items.push_back(std::move(item));
    }
    LayoutTiles();
}

void LightCtrl::ClearItems() {
    std::vector<std::unique_ptr<Item>> doomed;
    {
        Lock lock(m_itemLock);
        doomed.swap(m_items);
    }
    m_hovered = -1;
    m_selected = -1;
}

void LightCtrl::ClearList() {
    ClearItems();
    UpdateControl(1, 0);
}

int LightCtrl::GetItemCount() {
    Lock lock(m_itemLock);
    return static_cast<int>(m_items.size());
}

void LightCtrl::SetCurLightMode(int mode) {
    int found = -1;
    {
        Lock lock(m_itemLock);
        for (size_t i = 0; i < m_items.size() && found < 0; ++i)
            if (m_items[i]->lightMode == mode) found = static_cast<int>(i);
    }
    m_selected = found;
    UpdateControl(1, 0);
}

int LightCtrl::GetLightMode(int index) {
    Lock lock(m_itemLock);
    if (index < 0 || index >= static_cast<int>(m_items.size())) return 0;
    return m_items[static_cast<size_t>(index)]->lightMode;
}

int LightCtrl::GetCurLightMode() { return GetLightMode(m_selected); }

int LightCtrl::SetItemText(int index, CString caption) {
    {
        Lock lock(m_itemLock);
        if (index < 0 || index >= static_cast<int>(m_items.size())) return 0;
        m_items[static_cast<size_t>(index)]->caption = caption;
    }
    UpdateControl(1, 0);
    return 1;
}

CString LightCtrl::GetItemText(int index) {
    Lock lock(m_itemLock);
    if (index < 0 || index >= static_cast<int>(m_items.size())) return CString();
    return m_items[static_cast<size_t>(index)]->caption;
}

CRect LightCtrl::GetItemRect(int index) {
    Lock lock(m_itemLock);
    if (index < 0 || index >= static_cast<int>(m_items.size())) return CRect();
    return m_items[static_cast<size_t>(index)]->rect;
}

// ---- paging --------------------------------------------------------------------------------

int LightCtrl::PageSlack() { return std::max(0, GetItemCount() - m_itemsPerPage); }

bool LightCtrl::IsPagingActive() { return m_pagingBarVisible && GetItemCount() > m_itemsPerPage; }

CRect LightCtrl::PagingStrip() const {
    return CRect(m_rect.left, m_rect.bottom - m_pagingBarHeight, m_rect.right, m_rect.bottom);
}

void LightCtrl::SetProgressBar(int on) {
    m_pagingBarVisible = on ? 1 : 0;
    if (m_pagingBarVisible && m_itemsPerPage <= 0) m_itemsPerPage = kDefaultItemsPerPage;
    LayoutTiles();
    UpdateControl(1, 0);
}

void LightCtrl::SetItemsPerPage(int count) {
    if (count <= 0) return;
    m_itemsPerPage = count;
    LayoutTiles();
    UpdateControl(1, 0);
}

void LightCtrl::SetViewStartIndex(int start) {
    const int slack = GetItemCount() - m_itemsPerPage;
    start = std::clamp(start, 0, std::max(0, slack));
    m_viewStart = start;
    m_viewOffset = static_cast<float>(start);
    m_scrollPosition = slack < 1 ? 0.0f : std::min(1.0f, static_cast<float>(start) / static_cast<float>(slack));
    LayoutTiles();
    UpdateControl(1, 0);
}

void LightCtrl::SetAllItemHeight(int height) {
    m_allItemsHeight = height;
    PlacePanelScrollBar();
    UpdateControl(1, 0);
}

void LightCtrl::DragTo(int x) {
    const int span = m_rect.Width();
    if (span <= 0) return;
    const int along = std::clamp(x, static_cast<int>(m_rect.left), static_cast<int>(m_rect.right)) - m_rect.left;
    m_scrollPosition = static_cast<float>(along) / static_cast<float>(span);
    m_viewOffset = m_scrollPosition * static_cast<float>(PageSlack());
    m_viewStart = static_cast<int>(m_viewOffset);
    LayoutTiles();
}

void LightCtrl::LayoutTiles() {
    const bool paging = IsPagingActive();
    const int first = paging ? static_cast<int>(m_viewOffset) : 0;
    const float fraction = paging ? m_viewOffset - static_cast<float>(first) : 0.0f;
    Lock lock(m_itemLock);
    for (size_t i = 0; i < m_items.size(); ++i) {
        const int x = static_cast<int>(static_cast<float>((static_cast<int>(i) - first) * kTileWidth) -
                                       static_cast<float>(kTileWidth + kTileGap) * fraction);
        m_items[i]->rect = CRect(x, 0, x + kTileWidth, kTileHeight);
    }
}

// ---- panel duties ------------------------------------------------------------------------------

void LightCtrl::SetControlRect(CRect rect) {
    MPanel::SetControlRect(rect);
    PlacePanelScrollBar();
}

void LightCtrl::PlacePanelScrollBar() {
    // The bar's range is the all-items height itself, not the panel's rows.
    m_vScroll->SetRect(CRect(m_rect.right - m_scrollThickness, m_rect.top, m_rect.right, m_rect.bottom));
    m_vScroll->SetRange(m_allItemsHeight);
    // A hidden bar takes no presses: a visible one over the tiles would.
    m_vScroll->SetVisible(m_rect.Height() < m_allItemsHeight ? 1 : 0);
    m_vScroll->UpdateControl(1, 0);
}

int LightCtrl::ScrollPanelByWheel(unsigned direction) {
    // SetPosition limits the move to the range and redraws the panel.
    return m_vScroll->ScrollRows(direction == 1 ? kWheelScrollRows : -kWheelScrollRows);
}

void LightCtrl::CaptureDialogMouse() {
    HWND window = m_manager ? m_manager->GetPaintWnd() : nullptr;
    if (window && IsWindow(window)) SetCapture(window);
}

void LightCtrl::ReleaseDialogMouse() {
    HWND window = m_manager ? m_manager->GetPaintWnd() : nullptr;
    if (window && GetCapture() == window) ReleaseCapture();
}

LRESULT LightCtrl::OnMessage(unsigned id, unsigned code, WPARAM wParam, LPARAM lParam) {
    if (code == kCodeScrollBarMoved && id >= kScrollBarIdFirst && id <= kScrollBarIdLast) UpdateControl(1, 0);
    return m_parent ? m_parent->OnBaseMessage(id, code, wParam, lParam) : 0;
}

LRESULT LightCtrl::OnWindowMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    // The dialog captured the mouse for the drag: its moves arrive here in
    // its client coordinates even when the pointer has left the control.
    if (msg == WM_MOUSEMOVE && m_dragging) HandleDragMove(CPoint(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)));
    // Another window took the mouse (a menu, a system dialog, Alt+Tab): the
    // release will never come here, so the drag ends now.
    if (msg == WM_CAPTURECHANGED && m_dragging && !IsDialogWindow(reinterpret_cast<HWND>(lParam))) EndDrag();
    return MPanel::OnWindowMessage(msg, wParam, lParam);
}

// ---- input ---------------------------------------------------------------------------------------

void LightCtrl::UseCursor(LPCWSTR cursor) { SetCursor(LoadCursorW(nullptr, cursor)); }

int LightCtrl::TileAt(CPoint point) {
    Lock lock(m_itemLock);
    for (size_t i = 0; i < m_items.size(); ++i) {
        CRect tile = m_items[i]->rect;
        tile.OffsetRect(m_rect.left, m_rect.top);
        if (tile.PtInRect(point)) return static_cast<int>(i);
    }
    return -1;
}

void LightCtrl::SetHovered(int index) {
    if (index == m_hovered) return;
    m_hovered = index;
    UpdateControl(1, 0);
}

int LightCtrl::HandleDragMove(CPoint point) {
    if (point == m_lastDrag) return 1;
    m_lastDrag = point;
    DragTo(point.x);
    UpdateControl(1, 0);
    UseCursor(IDC_SIZEALL);
    return 1;
}

int LightCtrl::OnControlMouseMove(unsigned flags, CPoint point) {
    if (!m_enabled) return 0;
    if (m_dragging && (flags & MK_LBUTTON)) return HandleDragMove(point);
    if (!m_rect.PtInRect(point)) {
        SetHovered(-1);
        UseCursor(IDC_ARROW);
        return 1;
    }
    if (IsPagingActive() && PagingStrip().PtInRect(point)) {
        UseCursor(IDC_HAND);
        return 1;
    }
    if (m_hovered >= 0) {
        CRect tile = GetItemRect(m_hovered);
        tile.OffsetRect(m_rect.left, m_rect.top);
        if (tile.PtInRect(point)) {
            UseCursor(IDC_HAND);
            return 0;
        }
    }
    SetHovered(TileAt(point));
    return 1;
}

int LightCtrl::OnControlLButtonDown(unsigned, CPoint point) {
    if (!m_enabled || !m_rect.PtInRect(point)) return 0;
    if (IsPagingActive() && PagingStrip().PtInRect(point)) {
        m_dragging = 1;
        m_dragStart = point;
        m_lastDrag = point;
        m_dragStartIndex = m_viewStart;
        CaptureDialogMouse();
        DragTo(point.x);
    } else if (m_hovered >= 0) {
        m_selected = m_hovered;
    }
    UpdateControl(1, 0);
    return 1;
}

void LightCtrl::EndDrag() {
    m_dragging = 0;
    UseCursor(IDC_ARROW);
    ReleaseDialogMouse();
}

bool LightCtrl::IsDialogWindow(HWND window) const {
    return window && m_manager && window == m_manager->GetPaintWnd();
}

int LightCtrl::OnControlLButtonUp(unsigned, CPoint point) {
    if (!m_enabled) return 0;
    if (m_dragging) {
        EndDrag();
        return 1;
    }
    if (m_rect.PtInRect(point) && m_hovered >= 0) SendMessageW(kCodeSelected, 0, static_cast<LPARAM>(m_selected));
    return 1;
}

int LightCtrl::OnControlScroll(int, unsigned direction, CPoint point) {
    if (!m_enabled) return 0;
    if (!m_rect.PtInRect(point) || !IsPagingActive()) {
        ScrollPanelByWheel(direction);
        return 1;
    }
    const int slack = PageSlack();
    const float step = std::clamp(1.0f / static_cast<float>(slack + 1), kMinWheelStep, kMaxWheelStep);
    // Direction 1 (wheel toward the user) pages on toward the end.
    const float moved = direction == 1 ? m_scrollPosition + step : m_scrollPosition - step;
    m_scrollPosition = std::clamp(moved, 0.0f, 1.0f);
    m_viewOffset = m_scrollPosition * static_cast<float>(slack);
    m_viewStart = static_cast<int>(m_viewOffset);
    LayoutTiles();
    UpdateControl(1, 0);
    return 1;
}

// ---- painting --------------------------------------------------------------------------------------

void LightCtrl::DrawControl(HDC& dc, CRect) {
    const int width = m_rect.Width();
    const int height = m_rect.Height();
    if (!m_update || !GetMemDC() || m_surfaceWidth != width || m_surfaceHeight != height) {
        UpdateMemDC(dc, width, height);
        if (HDC surface = GetMemDC()) {
            // Only the items area takes the background; the paging strip
            // keeps the new surface's black under its thumb.
            const int itemsHeight = m_pagingBarVisible ? std::max(0, height - m_pagingBarHeight) : height;
            BitBlt(surface, 0, 0, width, itemsHeight, dc, m_rect.left, m_rect.top, SRCCOPY);
            PaintContent(surface);
        }
    }
    PresentMemDC(dc);
}

void LightCtrl::PaintContent(HDC dc) {
    LayoutTiles();
    Graphics graphics(dc);
    graphics.SetSmoothingMode(SmoothingModeHighQuality);
    PaintTiles(graphics);
    if (m_pagingBarVisible) PaintPagingBar(graphics);
}

void LightCtrl::PaintTiles(Graphics& graphics) {
    const int width = m_rect.Width();
    CString face;
    int style = 0;
    {
        Lock lock(m_stateLock);
        face = m_fontFace;
        style = m_fontStyle;
        graphics.SetTextRenderingHint(static_cast<TextRenderingHint>(m_renderingHint));
    }
    auto family = hvui_text::MakeFamily(m_manager ? m_manager->FindTempFont(face) : nullptr, face);
    StringFormat format(StringFormatFlagsMeasureTrailingSpaces);
    hvui_text::Align(format, StringAlignmentCenter, StringAlignmentCenter);
    SolidBrush brush{Color(kCaptionColor)};

    // Drawn from a copy: the worker selects a mode through the item lock.
    std::vector<Item> tiles;
    {
        Lock lock(m_itemLock);
        tiles.reserve(m_items.size());
        for (const auto& item : m_items) tiles.push_back(*item);
    }
    for (size_t i = 0; i < tiles.size(); ++i) {
        const Item& item = tiles[i];
        const CRect& tile = item.rect;
        if (tile.right < -kDrawMargin || tile.left > width + kDrawMargin) continue;
        const int index = static_cast<int>(i);
        if (item.image) {
            const int frame = index == m_hovered ? kFrameHover : index == m_selected ? kFrameSelected : kFrameNormal;
            graphics.DrawImage(item.image.get(), Rect(tile.left, 0, item.frameWidth, item.imageHeight),
                               item.frameWidth * frame, 0, item.frameWidth, item.imageHeight, UnitPixel);
        }
        const RectF box(static_cast<REAL>(tile.left), static_cast<REAL>(tile.bottom - kCaptionRise),
                        static_cast<REAL>(tile.Width() - kCaptionInset), static_cast<REAL>(kCaptionHeight));
        hvui_text::DrawString(graphics, family.get(), static_cast<REAL>(m_fontSize), style, item.caption, box, format,
                              brush);
    }
}

void LightCtrl::PaintPagingBar(Graphics& graphics) {
    const int width = m_rect.Width();
    const int top = m_rect.Height() - m_pagingBarHeight;
    // Read at each paint, so a skin change shows without a restart.
    std::unique_ptr<Image> thumb(MRender::LoadImageFromFile(Manager::GetSkinFile(kPagingThumbImage)));
    if (thumb) {
        const int thumbWidth = static_cast<int>(thumb->GetWidth());
        const float room = static_cast<float>(std::max(0, width - thumbWidth));
        const int x = static_cast<int>(std::clamp(m_scrollPosition * static_cast<float>(width - thumbWidth), 0.0f, room));
        graphics.DrawImage(thumb.get(), Rect(x, top, thumbWidth, m_pagingBarHeight), 0, 0, thumbWidth,
                           static_cast<INT>(thumb->GetHeight()), UnitPixel);
        return;
    }
    const int slack = std::max(1, GetItemCount() - m_itemsPerPage);
    const float share = std::min(1.0f, static_cast<float>(m_viewStart) / static_cast<float>(slack));
    const int x = std::max(0, static_cast<int>(static_cast<float>(width - kPagingThumbWidth) * share));
    SolidBrush fill{Color(kPagingThumbColor)};
    graphics.FillRectangle(&fill, x, top, kPagingThumbWidth, m_pagingBarHeight);
}
