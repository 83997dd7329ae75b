// Input reaching controls through real window messages: a host window hands
// its mouse, wheel and key messages to a root control, as the dialog host does.
// The host stays hidden: posted messages need no screen, and Wine without a
// window manager spends two seconds destroying every visible window.
#include <gtest/gtest.h>

#include "HvuiTestSupport.h"

#include <commctrl.h>

#include "MWindow.h"
#include "PaintManager.h"

using namespace hvui_test;

namespace {

const auto* const kGdiplus = ::testing::AddGlobalTestEnvironment(new GdiplusEnvironment);

CPoint PointOf(LPARAM lParam) {
    return CPoint(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)));
}

class InputHost : public MWindow {
public:
    explicit InputHost(MControl* root) : m_root(root) {}

    LRESULT OnWindowMessage(UINT msg, WPARAM wParam, LPARAM lParam) override {
        const unsigned flags = static_cast<unsigned>(wParam);
        switch (msg) {
        case WM_MOUSEMOVE: return m_root->OnMouseMove(flags, PointOf(lParam));
        case WM_LBUTTONDOWN: return m_root->OnLButtonDown(flags, PointOf(lParam));
        case WM_LBUTTONUP: return m_root->OnLButtonUp(flags, PointOf(lParam));
        case WM_LBUTTONDBLCLK: return m_root->OnLButtonDblClk(flags, PointOf(lParam));
        case WM_KEYDOWN: return m_root->OnKeyDown(flags, 1, 0);
        case WM_MOUSEWHEEL: {
            CPoint point = PointOf(lParam);
            ScreenToClient(&point);
            return m_root->OnScroll(1, GET_WHEEL_DELTA_WPARAM(wParam) < 0 ? 1 : 0, point);
        }
        default: return MWindow::OnWindowMessage(msg, wParam, lParam);
        }
    }

private:
    MControl* m_root;
};

class InvalidatingControl : public ProbeControl {
public:
    using ProbeControl::ProbeControl;
    void Invalidate(const RECT& rect) { InvalidateRect(&rect, FALSE); }
};

CRect DirtyRect(HWND window) {
    RECT dirty = {};
    GetUpdateRect(window, &dirty, FALSE);
    return CRect(dirty);
}

class ControlInputTest : public ::testing::Test {
protected:
    void SetUp() override {
        Manager::SetInstance(GetModuleHandleW(nullptr));
        child = new ProbeControl(&root, 2, CRect(10, 10, 60, 40));
        root.AppendChild(1, child);
        ASSERT_NE(host.Create(nullptr, L"input", WS_POPUP, 0, CRect(0, 0, 200, 100)), nullptr);
    }
    void TearDown() override { host.DestroyWindow(); }

    void Post(UINT msg, WPARAM wParam, int x, int y) {
        host.PostMessageW(msg, wParam, MAKELPARAM(x, y));
        PumpMessages();
    }

    RecordingParent parent;
    ProbeControl root{&parent, 1, CRect(0, 0, 200, 100)};
    ProbeControl* child = nullptr;
    InputHost host{&root};
};

}  // namespace

TEST_F(ControlInputTest, PressAndDoubleClickMessagesReachTheControlUnderThePointer) {
    Post(WM_MOUSEMOVE, 0, 20, 20);
    Post(WM_LBUTTONDOWN, MK_LBUTTON, 20, 20);
    Post(WM_LBUTTONUP, 0, 20, 20);
    Post(WM_LBUTTONDBLCLK, MK_LBUTTON, 20, 20);
    Post(WM_LBUTTONUP, 0, 20, 20);
    EXPECT_EQ(child->leftDowns, 2);  // the double click came as a second press
    EXPECT_EQ(child->leftUps, 2);
    EXPECT_EQ(child->doubleClicks, 0);
    EXPECT_EQ(child->lastPoint, CPoint(20, 20));
    EXPECT_EQ(root.leftDowns, 0);
}

TEST_F(ControlInputTest, WheelAndKeysReachTheTree) {
    POINT screen = {30, 20};
    ClientToScreen(host.GetSafeHwnd(), &screen);
    root.handleScroll = 0;
    host.PostMessageW(WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA)), MAKELPARAM(screen.x, screen.y));
    PumpMessages();
    EXPECT_EQ(child->scrolls, 1);
    EXPECT_EQ(child->lastDirection, 1u);

    child->SetHotKey(VK_RETURN, 0);
    root.SetNotifyKey(1);
    Post(WM_KEYDOWN, VK_RETURN, 0, 0);
    ASSERT_EQ(parent.notifications.size(), 1u);  // the child took it, the root reported it
    EXPECT_EQ(parent.notifications[0].code, 14u);
    EXPECT_EQ(parent.notifications[0].wParam, static_cast<WPARAM>(VK_RETURN));
}

TEST_F(ControlInputTest, TheHandCursorShowsOnlyOverTheControlThatAskedForIt) {
    child->SetCursorEx(L"pointer");
    EXPECT_EQ(child->GetCursor(), nullptr);
    child->SetCursorEx(L"hand");
    HCURSOR hand = LoadCursorW(nullptr, IDC_HAND);
    EXPECT_EQ(child->GetCursor(), hand);
    child->SetCursorEx(L"HAND");
    EXPECT_EQ(child->GetCursor(), hand);

    SetCursor(LoadCursorW(nullptr, IDC_ARROW));
    Post(WM_MOUSEMOVE, 0, 150, 80);
    EXPECT_NE(GetCursor(), hand);
    Post(WM_MOUSEMOVE, 0, 20, 20);
    EXPECT_EQ(GetCursor(), hand);
}

TEST_F(ControlInputTest, TheControlUnderThePointerOwnsTheTooltip) {
    PaintManager manager;
    manager.Init(host.GetSafeHwnd(), &host);
    root.SetManager(&manager);
    child->SetManager(&manager);
    child->SetTooltip(L"CPU temperature");

    Post(WM_MOUSEMOVE, 0, 20, 20);
    EXPECT_EQ(manager.GetTooltipCtrlID(), 2);
    HWND tip = manager.GetTooltipWindow();
    ASSERT_NE(tip, nullptr);
    wchar_t text[80] = {};
    TOOLINFOW tool = {};
    tool.cbSize = TTTOOLINFOW_V2_SIZE;
    tool.hwnd = host.GetSafeHwnd();
    tool.uId = PaintManager::kTooltipToolId;
    tool.lpszText = text;
    SendMessageW(tip, TTM_GETTEXTW, sizeof(text) / sizeof(text[0]), reinterpret_cast<LPARAM>(&tool));
    EXPECT_STREQ(text, L"CPU temperature");
    // The modal loop relays the mouse to the tooltip; a subclassing tool
    // would hand it every message a second time.
    ASSERT_TRUE(SendMessageW(tip, TTM_GETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&tool)));
    EXPECT_EQ(tool.uFlags & TTF_SUBCLASS, 0u);

    child->ClearTooltip();
    EXPECT_EQ(manager.GetTooltipCtrlID(), 0);
    root.SetManager(nullptr);
    child->SetManager(nullptr);
}

TEST_F(ControlInputTest, RedrawRequestsOfTopLevelControlsInvalidateTheirRectangle) {
    host.ShowWindow(SW_SHOWNOACTIVATE);  // only a shown window collects an update region
    PaintManager manager;
    manager.Init(host.GetSafeHwnd(), &host);
    UpdateWindow(host.GetSafeHwnd());
    ValidateRect(host.GetSafeHwnd(), nullptr);
    auto* top = new InvalidatingControl(nullptr, 9, CRect(30, 30, 50, 50));
    manager.AppendChild(1, top);
    top->SetManager(&manager);
    manager.OnControlUpdate(top->GetRect(), 1, top);
    EXPECT_EQ(DirtyRect(host.GetSafeHwnd()), CRect(30, 30, 50, 50));
    EXPECT_EQ(manager.GetControl(9), top);

    ValidateRect(host.GetSafeHwnd(), nullptr);
    top->Invalidate(CRect(1, 2, 3, 4));
    EXPECT_EQ(DirtyRect(host.GetSafeHwnd()), CRect(1, 2, 3, 4));
    ValidateRect(host.GetSafeHwnd(), nullptr);
    manager.SetLayeredWindow(1);  // a layered window is always presented whole
    top->Invalidate(CRect(1, 2, 3, 4));
    EXPECT_EQ(DirtyRect(host.GetSafeHwnd()), CRect(0, 0, 200, 100));
}
