#include "CTabCtrl5.h"

#include <mutex>

#include "ControlPaint.h"
#include "Manager.h"
#include "PaintManager.h"
#include "TabBar.h"

using namespace Gdiplus;

namespace {

using Lock = std::lock_guard<CriticalSection>;

void SetNamedCursor(const wchar_t* name) {
    if (HCURSOR cursor = Manager::LoadNamedCursor(name)) ::SetCursor(cursor);
}

}  // namespace

struct CTabCtrl5::Item {
    CString text;
    int identifier = 0;
    CRect rect;
    CString imageName;
    Image* image = nullptr;  // the image cache's
    int frameWidth = 0;
    int imageHeight = 0;
};

CTabCtrl5::CTabCtrl5(MObject* parent, unsigned id, CRect rect, int visible, int enabled)
    : MControlFont(parent, id, rect, L"", visible, enabled, 1) {}

CTabCtrl5::~CTabCtrl5() { ClearList(); }

int CTabCtrl5::Append(std::unique_ptr<Item> item) {
    Lock lock(m_listLock);
    m_items.push_back(std::move(item));
    return static_cast<int>(m_items.size()) - 1;
}

int CTabCtrl5::AddItem(CString text, int identifier, const wchar_t* imageName) {
    auto item = std::make_unique<Item>();
    item->text = text;
    item->identifier = identifier;
    if (imageName) item->imageName = imageName;
    ImgResInfo* cached = m_manager && imageName ? m_manager->AddImgResInfo(imageName, tab_bar::kStripFrames) : nullptr;
    if (cached && cached->image) {
        item->image = cached->image;
        item->frameWidth = static_cast<int>(cached->image->GetWidth()) / tab_bar::kStripFrames;
        item->imageHeight = cached->height;
    }
    return Append(std::move(item));
}

int CTabCtrl5::AddItem(CString text, int identifier) {
    auto item = std::make_unique<Item>();
    item->text = text;
    item->identifier = identifier;
    return Append(std::move(item));
}

void CTabCtrl5::SetSelectItem(int index) {
    if (index == m_selected) return;
    m_selected = index;
    UpdateControl(1, 0);
}

void CTabCtrl5::SetItemText(int index, CString text) {
    {
        Lock lock(m_listLock);
        if (index < 0 || index >= static_cast<int>(m_items.size())) return;
        m_items[static_cast<size_t>(index)]->text = text;
    }
    UpdateControl(1, 0);
}

int CTabCtrl5::GetItemID(int index) {
    Lock lock(m_listLock);
    if (index < 0 || index >= static_cast<int>(m_items.size())) return 0;
    return m_items[static_cast<size_t>(index)]->identifier;
}

int CTabCtrl5::GetItemCount() {
    Lock lock(m_listLock);
    return static_cast<int>(m_items.size());
}

void CTabCtrl5::ClearList() {
    {
        Lock lock(m_listLock);
        m_items.clear();
        m_hovered = -1;
        m_selected = -1;
    }
    UpdateControl(1, 0);
}

std::vector<CRect> CTabCtrl5::HitRects() {
    Lock lock(m_listLock);
    std::vector<CRect> rects;
    for (auto& item : m_items) rects.push_back(item->rect);
    return rects;
}

int CTabCtrl5::OnControlMouseMove(unsigned, CPoint point) {
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
    return 1;
}

int CTabCtrl5::OnControlLButtonDown(unsigned, CPoint) { return m_enabled ? 1 : 0; }

int CTabCtrl5::OnControlLButtonUp(unsigned, CPoint point) {
    if (!m_enabled) return 0;
    if (!m_rect.PtInRect(point) || m_hovered < 0) return 1;
    const int chosen = m_hovered;
    if (chosen != m_selected) {
        m_selected = chosen;
        UpdateControl(1, 0);
    }
    SendMessageW(tab_bar::kCodeChosen, static_cast<WPARAM>(chosen), 0);
    return 1;
}

void CTabCtrl5::DrawControl(HDC& dc, CRect) {
    if (PrepareMemDC(dc)) {
        auto graphics = control_paint::MakeGraphics(GetMemDC(), m_renderingHint);
        const control_paint::TextFont font(*this, tab_bar::kCaptionFace, control_paint::ScaledFontSize(m_fontSize),
                                           m_fontStyle);
        StringFormat format;
        format.SetAlignment(StringAlignmentCenter);
        format.SetLineAlignment(StringAlignmentCenter);
        format.SetFormatFlags(StringFormatFlagsNoWrap | StringFormatFlagsMeasureTrailingSpaces);
        SolidBrush brush{Color(kCaptionColor)};
        const int height = m_rect.Height();
        // The tabs are laid out under the list lock and drawn from a copy
        // after it: the worker selects tabs through that lock.
        std::vector<Item> tabs;
        {
            Lock lock(m_listLock);
            for (size_t i = 0; i < m_items.size(); ++i) {
                Item& item = *m_items[i];
                const int x = kTabPitch * static_cast<int>(i);
                item.rect = CRect(x, 0, x + item.frameWidth, height);
                tabs.push_back(item);
            }
        }
        for (size_t i = 0; i < tabs.size(); ++i) {
            const Item& item = tabs[i];
            const int x = item.rect.left;
            if (item.image) {
                const int frame = tab_bar::FrameOf(static_cast<int>(i), m_hovered, m_selected);
                graphics->DrawImage(item.image, Rect(x, 0, item.frameWidth, item.imageHeight),
                                    frame * item.frameWidth, 0, item.frameWidth, item.imageHeight, UnitPixel);
            }
            if (!font.IsValid() || item.text.IsEmpty()) continue;
            const RectF caption(static_cast<REAL>(x), 0, static_cast<REAL>(item.frameWidth),
                                static_cast<REAL>(height));
            graphics->DrawString(item.text, item.text.GetLength(), font.Get(), caption, &format, &brush);
        }
    }
    PresentMemDC(dc);
}
