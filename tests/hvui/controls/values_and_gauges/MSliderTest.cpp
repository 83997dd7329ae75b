#include <gtest/gtest.h>

#include "ControlsTestSupport.h"
#include "MSlider.h"

using namespace controls_test;
using namespace Gdiplus;

namespace {

const auto* const kGdiplus = ::testing::AddGlobalTestEnvironment(new hvui_test::GdiplusEnvironment);

constexpr ARGB kFilled = 0xFFE02020;
constexpr ARGB kEmpty = 0xFF2020E0;
constexpr ARGB kThumb = 0xFF20E020;
constexpr ARGB kOtherFrames = 0xFFFFFFFF;
constexpr uint32_t kBackground = 0xFF101010;

// Track 200 × 16: upper half filled, lower half empty. Thumb strip of four
// 36 × 36 frames, frame 0 green.
const wchar_t* TrackImage() {
    return WriteSkinPng(L"controls2\\track.png", 200, 16, [](int, int y) { return y < 8 ? kFilled : kEmpty; });
}
const wchar_t* ThumbImage() {
    return WriteSkinPng(L"controls2\\thumb.png", 144, 36, [](int x, int) { return x < 36 ? kThumb : kOtherFrames; });
}

// A slider of width 236 with a 36-pixel thumb: a travel of 200.
struct SliderFixture : ::testing::Test {
    static constexpr int kLeft = 10;
    static constexpr int kTop = 20;
    RepaintingParent parent;
    PaintManager manager;  // outlives the slider, which forgets itself in it
    MSlider slider{&parent, 64, CRect(kLeft, kTop, kLeft + 236, kTop + 36), 1, 1};
    CPoint At(int dx) const { return CPoint(kLeft + dx, kTop + 18); }
    std::vector<WPARAM> ValuesReported() const {
        std::vector<WPARAM> values;
        for (const auto& n : parent.notifications)
            if (n.code == MSlider::kCodeValueChanging) values.push_back(n.wParam);
        return values;
    }
};

TEST_F(SliderFixture, APressMapsThePointerToAValue) {
    struct Case {
        int dx;
        int value;
    };
    // v = dx × (range + 1) / travel, limited to the range.
    const Case cases[] = {{100, 50}, {235, 100}, {199, 100}, {197, 99}, {-30, 0}, {1, 0}, {2, 1}};
    for (const Case& c : cases) {
        slider.SetProgress(c.value == 50 ? 0 : 50);
        slider.OnLButtonDown(MK_LBUTTON, At(c.dx));
        EXPECT_EQ(slider.GetProgress(), c.value) << "dx " << c.dx;
        slider.OnLButtonUp(0, At(c.dx));
    }
}

TEST_F(SliderFixture, AThumbFollowsTheValueAcrossTheTravel) {
    struct Case {
        int value;
        int offset;
    };
    const Case cases[] = {{0, 0}, {50, 100}, {100, 200}, {33, 66}};
    for (const Case& c : cases) {
        slider.SetProgress(c.value);
        EXPECT_EQ(slider.GetThumbRect(), CRect(kLeft + c.offset, kTop, kLeft + c.offset + 36, kTop + 36))
            << "value " << c.value;
    }
}

TEST_F(SliderFixture, ADragReportsEachNewValueAndCommitsOnceAtRelease) {
    slider.SetMaxProgress(4);
    slider.SetProgress(0);
    slider.OnLButtonDown(MK_LBUTTON, At(5));  // on the thumb
    EXPECT_EQ(slider.GetState(), MSlider::kDragging);
    for (int dx = 5; dx <= 260; dx += 5) slider.OnMouseMove(MK_LBUTTON, At(dx));  // well past the right end
    EXPECT_EQ(parent.Count(MSlider::kCodeCommitted), 0u);
    slider.OnLButtonUp(0, At(260));
    EXPECT_EQ(slider.GetProgress(), 4);
    EXPECT_EQ(ValuesReported(), (std::vector<WPARAM>{1, 2, 3, 4}));
    ASSERT_EQ(parent.Count(MSlider::kCodeCommitted), 1u);
    EXPECT_EQ(parent.notifications.back().code, 2u);
    EXPECT_EQ(parent.notifications.back().id, 64u);
    EXPECT_EQ(slider.GetState(), MSlider::kNormal);  // released off the thumb
}

TEST_F(SliderFixture, AWheelStepMovesByOneAndCommits) {
    slider.SetMaxProgress(9);
    slider.SetProgress(8);
    struct Step {
        unsigned direction;
        int value;
        size_t commits;
    };
    // Direction 1 (toward the user) lowers; no change at the ends, no commit.
    const Step steps[] = {{0, 9, 1}, {0, 9, 1}, {1, 8, 2}, {1, 7, 3}};
    for (const Step& s : steps) {
        EXPECT_EQ(slider.OnScroll(0, s.direction, At(50)), 1);
        EXPECT_EQ(slider.GetProgress(), s.value);
        EXPECT_EQ(parent.Count(MSlider::kCodeCommitted), s.commits);
    }
    EXPECT_TRUE(ValuesReported().empty());
}

TEST_F(SliderFixture, SettingTheValueFromCodeNeverNotifies) {
    struct Case {
        int set;
        int result;
        bool redraw;
    };
    const Case cases[] = {{40, 40, true}, {40, 40, false}, {-3, 40, false}, {250, 100, true}, {0, 0, true}};
    for (const Case& c : cases) {
        parent.updates.clear();
        EXPECT_EQ(slider.SetProgress(c.set), c.result) << "set " << c.set;
        EXPECT_EQ(parent.updates.empty(), !c.redraw) << "set " << c.set;
    }
    EXPECT_TRUE(parent.notifications.empty());
}

TEST_F(SliderFixture, ADisabledSliderIgnoresTheMouseAndTheWheel) {
    slider.SetEnabled(0);
    slider.OnLButtonDown(MK_LBUTTON, At(100));
    slider.OnLButtonUp(0, At(100));
    slider.OnScroll(0, 0, At(100));
    EXPECT_EQ(slider.GetProgress(), 0);
    EXPECT_TRUE(parent.notifications.empty());
}

TEST_F(SliderFixture, HoverStateFollowsTheThumb) {
    slider.OnMouseMove(0, At(10));
    EXPECT_EQ(slider.GetState(), MSlider::kHover);
    slider.OnMouseMove(0, At(120));
    EXPECT_EQ(slider.GetState(), MSlider::kNormal);
}

struct SliderPaint : SliderFixture {
    PixelSurface surface{300, 80};
    void SetUp() override {
        slider.SetManager(&manager);
        ASSERT_EQ(slider.SetImage(TrackImage(), 2), 1);
        ASSERT_EQ(slider.SetThumbImage(ThumbImage()), 1);
    }
    // A point of the control in surface coordinates.
    uint32_t Pixel(int x, int y) { return surface.Rgb(kLeft + x, kTop + y); }
};

TEST_F(SliderPaint, TrackIsFilledUpToTheThumbAndTheThumbDrawsFrameZero) {
    EXPECT_EQ(slider.GetImageSize(), CSize(200, 8));
    EXPECT_EQ(slider.GetImageCount(), 2);
    slider.SetProgress(50);  // thumb offset 100
    Render(slider, surface, kBackground);
    EXPECT_TRUE(Near(Pixel(18 + 40, 17), Rgb(kFilled)));
    EXPECT_TRUE(Near(Pixel(18 + 80, 17), Rgb(kFilled)));   // up to the thumb, which covers 100 to 135
    EXPECT_TRUE(Near(Pixel(18 + 150, 17), Rgb(kEmpty)));
    EXPECT_TRUE(Near(Pixel(100 + 18, 30), Rgb(kThumb)));   // the thumb, frame 0 only
    EXPECT_TRUE(Near(Pixel(5, 5), Rgb(kBackground)));      // above the track: what was under the control
    EXPECT_TRUE(Near(Pixel(18 + 150, 24), Rgb(kBackground)));
}

TEST_F(SliderPaint, ARangeOfNothingKeepsTheThumbLeftAndTheTrackEmpty) {
    slider.SetMaxProgress(0);
    slider.SetProgress(0);
    slider.SetRect(slider.GetRect());
    Render(slider, surface, kBackground);
    EXPECT_EQ(slider.GetThumbRect().left, kLeft);
    EXPECT_TRUE(Near(Pixel(18 + 40, 17), Rgb(kEmpty)));
    EXPECT_TRUE(Near(Pixel(18, 30), Rgb(kThumb)));
}

TEST_F(SliderPaint, ValueChangesRepaintTheCachedSurface) {
    slider.SetProgress(0);
    Render(slider, surface, kBackground);
    EXPECT_TRUE(Near(Pixel(18 + 150, 17), Rgb(kEmpty)));
    slider.SetProgress(100);
    Render(slider, surface, kBackground);
    EXPECT_TRUE(Near(Pixel(18 + 150, 17), Rgb(kFilled)));
}

TEST(MSliderSkin, TheProgramsTrackAndThumbLoadWithTheirSizes) {
    PaintManager manager;
    MSlider slider(nullptr, 64, CRect(0, 0, 190, 36), 1, 1);
    slider.SetManager(&manager);
    ASSERT_EQ(slider.SetImage(L"img_slider_back.png", 2), 1);
    ASSERT_EQ(slider.SetThumbImage(L"img_thumb.png"), 1);
    EXPECT_EQ(slider.GetImageSize(), CSize(200, 8));
    slider.SetMaxProgress(4);
    slider.SetProgress(4);
    EXPECT_EQ(slider.GetThumbRect(), CRect(154, 0, 190, 36));
    PixelSurface surface(190, 36);
    Render(slider, surface, 0xFF000000);
    // The thumb's middle is painted; the track strip shows left of it.
    EXPECT_GT(CountInk(surface, 154, 0, 36, 36, 0), 100);
    EXPECT_GT(CountInk(surface, 18, 14, 130, 8, 0), 500);
    EXPECT_EQ(slider.SetImage(L"controls2\\no-such-track.png", 1), 0);
}

}  // namespace
