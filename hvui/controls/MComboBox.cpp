#include "MComboBox.h"

#include <mutex>

#include "CComboBoxList.h"
#include "CComboBoxWnd.h"
#include "ControlPaint.h"
#include "MRender.h"
#include "Manager.h"
#include "PaintManager.h"

using namespace Gdiplus;

namespace {

using Lock = std::lock_guard<CriticalSection>;

// The text runs between the box's left cap and its arrow button.
constexpr int kTextInsetX = 30;
constexpr int kTextInsetY = 3;
// The box face under the image, and the nine-slice of the box image whose
// right margin holds the arrow.
constexpr COLORREF kFaceColor = RGB(99, 99, 99);
constexpr int kArrowWidth = 30;
constexpr int kSliceLeft = 6;
constexpr int kSliceTop = 6;
constexpr int kSliceRight = 32;
constexpr int kSliceBottom = 6;
// The drop-down's frame: nine-sliced with this border.
constexpr enumBackMode kPopupBackMode = BackModeNineSlice;
constexpr int kPopupBackBorder = 6;

}  // namespace

MComboBox::MComboBox(MObject* parent, unsigned id, CRect rect, int visible, int enabled)
    : MControlFont(parent, id, rect, L"", visible, enabled, 1), m_state(enabled ? kNormal : kDisabled) {
    m_hAlign = 0;
    m_frameCount = control_paint::kStateSlots;
    ResetTextRect();
}

MComboBox::~MComboBox() {
    if (m_popup) m_popup->SetParent(nullptr);
    m_popup.reset();
}

// ---- items ---------------------------------------------------------------------------

int MComboBox::AddItem(const wchar_t* text, long data, const wchar_t* iconName, Color colour) {
    ComboItem item;
    item.text = text ? text : L"";
    item.iconName = iconName ? iconName : L"";
    item.colour = colour.GetValue();
    item.data = data;
    Lock lock(m_itemLock);
    m_items.push_back(item);
    return static_cast<int>(m_items.size()) - 1;
}

int MComboBox::InsertItem(int index, const wchar_t* text, long data, const wchar_t* iconName, Color colour) {
    {
        Lock lock(m_itemLock);
        if (!m_items.empty() && index != -1) {
            if (!ValidIndex(index)) return -1;
            ComboItem item;
            item.text = text ? text : L"";
            item.iconName = iconName ? iconName : L"";
            item.colour = colour.GetValue();
            item.data = data;
            m_items.insert(m_items.begin() + index, item);
            return static_cast<int>(m_items.size()) - 1;
        }
    }
    return AddItem(text, data, iconName, colour);
}

int MComboBox::GetItemCount() {
    Lock lock(m_itemLock);
    return static_cast<int>(m_items.size());
}

int MComboBox::SetCurSel(int index) {
    CString text;
    {
        Lock lock(m_itemLock);
        if (index < -1 || index >= static_cast<int>(m_items.size())) return 0;
        m_curSel = index;
        if (index >= 0) text = m_items[static_cast<size_t>(index)].text;
    }
    SetTitle(text);
    UpdateControl(1, 0);
    return 1;
}

long MComboBox::GetCurData() {
    Lock lock(m_itemLock);
    return ValidIndex(m_curSel) ? m_items[static_cast<size_t>(m_curSel)].data : 0;
}

int MComboBox::FindData(long data) {
    Lock lock(m_itemLock);
    for (size_t i = 0; i < m_items.size(); ++i)
        if (m_items[i].data == data) return static_cast<int>(i);
    return -1;
}

int MComboBox::SelectData(long data) {
    const int index = FindData(data);
    if (index < 0) return 0;
    SetCurSel(index);
    return 1;
}

long MComboBox::GetItemData(int index) {
    Lock lock(m_itemLock);
    return ValidIndex(index) ? m_items[static_cast<size_t>(index)].data : 0;
}

int MComboBox::SetItemData(int index, long data) {
    Lock lock(m_itemLock);
    if (!ValidIndex(index)) return 0;
    m_items[static_cast<size_t>(index)].data = data;
    return 1;
}

int MComboBox::SetItemText(int index, CString text) {
    bool changed = false;
    bool selected = false;
    {
        Lock lock(m_itemLock);
        if (!ValidIndex(index)) return 0;
        CString& current = m_items[static_cast<size_t>(index)].text;
        changed = current != text;
        if (changed) current = text;
        selected = index == m_curSel;
    }
    if (!changed) return 1;
    if (selected) SetTitle(text);
    UpdateControl(1, 0);
    return 1;
}

int MComboBox::DeleteItem(int index) {
    Lock lock(m_itemLock);
    if (!ValidIndex(index)) return 0;
    m_items.erase(m_items.begin() + index);
    return 1;
}

int MComboBox::DelAllItems() {
    {
        Lock lock(m_itemLock);
        m_items.clear();
        m_curSel = -1;
    }
    SetTitle(L"");
    UpdateControl(1, 0);
    return 1;
}

// ---- look settings ----------------------------------------------------------------------

void MComboBox::SetBackImage(const wchar_t* name) {
    Lock lock(m_stateLock);
    m_popupImage = name ? name : L"";
}

void MComboBox::SetBackImage(unsigned resourceId, CString type) {
    Lock lock(m_stateLock);
    m_popupResource = resourceId;
    m_popupResourceType = type;
}

void MComboBox::SetScrollResID(unsigned vertical, unsigned horizontal) {
    m_scrollVertical = vertical;
    m_scrollHorizontal = horizontal;
}

void MComboBox::ResetTextRect() {
    m_textRect = CRect(kTextInsetX, kTextInsetY, m_rect.Width() - kTextInsetX, m_rect.Height() - kTextInsetY);
}

int MComboBox::SetShowModeMID(int left, int top, int right, int bottom) {
    m_marginLeft = left;
    m_marginTop = top;
    m_marginRight = right;
    m_marginBottom = bottom;
    UpdateControl(1, 0);
    return 1;
}

void MComboBox::SetControlRect(CRect rect) {
    MControlFont::SetControlRect(rect);
    if (!rect.IsRectEmpty()) ResetTextRect();
}

// ---- input ------------------------------------------------------------------------------------

int MComboBox::ChangeState(int state) {
    if (state == m_state) return 0;
    m_state = state;
    UpdateControl(0, 0);
    return 1;
}

void MComboBox::SetControlEnabled(int enabled) {
    MControlFont::SetControlEnabled(enabled);
    ChangeState(enabled ? kNormal : kDisabled);
}

int MComboBox::OnControlMouseMove(unsigned, CPoint point) {
    if (!m_enabled || m_state == kPressed) return 0;
    return ChangeState(m_rect.PtInRect(point) ? kHover : kNormal);
}

int MComboBox::OnControlLButtonDown(unsigned, CPoint point) {
    if (!m_enabled || !m_rect.PtInRect(point)) return 0;
    const int changed = ChangeState(kPressed);
    if (changed) m_open = false;
    return changed;
}

int MComboBox::OnControlLButtonUp(unsigned, CPoint point) {
    if (!m_enabled) return 0;
    if (!m_rect.PtInRect(point)) return ChangeState(kNormal);
    const int changed = ChangeState(kHover);
    OnMessage(kOpenSource, kCodeChosen, 0, 0);
    return changed;
}

int MComboBox::OnControlKeyDown(unsigned key, unsigned repeat, unsigned modifiers) {
    return MControlFont::OnControlKeyDown(key, repeat, modifiers);
}

// ---- the drop-down -------------------------------------------------------------------------------

LRESULT MComboBox::OnMessage(unsigned id, unsigned code, WPARAM wParam, LPARAM lParam) {
    if (code == kCodeChosen && id == kOpenSource) {
        OpenDropDown();
        return 1;
    }
    if (code == kCodeChosen && lParam == CComboBoxList::kChosenTag) {
        Chosen(static_cast<int>(wParam));
        return 1;
    }
    if (code == CComboBoxWnd::kCodeDestroyed) {
        m_open = false;
        UpdateControl(0, 0);
    }
    return 0;
}

void MComboBox::Chosen(int index) {
    SetCurSel(index);
    SendMessageW(kCodeChosen, static_cast<WPARAM>(index), 0);
    m_open = false;
    UpdateControl(0, 0);
}

CRect MComboBox::PopupScreenRect() {
    const int rows = std::min(GetItemCount(), kMaxVisibleRows);
    const int height = rows * Manager::GetScaleValue(CComboBoxList::kBaseRowHeight) + kPopupFrame;
    POINT origin = {m_rect.left, m_rect.bottom + kPopupGap};
    HWND window = m_manager ? m_manager->GetPaintWnd() : nullptr;
    if (window && ::IsWindow(window)) ::ClientToScreen(window, &origin);
    return CRect(origin.x, origin.y, origin.x + m_rect.Width(), origin.y + height);
}

void MComboBox::LoadPopupBackground(CComboBoxWnd& popup) {
    CString image;
    unsigned resource;
    CString type;
    {
        Lock lock(m_stateLock);
        image = m_popupImage;
        resource = m_popupResource;
        type = m_popupResourceType;
    }
    if (image.IsEmpty() && !resource) return;
    popup.SetBackMode(kPopupBackMode, kPopupBackBorder);
    if (!image.IsEmpty()) popup.LoadBKImage(image);
    else popup.LoadBKImage(resource, type);
}

void MComboBox::OpenDropDown() {
    const CRect screen = PopupScreenRect();
    if (m_popup) m_popup->SetParent(nullptr);
    m_popup.reset();

    auto popup = std::make_unique<CComboBoxWnd>();
    popup->SetParent(this);
    popup->SetScrollIds(m_scrollVertical, m_scrollHorizontal);
    HWND owner = m_manager ? m_manager->GetPaintWnd() : nullptr;
    if (!popup->Create(owner, L"", kPopupStyle & ~WS_VISIBLE, kPopupExStyle, screen)) return;
    LoadPopupBackground(*popup);
    if (CComboBoxList* list = popup->GetList()) {
        std::vector<ComboItem> items;
        {
            Lock lock(m_itemLock);
            items = m_items;
        }
        for (const ComboItem& item : items) list->AddItem(item);
        list->SetFont(GetTextFont(), m_fontSize, static_cast<FontStyle>(m_fontStyle));
        list->Repaint();
        list->SetTextColor(GetTextColor());
    }
    m_popup = std::move(popup);
    m_popup->ShowWindow(SW_SHOW);
    m_open = true;
    UpdateControl(0, 0);
}

// ---- painting -----------------------------------------------------------------------------------------

void MComboBox::DrawControl(HDC& dc, CRect) {
    if (control_paint::PrepareSlots(*this, dc, control_paint::kStateSlots)) {
        HDC surface = GetMemDC();
        const int width = m_rect.Width();
        const int height = m_rect.Height();
        auto graphics = control_paint::MakeGraphics(surface, m_renderingHint);
        const CString title = GetTitle();
        const control_paint::TextFont font(*this, GetTextFont(), control_paint::ScaledFontSize(m_fontSize), m_fontStyle);
        StringFormat format;
        format.SetAlignment(StringAlignmentNear);
        format.SetLineAlignment(StringAlignmentCenter);
        format.SetFormatFlags(StringFormatFlagsNoWrap);
        format.SetTrimming(StringTrimmingEllipsisCharacter);
        for (int slot = 0; slot < control_paint::kStateSlots; ++slot) {
            const int x = slot * width;
            MRender::FillSolidRect(surface, x, 0, width - kArrowWidth, height, kFaceColor);
            const ImageFrame strip = GetImageFrame();
            if (strip.image)
                MRender::DrawImageFrameMID(*graphics, strip.image, CRect(x, 0, x + width, height),
                                           slot * strip.frameWidth, 0, strip.frameWidth, strip.height, kSliceLeft,
                                           kSliceTop, kSliceRight, kSliceBottom);
            if (title.IsEmpty() || !font.IsValid()) continue;
            // The text stays in its slot; the next slot's frame must not be
            // clipped to this one.
            graphics->SetClip(Rect(x, 0, width, height));
            const RectF layout(static_cast<REAL>(x + m_textRect.left), 0, static_cast<REAL>(m_textRect.Width()),
                               static_cast<REAL>(height));
            if (slot == kDisabled) {
                SolidBrush grey{Color(control_paint::kDisabledText)};
                graphics->DrawString(title, title.GetLength(), font.Get(), layout, &format, &grey);
            } else {
                WithTextBrush([&](SolidBrush& brush) {
                    graphics->DrawString(title, title.GetLength(), font.Get(), layout, &format, &brush);
                });
            }
            graphics->ResetClip();
        }
    }
    control_paint::PresentSlot(*this, dc, m_open ? kPressed : m_state);
}
