#include <gtest/gtest.h>

#include "ControlsTestSupport.h"
#include "MProgress.h"

using namespace controls_test;
using namespace Gdiplus;

namespace {

constexpr uint32_t kBackground = 0xFF303030;
constexpr ARGB kEmptyFrame = 0xFF2020E0;
constexpr ARGB kFilledFrame = 0xFFE02020;

struct ProgressFixture : ::testing::Test {
    RepaintingParent parent;
    PaintManager manager;  // outlives the bar, which forgets itself in it
    MProgress bar{&parent, 33, CRect(0, 0, 300, 20), 1, 1};
    PixelSurface surface{300, 20};
    uint32_t Fill() const { return Rgb(Manager::GetSelectColor().GetValue()); }
};

TEST_F(ProgressFixture, StartsGreyCentredStoppedAndWithATwoFrameImage) {
    EXPECT_EQ(bar.GetTextColor().GetValue(), 0xFF808080u);
    EXPECT_EQ(bar.GetImageCount(), 2);  // the empty bar and the filled bar
    unsigned h = 0, v = 0;
    bar.GetAlignment(h, v);
    EXPECT_EQ(h, 1u);
    EXPECT_EQ(v, 4u);
    EXPECT_EQ(bar.GetMaxProgress(), 100);
    EXPECT_EQ(bar.IsRun(), 0);
}

TEST_F(ProgressFixture, ValuesAboveTheMaximumAreKeptAtIt) {
    struct Case {
        int set;
        int result;
    };
    const Case cases[] = {{40, 40}, {150, 100}, {-1, 100}, {100, 100}, {0, 0}};
    for (const Case& c : cases) EXPECT_EQ(bar.SetProgress(c.set), c.result) << "set " << c.set;
}

TEST_F(ProgressFixture, ADisabledBarIgnoresValuesAndTheRunningMode) {
    bar.SetProgress(30);
    bar.SetEnabled(0);
    parent.updates.clear();
    EXPECT_EQ(bar.SetProgress(60), 30);
    EXPECT_EQ(bar.SetRun(1, 10), 0);
    EXPECT_EQ(bar.GetProgress(), 30);
    EXPECT_TRUE(parent.updates.empty());
}

TEST_F(ProgressFixture, RunningStepsEveryThirdTickAndWrapsAtTheMaximum) {
    bar.SetRun(1, 98);
    std::vector<int> seen;
    std::vector<int> answers;
    for (int tick = 0; tick < 9; ++tick) {
        answers.push_back(bar.OnTimer());
        seen.push_back(bar.GetProgress());
    }
    EXPECT_EQ(seen, (std::vector<int>{98, 98, 99, 99, 99, 0, 0, 0, 1}));
    EXPECT_EQ(answers, (std::vector<int>{0, 0, 1, 0, 0, 1, 0, 0, 1}));
    EXPECT_EQ(bar.SetRun(0, 42), 0);
    EXPECT_EQ(bar.GetProgress(), 42);
    bar.OnTimer();
    bar.OnTimer();
    bar.OnTimer();
    EXPECT_EQ(bar.GetProgress(), 42);  // stopped
}

TEST_F(ProgressFixture, AnImagelessBarDrawsDashesUpToTheFilledWidth) {
    struct Case {
        int progress;
        std::vector<int> dashColumns;  // columns that carry the fill colour on row H − 2
        std::vector<int> clearColumns;
    };
    // F = 300 × progress / 100; dashes of 6 every 9 pixels, the last one cut.
    const Case cases[] = {
        {1, {0, 2}, {3, 5, 10}},
        {10, {0, 5, 9, 14, 18, 23, 27, 29}, {6, 8, 15, 24, 26, 30, 40}},
        {150, {0, 288, 293, 297, 299}, {294, 296}},  // kept at 100: full width
        {0, {}, {0, 5, 100}},
    };
    for (const Case& c : cases) {
        bar.SetProgress(c.progress);
        Render(bar, surface, kBackground);
        for (int x : c.dashColumns) EXPECT_TRUE(Near(surface.Rgb(x, 18), Fill())) << c.progress << " at " << x;
        for (int x : c.clearColumns) EXPECT_FALSE(Near(surface.Rgb(x, 18), Fill())) << c.progress << " at " << x;
        EXPECT_TRUE(Near(surface.Rgb(150, 5), Rgb(kBackground)));
    }
}

TEST_F(ProgressFixture, TheOwnStripShowsTheFilledFrameOverTheEmptyOne) {
    bar.SetManager(&manager);
    const wchar_t* strip = WriteSkinPng(L"controls2\\progress_strip.png", 80, 14,
                                        [](int x, int) { return x < 40 ? kEmptyFrame : kFilledFrame; });
    ASSERT_EQ(bar.SetImage(strip, 2), 1);
    bar.SetProgress(50);
    Render(bar, surface, kBackground);
    EXPECT_TRUE(Near(surface.Rgb(70, 7), Rgb(kFilledFrame)));
    EXPECT_TRUE(Near(surface.Rgb(220, 7), Rgb(kEmptyFrame)));
    EXPECT_TRUE(Near(surface.Rgb(150, 17), Rgb(kBackground)));  // below the 14-pixel strip
}

TEST_F(ProgressFixture, TheImagePairStretchesTheForegroundOverTheFilledPart) {
    bar.SetManager(&manager);
    const wchar_t* back = WriteSkinPng(L"controls2\\progress_back.png", 40, 20, [](int, int) { return kEmptyFrame; });
    const wchar_t* fore = WriteSkinPng(L"controls2\\progress_fore.png", 40, 20, [](int, int) { return kFilledFrame; });
    ASSERT_TRUE(bar.SetBackGroundImage(back));
    ASSERT_TRUE(bar.SetForeGroundImage(fore));
    EXPECT_FALSE(bar.SetForeGroundImage(L"controls2\\missing.png"));
    struct Case {
        int progress;
        int filledColumn, emptyColumn;
    };
    const Case cases[] = {{3, 4, 12}, {50, 140, 160}};  // F = 9 (under the margin) and 150
    for (const Case& c : cases) {
        bar.SetProgress(c.progress);
        Render(bar, surface, kBackground);
        EXPECT_TRUE(Near(surface.Rgb(c.filledColumn, 10), Rgb(kFilledFrame))) << c.progress;
        EXPECT_TRUE(Near(surface.Rgb(c.emptyColumn, 10), Rgb(kEmptyFrame))) << c.progress;
    }
}

TEST_F(ProgressFixture, ThePercentageTextIsDrawnOnlyWhenAskedFor) {
    bar.SetProgress(37);
    Render(bar, surface, kBackground);
    const int plain = CountInk(surface, 120, 0, 60, 15, Rgb(kBackground));
    bar.EnableShowText(1);
    bar.SetProgress(38);
    Render(bar, surface, kBackground);
    EXPECT_EQ(plain, 0);
    EXPECT_GT(CountInk(surface, 120, 0, 60, 15, Rgb(kBackground)), 20);
}

}  // namespace
