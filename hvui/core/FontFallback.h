// The platform's sans-serif family, the face the framework falls back to
// when a named face is neither in a font table nor installed (internal, not
// exported).
#pragma once

#include <memory>

#include "GdiplusFwd.h"

namespace font_fallback {

// A family of the caller's own, or null on a system that has no sans-serif
// family at all (a fresh Wine prefix without font replacements is one).
// A font made from a null family is invalid and GDI+ refuses to draw with
// it: the text is simply left out, images and shapes still draw.
inline std::unique_ptr<Gdiplus::FontFamily> SansSerif() {
    const Gdiplus::FontFamily* generic = Gdiplus::FontFamily::GenericSansSerif();
    if (!generic) return nullptr;
    return std::unique_ptr<Gdiplus::FontFamily>(generic->Clone());
}

}  // namespace font_fallback
