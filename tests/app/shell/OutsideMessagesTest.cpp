// The messages an elevated main window lets in from other processes. Wine
// has no integrity levels, so what can be seen is the calls: exactly the
// shell's "TaskbarCreated" and the exit request are allowed, for the main
// window, and the system's own function takes them.
#include <gtest/gtest.h>

#include <windows.h>

#include <vector>

#include "OutsideMessages.h"

namespace {

struct FilterCall {
    HWND window;
    UINT message;
    DWORD action;
};
std::vector<FilterCall> g_calls;

BOOL WINAPI RecordFilterCall(HWND window, UINT message, DWORD action, CHANGEFILTERSTRUCT* status) {
    g_calls.push_back({window, message, action});
    return status && status->cbSize == sizeof(CHANGEFILTERSTRUCT);
}

class OutsideMessagesTest : public ::testing::Test {
protected:
    void SetUp() override {
        g_calls.clear();
        m_window = CreateWindowExW(0, L"STATIC", L"outside messages test", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                   nullptr, nullptr);
        ASSERT_NE(m_window, nullptr);
    }
    void TearDown() override { DestroyWindow(m_window); }
    HWND m_window = nullptr;
};

TEST_F(OutsideMessagesTest, AllowsExactlyTheTaskbarAnnouncementAndTheExitRequest) {
    EXPECT_EQ(outside_messages::AllowForWindow(m_window, &RecordFilterCall), 2);
    const UINT taskbarCreated = RegisterWindowMessageW(L"TaskbarCreated");
    ASSERT_EQ(g_calls.size(), 2u);
    for (const FilterCall& call : g_calls) {
        EXPECT_EQ(call.window, m_window);
        EXPECT_EQ(call.action, 1u) << "MSGFLT_ALLOW";
    }
    EXPECT_EQ(g_calls[0].message, taskbarCreated);
    EXPECT_EQ(g_calls[1].message, 0x69Bu);
}

TEST_F(OutsideMessagesTest, TheSystemsFilterIsFoundAndTakesTheCalls) {
    const outside_messages::ChangeFilterFn change = outside_messages::LoadChangeFilter();
    ASSERT_NE(change, nullptr);
    EXPECT_EQ(outside_messages::AllowForWindow(m_window, change), 2);
    EXPECT_EQ(outside_messages::AllowForWindow(m_window, nullptr), 0) << "a system without the filter";
}

}  // namespace
