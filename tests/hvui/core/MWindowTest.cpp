#include <gtest/gtest.h>

#include <functional>

#include "CComboBoxWnd.h"
#include "HvuiTestSupport.h"
#include "MAirBladder.h"
#include "MDialog.h"
#include "MWindow.h"
#include "MenuWnd.h"

using namespace hvui_test;

namespace {

constexpr DWORD kPopup = WS_POPUP;
constexpr UINT kRunHook = WM_APP + 1;

// A window that records what reaches it and runs a hook when asked by a
// posted message, so tests act from inside a modal loop.
class RecordingWindow : public MWindow {
public:
    LRESULT OnWindowMessage(UINT msg, WPARAM wParam, LPARAM lParam) override {
        if (msg == WM_TIMER) ++timerTicks;
        if (msg == WM_NCDESTROY) sawNcDestroy = true;
        if (msg == kRunHook && hook) {
            auto run = hook;
            run();
            return 0;
        }
        return MWindow::OnWindowMessage(msg, wParam, lParam);
    }
    int OnInitDialog() override {
        ++initCalls;
        return 1;
    }
    void OnDestroyMessage(HWND window) override { destroyedWindow = window; }

    std::function<void()> hook;
    int initCalls = 0;
    int timerTicks = 0;
    bool sawNcDestroy = false;
    HWND destroyedWindow = nullptr;
};

class SuperEdit : public MWindow {
public:
    const wchar_t* GetWindowClassName() const override { return L"HVTestEdit"; }
    const wchar_t* GetSuperClassName() const override { return superName; }
    LRESULT OnWindowMessage(UINT msg, WPARAM wParam, LPARAM lParam) override {
        if (msg == WM_SETTEXT) ++setTexts;
        return MWindow::OnWindowMessage(msg, wParam, lParam);
    }
    const wchar_t* superName = L"Edit";
    int setTexts = 0;
};

class WindowTest : public ::testing::Test {
protected:
    void SetUp() override { Manager::SetInstance(GetModuleHandleW(nullptr)); }
};

}  // namespace

TEST_F(WindowTest, WithoutAWindowEveryWrapperDoesNothing) {
    MWindow window;
    RECT rect = {1, 2, 3, 4};
    POINT point = {5, 6};
    CString text(L"unchanged");
    EXPECT_EQ(window.GetSafeHwnd(), nullptr);
    EXPECT_EQ(window.ShowWindow(SW_SHOW), 0);
    EXPECT_EQ(window.GetStyle(), 0u);
    EXPECT_EQ(window.GetExStyle(), 0u);
    EXPECT_EQ(window.ModifyStyle(0, WS_VISIBLE, 0), 0);
    EXPECT_EQ(window.GetClientRect(&rect), FALSE);
    EXPECT_EQ(window.GetWindowTextW(text), 0);
    EXPECT_STREQ(text, L"unchanged");
    EXPECT_EQ(window.GetWindowTextLengthW(), -1);
    EXPECT_EQ(window.SetWindowTextW(L"x"), FALSE);
    EXPECT_EQ(window.IsWindowVisible(), FALSE);
    EXPECT_EQ(window.SetTimer(1, 10, nullptr), 0u);
    EXPECT_EQ(window.ClientToScreen(&point), FALSE);
    EXPECT_EQ(point.x, 5);
    EXPECT_EQ(window.DestroyWindow(), 0);
    EXPECT_EQ(window.SendMessageW(WM_USER, 0, 0), 0);
    EXPECT_EQ(window.PostMessageW(WM_USER, 0, 0), FALSE);
    EXPECT_EQ(window.ShowModal(SW_SHOW), 0xFFFFFFFFu);
    window.CenterWindow(nullptr);
    window.BringToTop();
    window.SetIcon(1);
}

TEST_F(WindowTest, CreateAttachesTheObjectOnceAndRegistersTheClassOnce) {
    RecordingWindow window;
    EXPECT_EQ(window.RegisterWindowClass(), 1);
    EXPECT_EQ(window.RegisterWindowClass(), 1);  // already there: still fine
    HWND handle = window.Create(nullptr, L"first", kPopup, 0, CRect(10, 20, 110, 70));
    ASSERT_NE(handle, nullptr);
    EXPECT_EQ(window.GetSafeHwnd(), handle);
    EXPECT_EQ(window.initCalls, 1);
    EXPECT_EQ(reinterpret_cast<MWindow*>(GetWindowLongPtrW(handle, GWLP_USERDATA)), &window);
    EXPECT_EQ(window.Create(nullptr, L"second", kPopup, 0, CRect(0, 0, 10, 10)), handle);
    EXPECT_EQ(window.initCalls, 1);

    WNDCLASSEXW info = {};
    info.cbSize = sizeof(info);
    ASSERT_TRUE(GetClassInfoExW(Manager::GetInstance(), L"HVWindow", &info));
    EXPECT_EQ(info.style, 0x000Bu);
    EXPECT_EQ(info.hCursor, nullptr);
    EXPECT_EQ(info.hbrBackground, nullptr);
    CRect placed;
    window.GetWindowRect(&placed);
    EXPECT_EQ(placed, CRect(10, 20, 110, 70));
    CString title;
    window.GetWindowTextW(title);
    EXPECT_STREQ(title, L"first");

    window.DestroyWindow();
    EXPECT_TRUE(window.sawNcDestroy == false);  // the object never sees its last message
    EXPECT_EQ(window.destroyedWindow, handle);
    EXPECT_EQ(window.GetSafeHwnd(), nullptr);
    HWND again = window.Create(nullptr);  // a destroyed window may be created again
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(window.GetStyle() & 0xFFFF, 0x80Bu & 0xFFFF);
    window.GetWindowRect(&placed);
    EXPECT_EQ(placed.Width(), 800);
    window.DestroyWindow();
}

TEST_F(WindowTest, AFailedCreationStillInitialisesAndAnswersNull) {
    RecordingWindow window;
    EXPECT_EQ(window.Create(reinterpret_cast<HWND>(static_cast<uintptr_t>(0x7654)), L"x", WS_CHILD, 0,
                            CRect(0, 0, 10, 10)),
              nullptr);
    EXPECT_EQ(window.initCalls, 1);
}

TEST_F(WindowTest, ModalLoopAnswersTheWParamOfAPostedClose) {
    struct Case {
        const char* what;
        std::function<void(RecordingWindow&)> act;
        unsigned expected;
        int show;
    };
    const Case cases[] = {
        {"posted close 6", [](RecordingWindow& w) { w.PostMessageW(WM_CLOSE, 6, 0); }, 6, SW_SHOW},
        {"posted close 1", [](RecordingWindow& w) { w.PostMessageW(WM_CLOSE, 1, 0); }, 1, SW_HIDE},
        {"sent close", [](RecordingWindow& w) { w.SendMessageW(WM_CLOSE, 6, 0); }, 0, SW_HIDE},
        {"destroyed", [](RecordingWindow& w) { w.DestroyWindow(); }, 0, SW_HIDE},
    };
    MWindow owner;
    ASSERT_NE(owner.Create(nullptr, L"owner", kPopup, 0, CRect(0, 0, 50, 50)), nullptr);
    for (const Case& c : cases) {
        RecordingWindow dialog;
        ASSERT_NE(dialog.Create(owner.GetSafeHwnd(), L"modal", kPopup, 0, CRect(0, 0, 40, 40)), nullptr);
        bool ownerDisabled = false;
        dialog.hook = [&] {
            ownerDisabled = !owner.IsWindowEnabled();
            c.act(dialog);
        };
        dialog.PostMessageW(kRunHook, 0, 0);
        EXPECT_EQ(dialog.ShowModal(c.show), c.expected) << c.what;
        EXPECT_TRUE(ownerDisabled) << c.what;
        EXPECT_TRUE(owner.IsWindowEnabled()) << c.what;
        EXPECT_EQ(dialog.GetSafeHwnd(), nullptr) << c.what;
    }
    owner.DestroyWindow();
}

TEST_F(WindowTest, AQuitMessageEndsTheModalLoopAndIsPostedAgain) {
    RecordingWindow dialog;
    ASSERT_NE(dialog.Create(nullptr, L"modal", kPopup, 0, CRect(0, 0, 40, 40)), nullptr);
    dialog.hook = [] { PostQuitMessage(3); };
    dialog.PostMessageW(kRunHook, 0, 0);
    EXPECT_EQ(dialog.ShowModal(SW_HIDE), 0u);
    EXPECT_NE(dialog.GetSafeHwnd(), nullptr);  // the loop ended, the window lives on
    MSG message;
    ASSERT_TRUE(PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(message.wParam, 3u);
    dialog.DestroyWindow();
}

TEST_F(WindowTest, CenterWindowStaysInsideTheWorkArea) {
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof(monitor);
    GetMonitorInfoW(MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY), &monitor);
    const CRect work(monitor.rcWork);

    MWindow owner;
    owner.Create(nullptr, L"owner", kPopup | WS_VISIBLE, 0, CRect(work.right - 100, work.bottom - 80, work.right,
                                                                 work.bottom));
    MWindow centred;
    centred.Create(owner.GetSafeHwnd(), L"centred", kPopup, 0, CRect(0, 0, 400, 300));
    centred.CenterWindow(nullptr);
    CRect placed;
    centred.GetWindowRect(&placed);
    EXPECT_EQ(placed, CRect(work.right - 400, work.bottom - 300, work.right, work.bottom));

    owner.MoveWindow(work.left + 500, work.top + 400, 200, 100, TRUE);
    centred.CenterWindow(&owner);
    centred.GetWindowRect(&placed);
    EXPECT_EQ(placed.left, work.left + 500 + 100 - 200);
    EXPECT_EQ(placed.top, work.top + 400 + 50 - 150);
    EXPECT_EQ(placed.Width(), 400);
    centred.DestroyWindow();
    owner.DestroyWindow();
}

TEST_F(WindowTest, ChildWindowsCentreInTheirParentsClientArea) {
    MWindow parent;
    parent.Create(nullptr, L"parent", kPopup, 0, CRect(40, 30, 340, 230));
    MWindow child;
    child.Create(parent.GetSafeHwnd(), L"child", WS_CHILD, 0, CRect(0, 0, 100, 50));
    child.CenterWindow(nullptr);
    CRect placed;
    child.GetWindowRect(&placed);
    parent.ScreenToClient(&placed);
    EXPECT_EQ(placed, CRect(100, 75, 200, 125));
    parent.DestroyWindow();
}

TEST_F(WindowTest, ModifyStyleChangesOnlyWhatDiffers) {
    MWindow window;
    window.Create(nullptr, L"style", kPopup | WS_BORDER, 0, CRect(0, 0, 50, 50));
    EXPECT_EQ(window.ModifyStyle(0, WS_BORDER, SWP_FRAMECHANGED), 0);
    EXPECT_EQ(window.ModifyStyle(WS_BORDER, WS_CLIPCHILDREN, SWP_FRAMECHANGED), 1);
    EXPECT_EQ(window.GetStyle() & (WS_BORDER | WS_CLIPCHILDREN), static_cast<DWORD>(WS_CLIPCHILDREN));
    EXPECT_EQ(window.ModifyExStyle(0, WS_EX_TOOLWINDOW, 0), 1);
    EXPECT_NE(window.GetExStyle() & WS_EX_TOOLWINDOW, 0u);
    EXPECT_EQ(window.ModifyExStyle(0, WS_EX_TOOLWINDOW, 0), 0);
    window.DestroyWindow();
}

TEST_F(WindowTest, WrappersReachTheLiveWindow) {
    RecordingWindow window;
    window.Create(nullptr, L"wrappers", kPopup, 0, CRect(100, 120, 200, 220));
    window.SetWindowTextW(L"Tarvenholm");
    EXPECT_EQ(window.GetWindowTextLengthW(), 10);
    CRect rect(1, 2, 3, 4);
    EXPECT_TRUE(window.ClientToScreen(&rect));
    EXPECT_EQ(rect, CRect(101, 122, 103, 124));
    EXPECT_TRUE(window.ScreenToClient(&rect));
    EXPECT_EQ(rect, CRect(1, 2, 3, 4));

    EXPECT_NE(window.SetTimer(5, 10, nullptr), 0u);
    PumpMessages(200);
    EXPECT_GT(window.timerTicks, 0);
    EXPECT_TRUE(window.KillTimer(5));

    window.ShowWindow(SW_MINIMIZE);
    window.BringToTop();
    EXPECT_FALSE(window.IsIconic());
    EXPECT_TRUE(window.IsWindowVisible());
    window.EnableWindow(FALSE);
    EXPECT_FALSE(window.IsWindowEnabled());
    window.DestroyWindow();
}

TEST_F(WindowTest, SuperclassedNativeControlsKeepTheirBehaviour) {
    MWindow host;
    host.Create(nullptr, L"host", kPopup, 0, CRect(0, 0, 200, 100));
    SuperEdit edit;
    HWND handle = edit.Create(host.GetSafeHwnd(), L"", WS_CHILD | WS_VISIBLE, 0, CRect(0, 0, 100, 20));
    ASSERT_NE(handle, nullptr);
    EXPECT_EQ(GetPropW(handle, L"Control"), static_cast<HANDLE>(&edit));
    edit.SetWindowTextW(L"42");
    EXPECT_GE(edit.setTexts, 1);
    CString text;
    edit.GetWindowTextW(text);
    EXPECT_STREQ(text, L"42");
    // The native edit control answers its own messages through the saved procedure.
    edit.SendMessageW(EM_SETSEL, 0, -1);
    DWORD from = 9, to = 9;
    edit.SendMessageW(EM_GETSEL, reinterpret_cast<WPARAM>(&from), reinterpret_cast<LPARAM>(&to));
    EXPECT_EQ(from, 0u);
    EXPECT_EQ(to, 2u);
    edit.DestroyWindow();
    EXPECT_EQ(edit.GetSafeHwnd(), nullptr);

    SuperEdit unknown;
    unknown.superName = L"NoSuchNativeClass";
    EXPECT_EQ(unknown.RegisterSuperClass(), 0);
    EXPECT_EQ(unknown.Create(host.GetSafeHwnd(), L"", WS_CHILD, 0, CRect(0, 0, 10, 10)), nullptr);
    host.DestroyWindow();
}

TEST_F(WindowTest, EveryTopLevelWindowOfTheFrameworkIsOfClassHVWindow) {
    MDialog dialog;
    MPopupWnd popup;
    MenuWnd menu(nullptr);
    CComboBoxWnd dropDown;
    MAirBladder balloon;
    struct Case {
        const wchar_t* what;
        MWindow* window;
        std::function<HWND()> create;
    };
    const Case cases[] = {
        {L"dialog", &dialog, [&] { return dialog.Create(nullptr, L"d", kPopup, 0, CRect(0, 0, 50, 50)); }},
        {L"popup", &popup, [&] { return popup.Create(nullptr, L"p", kPopup, 0, CRect(0, 0, 50, 50)); }},
        {L"drop-down", &dropDown, [&] { return dropDown.Create(nullptr, L"c", kPopup, 0, CRect(0, 0, 50, 50)); }},
        {L"menu", &menu, [&] { return menu.Create(nullptr, CPoint(0, 0), WM_APP) ? menu.GetSafeHwnd() : nullptr; }},
        {L"balloon", &balloon, [&] { return balloon.Create(nullptr); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        HWND handle = c.create();
        ASSERT_NE(handle, nullptr);
        wchar_t name[64] = {};
        GetClassNameW(handle, name, 64);
        EXPECT_STREQ(name, L"HVWindow");
        EXPECT_STREQ(c.window->GetWindowClassName(), L"HVWindow");
        c.window->DestroyWindow();
    }
}

// Whether icon is still a live icon handle.
static bool IsLiveIcon(HICON icon) {
    ICONINFO info = {};
    if (!icon || !GetIconInfo(icon, &info)) return false;
    if (info.hbmColor) DeleteObject(info.hbmColor);
    if (info.hbmMask) DeleteObject(info.hbmMask);
    return true;
}

TEST_F(WindowTest, SetIconFreesTheIconsItReplacesAndTheLastPairWithTheWindow) {
    // The program's icon resource, loaded as data from its executable.
    HMODULE program = LoadLibraryExW(L"Tarvenholm.exe", nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(program, nullptr);
    constexpr unsigned kProgramIcon = 107;
    RecordingWindow window;
    ASSERT_NE(window.Create(nullptr, L"icons", kPopup, 0, CRect(0, 0, 50, 50)), nullptr);
    auto shown = [&](WPARAM which) {
        return reinterpret_cast<HICON>(window.SendMessageW(WM_GETICON, which, 0));
    };
    Manager::SetInstance(program);
    window.SetIcon(kProgramIcon);
    const HICON firstBig = shown(ICON_BIG);
    const HICON firstSmall = shown(ICON_SMALL);
    ASSERT_TRUE(IsLiveIcon(firstBig));
    ASSERT_TRUE(IsLiveIcon(firstSmall));
    window.SetIcon(kProgramIcon);
    Manager::SetInstance(GetModuleHandleW(nullptr));
    const HICON secondBig = shown(ICON_BIG);
    EXPECT_NE(secondBig, firstBig);
    EXPECT_TRUE(IsLiveIcon(secondBig));
    EXPECT_FALSE(IsLiveIcon(firstBig));
    EXPECT_FALSE(IsLiveIcon(firstSmall));
    window.DestroyWindow();
    EXPECT_FALSE(IsLiveIcon(secondBig));
    FreeLibrary(program);
}
