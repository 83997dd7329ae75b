#include "TabCtrlEx.h"

#include <mutex>

#include "ControlPaint.h"
#include "MRender.h"
#include "Manager.h"
#include "TabBar.h"

using namespace Gdiplus;

namespace {

using Lock = std::lock_guard<CriticalSection>;

// The caption band inside a tab: x, y offset from the tab's top, w, h.
constexpr int kCaptionTop = 200;
constexpr int kCaptionWidth = 195;
constexpr int kCaptionHeight = 30;

void SetNamedCursor(const wchar_t* name) {
    if (HCURSOR cursor = Manager::LoadNamedCursor(name)) ::SetCursor(cursor);
}

}  // namespace

struct TabCtrlEx::Item {
    CString text;
    int identifier = 0;
    std::unique_ptr<Image> image;
    int frameWidth = 0;
    int imageHeight = 0;
    MControl* page = nullptr;
    CRect rect;
};

TabCtrlEx::TabCtrlEx(MObject* parent, unsigned id, CRect rect, int visible, int enabled)
    : MControlFont(parent, id, rect, L"", visible, enabled, 1) {}

TabCtrlEx::~TabCtrlEx() { ClearList(); }

int TabCtrlEx::AddItem(CString text, int identifier, CString imageName, MControl* page) {
    auto item = std::make_unique<Item>();
    item->text = text;
    item->identifier = identifier;
    item->page = page;
    const CString path = Manager::GetSkinFile(imageName);
    if (!imageName.IsEmpty() && ::GetFileAttributesW(path) != INVALID_FILE_ATTRIBUTES) {
        item->image.reset(MRender::LoadImageFromFile(path));
        if (item->image) {
            item->frameWidth = static_cast<int>(item->image->GetWidth()) / tab_bar::kStripFrames;
            item->imageHeight = static_cast<int>(item->image->GetHeight());
        }
    }
    Lock lock(m_listLock);
    m_items.push_back(std::move(item));
    return static_cast<int>(m_items.size()) - 1;
}

void TabCtrlEx::SetSelectItem(int index) {
    if (index == m_selected) return;
    m_selected = index;
    ShowPages();
    UpdateControl(1, 0);
}

void TabCtrlEx::ShowPages() {
    // The pages are collected first: their parents' repaint must not run
    // under our list lock.
    std::vector<std::pair<MControl*, int>> changes;
    {
        Lock lock(m_listLock);
        for (size_t i = 0; i < m_items.size(); ++i) {
            MControl* page = m_items[i]->page;
            const int show = static_cast<int>(i) == m_selected ? 1 : 0;
            if (page && page->IsVisible() != show) changes.emplace_back(page, show);
        }
    }
    for (auto& [page, show] : changes) {
        page->SetVisible(show, 0);
        if (MObject* parent = page->GetParantObject()) parent->OnControlUpdate(page->GetRect(), 1, page);
    }
}

void TabCtrlEx::SetItemText(int index, CString text) {
    Lock lock(m_listLock);
    if (index < 0 || index >= static_cast<int>(m_items.size())) return;
    m_items[static_cast<size_t>(index)]->text = text;
}

int TabCtrlEx::GetItemID(int index) {
    Lock lock(m_listLock);
    if (index < 0 || index >= static_cast<int>(m_items.size())) return 0;
    return m_items[static_cast<size_t>(index)]->identifier;
}

int TabCtrlEx::GetItemCount() {
    Lock lock(m_listLock);
    return static_cast<int>(m_items.size());
}

void TabCtrlEx::ClearList() {
    {
        Lock lock(m_listLock);
        m_items.clear();
        m_hovered = -1;
        m_selected = -1;
    }
    UpdateControl(1, 0);
}

std::vector<CRect> TabCtrlEx::HitRects() {
    Lock lock(m_listLock);
    std::vector<CRect> rects;
    for (auto& item : m_items) rects.push_back(item->rect);
    return rects;
}

// ---- input ----------------------------------------------------------------------------

int TabCtrlEx::OnControlMouseMove(unsigned, CPoint point) {
    if (!m_enabled) return 0;
    const int before = m_hovered;
    if (!m_rect.PtInRect(point)) {
        m_hovered = -1;
        SetNamedCursor(L"arrow");
    } else {
        const std::vector<CRect> rects = HitRects();
        if (m_hovered >= 0 && m_hovered < static_cast<int>(rects.size())) {
            CRect hot = rects[static_cast<size_t>(m_hovered)];
            hot.OffsetRect(m_rect.left, m_rect.top);
            if (hot.PtInRect(point)) {
                SetNamedCursor(L"hand");
                return 1;
            }
        }
        m_hovered = -1;
        SetNamedCursor(L"arrow");
        m_hovered = tab_bar::HitTest(rects, m_rect.TopLeft(), point);
    }
    if (m_hovered != before) UpdateControl(1, 0);
    return 0;
}

int TabCtrlEx::OnControlLButtonDown(unsigned, CPoint) { return 0; }

int TabCtrlEx::OnControlLButtonUp(unsigned, CPoint point) {
    if (!m_enabled || !m_rect.PtInRect(point) || m_hovered < 0) return 0;
    const int chosen = m_hovered;
    SetSelectItem(chosen);
    SendMessageW(tab_bar::kCodeChosen, static_cast<WPARAM>(chosen), 0);
    return 0;
}

// ---- painting ---------------------------------------------------------------------------

void TabCtrlEx::DrawItem(Graphics& graphics, Item& item, int index, const Font* font, const StringFormat& format) {
    const int y = kTabPitch * index;
    item.rect = CRect(0, y, kTabWidth, y + kTabHeight);
    if (item.image) {
        const int frame = tab_bar::FrameOf(index, m_hovered, m_selected);
        graphics.DrawImage(item.image.get(), Rect(0, y, item.frameWidth, item.imageHeight), frame * item.frameWidth,
                           0, item.frameWidth, item.imageHeight, UnitPixel);
    }
    if (!font || item.text.IsEmpty()) return;
    const bool active = index == m_hovered || index == m_selected;
    SolidBrush brush{Color(active ? kActiveCaption : kIdleCaption)};
    const RectF caption(0, static_cast<REAL>(y + kCaptionTop), kCaptionWidth, kCaptionHeight);
    graphics.DrawString(item.text, item.text.GetLength(), font, caption, &format, &brush);
}

void TabCtrlEx::DrawControl(HDC& dc, CRect) {
    if (PrepareMemDC(dc)) {
        auto graphics = control_paint::MakeGraphics(GetMemDC(), m_renderingHint);
        const control_paint::TextFont font(*this, tab_bar::kCaptionFace, control_paint::ScaledFontSize(m_fontSize),
                                           m_fontStyle);
        StringFormat format;
        format.SetAlignment(StringAlignmentCenter);
        format.SetLineAlignment(StringAlignmentCenter);
        format.SetFormatFlags(StringFormatFlagsNoWrap | StringFormatFlagsMeasureTrailingSpaces);
        Lock lock(m_listLock);
        for (size_t i = 0; i < m_items.size(); ++i)
            DrawItem(*graphics, *m_items[i], static_cast<int>(i), font.IsValid() ? font.Get() : nullptr, format);
    }
    PresentMemDC(dc);
}
