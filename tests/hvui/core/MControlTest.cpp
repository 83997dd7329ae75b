#include <gtest/gtest.h>

#include "HvuiTestSupport.h"
#include "PaintManager.h"

using namespace hvui_test;

namespace {

const auto* const kGdiplus = ::testing::AddGlobalTestEnvironment(new GdiplusEnvironment);

// The dialog as a parent: ends the walk of IsParentVisible.
class FakeDialog : public RecordingParent {
public:
    const wchar_t* GetClassNameW() const override { return L"MDialog"; }
};

// A container that shifts points into its content, as a scrolled panel does.
class ShiftingContainer : public ProbeControl {
public:
    using ProbeControl::ProbeControl;
    int OnMousePointChange(CPoint& point) override {
        point.x += 100;
        return 1;
    }
};

// Paints a blue dot in the middle of its cached surface, over whatever
// was under it when the surface was made.
class DotControl : public ProbeControl {
public:
    using ProbeControl::ProbeControl;
    void DrawControl(HDC& dc, CRect) override {
        if (PrepareMemDC(dc)) {
            ++repaints;
            const RECT dot = {4, 4, 6, 6};
            HBRUSH blue = CreateSolidBrush(RGB(0, 0, 255));
            FillRect(GetMemDC(), &dot, blue);
            DeleteObject(blue);
        }
        PresentMemDC(dc);
    }
};

// Takes ownership of child for parent's control list (kind 1) or area list (0).
template <class T>
T* Adopt(MControl& parent, unsigned kind, T* child) {
    parent.AppendChild(kind, child);
    return child;
}

}  // namespace

TEST(MControlRedraw, SetVisibleAsksForARepaintUnlessTheValueIsUnchangedOrSilenced) {
    struct Case {
        const char* what;
        int initial;
        int value;
        int notify;  // -1: the one-argument form
        int visibleAfter;
        size_t requests;
    };
    const Case cases[] = {
        {"hidden control shown", 0, 1, -1, 1, 1},
        {"visible control hidden", 1, 0, -1, 0, 1},
        {"unchanged", 1, 1, -1, 1, 0},
        {"shown silently", 0, 1, 0, 1, 0},
        {"hidden silently", 1, 0, 0, 0, 0},
        {"shown with notify", 0, 1, 1, 1, 1},
    };
    for (const Case& c : cases) {
        RecordingParent parent;
        ProbeControl control(&parent, 7, CRect(1, 2, 11, 12), RGB(0, 0, 0), c.initial);
        if (c.notify < 0) control.SetVisible(c.value);
        else control.SetVisible(c.value, c.notify);
        EXPECT_EQ(control.IsVisible(), c.visibleAfter) << c.what;
        ASSERT_EQ(parent.updates.size(), c.requests) << c.what;
        if (c.requests) {
            EXPECT_EQ(parent.updates[0].rect, CRect(1, 2, 11, 12)) << c.what;
            EXPECT_EQ(parent.updates[0].code, 1) << c.what;
            EXPECT_EQ(parent.updates[0].control, &control) << c.what;
        }
    }
}

TEST(MControlRedraw, SetRectAsksForTheUnionOfOldAndNewWhenVisible) {
    RecordingParent parent;
    ProbeControl visible(&parent, 7, CRect(0, 0, 10, 10));
    visible.SetRect(CRect(20, 5, 30, 15));
    ASSERT_EQ(parent.updates.size(), 1u);
    EXPECT_EQ(parent.updates[0].rect, CRect(0, 0, 30, 15));
    EXPECT_EQ(parent.updates[0].code, 1);
    visible.SetRect(40, 40, 5, 6);
    EXPECT_EQ(visible.GetRect(), CRect(40, 40, 45, 46));
    EXPECT_EQ(parent.updates.back().rect, CRect(20, 5, 45, 46));

    RecordingParent quiet;
    ProbeControl hidden(&quiet, 8, CRect(0, 0, 10, 10), RGB(0, 0, 0), 0);
    hidden.SetRect(CRect(50, 50, 60, 60));
    EXPECT_EQ(hidden.GetRect(), CRect(50, 50, 60, 60));
    EXPECT_TRUE(quiet.updates.empty());
}

TEST(MControlRedraw, EnabledAndExplicitUpdatesFollowVisibilityAndForce) {
    RecordingParent parent;
    ProbeControl control(&parent, 7, CRect(0, 0, 10, 10));
    control.SetEnabled(1);  // unchanged
    control.SetEnabled(0);
    EXPECT_EQ(control.IsEnabled(), 0);
    control.UpdateControl(0, 0);
    control.UpdateControl(CRect(2, 2, 4, 4), 1, 0);
    control.UpdateAControl(1, 0);
    ASSERT_EQ(parent.updates.size(), 4u);
    EXPECT_EQ(parent.updates[0].code, 1);
    EXPECT_EQ(parent.updates[1].code, 0);
    EXPECT_EQ(parent.updates[2].rect, CRect(2, 2, 4, 4));
    EXPECT_EQ(parent.updates[3].code, 0);
    EXPECT_EQ(control.GetAnimate(), 0);

    control.SetVisible(0, 0);
    parent.updates.clear();
    control.SetEnabled(1);
    control.UpdateControl(1, 0);
    EXPECT_TRUE(parent.updates.empty());
    control.UpdateControl(1, 1);
    EXPECT_EQ(parent.updates.size(), 1u);
}

TEST(MControlTree, GetControlSearchesControlListsBeforeAreaListsAtAnyDepth) {
    RecordingParent parent;
    ProbeControl root(&parent, 1, CRect(0, 0, 100, 100));
    auto* area = Adopt(root, 0, new ProbeControl(&root, 9, CRect(0, 0, 100, 100)));
    auto* holder = Adopt(root, 1, new ProbeControl(&root, 5, CRect(0, 0, 50, 50)));
    auto* nested = Adopt(*holder, 1, new ProbeControl(holder, 9, CRect(0, 0, 10, 10)));
    auto* deepArea = Adopt(*area, 0, new ProbeControl(area, 11, CRect(0, 0, 10, 10)));

    EXPECT_EQ(root.GetControl(9), nested);
    EXPECT_EQ(root.GetControl(5), holder);
    EXPECT_EQ(root.GetControl(11), deepArea);
    EXPECT_EQ(root.GetControl(404), nullptr);
    EXPECT_EQ(root.AppendChild(2, nullptr), 0);
}

TEST(MControlTree, RemoveControlDeletesControlChildrenAndLeavesAreaChildren) {
    RecordingParent parent;
    int deleted = 0;
    auto* root = new ProbeControl(&parent, 1, CRect(0, 0, 100, 100));
    auto* area = Adopt(*root, 0, new ProbeControl(root, 2, CRect(0, 0, 10, 10)));
    auto* child = Adopt(*root, 1, new ProbeControl(root, 3, CRect(0, 0, 10, 10)));
    auto* grandChild = Adopt(*child, 1, new ProbeControl(child, 4, CRect(0, 0, 10, 10)));
    area->deletions = child->deletions = grandChild->deletions = &deleted;

    EXPECT_EQ(root->RemoveControl(area), 0);
    EXPECT_EQ(deleted, 0);
    EXPECT_EQ(root->GetControl(2), area);

    root->OnMouseMove(0, CPoint(5, 5));  // child becomes the hot child
    ASSERT_EQ(root->GetHotChild(), child);
    root->RemoveControl(child);
    EXPECT_EQ(deleted, 2);  // with its own child
    EXPECT_EQ(root->GetHotChild(), nullptr);
    EXPECT_EQ(root->GetControl(3), nullptr);
    root->handleMouse = 0;
    EXPECT_EQ(root->OnMouseMove(0, CPoint(6, 6)), 0);  // no stale hot child

    delete root;  // takes the area child with it
    EXPECT_EQ(deleted, 3);
}

TEST(MControlTree, RemovingTheFocusControlTakesItsFocusAway) {
    PaintManager manager;
    RecordingParent parent;
    ProbeControl root(&parent, 1, CRect(0, 0, 100, 100));
    auto* child = Adopt(root, 1, new ProbeControl(&root, 3, CRect(0, 0, 10, 10)));
    root.SetManager(&manager);
    child->SetManager(&manager);
    manager.SetFocusControl(child);
    ASSERT_EQ(child->IsFocusControl(), 1);
    root.RemoveControl(child);
    EXPECT_EQ(manager.GetFocusControl(), nullptr);
}

TEST(MControlTree, ParentVisibilityWalksUpToTheDialog) {
    FakeDialog dialog;
    ProbeControl top(&dialog, 1, CRect(0, 0, 100, 100));
    auto* middle = Adopt(top, 1, new ProbeControl(&top, 2, CRect(0, 0, 50, 50)));
    auto* leaf = Adopt(*middle, 1, new ProbeControl(middle, 3, CRect(0, 0, 10, 10)));
    ProbeControl orphan(nullptr, 4, CRect());

    EXPECT_EQ(top.IsParentVisible(), 1);
    EXPECT_EQ(leaf->IsParentVisible(), 1);
    top.SetVisible(0, 0);
    EXPECT_EQ(middle->IsParentVisible(), 0);
    EXPECT_EQ(leaf->IsParentVisible(), 0);
    EXPECT_EQ(orphan.IsParentVisible(), 0);
}

TEST(MControlPaint, AreasThenOwnContentThenVisibleControlsInListOrder) {
    RecordingParent parent;
    std::vector<unsigned> journal;
    ProbeControl root(&parent, 1, CRect(0, 0, 40, 40), RGB(255, 0, 0));
    auto* area = Adopt(root, 0, new ProbeControl(&root, 2, CRect(0, 0, 40, 40), RGB(0, 255, 0)));
    auto* farArea = Adopt(root, 0, new ProbeControl(&root, 5, CRect(50, 50, 60, 60)));
    auto* lower = Adopt(root, 1, new ProbeControl(&root, 3, CRect(10, 10, 30, 30), RGB(0, 0, 255)));
    auto* upper = Adopt(root, 1, new ProbeControl(&root, 4, CRect(20, 20, 40, 40), RGB(255, 255, 255)));
    auto* hidden = Adopt(root, 1, new ProbeControl(&root, 6, CRect(0, 0, 40, 40), RGB(0, 0, 0), 0));
    for (ProbeControl* c : {&root, area, farArea, lower, upper, hidden}) c->journal = &journal;

    PixelSurface surface(60, 60);
    root.Draw(surface.DC(), CRect(0, 0, 60, 60));
    EXPECT_EQ(journal, (std::vector<unsigned>{2, 1, 3, 4}));
    EXPECT_EQ(surface.Rgb(5, 5), 0xFF0000u);    // own content over the area
    EXPECT_EQ(surface.Rgb(15, 15), 0x0000FFu);  // first control
    EXPECT_EQ(surface.Rgb(25, 25), 0xFFFFFFu);  // the later control on top

    journal.clear();
    root.Draw(surface.DC(), CRect(45, 45, 60, 60));  // clip misses the control
    EXPECT_TRUE(journal.empty());
}

TEST(MControlPaint, CachedSurfacesAreReusedUntilAnUpdateClearsThem) {
    RecordingParent parent;
    ProbeControl root(&parent, 1, CRect(0, 0, 40, 40));
    auto* inside = Adopt(root, 1, new ProbeControl(&root, 2, CRect(0, 0, 10, 10)));
    auto* outside = Adopt(root, 1, new ProbeControl(&root, 3, CRect(50, 50, 60, 60)));
    PixelSurface surface(64, 64);
    const CRect all(0, 0, 64, 64);
    root.Draw(surface.DC(), all);
    root.Draw(surface.DC(), all);
    EXPECT_EQ(root.repaints, 1);
    EXPECT_EQ(inside->repaints, 1);
    EXPECT_EQ(inside->GetUpdate(), 1);

    root.SetUpdate(0, 0);
    EXPECT_EQ(inside->GetUpdate(), 0);
    EXPECT_EQ(outside->GetUpdate(), 1);  // does not overlap its parent: keeps its surface
    root.Draw(surface.DC(), all);
    EXPECT_EQ(root.repaints, 2);
    EXPECT_EQ(inside->repaints, 2);
}

TEST(MControlPaint, TheCachedSurfaceKeepsItsBackgroundUntilTheNextUpdate) {
    DotControl control(nullptr, 1, CRect(10, 10, 20, 20));
    PixelSurface surface(30, 30);
    surface.Fill(0xFFFF0000);
    control.Draw(surface.DC(), CRect(0, 0, 30, 30));
    EXPECT_EQ(surface.Rgb(15, 15), 0x0000FFu);
    EXPECT_EQ(surface.Rgb(11, 11), 0xFF0000u);  // the background taken in

    surface.Fill(0xFF00FF00);
    control.Draw(surface.DC(), CRect(0, 0, 30, 30));
    EXPECT_EQ(surface.Rgb(11, 11), 0xFF0000u);  // composited again from the cache
    EXPECT_EQ(surface.Rgb(5, 5), 0x00FF00u);
    EXPECT_EQ(control.repaints, 1);

    control.SetUpdate(0, 0);
    surface.Fill(0xFF00FF00);  // each paint starts from a fresh background
    control.Draw(surface.DC(), CRect(0, 0, 30, 30));
    EXPECT_EQ(surface.Rgb(11, 11), 0x00FF00u);
    EXPECT_EQ(surface.Rgb(15, 15), 0x0000FFu);
    EXPECT_EQ(control.repaints, 2);

    control.SetRect(CRect(0, 0, 20, 20));  // a new size needs a new surface
    control.Draw(surface.DC(), CRect(0, 0, 30, 30));
    EXPECT_EQ(control.repaints, 3);
}

TEST(MControlMouse, TheHotChildTakesMovesAndLosesThemOutsideItsRect) {
    RecordingParent parent;
    ProbeControl root(&parent, 1, CRect(0, 0, 100, 100));
    auto* child = Adopt(root, 1, new ProbeControl(&root, 2, CRect(10, 10, 20, 20)));
    EXPECT_EQ(root.OnMouseMove(0, CPoint(15, 15)), 1);
    EXPECT_EQ(root.GetHotChild(), child);
    const int movesInside = child->moves;
    EXPECT_EQ(root.OnMouseMove(0, CPoint(50, 50)), 1);  // it had a hot child before
    EXPECT_EQ(root.GetHotChild(), nullptr);
    EXPECT_EQ(child->moves, movesInside + 1);  // still told, so it can leave its hover state
    root.handleMouse = 0;
    child->handleMouse = 0;
    EXPECT_EQ(root.OnMouseMove(0, CPoint(60, 60)), 0);
}

TEST(MControlMouse, APressInsideKeepsTheStreamWithTheChildUntilRelease) {
    RecordingParent parent;
    ProbeControl root(&parent, 1, CRect(0, 0, 100, 100));
    auto* child = Adopt(root, 1, new ProbeControl(&root, 2, CRect(10, 10, 20, 20)));
    auto* other = Adopt(root, 1, new ProbeControl(&root, 3, CRect(60, 60, 90, 90)));
    EXPECT_EQ(root.OnLButtonDown(0, CPoint(15, 15)), 1);
    EXPECT_EQ(child->leftDowns, 1);
    EXPECT_EQ(root.IsPressedInside(), 1);
    root.OnMouseMove(MK_LBUTTON, CPoint(70, 70));
    EXPECT_EQ(child->lastPoint, CPoint(70, 70));
    EXPECT_EQ(other->moves, 0);
    root.OnLButtonUp(0, CPoint(70, 70));
    EXPECT_EQ(child->leftUps, 1);
    EXPECT_EQ(root.IsPressedInside(), 0);
    root.OnMouseMove(0, CPoint(70, 70));
    EXPECT_EQ(root.GetHotChild(), other);
}

TEST(MControlMouse, PressesSkipHiddenDisabledAndUnresponsiveChildren) {
    struct Case {
        const char* what;
        int visible, enabled, response;
        int childPresses;
    };
    const Case cases[] = {
        {"eligible", 1, 1, 1, 1}, {"hidden", 0, 1, 1, 0}, {"disabled", 1, 0, 1, 0}, {"unresponsive", 1, 1, 0, 0},
    };
    for (const Case& c : cases) {
        RecordingParent parent;
        ProbeControl root(&parent, 1, CRect(0, 0, 100, 100));
        auto* child = Adopt(root, 1, new ProbeControl(&root, 2, CRect(10, 10, 20, 20), 0, c.visible));
        child->SetEnabled(c.enabled);
        child->SetRresponse(c.response);
        root.OnLButtonDown(0, CPoint(15, 15));
        EXPECT_EQ(child->leftDowns, c.childPresses) << c.what;
        EXPECT_EQ(root.leftDowns, 1 - c.childPresses) << c.what;
    }
}

TEST(MControlMouse, ADoubleClickIsASecondPressUnlessTheControlWantsDoubleClicks) {
    for (int wants : {0, 1}) {
        RecordingParent parent;
        ProbeControl root(&parent, 1, CRect(0, 0, 100, 100));
        auto* child = Adopt(root, 1, new ProbeControl(&root, 2, CRect(10, 10, 20, 20)));
        child->SetWantsDoubleClicks(wants);
        root.OnLButtonDown(0, CPoint(15, 15));
        root.OnLButtonUp(0, CPoint(15, 15));
        EXPECT_EQ(root.OnLButtonDblClk(0, CPoint(15, 15)), 1);
        EXPECT_EQ(child->leftDowns, wants ? 1 : 2) << wants;
        EXPECT_EQ(child->doubleClicks, wants ? 1 : 0) << wants;
    }
}

TEST(MControlMouse, DoubleClicksAreNotifiedWithCode3WhenAsked) {
    RecordingParent parent;
    ProbeControl control(&parent, 42, CRect(0, 0, 10, 10));
    control.SetWantsDoubleClicks(1);
    control.SetNotifyDblClk(1);
    control.OnLButtonDblClk(MK_LBUTTON, CPoint(5, 5));
    ASSERT_EQ(parent.notifications.size(), 1u);
    EXPECT_EQ(parent.notifications[0].id, 42u);
    EXPECT_EQ(parent.notifications[0].code, 3u);
    EXPECT_EQ(parent.notifications[0].wParam, static_cast<WPARAM>(MK_LBUTTON));
    EXPECT_NE(parent.notifications[0].lParam, 0);
    EXPECT_EQ(control.doubleClicks, 1);
}

TEST(MControlMouse, ScrollBarIdsSeeTheUntranslatedPoint) {
    RecordingParent parent;
    ShiftingContainer panel(&parent, 10, CRect(0, 0, 50, 50));
    auto* content = Adopt(panel, 1, new ProbeControl(&panel, 5, CRect(100, 0, 110, 10)));
    auto* scrollBar = Adopt(panel, 1, new ProbeControl(&panel, 1, CRect(0, 0, 10, 10)));
    panel.OnMouseMove(0, CPoint(5, 5));
    EXPECT_EQ(content->lastPoint, CPoint(105, 5));
    EXPECT_EQ(scrollBar->lastPoint, CPoint(5, 5));
    EXPECT_EQ(panel.lastPoint, CPoint(5, 5));  // the container itself is not shifted
}

TEST(MControlMouse, PressingEmptySpaceMovesTheManagersFocusHere) {
    PaintManager manager;
    RecordingParent parent;
    ProbeControl first(&parent, 1, CRect(0, 0, 10, 10));
    ProbeControl second(&parent, 2, CRect(20, 0, 30, 10));
    first.SetManager(&manager);
    second.SetManager(&manager);
    first.OnLButtonDown(0, CPoint(5, 5));
    EXPECT_EQ(manager.GetFocusControl(), &first);
    second.OnLButtonDown(0, CPoint(25, 5));
    EXPECT_EQ(manager.GetFocusControl(), &second);
    EXPECT_EQ(first.focusCalls, (std::vector<int>{1, 0}));
    EXPECT_EQ(second.focusCalls, (std::vector<int>{1}));
}

TEST(MControlWheel, TheWheelGoesToTheControlUnderThePointer) {
    RecordingParent parent;
    ProbeControl root(&parent, 1, CRect(0, 0, 100, 100));
    root.handleScroll = 0;
    auto* left = Adopt(root, 1, new ProbeControl(&root, 2, CRect(0, 0, 50, 100)));
    auto* right = Adopt(root, 1, new ProbeControl(&root, 3, CRect(50, 0, 100, 100)));
    EXPECT_EQ(root.OnScroll(1, 1, CPoint(70, 10)), 1);
    EXPECT_EQ(right->scrolls, 1);
    EXPECT_EQ(right->lastDirection, 1u);
    EXPECT_EQ(left->scrolls, 0);
    EXPECT_EQ(root.OnScroll(1, 0, CPoint(170, 10)), 0);  // outside

    root.handleScroll = 1;  // the container's own scrolling comes first
    EXPECT_EQ(root.OnScroll(1, 0, CPoint(10, 10)), 1);
    EXPECT_EQ(left->scrolls, 0);
    root.SetEnabled(0);
    EXPECT_EQ(root.OnScroll(1, 0, CPoint(10, 10)), 0);
}

TEST(MControlKeys, KeysFollowTheFocusThenTheHotkeyThenTheChildren) {
    RecordingParent parent;
    ProbeControl root(&parent, 1, CRect(0, 0, 100, 100));
    root.SetNotifyKey(1);
    auto* first = Adopt(root, 1, new ProbeControl(&root, 2, CRect(0, 0, 10, 10)));
    auto* second = Adopt(root, 1, new ProbeControl(&root, 3, CRect(20, 0, 30, 10)));
    second->SetHotKey('S', 17);

    EXPECT_EQ(root.OnKeyDown('S', 1, 17), 1);  // offered to the children in order
    ASSERT_EQ(parent.notifications.size(), 1u);
    EXPECT_EQ(parent.notifications[0].code, 14u);
    EXPECT_EQ(parent.notifications[0].wParam, static_cast<WPARAM>('S'));
    EXPECT_EQ(parent.notifications[0].lParam, 17);

    EXPECT_EQ(root.OnKeyDown('S', 1, 0), 0);  // wrong modifiers: refused, still notified
    EXPECT_EQ(parent.notifications.size(), 2u);

    root.SetHotKey('R', 0);
    EXPECT_EQ(root.OnKeyDown('R', 1, 0), 1);

    first->SetControlFocus(1);  // keys now descend into the focused child only
    EXPECT_EQ(root.OnKeyDown('S', 1, 17), 0);
    first->SetHotKey('S', 17);
    EXPECT_EQ(root.OnKeyDown('S', 1, 17), 1);
}

TEST(MControlTimer, TicksReachOnlyVisibleChildrenThatAskForThem) {
    RecordingParent parent;
    ProbeControl root(&parent, 1, CRect(0, 0, 100, 100));
    root.handleTimer = 0;
    auto* asking = Adopt(root, 1, new ProbeControl(&root, 2, CRect()));
    auto* silent = Adopt(root, 1, new ProbeControl(&root, 3, CRect()));
    auto* hidden = Adopt(root, 1, new ProbeControl(&root, 4, CRect(), 0, 0));
    asking->SetRunTimer(1);
    hidden->SetRunTimer(1);
    EXPECT_EQ(root.OnTimer(), 1);
    EXPECT_EQ(asking->ticks, 1);
    EXPECT_EQ(silent->ticks, 0);
    EXPECT_EQ(hidden->ticks, 0);
    asking->handleTimer = 0;
    EXPECT_EQ(root.OnTimer(), 0);
}

TEST(MControlGeometry, PositionItemsResolveAgainstTheSpan) {
    struct Case {
        FS_POSITION_ITEM item;
        int expected;
    };
    const Case cases[] = {
        {{0, 0, 12.7f}, 112}, {{0, 1, 12.7f}, 188}, {{1, 0, 5.0f}, 155}, {{1, 1, 5.0f}, 145},
        {{2, 0, 50.0f}, 150}, {{2, 0, 150.0f}, 200}, {{2, 0, 33.3f}, 133}, {{7, 0, 5.0f}, 0},
    };
    ProbeControl control(nullptr, 1, CRect());
    for (const Case& c : cases) {
        EXPECT_EQ(control.CallPositionItem2Value(c.item, 100, 200), c.expected)
            << c.item.kind << "/" << c.item.fromEnd << "/" << c.item.value;
    }
}

TEST(MControlGeometry, PointsOnTheRightAndBottomEdgesAreOutside) {
    ProbeControl control(nullptr, 1, CRect(10, 10, 20, 20));
    EXPECT_EQ(control.PtInRect(CPoint(10, 10)), 1);
    EXPECT_EQ(control.PtInRect(CPoint(19, 19)), 1);
    EXPECT_EQ(control.PtInRect(CPoint(20, 15)), 0);
    EXPECT_EQ(control.PtInRect(CPoint(15, 20)), 0);
    control.SetVisible(0, 0);
    EXPECT_EQ(control.PtInRect(CPoint(15, 15)), 0);
}
