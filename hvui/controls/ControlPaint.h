// Drawing helpers the controls of this folder share: fonts by face with a
// fallback, the alignment mapping of the text controls, background copies
// into pre-painted state slots, and a GDI+ graphics object on a surface.
// Internal to the library: nothing here is exported.
#pragma once

#include <memory>

#include "CRect.h"
#include "GdiplusFwd.h"
#include "MControlFont.h"

namespace control_paint {

// Text of the four-state push controls in their disabled slot.
constexpr Gdiplus::ARGB kDisabledText = 0xFF808080;
// Slots of a four-state strip: normal, hover, pressed, disabled.
constexpr int kStateSlots = 4;
constexpr int kPressedState = 2;
constexpr int kDisabledState = 3;

// A font with the family it was made from. The family comes from the
// control's font table when it has one, else from the installed fonts by
// name, else the generic sans-serif family.
class TextFont {
public:
    TextFont(MControlFont& control, const wchar_t* face, int pixelSize, int style);
    TextFont(const TextFont&) = delete;
    TextFont& operator=(const TextFont&) = delete;

    bool IsValid() const;
    const Gdiplus::Font* Get() const { return m_font.get(); }

private:
    std::unique_ptr<Gdiplus::FontFamily> m_ownFamily;
    std::unique_ptr<Gdiplus::Font> m_font;
};

// size × the framework scale factor, truncated.
int ScaledFontSize(int size);

// Win32 text-layout values (0 left, 1 centre, 2 right; 0 top, 4 centre,
// 8 bottom) as GDI+ alignments; anything else is near.
Gdiplus::StringAlignment HorizontalAlignment(unsigned value);
Gdiplus::StringAlignment VerticalAlignment(unsigned value);

// Copies the W × H pixels of source under rect into surface at (x, 0).
void CopyBackground(HDC surface, int x, HDC source, const CRect& rect);

// The pre-painted state slots of a control: a cached surface `slots` times
// as wide as the control. PrepareSlots answers true when the surface had to
// be made again; each slot then holds the pixels under the control.
bool PrepareSlots(MControl& control, HDC& dc, int slots);
// Copies slot `slot` of the cached surface to the control's position.
void PresentSlot(MControl& control, HDC& dc, int slot);

// A graphics object on dc with the controls' common text settings.
std::unique_ptr<Gdiplus::Graphics> MakeGraphics(HDC dc, int textRenderingHint);

}  // namespace control_paint
