#include "MenuItem.h"

#include <mutex>

#include "ControlPaint.h"
#include "MRender.h"

using namespace Gdiplus;

namespace {

using Lock = std::lock_guard<CriticalSection>;

const wchar_t kMenuItemClass[] = L"MenuItem";
constexpr int kItemFrameCount = 3;
constexpr int kSlots = 4;
constexpr ARGB kSeparatorColor = 0x60FFFFFF;
// The check mark sits in the indent, left of the title.
constexpr int kCheckMarginX = 6;

int SlotOf(int state) {
    switch (state) {
    case MenuItem::kHover: return 1;
    case MenuItem::kTicked: return 2;
    case MenuItem::kHoverTicked: return 3;
    default: return 0;
    }
}

}  // namespace

MenuItem::MenuItem(MObject* parent, unsigned id, CRect rect, const wchar_t* title, int visible, int enabled)
    : MControlFont(parent, id, rect, title, visible, enabled, 1) {
    m_vAlign = 4;
    m_frameCount = kItemFrameCount;
}

MenuItem::~MenuItem() = default;

const wchar_t* MenuItem::GetClassNameW() const { return kMenuItemClass; }

void MenuItem::SetCheck(int check) {
    if (!m_checkable || !m_enabled) return;
    const int flag = check ? 1 : 0;
    if (flag == m_check) return;
    m_check = flag;
    m_state = m_state == kHover || m_state == kHoverTicked ? HoverState() : RestingState();
    UpdateControl(0, 0);
}

void MenuItem::SetPopupMenu(MenuWnd* menu) {
    m_popupMenu = menu;
    m_popup = menu ? 1 : 0;
}

CString MenuItem::GetGroupName() const {
    Lock lock(m_stateLock);
    return m_groupName;
}

void MenuItem::SetGroupName(CString name) {
    Lock lock(m_stateLock);
    m_groupName = name;
}

CString MenuItem::GetValue() const {
    Lock lock(m_stateLock);
    return m_value;
}

void MenuItem::SetValue(CString value) {
    Lock lock(m_stateLock);
    m_value = value;
}

void MenuItem::SetHoverImage(Image* image, int width, int height) {
    m_hoverImage = image;
    m_hoverWidth = width;
    m_hoverHeight = height;
}

void MenuItem::SetCheckImage(Image* image, int width, int height) {
    m_checkImage = image;
    m_checkWidth = width;
    m_checkHeight = height;
}

// ---- input ---------------------------------------------------------------------------

int MenuItem::ChangeState(int state) {
    if (state == m_state) return 0;
    m_state = state;
    UpdateControl(0, 0);
    return 1;
}

int MenuItem::OnControlMouseMove(unsigned, CPoint point) {
    if (!m_enabled || m_pressed || m_separator) return 0;
    return ChangeState(m_rect.PtInRect(point) ? HoverState() : RestingState());
}

int MenuItem::OnControlLButtonDown(unsigned, CPoint point) {
    if (!m_enabled || m_separator || !m_rect.PtInRect(point)) return 0;
    m_pressed = 1;
    if (m_checkable) {
        ChangeState(HoverState());
        SendMessageW(kCodeCheckPressed, static_cast<WPARAM>(m_check), 1);
    } else {
        ChangeState(kTicked);
    }
    return 1;
}

int MenuItem::OnControlLButtonUp(unsigned, CPoint point) {
    const int wasPressed = m_pressed;
    m_pressed = 0;
    if (!m_enabled || m_separator) return 0;
    if (!m_rect.PtInRect(point)) return ChangeState(RestingState());
    if (m_checkable) {
        if (wasPressed) m_check = GetGroupName().IsEmpty() ? 1 - m_check : 1;
        return ChangeState(HoverState());
    }
    const int changed = ChangeState(kHover);
    if (wasPressed) SendMessageW(kCodeChosen, 0, 0);
    return changed;
}

// ---- painting --------------------------------------------------------------------------------

void MenuItem::PaintSlot(Graphics& graphics, int slot, const Font* font) {
    const int width = m_rect.Width();
    const int height = m_rect.Height();
    const int x = slot * width;
    if (m_separator) {
        if (m_image) {
            graphics.DrawImage(m_image, Rect(x, 0, width, height), 0, 0, m_frameWidth, m_imageHeight, UnitPixel);
        } else {
            SolidBrush line{Color(kSeparatorColor)};
            graphics.FillRectangle(&line, x, 0, width, std::max(1, height));
        }
        return;
    }
    const bool hover = slot == 1 || slot == 3 || (slot == 2 && !m_checkable);
    if (hover) {
        const Rect back(x + m_frameWidth2, 0, width - 2 * m_frameWidth2, height);
        if (m_hoverImage) {
            graphics.DrawImage(m_hoverImage, back, 0, 0, m_hoverWidth, m_hoverHeight, UnitPixel);
        } else {
            SolidBrush fill{Color(m_hoverColor)};
            graphics.FillRectangle(&fill, back);
        }
    }
    const bool ticked = m_checkable && (slot == 2 || slot == 3);
    if (ticked && m_checkImage)
        graphics.DrawImage(m_checkImage, Rect(x + kCheckMarginX, (height - m_checkHeight) / 2, m_checkWidth,
                                              m_checkHeight),
                           0, 0, m_checkWidth, m_checkHeight, UnitPixel);
    const CString title = GetTitle();
    if (!font || title.IsEmpty()) return;
    StringFormat format;
    format.SetAlignment(StringAlignmentNear);
    format.SetLineAlignment(control_paint::VerticalAlignment(m_vAlign));
    format.SetFormatFlags(StringFormatFlagsNoWrap);
    SolidBrush brush{Color(m_enabled ? kTitleColor : kDisabledTitleColor)};
    const RectF layout(static_cast<REAL>(x + m_textIndent), 0, static_cast<REAL>(width - m_textIndent),
                       static_cast<REAL>(height));
    graphics.DrawString(title, title.GetLength(), font, layout, &format, &brush);
}

void MenuItem::DrawControl(HDC& dc, CRect) {
    if (control_paint::PrepareSlots(*this, dc, kSlots)) {
        auto graphics = control_paint::MakeGraphics(GetMemDC(), m_renderingHint);
        const control_paint::TextFont font(*this, GetTextFont(), m_fontSize, m_fontStyle);
        // No lock over the slots: the title is copied by GetTitle, and the
        // images belong to the menu, which lives on this thread only.
        for (int slot = 0; slot < kSlots; ++slot) PaintSlot(*graphics, slot, font.IsValid() ? font.Get() : nullptr);
    }
    control_paint::PresentSlot(*this, dc, SlotOf(m_state));
}
