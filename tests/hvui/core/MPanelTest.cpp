// The scrollable panel inside a live dialog: content coordinates, wheel
// scrolling, drawing shifted by the scroll offset, notifications.
#include <gtest/gtest.h>

#include "DialogTestSupport.h"

#include "CScrollVertical.h"
#include "MPanel.h"

using namespace hvui_test;

namespace {

const auto* const kGdiplus = ::testing::AddGlobalTestEnvironment(new GdiplusEnvironment);

class MPanelTest : public DialogSuite {
protected:
    void SetUp() override {
        DialogSuite::SetUp();
        panel = dialog->Add(new MPanel(dialog, 50, CRect(100, 50, 300, 250), 1));
        child = new ProbeControl(panel, 60, CRect(100, 250, 250, 290), RGB(0, 200, 0));
        child->SetManager(manager());
        panel->AppendChild(1, child);
    }
    void Wheel(short delta, int x, int y) {
        PostMessageW(window(), WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(delta)), MAKELPARAM(x, y));
        PumpDialog(*dialog);
    }

    MPanel* panel = nullptr;
    ProbeControl* child = nullptr;
};

TEST_F(MPanelTest, TheWheelScrollsOnlyContentTallerThanThePanel) {
    child->handleScroll = 0;
    Post(WM_MOUSEMOVE, 0, 150, 100);
    Wheel(-120, 150, 100);
    EXPECT_EQ(panel->GetScrollVertical()->GetPosition(), 0);  // content as tall as the panel: nothing

    panel->SetVirtualHeight(400);  // 200 hidden pixels, five rows
    ASSERT_EQ(panel->GetScrollVertical()->GetRange(), 5);
    Wheel(-240, 150, 100);
    EXPECT_EQ(panel->GetScrollVertical()->GetPosition(), 2);
    EXPECT_EQ(panel->GetVerticalOffset(), 80);
    Wheel(120, 150, 100);
    EXPECT_EQ(panel->GetScrollVertical()->GetPosition(), 1);
    Wheel(-60, 150, 100);
    EXPECT_EQ(panel->GetScrollVertical()->GetPosition(), 1);
}

TEST_F(MPanelTest, ClicksAreTestedInContentCoordinatesWhileTheBarsSeeThePlainPoint) {
    panel->SetVirtualHeight(400);
    panel->GetScrollVertical()->SetPosition(5);  // scrolled to the end: offset 200
    ASSERT_EQ(panel->GetVerticalOffset(), 200);
    // The child sits at content y 250..290, shown at 50..90.
    Post(WM_MOUSEMOVE, 0, 150, 70);
    Post(WM_LBUTTONDOWN, MK_LBUTTON, 150, 70);
    Post(WM_LBUTTONUP, 0, 150, 70);
    EXPECT_EQ(child->leftDowns, 1);
    EXPECT_EQ(child->lastPoint, CPoint(150, 270));

    // The vertical bar along the right edge takes the unmoved point.
    Post(WM_MOUSEMOVE, 0, 298, 52);
    Post(WM_LBUTTONDOWN, MK_LBUTTON, 298, 52);
    Post(WM_LBUTTONUP, 0, 298, 52);
    EXPECT_EQ(panel->GetScrollVertical()->GetPosition(), 0);
    EXPECT_EQ(child->leftDowns, 1);
}

TEST_F(MPanelTest, ChildrenArePaintedShiftedAndClippedToThePanel) {
    panel->SetVirtualHeight(400);
    InvalidateRect(window(), nullptr, FALSE);
    UpdateWindow(window());
    PixelSurface picture(kWidth, kHeight);
    auto grab = [&] {
        UpdateWindow(window());
        HDC dc = GetDC(window());
        BitBlt(picture.DC(), 0, 0, kWidth, kHeight, dc, 0, 0, SRCCOPY);
        ReleaseDC(window(), dc);
    };
    grab();
    EXPECT_NE(picture.Rgb(150, 70), 0x00C800u);  // below the fold
    EXPECT_NE(picture.Rgb(150, 260), 0x00C800u);  // outside the panel: clipped

    panel->GetScrollVertical()->SetPosition(5);
    grab();
    EXPECT_EQ(picture.Rgb(150, 70), 0x00C800u);
    EXPECT_NE(picture.Rgb(150, 95), 0x00C800u);
}

TEST_F(MPanelTest, NotificationsReachTheDialogUnchangedThroughNestedPanels) {
    auto* inner = new MPanel(panel, 70, CRect(100, 50, 200, 100), 1);
    inner->SetManager(manager());
    panel->AppendChild(1, inner);
    auto* leaf = new ProbeControl(inner, 80, CRect(100, 50, 120, 70));
    inner->AppendChild(1, leaf);
    leaf->SendMessageW(2, 3, 4);
    ASSERT_EQ(dialog->notifications.size(), 1u);
    EXPECT_EQ(dialog->notifications[0].id, 80u);
    EXPECT_EQ(dialog->notifications[0].code, 2u);
    EXPECT_EQ(dialog->notifications[0].wParam, 3u);
    EXPECT_EQ(dialog->notifications[0].lParam, 4);
}

TEST_F(MPanelTest, LookupsOfAbsentIdsAnswerNull) {
    EXPECT_EQ(panel->GetControl(60), child);
    EXPECT_EQ(panel->GetControl(MPanel::kVerticalScrollId), panel->GetScrollVertical());
    EXPECT_EQ(panel->GetControl(999), nullptr);
}

TEST_F(MPanelTest, AChildChangeInvalidatesOnlyTheChildOnScreen) {
    panel->SetVirtualHeight(400);
    UpdateWindow(window());
    child->SetColour(RGB(1, 2, 3));
    RECT dirty;
    GetUpdateRect(window(), &dirty, FALSE);
    // The child where it shows unscrolled; the rest of the panel is still valid.
    EXPECT_EQ(CRect(dirty), child->GetRect());
    EXPECT_EQ(child->GetUpdate(), 0);
}

}  // namespace
