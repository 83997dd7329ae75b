#include "MText.h"

#include <mutex>

#include "ControlPaint.h"

using namespace Gdiplus;

namespace {

using Lock = std::lock_guard<CriticalSection>;

}  // namespace

MText::MText(MObject* parent, unsigned id, CRect rect, const wchar_t* title, int visible)
    : MControlFont(parent, id, rect, title, visible, 0, 1) {}

MText::~MText() = default;

void MText::EnableTextBack(int on, Color colour) {
    {
        Lock lock(m_stateLock);
        const int flag = on ? 1 : 0;
        if (flag != m_textBackOn) {
            m_textBackOn = flag;
            m_textBackColor = colour.GetValue();
        }
    }
    UpdateControl(1, 0);
}

int MText::OnControlScroll(int, unsigned, CPoint) { return 1; }

void MText::DrawControl(HDC& dc, CRect) {
    if (PrepareMemDC(dc)) PaintText(GetMemDC());
    PresentMemDC(dc);
}

void MText::PaintText(HDC surface) {
    auto graphics = control_paint::MakeGraphics(surface, TextRenderingHintClearTypeGridFit);
    const RectF layout(0, 0, static_cast<REAL>(m_rect.Width()), static_cast<REAL>(m_rect.Height()));
    bool backOn = false;
    ARGB backColor = 0;
    {
        Lock lock(m_stateLock);
        backOn = m_textBackOn != 0;
        backColor = m_textBackColor;
    }
    if (backOn) {
        SolidBrush back{Color(backColor)};
        graphics->FillRectangle(&back, Rect(0, 0, m_rect.Width(), m_rect.Height()));
    }
    const CString title = GetTitle();
    if (title.IsEmpty()) return;

    StringFormat format;
    format.SetAlignment(control_paint::HorizontalAlignment(m_hAlign));
    const bool forceCentre = m_multiLine && m_vCentre;
    format.SetLineAlignment(forceCentre ? StringAlignmentCenter : control_paint::VerticalAlignment(m_vAlign));
    format.SetFormatFlags(StringFormatFlagsMeasureTrailingSpaces);

    const control_paint::TextFont font(*this, GetTextFont(), control_paint::ScaledFontSize(m_fontSize), m_fontStyle);
    if (!font.IsValid()) return;
    graphics->SetClip(layout);
    WithTextBrush([&](SolidBrush& brush) {
        graphics->DrawString(title, title.GetLength(), font.Get(), layout, &format, &brush);
    });
}
