// Pictures, texts and areas rendered onto a known background.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "CArea.h"
#include "ControlsTestSupport.h"
#include "MPicture.h"
#include "MText.h"

using namespace controls_test;
using hvui_test::RecordingParent;

namespace {

const auto* const kGdiplus = ::testing::AddGlobalTestEnvironment(new hvui_test::GdiplusEnvironment);

// 40 × 20: four bands of 10 columns, red, green, blue, yellow. Loaded with a
// count of 2, the first frame is red | green.
const wchar_t* FourBands() { return StripFile(L"bands4.png", 40, 20, {kRed, kGreen, kBlue, kYellow}); }

struct PictureCase {
    const char* what;
    enumShowMode mode;
    CRect control;
    struct Probe {
        int x, y;
        uint32_t rgb;
    };
    std::vector<Probe> probes;
};

}  // namespace

TEST(MPicture, PlacesTheFirstFrameByShowMode) {
    const PictureCase cases[] = {
        {"normal, centred: 20 × 20 in the middle of 60 × 40", ShowNormal, CRect(0, 0, 60, 40),
         {{25, 20, Rgb(kRed)}, {35, 20, Rgb(kGreen)}, {15, 20, kBackground}, {45, 20, kBackground},
          {25, 5, kBackground}}},
        {"stretch: red over the left half, green over the right", ShowStretch, CRect(0, 0, 60, 40),
         {{5, 5, Rgb(kRed)}, {25, 35, Rgb(kRed)}, {35, 5, Rgb(kGreen)}, {55, 35, Rgb(kGreen)}}},
        {"tile: a grid from the corner, clipped tiles show their top-left part", ShowTile, CRect(0, 0, 50, 30),
         {{5, 5, Rgb(kRed)}, {15, 5, Rgb(kGreen)}, {25, 25, Rgb(kRed)}, {45, 5, Rgb(kRed)}, {45, 25, Rgb(kRed)}}},
        {"frame: the borders keep their columns", ShowFrame, CRect(0, 0, 60, 40),
         {{1, 20, Rgb(kRed)}, {58, 20, Rgb(kGreen)}, {1, 1, Rgb(kRed)}, {58, 38, Rgb(kGreen)}}},
        {"offset control: drawn at its own position", ShowStretch, CRect(10, 10, 70, 50),
         {{5, 5, kBackground}, {15, 15, Rgb(kRed)}, {65, 45, Rgb(kGreen)}}},
    };
    for (const PictureCase& c : cases) {
        SCOPED_TRACE(c.what);
        MPicture picture(nullptr, 1, c.control, 1, 1);
        ASSERT_EQ(picture.SetImage(FourBands(), 2), 1);
        picture.SetAlignment(1, 4);
        picture.SetShowMode(c.mode, MPicture::kDefaultFrameBorder);
        PixelSurface surface(80, 60);
        Render(picture, surface);
        for (const auto& probe : c.probes)
            EXPECT_PRED3(Near, surface.Rgb(probe.x, probe.y), probe.rgb, 3) << "at " << probe.x << "," << probe.y;
    }
}

// A one-colour picture sliced into nine and stretched shows that colour on
// every pixel: no seam where two pieces meet lets the background through.
TEST(MPicture, SlicedPicturesHaveNoSeams) {
    const wchar_t* plain = StripFile(L"plain1.png", 24, 24, {kBlue});
    for (enumShowMode mode : {ShowFrame, ShowFrameMID}) {
        SCOPED_TRACE(mode);
        MPicture picture(nullptr, 1, CRect(0, 0, 100, 60), 1, 1);
        ASSERT_EQ(picture.SetImage(plain, 1), 1);
        if (mode == ShowFrameMID) picture.SetShowModeMID(8, 7, 9, 6);
        else picture.SetShowMode(ShowFrame, 8);
        PixelSurface surface(100, 60);
        Render(picture, surface);
        int off = 0;
        for (int y = 0; y < 60; ++y)
            for (int x = 0; x < 100; ++x)
                if (!Near(surface.Rgb(x, y), Rgb(kBlue), 3)) ++off;
        EXPECT_EQ(off, 0);
    }
}

TEST(MPicture, CustomRectangleReachesBeyondTheFirstFrame) {
    MPicture picture(nullptr, 1, CRect(0, 0, 30, 30), 1, 1);
    ASSERT_EQ(picture.SetImage(FourBands(), 2), 1);
    picture.SetCustomRect(CRect(20, 0, 30, 20));  // the blue band
    picture.SetShowMode(ShowCustomRect, 4);
    PixelSurface surface(30, 30);
    Render(picture, surface);
    EXPECT_PRED3(Near, surface.Rgb(2, 2), Rgb(kBlue), 3);
    EXPECT_PRED3(Near, surface.Rgb(27, 27), Rgb(kBlue), 3);
}

TEST(MPicture, NormalModeClipsALargerImageOnBothSides) {
    // 40 × 20 with count 1 centred in 20 × 20: starts at x = −10.
    MPicture picture(nullptr, 1, CRect(0, 0, 20, 20), 1, 1);
    ASSERT_EQ(picture.SetImage(FourBands(), 1), 1);
    picture.SetAlignment(1, 4);
    PixelSurface surface(40, 20);
    Render(picture, surface);
    EXPECT_PRED3(Near, surface.Rgb(5, 10), Rgb(kGreen), 3);
    EXPECT_PRED3(Near, surface.Rgb(15, 10), Rgb(kBlue), 3);
    EXPECT_PRED3(Near, surface.Rgb(25, 10), kBackground, 0);
}

TEST(MPicture, AFailedLoadShowsOnlyTheBackgroundAndKeepsTheFrameSize) {
    RecordingParent parent;
    MPicture picture(&parent, 1, CRect(0, 0, 30, 30), 1, 1);
    ASSERT_EQ(picture.SetImage(FourBands(), 2), 1);
    parent.updates.clear();
    EXPECT_EQ(picture.SetImage(L"controls1\\missing.png", 3), 0);
    ASSERT_EQ(parent.updates.size(), 1u);
    EXPECT_EQ(parent.updates[0].code, 1);
    EXPECT_EQ(picture.GetImageSize().cx, 20);
    for (enumShowMode mode : {ShowNormal, ShowTile, ShowStretch, ShowFrame, ShowFrameMID, ShowCustomRect}) {
        picture.SetShowMode(mode, 4);
        PixelSurface surface(30, 30);
        Render(picture, surface);
        EXPECT_EQ(surface.Rgb(15, 15), kBackground) << "mode " << mode;
    }
}

TEST(MPicture, SetShowModeAnswersWhetherAnythingChanged) {
    RecordingParent parent;
    MPicture picture(&parent, 1, CRect(0, 0, 30, 30), 1, 1);
    struct Step {
        enumShowMode mode;
        int border;
        int answer;
        int storedBorder;
    };
    const Step steps[] = {
        {ShowNormal, 6, 0, 4},  // unchanged mode that is not ShowFrame: border untouched
        {ShowFrame, 4, 1, 4},
        {ShowFrame, 4, 0, 4},
        {ShowFrame, 6, 1, 6},
        {ShowStretch, 9, 1, 9},
    };
    for (const Step& step : steps) {
        const size_t before = parent.updates.size();
        EXPECT_EQ(picture.SetShowMode(step.mode, step.border), step.answer);
        EXPECT_EQ(picture.GetFrameBorder(), step.storedBorder);
        EXPECT_EQ(parent.updates.size() - before, static_cast<size_t>(step.answer));
    }
    EXPECT_EQ(picture.SetShowModeMID(1, 2, 3, 4), 1);
    EXPECT_EQ(picture.GetShowMode(), ShowFrameMID);
}

TEST(MPicture, RealSkinModeDialKeepsItsSize) {
    MPicture picture(nullptr, 1, CRect(0, 0, 395, 395), 1, 1);
    ASSERT_EQ(picture.SetImage(L"img_permode3.png", 1), 1);
    EXPECT_EQ(picture.GetImageSize().cx, 395);
    EXPECT_EQ(picture.GetImageSize().cy, 395);
}

// ---- MText ---------------------------------------------------------------------------

TEST(MText, IsCreatedDisabledAndSwallowsTheWheel) {
    MText text(nullptr, 1, CRect(0, 0, 100, 20), L"x", 1);
    EXPECT_EQ(text.IsEnabled(), 0);
    EXPECT_EQ(text.GetVirtualHeight(), 0);
}

TEST(MText, AlignmentPlacesTheInk) {
    struct Case {
        unsigned hAlign, vAlign;
        bool inkLeft, inkRight, inkTop, inkBottom;  // which thirds hold ink
    };
    const Case cases[] = {
        {0, 0, true, false, true, false},
        {2, 8, false, true, false, true},
        {1, 4, false, false, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "alignment " << c.hAlign << "/" << c.vAlign);
        MText text(nullptr, 1, CRect(0, 0, 240, 90), L"Wg", 1);
        text.SetTextColor(Gdiplus::Color(0xFFFFFFFF));
        text.SetFontWidth(20);
        text.SetAlignment(c.hAlign, c.vAlign);
        PixelSurface surface(240, 90);
        Render(text, surface);
        EXPECT_EQ(FindInk(surface, CRect(0, 0, 80, 90), kBackground).count > 0, c.inkLeft);
        EXPECT_EQ(FindInk(surface, CRect(160, 0, 240, 90), kBackground).count > 0, c.inkRight);
        EXPECT_EQ(FindInk(surface, CRect(0, 0, 240, 30), kBackground).count > 0, c.inkTop);
        EXPECT_EQ(FindInk(surface, CRect(0, 60, 240, 90), kBackground).count > 0, c.inkBottom);
        EXPECT_GT(FindInk(surface, CRect(0, 0, 240, 90), kBackground).count, 20);
    }
}

TEST(MText, MultiLineWithVCentreForcesCentring) {
    MText text(nullptr, 1, CRect(0, 0, 200, 90), L"Wg", 1);
    text.SetTextColor(Gdiplus::Color(0xFFFFFFFF));
    text.SetAlignment(0, 0);
    text.EnableMultiLine(1);
    text.EnableVCenter(1);
    PixelSurface surface(200, 90);
    Render(text, surface);
    EXPECT_EQ(FindInk(surface, CRect(0, 0, 200, 25), kBackground).count, 0);
    EXPECT_GT(FindInk(surface, CRect(0, 30, 200, 60), kBackground).count, 0);
}

TEST(MText, EmptyTitleDrawsOnlyItsBackground) {
    RecordingParent parent;
    MText text(&parent, 1, CRect(0, 0, 50, 20), L"", 1);
    text.EnableTextBack(1, Gdiplus::Color(kGreen));
    text.EnableTextBack(1, Gdiplus::Color(kRed));  // unchanged switch: colour kept
    EXPECT_EQ(parent.updates.size(), 2u);
    PixelSurface surface(50, 20);
    Render(text, surface);
    EXPECT_PRED3(Near, surface.Rgb(25, 10), Rgb(kGreen), 1);
    EXPECT_PRED3(Near, surface.Rgb(1, 1), Rgb(kGreen), 1);
}

TEST(MText, TextGrowsWithTheFrameworkScale) {
    auto inkWidth = [](float scale) {
        Manager::SetScaleValue(scale);
        MText text(nullptr, 1, CRect(0, 0, 300, 80), L"WWW", 1);
        text.SetTextColor(Gdiplus::Color(0xFFFFFFFF));
        PixelSurface surface(300, 80);
        Render(text, surface);
        const InkExtent ink = FindInk(surface, CRect(0, 0, 300, 80), kBackground);
        return ink.right - ink.left;
    };
    const int normal = inkWidth(1.0f);
    const int scaled = inkWidth(1.5f);
    Manager::SetScaleValue(1.0f);
    EXPECT_GT(scaled, normal + normal / 4);
}

// ---- CArea ----------------------------------------------------------------------------

TEST(CArea, SolidFillIsTheColourAtAlpha254) {
    CArea area(nullptr, 1, CRect(0, 0, 40, 20), 1, 1);
    area.SetTransparent(0, 0, RGB(0x20, 0xC0, 0x60));
    PixelSurface surface(40, 20);
    Render(area, surface);
    EXPECT_PRED3(Near, surface.Rgb(0, 0), 0x20C060u, 2);
    EXPECT_PRED3(Near, surface.Rgb(39, 19), 0x20C060u, 2);
}

TEST(CArea, TransparencyRampsRowByRow) {
    // The fill itself has alpha 254, so full opacity reads 253.
    struct Case {
        int start, end;
        int firstAlpha, lastAlphaAtMost, lastAlphaAtLeast;
    };
    const Case cases[] = {
        {40, 40, 152, 153, 150},
        {0, 100, 253, 30, 0},
        {80, 80, 51, 52, 49},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.start << " → " << c.end);
        CArea area(nullptr, 1, CRect(0, 0, 10, 100), 1, 1);
        area.SetTransparent(c.start, c.end, RGB(255, 255, 255));
        PixelSurface surface(10, 100);
        surface.Fill(0xFF000000);
        HDC& dc = surface.DC();
        area.Draw(dc, CRect(0, 0, 10, 100));
        // White over black: the red channel is the row's opacity.
        const int first = hvui_test::RedOf(surface.Rgb(5, 0));
        const int last = hvui_test::RedOf(surface.Rgb(5, 99));
        EXPECT_NEAR(first, c.firstAlpha, 2);
        EXPECT_LE(last, c.lastAlphaAtMost);
        EXPECT_GE(last, c.lastAlphaAtLeast);
    }
}

TEST(CArea, FrameShowsOnlyOnASolidFill) {
    CArea area(nullptr, 1, CRect(0, 0, 20, 20), 1, 1);
    area.SetFrame(1, Gdiplus::Color(0xFFFF0000), 1);
    area.SetTransparent(0, 0, RGB(0, 0, 255));
    PixelSurface surface(20, 20);
    Render(area, surface);
    EXPECT_PRED3(Near, surface.Rgb(0, 0), Rgb(kRed), 2);
    EXPECT_PRED3(Near, surface.Rgb(19, 19), Rgb(kRed), 2);
    EXPECT_PRED3(Near, surface.Rgb(10, 10), Rgb(kBlue), 2);

    area.SetTransparent(10, 10, RGB(0, 0, 255));
    area.SetUpdate(0, 0);  // what the paint manager does on the redraw request
    Render(area, surface);
    EXPECT_LT(hvui_test::RedOf(surface.Rgb(0, 0)), 0x40) << "no red frame over a ramp";
}

// ---- setters from another thread ---------------------------------------------------------

TEST(WorkerSetters, PicturesTextsAndAreasChangeWhileTheyArePainted) {
    // The worker sets read-outs while the UI thread paints them: a parent
    // that marks the control stale on every request, as the paint manager does.
    struct StaleParent : MObject {
        LRESULT OnControlUpdate(CRect, int code, MControl* control) override {
            if (code) control->SetUpdate(0, 0);
            return 0;
        }
    } parent;
    MPicture picture(&parent, 1, CRect(0, 0, 40, 20), 1, 1);
    MText text(&parent, 2, CRect(0, 20, 200, 50), L"0 RPM", 1);
    CArea area(&parent, 3, CRect(0, 50, 40, 70), 1, 1);
    const wchar_t* images[] = {FourBands(), L"img_permode1.png"};
    std::atomic<bool> done{false};
    std::thread worker([&] {
        for (int i = 0; i < 300; ++i) {
            picture.SetImage(images[i % 2], 2);
            wchar_t value[32];
            swprintf(value, 32, L"%d RPM", i * 7);
            text.SetTitle(value);
            area.SetTransparent(i % 50, 0, RGB(i, 0, 0));
        }
        done = true;
    });
    PixelSurface surface(200, 70);
    int paints = 0;
    while (!done || paints < 10) {
        Render(picture, surface);
        Render(text, surface);
        Render(area, surface);
        ++paints;
    }
    worker.join();
    text.SetUpdate(0, 0);
    Render(text, surface);
    EXPECT_STREQ(text.GetTitle(), L"2093 RPM");
    EXPECT_GT(FindInk(surface, CRect(0, 20, 200, 50), kBackground).count, 0);
}
