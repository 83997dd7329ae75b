// The dialog host driven through its native window: mouse, wheel and keys
// posted to the window, Tab navigation through the modal loop's
// PreTranslateMessage, the modal result.
#include <gtest/gtest.h>

#include "DialogTestSupport.h"

using namespace hvui_test;

namespace {

const auto* const kGdiplus = ::testing::AddGlobalTestEnvironment(new GdiplusEnvironment);

// A probe that also records the keys it is offered.
class KeyProbe : public ProbeControl {
public:
    using ProbeControl::ProbeControl;
    int OnControlKeyDown(unsigned key, unsigned, unsigned modifiers) override {
        keys.push_back(key);
        lastModifiers = modifiers;
        return acceptKeys;
    }
    std::vector<unsigned> keys;
    unsigned lastModifiers = 99;
    int acceptKeys = 1;
};

class MDialogTest : public DialogSuite {};

TEST_F(MDialogTest, InitUIGetsTheClientRectangleAndTheDialogAnswersItsClassName) {
    EXPECT_EQ(dialog->initClient, CRect(0, 0, kWidth, kHeight));
    EXPECT_TRUE(dialog->IsClass(L"MDialog"));
    EXPECT_EQ(manager()->GetPaintWnd(), window());
    EXPECT_EQ(SendMessageW(window(), WM_ERASEBKGND, 0, 0), 1);
}

TEST_F(MDialogTest, EmptySpaceStartsAWindowMoveOnlyWithDraggingOn) {
    Post(WM_MOUSEMOVE, 0, 300, 200);
    Post(WM_LBUTTONDOWN, MK_LBUTTON, 300, 200);
    Post(WM_LBUTTONUP, 0, 300, 200);
    EXPECT_EQ(dialog->moveRequests, 1);

    dialog->EnableWndDrag(0);
    Post(WM_LBUTTONDOWN, MK_LBUTTON, 300, 200);
    Post(WM_LBUTTONUP, 0, 300, 200);
    EXPECT_EQ(dialog->moveRequests, 1);

    // A press on a control never moves the window.
    dialog->EnableWndDrag(1);
    dialog->Add(new ProbeControl(dialog, 10, CRect(10, 10, 60, 40)));
    Post(WM_MOUSEMOVE, 0, 20, 20);
    Post(WM_LBUTTONDOWN, MK_LBUTTON, 20, 20);
    Post(WM_LBUTTONUP, 0, 20, 20);
    EXPECT_EQ(dialog->moveRequests, 1);
}

TEST_F(MDialogTest, APressKeepsTheMouseStreamUntilTheRelease) {
    auto* button = dialog->Add(new ProbeControl(dialog, 10, CRect(10, 10, 60, 40)));
    auto* other = dialog->Add(new ProbeControl(dialog, 11, CRect(100, 10, 160, 40)));
    Post(WM_MOUSEMOVE, 0, 20, 20);
    EXPECT_EQ(manager()->GetHoverControl(), button);
    Post(WM_LBUTTONDOWN, MK_LBUTTON, 20, 20);
    EXPECT_EQ(button->leftDowns, 1);
    EXPECT_TRUE(manager()->IsCaptured());
    EXPECT_EQ(GetCapture(), window());

    const int movesBefore = button->moves;
    const int otherBefore = other->moves;
    Post(WM_MOUSEMOVE, MK_LBUTTON, 120, 20);  // over the other control
    Post(WM_MOUSEMOVE, MK_LBUTTON, 250, 150);  // over nothing
    EXPECT_GE(button->moves, movesBefore + 2);
    EXPECT_EQ(button->lastPoint, CPoint(250, 150));
    EXPECT_EQ(other->moves, otherBefore);

    Post(WM_LBUTTONUP, 0, 250, 150);
    EXPECT_EQ(button->leftUps, 1);
    EXPECT_EQ(manager()->GetHoverControl(), nullptr);  // released outside
    EXPECT_FALSE(manager()->IsCaptured());
    EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(MDialogTest, WheelStepsOf120ScrollOnceEachAndSmallerDeltasNotAtAll) {
    auto* list = dialog->Add(new ProbeControl(dialog, 10, CRect(10, 10, 200, 200)));
    Post(WM_MOUSEMOVE, 0, 50, 50);
    struct Case {
        short delta;
        int scrolls;
        unsigned direction;
    };
    const Case cases[] = {{-240, 2, 1}, {240, 2, 0}, {-120, 1, 1}, {60, 0, 99}, {-60, 0, 99}, {-359, 2, 1}};
    for (const Case& c : cases) {
        list->scrolls = 0;
        list->lastDirection = 99;
        PostMessageW(window(), WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(c.delta)), MAKELPARAM(50, 50));
        PumpDialog(*dialog);
        EXPECT_EQ(list->scrolls, c.scrolls) << c.delta;
        EXPECT_EQ(list->lastDirection, c.direction) << c.delta;
    }
}

TEST_F(MDialogTest, KeysReachTheControlUnderThePointerBeforeTheFocusedOne) {
    auto* focused = dialog->Add(new KeyProbe(dialog, 10, CRect(10, 10, 60, 40)));
    auto* pointed = dialog->Add(new KeyProbe(dialog, 11, CRect(100, 10, 160, 40)));
    dialog->SetFocusControl(focused);
    Post(WM_MOUSEMOVE, 0, 120, 20);
    PostKey('A');
    EXPECT_EQ(pointed->keys, std::vector<unsigned>{'A'});
    EXPECT_TRUE(focused->keys.empty());

    pointed->acceptKeys = 0;
    PostKey('B');
    EXPECT_EQ(focused->keys, std::vector<unsigned>{'B'});
}

TEST_F(MDialogTest, ModifierCodesOfKeyRouting) {
    auto* probe = dialog->Add(new KeyProbe(dialog, 10, CRect(10, 10, 60, 40)));
    struct Case {
        std::initializer_list<int> held;
        unsigned code;
    };
    const Case cases[] = {{{}, 0},
                          {{VK_SHIFT}, 16},
                          {{VK_CONTROL}, 17},
                          {{VK_MENU}, 18},
                          {{VK_CONTROL, VK_SHIFT}, 17},
                          {{VK_CONTROL, VK_MENU}, 19}};
    for (const Case& c : cases) {
        HoldKeys(c.held);
        PostKey('K');
        EXPECT_EQ(probe->lastModifiers, c.code);
    }
}

TEST_F(MDialogTest, TabAndShiftTabWalkTheTabStopsAndWrap) {
    ProbeControl* controls[4];
    for (unsigned i = 0; i < 4; ++i) {
        controls[i] = dialog->Add(new ProbeControl(dialog, 10 + i, CRect(10 + 50 * i, 10, 50 + 50 * i, 40)));
        controls[i]->SetTabStop(1);
    }
    controls[2]->SetTabStop(0);  // skipped
    auto focus = [] { return manager()->GetFocusControl(); };

    PostKey(VK_TAB);
    EXPECT_EQ(focus(), controls[0]);
    PostKey(VK_TAB);
    EXPECT_EQ(focus(), controls[1]);
    PostKey(VK_TAB);
    EXPECT_EQ(focus(), controls[3]);
    PostKey(VK_TAB);
    EXPECT_EQ(focus(), controls[0]);  // wrapped
    EXPECT_EQ(controls[3]->focusCalls.back(), 0);
    EXPECT_EQ(controls[0]->focusCalls.back(), 1);

    HoldKeys({VK_SHIFT});
    PostKey(VK_TAB);
    EXPECT_EQ(focus(), controls[3]);  // backwards, wrapped
    PostKey(VK_TAB);
    EXPECT_EQ(focus(), controls[1]);

    // Ctrl+Tab and Alt+Tab are not consumed: they reach key routing.
    auto* keys = dialog->Add(new KeyProbe(dialog, 20, CRect(300, 200, 350, 250)));
    for (int modifier : {VK_CONTROL, VK_MENU}) {
        HoldKeys({modifier});
        keys->keys.clear();
        PostKey(VK_TAB);
        EXPECT_EQ(focus(), controls[1]);
        EXPECT_EQ(keys->keys, std::vector<unsigned>{VK_TAB});
    }
}

TEST_F(MDialogTest, ShiftTabWithoutFocusTakesTheLastTabStop) {
    ProbeControl* first = dialog->Add(new ProbeControl(dialog, 10, CRect(10, 10, 50, 40)));
    ProbeControl* last = dialog->Add(new ProbeControl(dialog, 11, CRect(60, 10, 90, 40)));
    ProbeControl* hidden = dialog->Add(new ProbeControl(dialog, 12, CRect(100, 10, 130, 40), RGB(0, 0, 255), 0));
    for (ProbeControl* c : {first, last, hidden}) c->SetTabStop(1);
    HoldKeys({VK_SHIFT});
    PostKey(VK_TAB);
    EXPECT_EQ(manager()->GetFocusControl(), last);
}

TEST_F(MDialogTest, NotificationsOfTopLevelControlsReachOnMessage) {
    auto* probe = dialog->Add(new ProbeControl(dialog, 33, CRect(10, 10, 60, 40)));
    probe->SendMessageW(2, 7, 9);
    ASSERT_EQ(dialog->notifications.size(), 1u);
    EXPECT_EQ(dialog->notifications[0].id, 33u);
    EXPECT_EQ(dialog->notifications[0].code, 2u);
    EXPECT_EQ(dialog->notifications[0].wParam, 7u);
    EXPECT_EQ(dialog->notifications[0].lParam, 9);
}

// Removes a control from inside its own handlers, as a page that closes
// itself on a click or a key does.
class SelfRemovingControl : public KeyProbe {
public:
    using KeyProbe::KeyProbe;
    int OnControlLButtonUp(unsigned flags, CPoint point) override {
        int* counter = deletions;
        const int before = *counter;
        GetManager()->RemoveControl(this);
        deletedInsideHandler = *counter - before;
        return ProbeControl::OnControlLButtonUp(flags, point);  // still alive here
    }
    int OnControlKeyDown(unsigned key, unsigned repeat, unsigned modifiers) override {
        const int before = *deletions;
        if (victim) GetManager()->RemoveControl(victim);
        victim = nullptr;
        deletedInsideHandler = *deletions - before;
        return KeyProbe::OnControlKeyDown(key, repeat, modifiers);
    }
    MControl* victim = nullptr;
    static int deletedInsideHandler;
};

int SelfRemovingControl::deletedInsideHandler = -1;

TEST_F(MDialogTest, AControlRemovedFromInsideRoutingGoesOnlyAfterTheMessage) {
    int deletions = 0;
    auto* remover = dialog->Add(new SelfRemovingControl(dialog, 10, CRect(10, 10, 60, 40)));
    auto* other = dialog->Add(new ProbeControl(dialog, 11, CRect(100, 10, 160, 40)));
    remover->deletions = &deletions;
    other->deletions = &deletions;

    // During key routing the manager's list lock is held.
    remover->victim = other;
    PostKey('X');
    EXPECT_EQ(SelfRemovingControl::deletedInsideHandler, 0);
    EXPECT_EQ(deletions, 1);
    EXPECT_EQ(dialog->GetControl(11), nullptr);

    Post(WM_MOUSEMOVE, 0, 20, 20);
    Post(WM_LBUTTONDOWN, MK_LBUTTON, 20, 20);
    Post(WM_LBUTTONUP, 0, 20, 20);
    EXPECT_EQ(SelfRemovingControl::deletedInsideHandler, 0);
    EXPECT_EQ(deletions, 2);
    EXPECT_EQ(manager()->GetHoverControl(), nullptr);
    EXPECT_TRUE(manager()->GetControls().empty());
}

// Its own hidden dialog: a modal run ends with the window destroyed.
TEST_F(MDialogTest, ThePointerShowsTheArrowOrTheCursorOfTheControlUnderIt) {
    auto* plain = dialog->Add(new ProbeControl(dialog, 10, CRect(10, 10, 60, 40)));
    auto* link = dialog->Add(new ProbeControl(dialog, 11, CRect(100, 10, 160, 40)));
    link->SetCursorEx(L"hand");
    const HCURSOR arrow = LoadCursorW(nullptr, IDC_ARROW);
    const HCURSOR hand = LoadCursorW(nullptr, IDC_HAND);
    const HCURSOR beam = LoadCursorW(nullptr, IDC_IBEAM);
    struct Case {
        int x, y;
        MControl* hover;
        HCURSOR expected;
        const char* what;
    };
    const Case cases[] = {
        {20, 20, plain, arrow, "a control without a cursor"},
        {120, 20, link, hand, "a control that asked for the hand"},
        {250, 150, nullptr, arrow, "empty space"},
    };
    for (const Case& c : cases) {
        Post(WM_MOUSEMOVE, 0, c.x, c.y);
        EXPECT_EQ(manager()->GetHoverControl(), c.hover) << c.what;
        SetCursor(beam);  // the shape the pointer came in with
        const LRESULT answer = SendMessageW(window(), WM_SETCURSOR, reinterpret_cast<WPARAM>(window()),
                                            MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
        EXPECT_EQ(answer, TRUE) << c.what;
        EXPECT_EQ(GetCursor(), c.expected) << c.what;
    }
}

TEST(MDialogTooltipTest, TheTooltipGoesWithItsOwnerAndItsHandleIsForgotten) {
    Manager::SetInstance(GetModuleHandleW(nullptr));
    TestDialog dialog;
    ASSERT_NE(dialog.Create(nullptr, L"tooltip", WS_POPUP, 0, CRect(0, 0, 100, 100)), nullptr);
    PaintManager* manager = dialog.GetPaintManager();
    manager->SetTooltip(L"fan speed", CRect(0, 0, 10, 10));
    HWND tip = manager->GetTooltipWindow();
    ASSERT_TRUE(tip && IsWindow(tip));
    EXPECT_EQ(GetWindow(tip, GW_OWNER), dialog.GetSafeHwnd());
    dialog.DestroyWindow();
    EXPECT_FALSE(IsWindow(tip));
    // A handle kept past its window may name another window later.
    EXPECT_EQ(manager->GetTooltipWindow(), nullptr);
}

TEST(MDialogModalTest, DoYesAndItsSiblingsEndTheModalLoopWithTheirResult) {
    Manager::SetInstance(GetModuleHandleW(nullptr));
    struct Case {
        void (MDialog::*action)();
        unsigned result;
    };
    const Case cases[] = {{&MDialog::DoYes, 6}, {&MDialog::DoNo, 7}, {&MDialog::DoOK, 1}, {&MDialog::DoCancel, 2}};
    for (const Case& c : cases) {
        TestDialog modal;
        ASSERT_NE(modal.Create(nullptr, L"modal", WS_POPUP, 0, CRect(0, 0, 100, 100)), nullptr);
        (modal.*c.action)();
        EXPECT_EQ(modal.ShowModal(SW_HIDE), c.result);
        EXPECT_EQ(modal.GetSafeHwnd(), nullptr);
        EXPECT_FALSE(modal.GetPaintManager()->IsInitialised());
    }
}

}  // namespace
