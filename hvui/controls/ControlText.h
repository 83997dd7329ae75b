// Text painting shared by the controls of this folder (internal, not
// exported): one string in one GDI+ font and brush, and the alignment of a
// string format.
#pragma once

#include <memory>

#include "CString.h"
#include "FontFallback.h"
#include "GdiplusFwd.h"

namespace hvui_text {

// The family named face, or the platform's sans-serif family when the face is
// not installed, or null when there is neither (the text is then left out).
// The caller keeps the returned object for one paint.
inline std::unique_ptr<Gdiplus::FontFamily> MakeFamily(Gdiplus::FontFamily* shared, const wchar_t* face) {
    if (shared) return std::unique_ptr<Gdiplus::FontFamily>(shared->Clone());
    auto family = std::make_unique<Gdiplus::FontFamily>(face);
    if (family->GetLastStatus() == Gdiplus::Ok) return family;
    return font_fallback::SansSerif();
}

// A string format with the given flags and alignments.
inline void Align(Gdiplus::StringFormat& format, Gdiplus::StringAlignment horizontal,
                  Gdiplus::StringAlignment vertical) {
    format.SetAlignment(horizontal);
    format.SetLineAlignment(vertical);
}

inline void DrawString(Gdiplus::Graphics& graphics, const Gdiplus::FontFamily* family, float pixelSize, int style,
                       const CString& text, const Gdiplus::RectF& rect, const Gdiplus::StringFormat& format,
                       const Gdiplus::Brush& brush) {
    if (text.IsEmpty() || !family) return;
    Gdiplus::Font font(family, pixelSize, style, Gdiplus::UnitPixel);
    if (font.GetLastStatus() != Gdiplus::Ok) return;
    graphics.DrawString(text, text.GetLength(), &font, rect, &format, &brush);
}

}  // namespace hvui_text
