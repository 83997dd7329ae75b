// Tab bars and pages: hit rectangles set by painting, clicks that notify,
// selections from code that do not, the pages a selection shows.
#include <gtest/gtest.h>

#include "CTabCtrl5.h"
#include "ControlsTestSupport.h"
#include "MTabLayout.h"
#include "PaintManager.h"
#include "TabCtrlEx.h"

using namespace controls_test;
using hvui_test::ProbeControl;
using hvui_test::RecordingParent;

namespace {

const auto* const kGdiplus = ::testing::AddGlobalTestEnvironment(new hvui_test::GdiplusEnvironment);

constexpr unsigned kBarId = 7;
// A navigation tab strip at natural size: four 235 × 274 frames.
const wchar_t* NavStrip() { return StripFile(L"navtab.png", 940, 274, {kRed, kGreen, kBlue, kGrey}); }

CPoint InTab(int index) { return CPoint(100, TabCtrlEx::kTabPitch * index + 50); }

void Click(MControl& bar, CPoint point) {
    bar.OnMouseMove(0, point);
    bar.OnLButtonDown(MK_LBUTTON, point);
    bar.OnLButtonUp(0, point);
}

// A navigation column of two tabs bound to two pages, as the main window has.
struct Navigation {
    RecordingParent parent;
    MTabLayout systemPage{&parent, 100, CRect(300, 0, 600, 300), 0};
    MTabLayout lightPage{&parent, 101, CRect(300, 0, 600, 300), 0};
    TabCtrlEx bar{&parent, kBarId, CRect(0, 0, 235, 700), 1, 1};
    PixelSurface surface{240, 700};

    Navigation() {
        bar.AddItem(L"System", 11, NavStrip(), &systemPage);
        bar.AddItem(L"Light", 12, NavStrip(), &lightPage);
    }
    void Paint() {
        bar.SetUpdate(0, 0);
        Render(bar, surface);
    }
};

}  // namespace

TEST(TabCtrlEx, NoTabCanBeClickedBeforeTheFirstPaint) {
    Navigation nav;
    Click(nav.bar, InTab(1));
    EXPECT_TRUE(nav.parent.notifications.empty());
    EXPECT_EQ(nav.bar.GetSelectItem(), -1);
}

TEST(TabCtrlEx, ClicksSwitchPagesAndNotifyTheIndexEveryTime) {
    Navigation nav;
    nav.Paint();
    Click(nav.bar, InTab(1));
    ASSERT_EQ(nav.parent.notifications.size(), 1u);
    EXPECT_EQ(nav.parent.notifications[0].id, kBarId);
    EXPECT_EQ(nav.parent.notifications[0].code, 2u);
    EXPECT_EQ(nav.parent.notifications[0].wParam, 1u);
    EXPECT_EQ(nav.bar.GetSelectItem(), 1);
    EXPECT_EQ(nav.lightPage.IsVisible(), 1);
    EXPECT_EQ(nav.systemPage.IsVisible(), 0);

    Click(nav.bar, InTab(1));
    EXPECT_EQ(nav.parent.notifications.size(), 2u) << "the selected tab notifies again";
    EXPECT_EQ(nav.parent.notifications[1].wParam, 1u);

    Click(nav.bar, CPoint(100, 300));  // between the tabs
    EXPECT_EQ(nav.parent.notifications.size(), 2u);
}

TEST(TabCtrlEx, SetSelectItemSwitchesPagesWithoutNotifying) {
    Navigation nav;
    nav.bar.SetSelectItem(0);
    EXPECT_TRUE(nav.parent.notifications.empty());
    EXPECT_EQ(nav.systemPage.IsVisible(), 1);
    EXPECT_EQ(nav.lightPage.IsVisible(), 0);
    bool pageRepainted = false;
    for (const auto& u : nav.parent.updates) pageRepainted |= u.control == &nav.systemPage && u.code == 1;
    EXPECT_TRUE(pageRepainted);

    // Reselecting leaves the pages alone, even one hidden by other means.
    nav.systemPage.SetVisible(0);
    nav.bar.SetSelectItem(0);
    EXPECT_EQ(nav.systemPage.IsVisible(), 0);

    nav.bar.SetSelectItem(-1);
    EXPECT_EQ(nav.lightPage.IsVisible(), 0);
    EXPECT_EQ(nav.systemPage.IsVisible(), 0);
}

TEST(TabCtrlEx, FramesFollowHoverThenSelection) {
    Navigation nav;
    nav.bar.SetSelectItem(0);
    nav.Paint();
    EXPECT_PRED3(Near, nav.surface.Rgb(50, 50), Rgb(kBlue), 2) << "selected";
    EXPECT_PRED3(Near, nav.surface.Rgb(50, TabCtrlEx::kTabPitch + 50), Rgb(kRed), 2) << "normal";
    nav.bar.OnMouseMove(0, InTab(0));
    nav.Paint();
    EXPECT_PRED3(Near, nav.surface.Rgb(50, 50), Rgb(kGreen), 2) << "hovered and selected shows hover";
}

TEST(TabCtrlEx, ItemWithoutItsImageKeepsItsPlace) {
    RecordingParent parent;
    TabCtrlEx bar(&parent, kBarId, CRect(0, 0, 235, 700), 1, 1);
    bar.AddItem(L"One", 1, L"controls1\\no-such-tab.png", nullptr);
    bar.AddItem(L"Two", 2, L"controls1\\no-such-tab.png", nullptr);
    EXPECT_EQ(bar.GetItemID(1), 2);
    EXPECT_EQ(bar.GetItemID(2), 0);
    PixelSurface surface(240, 700);
    Render(bar, surface);
    EXPECT_GT(FindInk(surface, CRect(0, TabCtrlEx::kTabPitch + 200, 195, TabCtrlEx::kTabPitch + 230), kBackground).count,
              0)
        << "the caption is drawn";
    EXPECT_EQ(surface.Rgb(100, TabCtrlEx::kTabPitch + 50), kBackground);
    Click(bar, InTab(1));
    ASSERT_EQ(parent.notifications.size(), 1u);
    EXPECT_EQ(parent.notifications[0].wParam, 1u);

    bar.SetItemText(-1, L"x");
    bar.SetItemText(2, L"x");
    EXPECT_EQ(bar.GetItemCount(), 2);
}

// ---- CTabCtrl5 ------------------------------------------------------------------------------

TEST(CTabCtrl5, TabsStartEvery200PixelsAndTheEarlierTabWinsAnOverlap) {
    struct Case {
        int frameWidth;
        int x;
        int hit;          // −1: no tab
        Gdiplus::ARGB ink;  // frame colour painted at x (all tabs normal)
    };
    const Case cases[] = {
        {180, 190, -1, 0},
        {180, 210, 1, kRed},
        {220, 210, 0, kRed},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "frame " << c.frameWidth << ", x " << c.x);
        PaintManager manager;
        RecordingParent parent;
        CTabCtrl5 bar(&parent, kBarId, CRect(0, 0, 700, 42), 1, 1);
        bar.SetManager(&manager);
        wchar_t name[32];
        swprintf(name, 32, L"perf%d.png", c.frameWidth);
        const wchar_t* strip = StripFile(name, 4 * c.frameWidth, 42, {kRed, kGreen, kBlue, kGrey});
        for (int i = 0; i < 3; ++i) bar.AddItem(L"", i, strip);
        PixelSurface surface(700, 42);
        Render(bar, surface);
        if (c.ink) EXPECT_PRED3(Near, surface.Rgb(c.x, 20), Rgb(c.ink), 2);
        else EXPECT_EQ(surface.Rgb(c.x, 20), kBackground);

        Click(bar, CPoint(c.x, 20));
        if (c.hit < 0) {
            EXPECT_TRUE(parent.notifications.empty());
        } else {
            ASSERT_EQ(parent.notifications.size(), 1u);
            EXPECT_EQ(parent.notifications[0].wParam, static_cast<WPARAM>(c.hit));
            EXPECT_EQ(bar.GetSelectItem(), c.hit);
        }
        bar.SetManager(nullptr);
    }
}

TEST(CTabCtrl5, SetSelectItemRedrawsWithoutNotifying) {
    RecordingParent parent;
    CTabCtrl5 bar(&parent, kBarId, CRect(0, 0, 700, 42), 1, 1);
    bar.AddItem(L"Quiet", 1);
    bar.AddItem(L"Balanced", 2);
    bar.SetSelectItem(1);
    bar.SetSelectItem(1);
    EXPECT_EQ(parent.updates.size(), 1u);
    EXPECT_TRUE(parent.notifications.empty());
    EXPECT_EQ(bar.GetSelectItem(), 1);
    bar.ClearList();
    EXPECT_EQ(bar.GetSelectItem(), -1);
    EXPECT_EQ(bar.GetItemCount(), 0);
}

TEST(CTabCtrl5, RealSkinModeTabsShowTheirSelectedFrame) {
    PaintManager manager;
    RecordingParent parent;
    CTabCtrl5 bar(&parent, kBarId, CRect(0, 0, 600, 42), 1, 1);
    bar.SetManager(&manager);
    bar.AddItem(L"", 0, L"img_btn_permode1.png");
    bar.AddItem(L"", 1, L"img_btn_permode2.png");
    PixelSurface surface(600, 42);
    Render(bar, surface);
    const InkExtent normal = FindInk(surface, CRect(0, 0, 160, 42), kBackground);
    EXPECT_GT(normal.count, 0);
    EXPECT_LE(normal.right, 160) << "drawn at natural size";
    bar.SetSelectItem(0);
    const uint32_t before = surface.Rgb(80, 21);
    bar.SetUpdate(0, 0);
    Render(bar, surface);
    EXPECT_NE(surface.Rgb(80, 21), before);
    bar.SetManager(nullptr);
}

// ---- MTabLayout -------------------------------------------------------------------------------

TEST(MTabLayout, CatchesTheMouseOnlyOverItsChildren) {
    RecordingParent parent;
    MTabLayout page(&parent, 100, CRect(0, 0, 200, 200), 1);
    page.AppendChild(1, new ProbeControl(&page, 5, CRect(10, 10, 50, 50)));
    EXPECT_EQ(page.OnCheckMouseResponse(0, CPoint(20, 20)), 1);
    EXPECT_EQ(page.OnCheckMouseResponse(0, CPoint(100, 100)), 0);
    EXPECT_EQ(page.IsRunTimer(), 1);

    PixelSurface surface(200, 200);
    Render(page, surface);
    EXPECT_EQ(surface.Rgb(100, 100), kBackground) << "no look of its own";
    EXPECT_PRED3(Near, surface.Rgb(20, 20), 0xFF0000u, 2) << "the child is drawn";
}

TEST(MTabLayout, AHiddenPageGivesBackItsSurfacesAndMakesThemAgainWhenShown) {
    RecordingParent parent;
    MTabLayout page(&parent, 100, CRect(0, 0, 200, 200), 1);
    auto* inner = new MTabLayout(&page, 101, CRect(0, 0, 200, 100), 1);
    page.AppendChild(1, inner);
    auto* nested = new ProbeControl(inner, 6, CRect(60, 10, 90, 40), RGB(0, 0, 255));
    inner->AppendChild(1, nested);
    auto* child = new ProbeControl(&page, 5, CRect(10, 10, 50, 50));
    page.AppendChild(1, child);
    PixelSurface surface(200, 200);
    Render(page, surface);
    ASSERT_NE(child->GetMemDC(), nullptr);
    ASSERT_NE(nested->GetMemDC(), nullptr);

    page.SetVisible(0, 0);
    EXPECT_EQ(child->GetMemDC(), nullptr);
    EXPECT_EQ(nested->GetMemDC(), nullptr) << "surfaces deeper in the page go too";

    page.SetVisible(1, 0);
    PixelSurface again(200, 200);
    Render(page, again);
    EXPECT_NE(child->GetMemDC(), nullptr);
    EXPECT_PRED3(Near, again.Rgb(20, 20), 0xFF0000u, 2);
    EXPECT_PRED3(Near, again.Rgb(70, 20), 0x0000FFu, 2);
}
