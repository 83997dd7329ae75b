#include "MButton.h"

#include <mutex>

#include "ControlPaint.h"
#include "MRender.h"
#include "Manager.h"

using namespace Gdiplus;

namespace {

using Lock = std::lock_guard<CriticalSection>;

void SetNamedCursor(const wchar_t* name) {
    if (HCURSOR cursor = Manager::LoadNamedCursor(name)) ::SetCursor(cursor);
}

}  // namespace

MButton::MButton(MObject* parent, unsigned id, CRect rect, const wchar_t* title, int visible, int enabled)
    : MControlFont(parent, id, rect, title, visible, enabled, 1), m_state(enabled ? kNormal : kDisabled) {}

MButton::~MButton() {
    Lock lock(m_stateLock);
    m_icon.reset();
}

MButton::IconFrame MButton::GetIconFrame() const {
    Lock lock(m_stateLock);
    return IconFrame{m_icon, m_iconFrameWidth, m_iconHeight};
}

int MButton::SetIconImage(const wchar_t* name, int count) {
    std::shared_ptr<Image> icon(name ? MRender::LoadImageFromFile(Manager::GetSkinFile(name)) : nullptr);
    Lock lock(m_stateLock);
    m_icon = std::move(icon);
    if (!m_icon || count <= 0) {
        m_icon.reset();
        return 0;
    }
    m_iconFrameWidth = static_cast<int>(m_icon->GetWidth()) / count;
    m_iconHeight = static_cast<int>(m_icon->GetHeight());
    m_iconCount = count;
    return 1;
}

// ---- state and input ----------------------------------------------------------

int MButton::ChangeState(int state) {
    if (state == m_state) return 0;
    m_state = state;
    UpdateControl(0, 0);
    return 1;
}

void MButton::SetControlEnabled(int enabled) {
    MControlFont::SetControlEnabled(enabled);
    ChangeState(enabled ? kNormal : kDisabled);
}

int MButton::TrackHover(CPoint point) {
    const bool inside = m_rect.PtInRect(point);
    SetNamedCursor(inside ? L"hand" : L"arrow");
    return inside ? kHover : kNormal;
}

int MButton::OnControlMouseMove(unsigned, CPoint point) {
    // While pressed the state holds, so leaving and coming back still clicks.
    if (!m_enabled || m_state == kPressed) return 0;
    return ChangeState(TrackHover(point));
}

int MButton::OnControlLButtonDown(unsigned, CPoint point) {
    if (!m_enabled || !m_rect.PtInRect(point)) return 0;
    SetNamedCursor(L"hand");
    const bool changed = m_state != kPressed;
    m_state = kPressed;
    SendMessageW(kCodePressed, 0, 0);
    if (changed) UpdateControl(0, 0);
    return changed ? 1 : 0;
}

int MButton::OnControlLButtonUp(unsigned, CPoint point) {
    if (!m_enabled) return 0;
    const bool inside = m_rect.PtInRect(point);
    const bool click = inside && m_state == kPressed;
    const int changed = ChangeState(inside ? kHover : kNormal);
    if (click) SendMessageW(kCodeClicked, 0, 0);
    return changed;
}

int MButton::OnControlKeyDown(unsigned key, unsigned repeat, unsigned modifiers) {
    return MControlFont::OnControlKeyDown(key, repeat, modifiers);
}

// ---- painting -------------------------------------------------------------------------

void MButton::PaintTitle(Graphics& graphics, int slot) {
    const CString title = GetTitle();
    if (title.IsEmpty()) return;
    const int width = m_rect.Width();
    RectF layout(static_cast<REAL>(slot * width), 0, static_cast<REAL>(width), static_cast<REAL>(m_rect.Height()));
    if (!m_textRect.IsRectNull()) {
        layout = RectF(static_cast<REAL>(m_textRect.left + slot * width), static_cast<REAL>(m_textRect.top),
                       static_cast<REAL>(m_textRect.Width()), static_cast<REAL>(m_textRect.Height()));
    }
    if (slot == kPressed) layout.Offset(1, 1);

    StringFormat format;
    format.SetAlignment(StringAlignmentCenter);
    format.SetLineAlignment(StringAlignmentCenter);
    format.SetFormatFlags(StringFormatFlagsNoWrap | StringFormatFlagsMeasureTrailingSpaces);
    const control_paint::TextFont font(*this, GetTextFont(), control_paint::ScaledFontSize(m_fontSize), m_fontStyle);
    if (!font.IsValid()) return;
    // A title wider than the button must not spill into the next state's
    // slot, and the next slot's frame must not be clipped to this one.
    graphics.SetClip(Rect(slot * width, 0, width, m_rect.Height()));
    if (slot == kDisabled) {
        SolidBrush grey{Color(control_paint::kDisabledText)};
        graphics.DrawString(title, title.GetLength(), font.Get(), layout, &format, &grey);
    } else {
        WithTextBrush([&](SolidBrush& brush) {
            graphics.DrawString(title, title.GetLength(), font.Get(), layout, &format, &brush);
        });
    }
    graphics.ResetClip();
}

void MButton::DrawControl(HDC& dc, CRect) {
    if (control_paint::PrepareSlots(*this, dc, control_paint::kStateSlots)) {
        auto graphics = control_paint::MakeGraphics(GetMemDC(), m_renderingHint);
        const int width = m_rect.Width();
        for (int slot = 0; slot < control_paint::kStateSlots; ++slot) {
            const ImageFrame strip = GetImageFrame();
            if (strip.image) {
                const CRect dest(slot * width, 0, (slot + 1) * width, m_rect.Height());
                MRender::DrawImageFrame(*graphics, strip.image, dest, slot * strip.frameWidth, 0, strip.frameWidth,
                                        strip.height, m_frameSize);
            }
            PaintTitle(*graphics, slot);
        }
    }
    control_paint::PresentSlot(*this, dc, m_state);
}
