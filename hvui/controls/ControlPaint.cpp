#include "ControlPaint.h"

#include "FontFallback.h"
#include "Manager.h"

using namespace Gdiplus;

namespace control_paint {

TextFont::TextFont(MControlFont& control, const wchar_t* face, int pixelSize, int style) {
    const FontFamily* family = face && *face ? control.GetFontFamily(face) : nullptr;
    if (!family && face && *face) {
        m_ownFamily = std::make_unique<FontFamily>(face);
        if (m_ownFamily->GetLastStatus() == Ok) family = m_ownFamily.get();
    }
    if (!family) {
        m_ownFamily = font_fallback::SansSerif();
        family = m_ownFamily.get();
    }
    // Without any family there is no font: IsValid says so and no text is drawn.
    if (!family) return;
    m_font = std::make_unique<Font>(family, static_cast<REAL>(pixelSize), style, UnitPixel);
}

bool TextFont::IsValid() const { return m_font && m_font->GetLastStatus() == Ok; }

int ScaledFontSize(int size) { return Manager::GetScaleValue(size); }

StringAlignment HorizontalAlignment(unsigned value) {
    switch (value) {
    case 1: return StringAlignmentCenter;
    case 2: return StringAlignmentFar;
    default: return StringAlignmentNear;
    }
}

StringAlignment VerticalAlignment(unsigned value) {
    switch (value) {
    case 4: return StringAlignmentCenter;
    case 8: return StringAlignmentFar;
    default: return StringAlignmentNear;
    }
}

void CopyBackground(HDC surface, int x, HDC source, const CRect& rect) {
    ::BitBlt(surface, x, 0, rect.Width(), rect.Height(), source, rect.left, rect.top, SRCCOPY);
}

namespace {

bool SurfaceHasSize(HDC surface, int width, int height) {
    if (!surface) return false;
    BITMAP bitmap = {};
    HGDIOBJ selected = ::GetCurrentObject(surface, OBJ_BITMAP);
    if (!selected || !::GetObjectW(selected, sizeof(bitmap), &bitmap)) return false;
    return bitmap.bmWidth == width && bitmap.bmHeight == height;
}

}  // namespace

bool PrepareSlots(MControl& control, HDC& dc, int slots) {
    const CRect rect = control.GetRect();
    const int width = rect.Width();
    const int height = rect.Height();
    if (control.GetUpdate() && SurfaceHasSize(control.GetMemDC(), slots * width, height)) return false;
    control.UpdateMemDC(dc, slots * width, height);
    HDC surface = control.GetMemDC();
    if (!surface) return false;
    for (int i = 0; i < slots; ++i) CopyBackground(surface, i * width, dc, rect);
    return true;
}

void PresentSlot(MControl& control, HDC& dc, int slot) {
    HDC surface = control.GetMemDC();
    if (!surface) return;
    const CRect rect = control.GetRect();
    ::BitBlt(dc, rect.left, rect.top, rect.Width(), rect.Height(), surface, slot * rect.Width(), 0, SRCCOPY);
}

std::unique_ptr<Graphics> MakeGraphics(HDC dc, int textRenderingHint) {
    auto graphics = std::make_unique<Graphics>(dc);
    graphics->SetPageUnit(UnitPixel);
    graphics->SetTextRenderingHint(static_cast<TextRenderingHint>(textRenderingHint));
    graphics->SetSmoothingMode(SmoothingModeHighQuality);
    return graphics;
}

}  // namespace control_paint
