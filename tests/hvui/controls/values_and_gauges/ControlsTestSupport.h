// Helpers of the control tests: a parent that repaints like the dialog does,
// generated skin pictures, rendering a control into a pixel surface and
// comparing colours.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <string>

#include "../../core/HvuiTestSupport.h"
#include "PaintManager.h"

namespace controls_test {

using hvui_test::PixelSurface;

// Records like RecordingParent and marks the requester stale on update
// code 1, as the dialog's paint manager does, so the next Draw repaints.
class RepaintingParent : public hvui_test::RecordingParent {
public:
    LRESULT OnControlUpdate(CRect rect, int code, MControl* control) override {
        if (code && control) control->SetUpdate(0, 0);
        return RecordingParent::OnControlUpdate(rect, code, control);
    }
    size_t Count(unsigned code) const {
        size_t count = 0;
        for (const auto& n : notifications) count += n.code == code ? 1 : 0;
        return count;
    }
};

// Writes a PNG whose pixel (x, y) is colour(x, y) (ARGB) into the skin
// folder under name; answers the name for SetImage.
inline const wchar_t* WriteSkinPng(const wchar_t* name, int width, int height,
                                   const std::function<Gdiplus::ARGB(int, int)>& colour) {
    const std::wstring path = hvui_test::SkinPath(name);
    hvui_test::MakeFoldersFor(path);
    Gdiplus::Bitmap bitmap(width, height, PixelFormat32bppARGB);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) bitmap.SetPixel(x, y, Gdiplus::Color(colour(x, y)));
    CLSID png;
    EXPECT_TRUE(hvui_test::EncoderFor(L"image/png", png));
    EXPECT_EQ(bitmap.Save(path.c_str(), &png, nullptr), Gdiplus::Ok);
    return name;
}

// Paints control over a surface filled with background.
inline void Render(MControl& control, PixelSurface& surface, uint32_t background = 0xFF101010) {
    surface.Fill(background);
    HDC& dc = surface.DC();
    control.Draw(dc, CRect(0, 0, 4000, 4000));
    GdiFlush();
}

// Largest per-channel difference of two 0x00RRGGBB colours.
inline int Distance(uint32_t a, uint32_t b) {
    int worst = 0;
    for (int shift = 0; shift <= 16; shift += 8)
        worst = std::max(worst, std::abs(static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF)));
    return worst;
}

inline bool Near(uint32_t a, uint32_t b, int tolerance = 24) { return Distance(a, b) <= tolerance; }

inline uint32_t Rgb(Gdiplus::ARGB argb) { return argb & 0xFFFFFF; }

// Pixels of region (x, y, w, h) of a that differ from b by more than
// tolerance in some channel.
inline int CountDifferences(PixelSurface& a, PixelSurface& b, int x, int y, int w, int h, int tolerance = 0) {
    int differences = 0;
    for (int j = y; j < y + h; ++j)
        for (int i = x; i < x + w; ++i) differences += Distance(a.Rgb(i, j), b.Rgb(i, j)) > tolerance ? 1 : 0;
    return differences;
}

// Pixels of region that differ from one colour.
inline int CountInk(PixelSurface& s, int x, int y, int w, int h, uint32_t background, int tolerance = 8) {
    int ink = 0;
    for (int j = y; j < y + h; ++j)
        for (int i = x; i < x + w; ++i) ink += Distance(s.Rgb(i, j), background) > tolerance ? 1 : 0;
    return ink;
}

}  // namespace controls_test
