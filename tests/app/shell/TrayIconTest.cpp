// The tray icon of the real program, seen from another process: the shell
// knows the icon (a modify of it succeeds), a left click shows the window, the
// menu's only item ends the program, and a restarted shell gets the icon back.
#include <gtest/gtest.h>

#include <windows.h>
#include <shellapi.h>

#include "TestProcess.h"

namespace ts = testing_support;

namespace {

constexpr UINT kTrayCallback = 0x69A;
constexpr UINT kIconId = 109;

// True while the shell holds an icon 109 of `window`.
bool ShellHasIcon(HWND window) {
    NOTIFYICONDATAW data = {};
    data.cbSize = sizeof(data);
    data.hWnd = window;
    data.uID = kIconId;
    data.uFlags = NIF_TIP;
    lstrcpyW(data.szTip, L"Tarvenholm");
    return Shell_NotifyIconW(NIM_MODIFY, &data) != FALSE;
}

void ForgetIcon(HWND window) {
    NOTIFYICONDATAW data = {};
    data.cbSize = sizeof(data);
    data.hWnd = window;
    data.uID = kIconId;
    Shell_NotifyIconW(NIM_DELETE, &data);
}

HWND FindPopupMenu() { return FindWindowW(L"#32768", nullptr); }

class TrayIconTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_program.Start(ts::BinFolder() + L"Tarvenholm.exe", L"-hide"));
        ASSERT_TRUE(ts::WaitUntil([&] { return (m_window = ts::FindWindowWithProperty(L"Tarvenholm")) != nullptr; }, 20000));
        ASSERT_TRUE(ts::WaitUntil([&] { return ShellHasIcon(m_window); }, 5000));
    }
    void TearDown() override {
        if (IsWindow(m_window)) PostMessageW(m_window, 0x69B, 0, 610);
        m_program.WaitForExit(5000);
    }

    ts::ChildProcess m_program;
    HWND m_window = nullptr;
};

}  // namespace

TEST_F(TrayIconTest, LeftClickShowsTheHiddenWindow) {
    EXPECT_FALSE(IsWindowVisible(m_window));
    PostMessageW(m_window, kTrayCallback, kIconId, WM_MOUSEMOVE);  // no effect
    Sleep(300);
    EXPECT_FALSE(IsWindowVisible(m_window));
    PostMessageW(m_window, kTrayCallback, kIconId, WM_LBUTTONDOWN);
    EXPECT_TRUE(ts::WaitUntil([&] { return IsWindowVisible(m_window) != FALSE; }, 3000));
}

TEST_F(TrayIconTest, MenuItemRemovesTheIconAndEndsTheProgram) {
    PostMessageW(m_window, kTrayCallback, kIconId, WM_RBUTTONUP);
    HWND menu = nullptr;
    ASSERT_TRUE(ts::WaitUntil([&] { return (menu = FindPopupMenu()) != nullptr && IsWindowVisible(menu); }, 3000));
    // As a user would: down to the only item, then Enter.
    PostMessageW(menu, WM_KEYDOWN, VK_DOWN, 0);
    PostMessageW(menu, WM_KEYDOWN, VK_RETURN, 0);
    EXPECT_EQ(m_program.WaitForExit(5000), 0u);
    EXPECT_FALSE(ShellHasIcon(m_window));
}

TEST_F(TrayIconTest, RestartedShellGetsTheIconBack) {
    ForgetIcon(m_window);  // what a restarting shell does to every icon
    ASSERT_FALSE(ShellHasIcon(m_window));
    PostMessageW(m_window, RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
    EXPECT_TRUE(ts::WaitUntil([&] { return ShellHasIcon(m_window); }, 3000));
}
