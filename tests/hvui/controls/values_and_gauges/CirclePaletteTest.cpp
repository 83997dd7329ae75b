#include <gtest/gtest.h>

#include "CirclePalette.h"
#include "ControlsTestSupport.h"

using namespace controls_test;
using namespace Gdiplus;

namespace {

const auto* const kGdiplus = ::testing::AddGlobalTestEnvironment(new hvui_test::GdiplusEnvironment);

constexpr uint32_t kBackground = 0xFF303030;

// A 130 × 130 ring picture whose every pixel tells where it is: red = 2x,
// green = 2y, blue 77. The control reads colours back from what it painted.
ARGB RingPixel(int x, int y) { return 0xFF000000 | (2 * x) << 16 | (2 * y) << 8 | 77; }
COLORREF RingColour(int x, int y) { return RGB(2 * x, 2 * y, 77); }
const wchar_t* RingImage() { return WriteSkinPng(L"controls2\\ring.png", 130, 130, RingPixel); }

struct Wheel : ::testing::Test {
    static constexpr int kLeft = 40;
    static constexpr int kTop = 20;
    RepaintingParent parent;
    PaintManager manager;
    CirclePalette wheel{&parent, 71, CRect(kLeft, kTop, kLeft + 130, kTop + 130), 1, 1};
    PixelSurface surface{260, 200};
    void SetUp() override {
        wheel.SetManager(&manager);
        ASSERT_EQ(wheel.SetImage(RingImage(), 1), 1);
    }
    CPoint At(int x, int y) const { return CPoint(kLeft + x, kTop + y); }
    std::vector<LPARAM> ColoursReported() const {
        std::vector<LPARAM> colours;
        for (const auto& n : parent.notifications)
            if (n.code == CirclePalette::kCodeColourChanging) colours.push_back(n.lParam);
        return colours;
    }
};

TEST_F(Wheel, StartsRedWithTheMarkerNearTheTop) {
    EXPECT_EQ(wheel.GetSelectColor(), 255u);
    EXPECT_EQ(wheel.GetMarkerRect(), CRect(kLeft + 100, kTop + 5, kLeft + 110, kTop + 15));
    EXPECT_EQ(wheel.GetSquareRect(), CRect(kLeft + 65, kTop + 65, kLeft + 65, kTop + 65));
    EXPECT_EQ(wheel.GetHue(), 180);
    EXPECT_EQ(wheel.GetDistanse(At(65 + 30, 65 + 40)), 50);
    EXPECT_EQ(wheel.GetDistanse(At(65 + 1, 65 + 1)), 1);  // 1.41 truncated
}

TEST_F(Wheel, BeforeTheFirstPaintTheRingPicksBlack) {
    wheel.OnLButtonDown(MK_LBUTTON, At(40, 40));
    EXPECT_EQ(wheel.GetSelectColor(), 0u);
    EXPECT_EQ(ColoursReported(), (std::vector<LPARAM>{0}));
    const CRect marker = wheel.GetMarkerRect();
    wheel.SetSelectColor(RingColour(40, 40));  // nothing in the table to find
    EXPECT_EQ(wheel.GetMarkerRect(), marker);
}

TEST_F(Wheel, AfterAPaintTheRingGivesThePaintedColourAndSetSelectColorFindsIt) {
    Render(wheel, surface, kBackground);
    EXPECT_EQ(wheel.GetTableColor(40, 40), RingColour(40, 40));
    wheel.OnLButtonDown(MK_LBUTTON, At(30, 50));
    EXPECT_EQ(wheel.GetState(), 2);
    EXPECT_EQ(wheel.GetSelectColor(), RingColour(30, 50));
    EXPECT_EQ(wheel.GetMarkerRect(), CRect(kLeft + 25, kTop + 45, kLeft + 35, kTop + 55));
    EXPECT_EQ(ColoursReported(), (std::vector<LPARAM>{static_cast<LPARAM>(RingColour(30, 50))}));
    wheel.OnLButtonUp(0, At(30, 50));
    EXPECT_EQ(wheel.GetState(), 1);  // released on the marker
    EXPECT_EQ(parent.Count(CirclePalette::kCodeCommitted), 1u);

    wheel.SetRect(wheel.GetRect());  // back near the top, whatever the colour
    EXPECT_EQ(wheel.GetMarkerRect(), CRect(kLeft + 100, kTop + 5, kLeft + 110, kTop + 15));
    Render(wheel, surface, kBackground);
    wheel.SetSelectColor(RingColour(90, 20));
    EXPECT_EQ(wheel.GetMarkerRect(), CRect(kLeft + 85, kTop + 15, kLeft + 95, kTop + 25));
}

TEST_F(Wheel, ARingDragFollowsOnlyPastTheThreshold) {
    Render(wheel, surface, kBackground);
    wheel.OnLButtonDown(MK_LBUTTON, At(40, 40));
    struct Move {
        int x, y;
        bool moves;
    };
    // From the last point handed to the marker: more than 5 across or at least 6 down.
    const Move moves[] = {{45, 40, false}, {45, 45, false}, {46, 40, true}, {46, 45, false},
                          {46, 46, true},  {41, 46, false}, {40, 46, true}, {40, 40, true}};
    for (const Move& m : moves) {
        const CRect before = wheel.GetMarkerRect();
        wheel.OnMouseMove(MK_LBUTTON, At(m.x, m.y));
        EXPECT_EQ(wheel.GetMarkerRect() != before, m.moves) << m.x << "," << m.y;
    }
    // Without the button held nothing follows.
    const CRect before = wheel.GetMarkerRect();
    wheel.OnMouseMove(0, At(70, 70));
    EXPECT_EQ(wheel.GetMarkerRect(), before);
}

TEST_F(Wheel, APressBeyondTheRingChangesNothingButTheReleaseCommits) {
    Render(wheel, surface, kBackground);
    const CRect marker = wheel.GetMarkerRect();
    wheel.OnLButtonDown(MK_LBUTTON, At(2, 2));  // 89 pixels from the centre
    wheel.OnLButtonUp(0, At(2, 2));
    EXPECT_EQ(wheel.GetMarkerRect(), marker);
    EXPECT_EQ(wheel.GetSelectColor(), 255u);
    EXPECT_TRUE(ColoursReported().empty());
    EXPECT_EQ(parent.Count(CirclePalette::kCodeCommitted), 1u);
    EXPECT_EQ(wheel.GetState(), 0);
}

TEST_F(Wheel, TheMarkerIsAWhiteRingOnThePicture) {
    Render(wheel, surface, kBackground);
    EXPECT_TRUE(Near(surface.Rgb(kLeft + 100, kTop + 10), 0xFFFFFF, 90));
    EXPECT_TRUE(Near(surface.Rgb(kLeft + 105, kTop + 10), Rgb(RingPixel(105, 10)), 4));  // hollow
    EXPECT_TRUE(Near(surface.Rgb(kLeft + 40, kTop + 70), Rgb(RingPixel(40, 70)), 4));
}

TEST_F(Wheel, ADisabledWheelIgnoresTheMouse) {
    Render(wheel, surface, kBackground);
    wheel.SetEnabled(0);
    wheel.OnLButtonDown(MK_LBUTTON, At(40, 40));
    wheel.OnLButtonUp(0, At(40, 40));
    EXPECT_EQ(wheel.GetSelectColor(), 255u);
    EXPECT_TRUE(parent.notifications.empty());
}

// A wheel big enough for a real square: (65, 65) to (195, 195).
struct WheelWithSquare : ::testing::Test {
    RepaintingParent parent;
    PaintManager manager;
    CirclePalette wheel{&parent, 71, CRect(0, 0, 260, 260), 1, 1};
    PixelSurface surface{260, 260};
    void SetUp() override { wheel.SetManager(&manager); }
};

TEST_F(WheelWithSquare, APickInTheSquareTakesThePaintedColourAndKeepsTheHue) {
    wheel.SetSelectColor(RGB(0, 255, 0));
    EXPECT_EQ(wheel.GetHue(), 120);
    Render(wheel, surface, kBackground);
    wheel.OnMouseMove(MK_LBUTTON, CPoint(150, 100));
    EXPECT_EQ(parent.Count(CirclePalette::kCodeColourChanging), 1u);
    wheel.OnLButtonUp(0, CPoint(150, 100));
    const COLORREF picked = wheel.GetSelectColor();
    const uint32_t shown = surface.Rgb(150, 100);
    EXPECT_EQ(picked, RGB(hvui_test::RedOf(shown), hvui_test::GreenOf(shown), hvui_test::BlueOf(shown)));
    double h = 0, s = 0, l = 0;
    CirclePalette::RGBToHSL(picked, h, s, l);
    EXPECT_NEAR(h * 360.0, 120.0, 3.0);
    EXPECT_GT(s, 0.2);
    EXPECT_EQ(wheel.GetHue(), 120);  // the square keeps its hue
    EXPECT_EQ(parent.Count(CirclePalette::kCodeCommitted), 1u);
}

TEST_F(WheelWithSquare, TheSquareRunsFromGreyToFullAndFromWhiteToBlack) {
    wheel.SetSelectColor(RGB(0, 0, 255));  // hue 240
    Render(wheel, surface, kBackground);
    const uint32_t topLeft = surface.Rgb(67, 67);
    const uint32_t middleRight = surface.Rgb(192, 130);
    const uint32_t bottom = surface.Rgb(130, 193);
    EXPECT_TRUE(Near(topLeft, 0xFFFFFF, 8));
    EXPECT_LT(Distance(bottom, 0), 10);
    // Right edge: saturation 0.8 at lightness one half, blue.
    EXPECT_GT(hvui_test::BlueOf(middleRight), 200);
    EXPECT_LT(hvui_test::RedOf(middleRight), 60);
    EXPECT_TRUE(Near(surface.Rgb(20, 130), Rgb(kBackground), 2));  // no ring picture here
}

TEST_F(WheelWithSquare, AGreySelectionTakesHueAndSaturationZero) {
    wheel.SetSelectColor(RGB(128, 128, 128));
    EXPECT_EQ(wheel.GetHue(), 0);
    EXPECT_EQ(wheel.GetSaturation(), 0);
    EXPECT_EQ(wheel.GetLightness(), 100);
    Render(wheel, surface, kBackground);
    const uint32_t saturated = surface.Rgb(192, 130);  // hue 0: red
    EXPECT_GT(hvui_test::RedOf(saturated), 200);
    EXPECT_LT(hvui_test::GreenOf(saturated), 60);
    EXPECT_LT(hvui_test::BlueOf(saturated), 60);
}

TEST(CirclePaletteConversions, KnownColoursConvertBothWays) {
    struct Case {
        COLORREF rgb;
        int hue, saturation, lightness;  // stored: degrees, 0..200, 0..200
    };
    const Case cases[] = {
        {RGB(255, 0, 0), 0, 200, 100},     {RGB(0, 255, 0), 120, 200, 100},   {RGB(0, 0, 255), 240, 200, 100},
        {RGB(255, 255, 0), 59, 200, 100},  // 0.1666… × 360 truncates to 59  {RGB(0, 255, 255), 180, 200, 100}, {RGB(255, 0, 255), 300, 200, 100},
        {RGB(255, 255, 255), 0, 0, 200},   {RGB(0, 0, 0), 0, 0, 0},           {RGB(128, 128, 128), 0, 0, 100},
        {RGB(255, 128, 0), 30, 200, 100},  {RGB(102, 153, 204), 210, 100, 120}, {RGB(200, 100, 50), 20, 120, 98},
    };
    for (const Case& c : cases) {
        CirclePalette wheel(nullptr, 1, CRect(0, 0, 130, 130), 1, 1);
        wheel.SetSelectColor(c.rgb);
        EXPECT_EQ(wheel.GetHue(), c.hue) << std::hex << c.rgb;
        EXPECT_EQ(wheel.GetSaturation(), c.saturation) << std::hex << c.rgb;
        EXPECT_EQ(wheel.GetLightness(), c.lightness) << std::hex << c.rgb;
    }
    struct Back {
        double h, s, l;
        COLORREF rgb;
    };
    // Bytes truncate: 0.25 × 255 = 63.75 gives 63, 0.75 × 255 = 191.25 gives 191.
    const Back backs[] = {
        {0.0, 1.0, 0.5, RGB(255, 0, 0)}, {1.0 / 3.0, 1.0, 0.5, RGB(0, 255, 0)}, {0.5, 0.5, 0.5, RGB(63, 191, 191)},
        {0.0, 0.0, 0.5, RGB(127, 127, 127)}, {0.0, 0.0, 1.0, RGB(255, 255, 255)}, {2.0 / 3.0, 1.0, 0.25, RGB(0, 0, 127)},
    };
    for (const Back& b : backs)
        EXPECT_EQ(CirclePalette::HSLToRGB(b.h, b.s, b.l), b.rgb) << b.h << " " << b.s << " " << b.l;
}

TEST(CirclePaletteSkin, TheProgramsWheelPictureGivesAColourEverywhereInTheRing) {
    RepaintingParent parent;
    PaintManager manager;
    CirclePalette wheel(&parent, 71, CRect(0, 0, 131, 131), 1, 1);
    wheel.SetManager(&manager);
    ASSERT_EQ(wheel.SetImage(L"img_circlepalette.png", 1), 1);
    PixelSurface surface(131, 131);
    Render(wheel, surface, 0xFF050505);
    // Right of the centre the ring is red-ish, at the bottom-left other hues.
    wheel.OnLButtonDown(MK_LBUTTON, CPoint(120, 65));
    const COLORREF right = wheel.GetSelectColor();
    wheel.OnMouseMove(MK_LBUTTON, CPoint(30, 100));
    const COLORREF lowerLeft = wheel.GetSelectColor();
    EXPECT_NE(right, 0u);
    EXPECT_NE(lowerLeft, 0u);
    EXPECT_NE(right, lowerLeft);
    EXPECT_NE(wheel.GetHue(), 180);
}

}  // namespace
