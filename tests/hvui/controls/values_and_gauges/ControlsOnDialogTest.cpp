// The slider, the light mode list and the colour wheel on a visible dialog,
// driven by posted window messages through the paint manager's routing.
#include <gtest/gtest.h>

#include "CScrollVertical.h"
#include "CirclePalette.h"
#include "ControlsTestSupport.h"
#include "DialogTestSupport.h"
#include "LightCtrl.h"
#include "MProgress.h"
#include "MSlider.h"

using namespace controls_test;
using namespace Gdiplus;

namespace {

const auto* const kGdiplus = ::testing::AddGlobalTestEnvironment(new hvui_test::GdiplusEnvironment);

constexpr int kWide = 900;
constexpr int kHigh = 400;
constexpr WORD kWheelTowardUser = static_cast<WORD>(-WHEEL_DELTA);

class OnDialog : public hvui_test::DialogSuite {
public:
    static void SetUpTestSuite() {
        DialogSuite::SetUpTestSuite();
        // Seven tiles side by side need more than the shared dialog's width.
        ::MoveWindow(dialog->GetSafeHwnd(), 0, 0, kWide, kHigh, TRUE);
        hvui_test::PumpDialog(*dialog, 50);
    }

protected:
    std::vector<hvui_test::TestDialog::Notification> Heard(unsigned id) const {
        std::vector<hvui_test::TestDialog::Notification> heard;
        for (const auto& n : dialog->notifications)
            if (n.id == id) heard.push_back(n);
        return heard;
    }
    static void Wheel(WORD delta, CPoint at) {
        POINT screen = at;
        ::ClientToScreen(window(), &screen);
        PostMessageW(window(), WM_MOUSEWHEEL, MAKEWPARAM(0, delta), MAKELPARAM(screen.x, screen.y));
        hvui_test::PumpDialog(*dialog);
    }
    static void Repaint() {
        ::InvalidateRect(window(), nullptr, FALSE);
        ::UpdateWindow(window());
        hvui_test::PumpDialog(*dialog, 30);
    }
};

// ---- slider ---------------------------------------------------------------------------------

constexpr unsigned kSliderId = 40;
// Copies: gtest takes its operands by reference, and the class constants live in the DLL.
constexpr unsigned kChanging = MSlider::kCodeValueChanging;
constexpr unsigned kCommitted = MSlider::kCodeCommitted;

TEST_F(OnDialog, ASliderDragFromZeroToFourReportsEachValueAndCommitsOnceAtRelease) {
    // Width 236 and thumb 36: travel 200, so x = left + 2v lands on value v.
    auto* slider = dialog->Add(new MSlider(dialog, kSliderId, CRect(20, 20, 256, 56), 1, 1));
    Post(WM_MOUSEMOVE, 0, 25, 30);
    Post(WM_LBUTTONDOWN, MK_LBUTTON, 20, 30);
    for (int x : {22, 24, 26, 28}) Post(WM_MOUSEMOVE, MK_LBUTTON, x, 30);
    std::vector<WPARAM> changing;
    for (const auto& n : Heard(kSliderId)) {
        EXPECT_EQ(n.code, kChanging) << "nothing is committed while the button is held";
        changing.push_back(n.wParam);
    }
    EXPECT_EQ(changing, (std::vector<WPARAM>{1, 2, 3, 4}));

    Post(WM_LBUTTONUP, 0, 28, 30);
    const auto heard = Heard(kSliderId);
    ASSERT_EQ(heard.size(), 5u);
    EXPECT_EQ(heard.back().code, kCommitted);
    EXPECT_EQ(slider->GetProgress(), 4);
}

TEST_F(OnDialog, AWheelStepMovesTheSliderByOneAndCommitsButSettingFromCodeIsSilent) {
    auto* slider = dialog->Add(new MSlider(dialog, kSliderId, CRect(20, 20, 256, 56), 1, 1));
    slider->SetProgress(50);
    EXPECT_TRUE(Heard(kSliderId).empty());
    Post(WM_MOUSEMOVE, 0, 100, 30);
    Wheel(kWheelTowardUser, CPoint(100, 30));
    EXPECT_EQ(slider->GetProgress(), 49);
    Wheel(WHEEL_DELTA, CPoint(100, 30));
    EXPECT_EQ(slider->GetProgress(), 50);
    const auto heard = Heard(kSliderId);
    ASSERT_EQ(heard.size(), 2u);
    for (const auto& n : heard) EXPECT_EQ(n.code, kCommitted);
}

// ---- progress bar ---------------------------------------------------------------------------

TEST_F(OnDialog, ALoopingProgressBarStepsOnItsWindowTimerUntilStopped) {
    // Set running before it has a manager: the timer starts when it gets one.
    auto* bar = new MProgress(dialog, 33, CRect(20, 300, 320, 320), 1, 1);
    bar->SetRun(1, 0);
    dialog->Add(bar);
    ASSERT_NE(manager()->GetTimerID(bar, MProgress::kLoopTimerKey), 0u);
    hvui_test::PumpDialog(*dialog, 400);
    EXPECT_GT(bar->GetProgress(), 0);

    bar->SetRun(0, 5);
    hvui_test::PumpDialog(*dialog, 200);
    EXPECT_EQ(bar->GetProgress(), 5);
    bar->SetRun(1, -1);
    hvui_test::PumpDialog(*dialog, 300);
    EXPECT_GT(bar->GetProgress(), 5) << "the killed timer is armed again";
}

// ---- light mode list ------------------------------------------------------------------------

constexpr unsigned kListId = 60;
constexpr int kListLeft = 20;
constexpr int kListTop = 100;

const wchar_t* TileImage() {
    return WriteSkinPng(L"controls2\\dialog_tile.png", 408, 102, [](int x, int) {
        const ARGB frames[] = {0xFF606060, 0xFFE0E020, 0xFF20E020, 0xFFFF00FF};
        return frames[x / 102];
    });
}

class LightListOnDialog : public OnDialog {
protected:
    LightCtrl* MakeList(int tiles, int height = 140) {
        list = dialog->Add(new LightCtrl(dialog, kListId, CRect(kListLeft, kListTop, kListLeft + 870, kListTop + height),
                                         1, 1));
        // Written once: a loaded picture keeps its file open.
        static const wchar_t* const image = TileImage();
        for (int i = 0; i < tiles; ++i) list->AddLight(L"Mode", i + 1, image);
        return list;
    }
    CPoint OnTile(int index) const {
        const CRect tile = list->GetItemRect(index);
        return CPoint(kListLeft + tile.left + 51, kListTop + 30);
    }
    std::vector<LPARAM> Selections() const {
        std::vector<LPARAM> selected;
        for (const auto& n : Heard(kListId))
            if (n.code == LightCtrl::kCodeSelected) selected.push_back(n.lParam);
        return selected;
    }
    LightCtrl* list = nullptr;
};

TEST_F(LightListOnDialog, PressOnOneTileReleaseOnAnotherSelectsThePressedTile) {
    MakeList(7);
    list->SetProgressBar(0);
    const CPoint two = OnTile(2), five = OnTile(5);
    Post(WM_MOUSEMOVE, 0, two.x, two.y);
    EXPECT_EQ(list->GetHoverItem(), 2);
    Post(WM_LBUTTONDOWN, MK_LBUTTON, two.x, two.y);
    Post(WM_MOUSEMOVE, MK_LBUTTON, five.x, five.y);
    EXPECT_EQ(list->GetHoverItem(), 5);
    Post(WM_LBUTTONUP, 0, five.x, five.y);
    EXPECT_EQ(Selections(), (std::vector<LPARAM>{2}));
    EXPECT_EQ(list->GetCurLightMode(), 3);
}

TEST_F(LightListOnDialog, AReleaseInEmptySpaceKeepsThePressedTileWithoutANotification) {
    MakeList(7);
    list->SetProgressBar(0);
    const CPoint two = OnTile(2);
    const CPoint empty(kListLeft + 7 * LightCtrl::kTileWidth + 5, two.y);  // right of the last tile
    Post(WM_MOUSEMOVE, 0, two.x, two.y);
    Post(WM_LBUTTONDOWN, MK_LBUTTON, two.x, two.y);
    Post(WM_MOUSEMOVE, MK_LBUTTON, empty.x, empty.y);
    Post(WM_LBUTTONUP, 0, empty.x, empty.y);
    EXPECT_TRUE(Selections().empty());
    EXPECT_EQ(list->GetSelectItem(), 2);
}

TEST_F(LightListOnDialog, WheelStepsPageTheRowAndThePagingStripTakesPresses) {
    MakeList(10);
    list->SetItemsPerPage(4);
    const CPoint inside(kListLeft + 300, kListTop + 40);
    Post(WM_MOUSEMOVE, 0, inside.x, inside.y);
    for (int step = 0; step < 6; ++step) Wheel(kWheelTowardUser, inside);
    EXPECT_NEAR(list->GetViewOffset(), 3.6f, 1e-4f);
    EXPECT_EQ(list->GetItemRect(3).left, -79);
    for (int step = 0; step < 10; ++step) Wheel(WHEEL_DELTA, inside);
    EXPECT_EQ(list->GetScrollPosition(), 0.0f);

    // The strip lies under the panel's own scroll bars' places: the press
    // must reach the list itself.
    const int stripY = kListTop + 140 - 2;
    Post(WM_MOUSEMOVE, 0, kListLeft + 435, stripY);
    Post(WM_LBUTTONDOWN, MK_LBUTTON, kListLeft + 435, stripY);
    EXPECT_EQ(list->IsDragging(), 1);
    EXPECT_NEAR(list->GetScrollPosition(), 0.5f, 1e-3f);
    Post(WM_LBUTTONUP, 0, kListLeft + 435, stripY);
    EXPECT_EQ(list->IsDragging(), 0);
}

TEST_F(LightListOnDialog, WithoutPagingTheWheelMovesThePanelBarTenRowsWithinItsRange) {
    MakeList(7, 20);
    list->SetProgressBar(0);
    MScroll* bar = list->GetScrollVertical();
    EXPECT_FALSE(bar->IsVisible()) << "no bar while everything fits";
    list->SetAllItemHeight(25);
    list->SetRect(list->GetRect());
    ASSERT_TRUE(bar->IsVisible());
    EXPECT_EQ(bar->GetRect(), CRect(kListLeft + 870 - int{MPanel::kScrollThickness}, kListTop, kListLeft + 870, kListTop + 20));
    EXPECT_EQ(bar->GetRange(), 25);

    const CPoint inside(kListLeft + 300, kListTop + 10);
    Post(WM_MOUSEMOVE, 0, inside.x, inside.y);
    const int expected[] = {10, 20, 25, 25};
    for (int position : expected) {
        Wheel(kWheelTowardUser, inside);
        EXPECT_EQ(bar->GetPosition(), position);
    }
    Wheel(WHEEL_DELTA, inside);
    EXPECT_EQ(bar->GetPosition(), 15);
}

// ---- colour wheel ----------------------------------------------------------------------------

constexpr unsigned kWheelId = 71;

ARGB RingPixel(int x, int y) { return 0xFF000000 | (2 * x) << 16 | (2 * y) << 8 | 77; }
COLORREF RingColour(int x, int y) { return RGB(2 * x, 2 * y, 77); }

class WheelOnDialog : public OnDialog {
protected:
    static constexpr int kLeft = 300;
    static constexpr int kTop = 40;
    CPoint At(int x, int y) const { return CPoint(kLeft + x, kTop + y); }
    unsigned Count(unsigned code) const {
        unsigned count = 0;
        for (const auto& n : Heard(kWheelId)) count += n.code == code ? 1u : 0u;
        return count;
    }
};

TEST_F(WheelOnDialog, ARingDragOnThePaintedWheelMovesOnlyPastTheThreshold) {
    auto* wheel = dialog->Add(new CirclePalette(dialog, kWheelId, CRect(kLeft, kTop, kLeft + 130, kTop + 130), 1, 1));
    ASSERT_EQ(wheel->SetImage(WriteSkinPng(L"controls2\\dialog_ring.png", 130, 130, RingPixel), 1), 1);
    Repaint();  // the colour table comes from what the dialog painted

    const CPoint press = At(40, 40);
    Post(WM_MOUSEMOVE, 0, press.x, press.y);
    Post(WM_LBUTTONDOWN, MK_LBUTTON, press.x, press.y);
    EXPECT_EQ(wheel->GetSelectColor(), RingColour(40, 40));
    struct Move {
        int x, y;
        bool moves;
    };
    const Move moves[] = {{45, 40, false}, {46, 40, true}, {46, 45, false}, {46, 46, true}};
    for (const Move& m : moves) {
        const CRect before = wheel->GetMarkerRect();
        const CPoint to = At(m.x, m.y);
        Post(WM_MOUSEMOVE, MK_LBUTTON, to.x, to.y);
        EXPECT_EQ(wheel->GetMarkerRect() != before, m.moves) << m.x << "," << m.y;
    }
    EXPECT_EQ(Count(CirclePalette::kCodeCommitted), 0u);
    const CPoint end = At(46, 46);
    Post(WM_LBUTTONUP, 0, end.x, end.y);
    EXPECT_EQ(wheel->GetSelectColor(), RingColour(46, 46));
    EXPECT_EQ(Count(CirclePalette::kCodeCommitted), 1u);
}

TEST_F(WheelOnDialog, APickInTheSquareKeepsTheHue) {
    auto* wheel = dialog->Add(new CirclePalette(dialog, kWheelId, CRect(kLeft, kTop, kLeft + 260, kTop + 260), 1, 1));
    wheel->SetSelectColor(RGB(0, 255, 0));
    ASSERT_EQ(wheel->GetHue(), 120);
    Repaint();
    const CPoint pick = At(150, 100);
    Post(WM_MOUSEMOVE, 0, pick.x, pick.y);
    Post(WM_LBUTTONDOWN, MK_LBUTTON, pick.x, pick.y);
    Post(WM_MOUSEMOVE, MK_LBUTTON, pick.x, pick.y + 1);
    EXPECT_EQ(Count(CirclePalette::kCodeColourChanging), 1u);
    Post(WM_LBUTTONUP, 0, pick.x, pick.y + 1);
    EXPECT_EQ(Count(CirclePalette::kCodeCommitted), 1u);
    double h = 0, s = 0, l = 0;
    CirclePalette::RGBToHSL(wheel->GetSelectColor(), h, s, l);
    EXPECT_NEAR(h * 360.0, 120.0, 3.0);
    EXPECT_GT(s, 0.2);
    EXPECT_EQ(wheel->GetHue(), 120);
}

}  // namespace
