#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <thread>

#include "CHardwareInfo.h"
#include "CHardwareInfo2.h"
#include "ControlsTestSupport.h"

using namespace controls_test;
using namespace Gdiplus;

namespace {

const auto* const kGdiplus = ::testing::AddGlobalTestEnvironment(new hvui_test::GdiplusEnvironment);

constexpr uint32_t kBackground = 0xFF101418;
constexpr double kPi = 3.14159265358979323846;
constexpr int kCentre = 75;       // of both rings
constexpr double kArcRadius = 38.0;
constexpr double kDashPeriod = 13.8;  // 10.8 on, 3 off

uint32_t SelectColour() { return Rgb(Manager::GetSelectColor().GetValue()); }

// The pixel on the progress ring s pixels along the arc from the top, clockwise.
CPoint OnArc(double s) {
    const double angle = s / kArcRadius;
    return CPoint(static_cast<int>(std::lround(kCentre + kArcRadius * std::sin(angle))),
                  static_cast<int>(std::lround(kCentre - kArcRadius * std::cos(angle))));
}

// The same text drawn the way a gauge draws it, over the same background.
void DrawReference(PixelSurface& surface, const wchar_t* text, float size, ARGB colour, RectF box, bool centred) {
    Graphics graphics(surface.DC());
    graphics.SetSmoothingMode(SmoothingModeHighQuality);
    graphics.SetTextRenderingHint(TextRenderingHintClearTypeGridFit);
    FontFamily family(L"Segoe UI");
    Font font(&family, size, FontStyleRegular, UnitPixel);
    StringFormat format(centred ? StringFormatFlagsNoWrap : 0);
    format.SetAlignment(centred ? StringAlignmentCenter : StringAlignmentNear);
    format.SetLineAlignment(centred ? StringAlignmentCenter : StringAlignmentNear);
    SolidBrush brush{Color(colour)};
    graphics.DrawString(text, -1, &font, box, &format, &brush);
}

// Pixels within radius of the ring centre that differ between two surfaces.
int DifferencesInRing(PixelSurface& a, PixelSurface& b, int radius) {
    int differences = 0;
    for (int y = kCentre - radius; y <= kCentre + radius; ++y)
        for (int x = kCentre - radius; x <= kCentre + radius; ++x) {
            const int dx = x - kCentre, dy = y - kCentre;
            if (dx * dx + dy * dy < radius * radius) differences += Distance(a.Rgb(x, y), b.Rgb(x, y)) > 2 ? 1 : 0;
        }
    return differences;
}

struct RingGauge : ::testing::Test {
    RepaintingParent parent;
    PaintManager manager;
    CHardwareInfo gauge{&parent, 50, CRect(0, 0, 343, 155), 1, 1};
    PixelSurface surface{343, 155};
    PixelSurface reference{343, 155};
    void SetUp() override { gauge.SetManager(&manager); }
    void TearDown() override { Manager::SetScaleValue(1.0f); }
};

TEST_F(RingGauge, PercentTextAndArcLengthFollowTheValue) {
    struct Case {
        float value;
        const wchar_t* text;
        double arcEnd;  // pixels along the arc
    };
    const double circumference = 2.0 * kPi * kArcRadius;
    const Case cases[] = {
        {0.0f, L"0%", 0.0}, {1.0f, L"1%", circumference / 100.0}, {50.0f, L"50%", circumference / 2.0},
        {100.0f, L"100%", circumference}, {37.9f, L"37%", circumference * 0.379},
    };
    for (const Case& c : cases) {
        gauge.SetHardwareInfoValue(c.value);
        Render(gauge, surface, kBackground);
        // The dark track ring is always whole.
        for (double s : {0.0, 60.0, 120.0, 180.0}) {
            const double angle = s / 45.0;
            const int x = static_cast<int>(std::lround(kCentre + 45.0 * std::sin(angle)));
            const int y = static_cast<int>(std::lround(kCentre - 45.0 * std::cos(angle)));
            EXPECT_TRUE(Near(surface.Rgb(x, y), 0x3A5687, 12)) << c.value << " track at " << s;
        }
        // Dash middles before the end of the arc carry the select colour,
        // those after it do not.
        for (int k = 0; k < 18; ++k) {
            const double middle = kDashPeriod * k + 5.4;
            if (middle > circumference) break;
            const CPoint p = OnArc(middle);
            if (middle < c.arcEnd - 2.0) {
                EXPECT_TRUE(Near(surface.Rgb(p.x, p.y), SelectColour(), 40)) << c.value << " dash " << k;
            } else if (middle > c.arcEnd + 2.0) {
                EXPECT_FALSE(Near(surface.Rgb(p.x, p.y), SelectColour(), 80)) << c.value << " dash " << k;
            }
        }
        // Gaps of 3 pixels between the dashes.
        if (c.value >= 50.0f) {
            EXPECT_FALSE(Near(surface.Rgb(OnArc(12.3).x, OnArc(12.3).y), SelectColour(), 80));
        }
        // The number, the only thing inside the inner ring.
        reference.Fill(kBackground);
        DrawReference(reference, c.text, 28.0f, 0xFF0084FF, RectF(30, 30, 90, 90), true);
        EXPECT_EQ(DifferencesInRing(surface, reference, 31), 0) << c.value;
    }
    // A small arc ends where it should: 1 % is 2.4 pixels long.
    gauge.SetHardwareInfoValue(1.0f);
    Render(gauge, surface, kBackground);
    EXPECT_TRUE(Near(surface.Rgb(76, 37), SelectColour(), 60));
    EXPECT_FALSE(Near(surface.Rgb(OnArc(6.0).x, OnArc(6.0).y), SelectColour(), 80));
}

TEST_F(RingGauge, TheNumberCatchesAWrongText) {
    gauge.SetHardwareInfoValue(50.0f);
    Render(gauge, surface, kBackground);
    reference.Fill(kBackground);
    DrawReference(reference, L"51%", 28.0f, 0xFF0084FF, RectF(30, 30, 90, 90), true);
    EXPECT_GT(DifferencesInRing(surface, reference, 31), 10);
}

TEST_F(RingGauge, OnlyTheNumberBoxHeightFollowsTheScaleFactor) {
    Manager::SetScaleValue(1.5f);
    gauge.SetHardwareInfoValue(20.0f);
    Render(gauge, surface, kBackground);
    reference.Fill(kBackground);
    DrawReference(reference, L"20%", 28.0f, 0xFF0084FF, RectF(30, 30, 90, 135), true);
    // The box grew downward, so the number sits 22.5 pixels lower, below the ring's middle.
    EXPECT_EQ(CountDifferences(surface, reference, 55, 60, 40, 48, 2), 0);
    EXPECT_GT(CountInk(surface, 55, 95, 40, 10, Rgb(kBackground)), 20);
    EXPECT_TRUE(Near(surface.Rgb(kCentre, 30), 0x3A5687, 12));  // the rings keep their pixels
}

TEST_F(RingGauge, CaptionAndValueTextSitRightOfTheRing) {
    gauge.SetHardwareInfo(L"CPU", L"47\u00B0C");
    Render(gauge, surface, kBackground);
    reference.Fill(kBackground);
    DrawReference(reference, L"47\u00B0C", 28.0f, 0xFF0084FF, RectF(140, 85, 200, 60), false);
    DrawReference(reference, L"CPU", 16.0f, 0xFFC8C8C8, RectF(140, 25, 160, 70), false);
    EXPECT_EQ(CountDifferences(surface, reference, 130, 20, 213, 130, 2), 0);
    EXPECT_GT(CountInk(surface, 140, 25, 60, 20, Rgb(kBackground)), 30);
    EXPECT_GT(CountInk(surface, 140, 85, 60, 30, Rgb(kBackground)), 30);
}

TEST_F(RingGauge, ChangingTheTextsRepaintsWithoutTouchingTheRing) {
    gauge.SetHardwareInfoValue(50.0f);
    gauge.SetHardwareInfo(L"GPU", L"40\u00B0C");
    Render(gauge, surface, kBackground);
    reference.Fill(kBackground);
    HDC& dc = reference.DC();
    BitBlt(dc, 0, 0, 343, 155, surface.DC(), 0, 0, SRCCOPY);
    parent.updates.clear();
    gauge.SetHardwareInfo(L"GPU", L"41\u00B0C");
    ASSERT_EQ(parent.updates.size(), 1u);
    EXPECT_EQ(parent.updates[0].code, 1);
    gauge.SetHardwareInfo(L"GPU", L"41\u00B0C");  // nothing new: no request
    EXPECT_EQ(parent.updates.size(), 1u);
    Render(gauge, surface, kBackground);
    EXPECT_EQ(CountDifferences(surface, reference, 0, 0, 130, 155), 0);      // ring and number
    EXPECT_GT(CountDifferences(surface, reference, 140, 85, 200, 60), 10);  // the value text
}

TEST_F(RingGauge, ThePictureIsStretchedOverTheWholeGauge) {
    const wchar_t* card = WriteSkinPng(L"controls2\\card.png", 40, 20, [](int, int) { return 0xFF203040; });
    ASSERT_EQ(gauge.SetImage(card, 1), 1);
    Render(gauge, surface, kBackground);
    EXPECT_TRUE(Near(surface.Rgb(300, 140), 0x203040, 4));
    EXPECT_TRUE(Near(surface.Rgb(10, 10), 0x203040, 4));
}

TEST_F(RingGauge, TheProgramsCardPictureLoads) {
    ASSERT_EQ(gauge.SetImage(L"img_systemmode_bkg.png", 1), 1);
    EXPECT_EQ(gauge.GetImageSize(), CSize(343, 155));
    gauge.SetHardwareInfoValue(64.0f);
    Render(gauge, surface, 0xFF000000);
    EXPECT_TRUE(Near(surface.Rgb(kCentre, 30), 0x3A5687, 12));
    EXPECT_TRUE(Near(surface.Rgb(OnArc(5.4).x, OnArc(5.4).y), SelectColour(), 40));
}

TEST(RingGaugeMemory, MemoryUseBecomesAPercentage) {
    CHardwareInfo gauge(nullptr, 53, CRect(0, 0, 343, 155), 1, 1);
    gauge.SetMemoryUsed(12.0f, 4.0f);
    EXPECT_FLOAT_EQ(gauge.GetHardwareInfo().value, 25.0f);
    gauge.SetMemoryUsed(0.0f, 0.0f);  // nothing known yet
    EXPECT_FLOAT_EQ(gauge.GetHardwareInfo().value, 0.0f);
}

// ---- the fan gauge ----------------------------------------------------------------------------

struct FanGauge : ::testing::Test {
    static constexpr int kPicture = 90;
    static constexpr uint32_t kBar = 0x2A48B9;
    RepaintingParent parent;
    PaintManager manager;
    CHardwareInfo2 gauge{&parent, 48, CRect(0, 0, 480, 98), 1, 1};
    PixelSurface surface{480, 98};
    void SetUp() override {
        gauge.SetManager(&manager);
        const wchar_t* fan = WriteSkinPng(L"controls2\\fan.png", kPicture, kPicture, [](int, int) { return 0xFF406040; });
        ASSERT_EQ(gauge.SetImage(fan, 1), 1);
        gauge.SetHardwareInfo(L"CPU", L"2400r/min(55%)");
    }
    bool Filled(int x) { return Near(surface.Rgb(x, 70), kBar, 8); }
};

TEST_F(FanGauge, SegmentsFollowTheValue) {
    struct Case {
        float value;
        int full;
        int rest;
    };
    // L = trunc(value / 100 × 256): L / 12 segments of 10 and one of min(L mod 12, 10).
    const Case cases[] = {{1.5f, 0, 3}, {50.0f, 10, 8}, {100.0f, 21, 4}, {37.0f, 7, 10}};
    const int left = kPicture + 12;
    for (const Case& c : cases) {
        gauge.SetHardwareInfoValue(c.value);
        Render(gauge, surface, kBackground);
        for (int k = 0; k < c.full; ++k) {
            EXPECT_TRUE(Filled(left + 12 * k + 1) && Filled(left + 12 * k + 8)) << c.value << " segment " << k;
            EXPECT_FALSE(Filled(left + 12 * k + 11)) << c.value << " gap " << k;
        }
        const int last = left + 12 * c.full;
        if (c.rest > 0) {
            EXPECT_TRUE(Filled(last + c.rest - 1)) << c.value;
        }
        EXPECT_FALSE(Filled(last + c.rest + 1)) << c.value;
        EXPECT_GT(Distance(surface.Rgb(kPicture + 10, 70), Rgb(kBackground)), 30) << "frame";
    }
}

TEST_F(FanGauge, AtOnePercentOrLessOnlyTheCaptionAndAnEmptyFrameShow) {
    struct Case {
        float value;
        bool valueText;
    };
    const Case cases[] = {{1.0f, false}, {0.0f, false}, {-5.0f, false}, {1.5f, true}, {80.0f, true}};
    for (const Case& c : cases) {
        gauge.SetHardwareInfoValue(c.value);
        Render(gauge, surface, kBackground);
        EXPECT_EQ(CountInk(surface, 280, 10, 200, 30, Rgb(kBackground)) > 20, c.valueText) << c.value;
        EXPECT_GT(CountInk(surface, kPicture + 10, 10, 60, 30, Rgb(kBackground)), 20) << c.value;
        EXPECT_TRUE(Near(surface.Rgb(20, 20), 0x406040, 4));  // the picture at natural size
        if (!c.valueText) {
            EXPECT_FALSE(Filled(kPicture + 13)) << c.value;
        }
    }
}

TEST_F(FanGauge, ValuesPastOneHundredRunOnBeyondTheFrame) {
    gauge.SetHardwareInfoValue(120.0f);  // L = 307: 25 segments and 7
    Render(gauge, surface, kBackground);
    EXPECT_TRUE(Filled(kPicture + 12 + 12 * 24 + 5));
    EXPECT_TRUE(Filled(kPicture + 12 + 12 * 25 + 6));
    gauge.SetHardwareInfoValue(3.0e30f);  // a wild reading draws to the edge and ends
    Render(gauge, surface, kBackground);
    EXPECT_TRUE(Filled(470));
}

TEST(FanGaugeSkin, TheProgramsFanPictureLoads) {
    PaintManager manager;
    CHardwareInfo2 gauge(nullptr, 49, CRect(0, 0, 400, 98), 1, 1);
    gauge.SetManager(&manager);
    ASSERT_EQ(gauge.SetImage(L"img_fan.png", 1), 1);
    EXPECT_EQ(gauge.GetImageSize(), CSize(90, 90));
}

// ---- threads -------------------------------------------------------------------------------------

// The worker feeds the gauges while the UI thread paints them: every frame
// shows caption and value text of one reading, and no GDI object is left.
TEST(GaugeThreads, WorkerUpdatesWhilePaintingKeepEachFramesTextsTogether) {
    PaintManager manager;
    RepaintingParent parent;
    CHardwareInfo ring(&parent, 50, CRect(0, 0, 343, 155), 1, 1);
    ring.SetManager(&manager);
    PixelSurface surface(343, 155);
    PixelSurface expected(343, 155);
    // Reference pictures of the caption and value boxes for readings 0 and 1.
    std::vector<std::vector<uint32_t>> references;
    auto boxes = [](PixelSurface& s) {
        std::vector<uint32_t> pixels;
        for (int y = 25; y < 145; ++y)
            for (int x = 140; x < 343; ++x) pixels.push_back(s.Rgb(x, y));
        return pixels;
    };
    for (int k = 0; k < 2; ++k) {
        CHardwareInfo still(nullptr, 1, CRect(0, 0, 343, 155), 1, 1);
        still.SetManager(&manager);
        still.SetHardwareInfo(k ? L"Reading B" : L"Reading A", k ? L"B B B" : L"A A A");
        Render(still, expected, kBackground);
        references.push_back(boxes(expected));
    }
    ring.SetHardwareInfo(L"Reading A", L"A A A");
    Render(ring, surface, kBackground);  // warm the caches before counting
    const int gdiBefore = hvui_test::CountGdiObjects();

    std::atomic<bool> stop{false};
    std::thread worker([&] {
        for (int k = 0; !stop; k ^= 1) {
            ring.SetHardwareInfo(k ? L"Reading B" : L"Reading A", k ? L"B B B" : L"A A A");
            ring.SetHardwareInfoValue(static_cast<float>(k * 50));
        }
    });
    int torn = 0;
    const DWORD start = GetTickCount();
    int frames = 0;
    while (GetTickCount() - start < 1500) {
        ring.SetUpdate(0, 0);
        Render(ring, surface, kBackground);
        const auto seen = boxes(surface);
        if (seen != references[0] && seen != references[1]) ++torn;
        ++frames;
    }
    stop = true;
    worker.join();
    EXPECT_EQ(torn, 0) << "of " << frames << " frames";
    EXPECT_GT(frames, 5);
    EXPECT_EQ(hvui_test::CountGdiObjects(), gdiBefore);
}

}  // namespace
