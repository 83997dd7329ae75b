// Helpers of the control tests: colour strips written as PNG files into the
// skin folder at run time, a render of one control onto a known background,
// and colour comparisons that allow for blending and rounding.
#pragma once

#include <cstdlib>
#include <set>
#include <string>
#include <vector>

#include "../../core/HvuiTestSupport.h"
#include "MControl.h"

namespace controls_test {

using hvui_test::PixelSurface;

constexpr Gdiplus::ARGB kRed = 0xFFFF0000;
constexpr Gdiplus::ARGB kGreen = 0xFF00FF00;
constexpr Gdiplus::ARGB kBlue = 0xFF0000FF;
constexpr Gdiplus::ARGB kYellow = 0xFFFFFF00;
constexpr Gdiplus::ARGB kGrey = 0xFF808080;
constexpr uint32_t kBackground = 0x203040;

// A skin file of this test suite's own folder, written once per name (a
// loaded image keeps its file open, so it cannot be written again).
inline const wchar_t* StripFile(const wchar_t* name, int width, int height, const std::vector<Gdiplus::ARGB>& bands) {
    static std::set<std::wstring> written;
    const std::wstring relative = std::wstring(L"controls1\\") + name;
    auto found = written.find(relative);
    if (found != written.end()) return found->c_str();
    const std::wstring path = hvui_test::SkinPath(relative.c_str());
    hvui_test::MakeFoldersFor(path);
    EXPECT_TRUE(hvui_test::WriteBandsPng(path, width, height, bands));
    return written.insert(relative).first->c_str();
}

// Paints control onto a surface filled with kBackground and answers it.
inline void Render(MControl& control, PixelSurface& surface) {
    surface.Fill(0xFF000000 | kBackground);
    HDC& dc = surface.DC();
    control.Draw(dc, CRect(0, 0, 10000, 10000));
    GdiFlush();
}

inline bool Near(uint32_t rgb, uint32_t expected, int tolerance = 3) {
    using hvui_test::BlueOf;
    using hvui_test::GreenOf;
    using hvui_test::RedOf;
    return std::abs(RedOf(rgb) - RedOf(expected)) <= tolerance &&
           std::abs(GreenOf(rgb) - GreenOf(expected)) <= tolerance &&
           std::abs(BlueOf(rgb) - BlueOf(expected)) <= tolerance;
}

inline uint32_t Rgb(Gdiplus::ARGB argb) { return argb & 0xFFFFFF; }

// Columns of surface within rect whose pixels differ from the background.
struct InkExtent {
    int left = -1;
    int right = -1;
    int count = 0;
};
inline InkExtent FindInk(PixelSurface& surface, const CRect& rect, uint32_t background) {
    InkExtent ink;
    for (int x = rect.left; x < rect.right; ++x) {
        for (int y = rect.top; y < rect.bottom; ++y) {
            if (Near(surface.Rgb(x, y), background, 24)) continue;
            if (ink.left < 0) ink.left = x;
            ink.right = x;
            ++ink.count;
        }
    }
    return ink;
}

}  // namespace controls_test
