#include "CTextButton.h"

#include <mutex>

#include "ControlPaint.h"
#include "Manager.h"

using namespace Gdiplus;

namespace {

using Lock = std::lock_guard<CriticalSection>;

bool Underlined(int state) { return state == CTextButton::kHover || state == CTextButton::kDisabled; }

}  // namespace

CTextButton::CTextButton(MObject* parent, unsigned id, CRect rect, const wchar_t* title, int visible, int enabled)
    : MControlFont(parent, id, rect, title, visible, enabled, 1),
      m_hoverColor(Manager::GetSelectColor().GetValue()), m_pressedColor(Manager::GetSelectColor().GetValue()),
      m_state(enabled ? kNormal : kDisabled) {
    SetTextColor(Color(kNormalColor));
}

CTextButton::~CTextButton() = default;

void CTextButton::SetTextButtonColor(Color normal, Color hover, Color pressed, Color disabled) {
    SetTextColor(normal);
    Lock lock(m_stateLock);
    m_hoverColor = hover.GetValue();
    m_pressedColor = pressed.GetValue();
    m_disabledColor = disabled.GetValue();
}

ARGB CTextButton::ColorOf(int state) {
    switch (state) {
    case kHover: return m_hoverColor;
    case kPressed: return m_pressedColor;
    case kDisabled: return m_disabledColor;
    default: return m_textColor.GetValue();
    }
}

int CTextButton::ChangeState(int state) {
    if (state == m_state) return 0;
    m_state = state;
    UpdateControl(0, 0);
    return 1;
}

void CTextButton::SetControlEnabled(int enabled) {
    MControlFont::SetControlEnabled(enabled);
    ChangeState(enabled ? kNormal : kDisabled);
}

int CTextButton::OnControlMouseMove(unsigned, CPoint point) {
    if (!m_enabled || m_state == kPressed) return 0;
    return ChangeState(m_rect.PtInRect(point) ? kHover : kNormal);
}

int CTextButton::OnControlLButtonDown(unsigned, CPoint point) {
    if (!m_enabled || !m_rect.PtInRect(point)) return 0;
    const bool changed = m_state != kPressed;
    m_state = kPressed;
    SendMessageW(kCodePressed, 0, 0);
    if (changed) UpdateControl(0, 0);
    return changed ? 1 : 0;
}

int CTextButton::OnControlLButtonUp(unsigned, CPoint point) {
    if (!m_enabled) return 0;
    const bool inside = m_rect.PtInRect(point);
    // The click is reported before the look changes: a handler that hides
    // or disables the button sees it still pressed.
    if (inside && m_state == kPressed) SendMessageW(kCodeClicked, 0, 0);
    return ChangeState(inside ? kHover : kNormal);
}

void CTextButton::DrawControl(HDC& dc, CRect) {
    if (control_paint::PrepareSlots(*this, dc, control_paint::kStateSlots)) {
        const CString title = GetTitle();
        auto graphics = control_paint::MakeGraphics(GetMemDC(), m_renderingHint);
        const CString face = GetTextFont();
        const control_paint::TextFont plain(*this, face, m_fontSize, m_fontStyle);
        const control_paint::TextFont underlined(*this, face, m_fontSize, m_fontStyle | FontStyleUnderline);
        StringFormat format;
        format.SetAlignment(StringAlignmentCenter);
        format.SetLineAlignment(StringAlignmentCenter);
        format.SetFormatFlags(StringFormatFlagsMeasureTrailingSpaces |
                              (m_multiLine ? StringFormatFlagsLineLimit : StringFormatFlagsNoWrap));
        const int width = m_rect.Width();
        for (int slot = 0; slot < control_paint::kStateSlots && !title.IsEmpty(); ++slot) {
            RectF layout(static_cast<REAL>(slot * width), 0, static_cast<REAL>(width),
                         static_cast<REAL>(m_rect.Height()));
            if (slot == kPressed) layout.Offset(1, 1);
            ARGB colour;
            {
                Lock lock(m_stateLock);
                colour = ColorOf(slot);
            }
            SolidBrush brush{Color(colour)};
            graphics->SetClip(Rect(slot * width, 0, width, m_rect.Height()));
            const control_paint::TextFont& font = Underlined(slot) ? underlined : plain;
            if (font.IsValid()) graphics->DrawString(title, title.GetLength(), font.Get(), layout, &format, &brush);
        }
    }
    control_paint::PresentSlot(*this, dc, m_state);
}
