#include <gtest/gtest.h>

#include <windows.h>
#include <shlwapi.h>

#include <string>

#include "AppFolders.h"
#include "Startup.h"
#include "TestProcess.h"

namespace ts = testing_support;

namespace {

constexpr unsigned kExitRequest = 0x69B;
constexpr DWORD kStartTimeoutMs = 20000;

std::wstring ProgramPath() { return ts::BinFolder() + L"Tarvenholm.exe"; }

// The running copy's main window, once it carries the product property.
HWND WaitForMainWindow() {
    HWND window = nullptr;
    ts::WaitUntil([&] { return (window = ts::FindWindowWithProperty(L"Tarvenholm")) != nullptr; }, kStartTimeoutMs);
    return window;
}

bool Visible(HWND window) { return IsWindowVisible(window) != FALSE; }

// Ends any copy a failed test left behind, so each test starts clean.
void EndLeftoverCopies() {
    for (int i = 0; i < 5; ++i) {
        HWND window = ts::FindWindowWithProperty(L"Tarvenholm");
        if (!window) return;
        PostMessageW(window, kExitRequest, 0, 610);
        ts::WaitUntil([&] { return !IsWindow(window); }, 5000);
    }
}

// A started copy of the program and its main window.
struct RunningCopy {
    ts::ChildProcess process;
    HWND window = nullptr;
};

void StartCopy(RunningCopy& copy, const wchar_t* arguments) {
    ASSERT_TRUE(copy.process.Start(ProgramPath(), arguments));
    copy.window = WaitForMainWindow();
    ASSERT_NE(copy.window, nullptr);
}

// Ends the copy the way another process asks it to: exit code 0.
void EndCopy(RunningCopy& copy) {
    PostMessageW(copy.window, kExitRequest, 0, 610);
    EXPECT_EQ(copy.process.WaitForExit(10000), 0u);
}

class ProgramTest : public ::testing::Test {
protected:
    void SetUp() override { EndLeftoverCopies(); }
    void TearDown() override { EndLeftoverCopies(); }
};

}  // namespace

TEST(Startup, HideFlagIsAPlainCaseSensitiveSubstring) {
    struct Case { const wchar_t* commandLine; bool hidden; };
    const Case cases[] = {
        {L"-hide", true}, {L"x-hidey", true}, {L"/a -hide /b", true},
        {L"-HIDE", false}, {L"hide", false}, {L"", false}, {nullptr, false},
    };
    for (const Case& c : cases) EXPECT_EQ(startup::HasHideFlag(c.commandLine), c.hidden) << (c.commandLine ? "" : "null");
}

TEST(Startup, TerminatesOnlyTheFirstConflictingProcessInAnyCase) {
    const std::wstring folder = ts::MakeTempFolder(L"conflict");
    const std::wstring names[] = {folder + L"openhardwaremonitorserver.exe", folder + L"OPENHARDWAREMONITORSERVER.EXE"};
    CreateDirectoryW((folder + L"second").c_str(), nullptr);
    const std::wstring second = folder + L"second\\OpenHardwareMonitorServer.exe";
    ASSERT_TRUE(CopyFileW((ts::BinFolder() + L"OpenHardwareMonitorServer.exe").c_str(), names[0].c_str(), FALSE));
    ASSERT_TRUE(CopyFileW((ts::BinFolder() + L"OpenHardwareMonitorServer.exe").c_str(), second.c_str(), FALSE));

    ts::ChildProcess lower, other;
    ASSERT_TRUE(lower.Start(names[0], L""));
    ASSERT_TRUE(other.Start(second, L""));
    Sleep(300);
    EXPECT_TRUE(startup::TerminateProcessByName(L"OpenHardwareMonitorServer.exe"));
    Sleep(300);
    EXPECT_NE(lower.Running(), other.Running()) << "exactly one of the two must have been ended";
    EXPECT_TRUE(startup::TerminateProcessByName(L"OpenHardwareMonitorServer.exe"));
    EXPECT_TRUE(ts::WaitUntil([&] { return !lower.Running() && !other.Running(); }, 3000));
    EXPECT_TRUE(startup::TerminateProcessByName(L"NoSuchProgram.exe"));  // nothing to end is still success
    ts::RemoveFolderTree(folder);
}

TEST_F(ProgramTest, StartCreatesTheDataFoldersAndShowsTheWindow) {
    const std::wstring data = folders::DataFolder();
    ts::RemoveFolderTree(data);
    ts::DeleteSettingsKey();
    RunningCopy copy;
    ASSERT_NO_FATAL_FAILURE(StartCopy(copy, L""));
    EXPECT_TRUE(ts::WaitUntil([&] { return Visible(copy.window); }, 5000));
    wchar_t text[64] = {};
    GetWindowTextW(copy.window, text, 64);
    EXPECT_STREQ(text, L"Tarvenholm");
    for (const wchar_t* sub : {L"db", L"frames", L"led1", L"led2", L"led_stby", L"led_startup"})
        EXPECT_TRUE(PathIsDirectoryW((data + sub).c_str())) << "missing data subfolder";
    // The worker's first command marks the autostart task as handled.
    EXPECT_TRUE(ts::WaitUntil([] { return ts::ReadSettingsText(L"AutoRunTask") == L"1"; }, 10000));
    EndCopy(copy);
}

TEST_F(ProgramTest, HideSwitchDecidesTheFirstShow) {
    struct Case { const wchar_t* arguments; bool visible; };
    const Case cases[] = {{L"x-hidey", false}, {L"-HIDE", true}, {L"-hide", false}};
    for (const Case& c : cases) {
        RunningCopy copy;
        ASSERT_NO_FATAL_FAILURE(StartCopy(copy, c.arguments));
        Sleep(500);  // past the first show
        EXPECT_EQ(Visible(copy.window), c.visible) << "arguments " << std::string(c.arguments, c.arguments + wcslen(c.arguments));
        EndCopy(copy);
    }
}

TEST_F(ProgramTest, SecondCopyShowsTheFirstAndTouchesNothing) {
    RunningCopy first;
    ASSERT_NO_FATAL_FAILURE(StartCopy(first, L"-hide"));
    Sleep(500);
    ASSERT_FALSE(Visible(first.window));

    // What a second copy must not recreate.
    ts::DeleteSettingsKey();
    const std::wstring data = folders::DataFolder();
    ts::RemoveFolderTree(data);

    ts::ChildProcess second;
    ASSERT_TRUE(second.Start(ProgramPath(), L""));
    EXPECT_EQ(second.WaitForExit(kStartTimeoutMs), 0u);
    EXPECT_TRUE(ts::WaitUntil([&] { return Visible(first.window); }, 3000));
    EXPECT_FALSE(IsIconic(first.window));
    EXPECT_FALSE(ts::SettingsKeyExists());
    EXPECT_FALSE(PathFileExistsW(data.c_str()));
    EXPECT_TRUE(first.process.Running());
    EndCopy(first);
}

TEST_F(ProgramTest, OnlyTheGenuineExitRequestEndsTheProgram) {
    RunningCopy copy;
    ASSERT_NO_FATAL_FAILURE(StartCopy(copy, L"-hide"));
    PostMessageW(copy.window, kExitRequest, 0, 609);
    EXPECT_EQ(copy.process.WaitForExit(1000), static_cast<DWORD>(STILL_ACTIVE));
    EndCopy(copy);
}

TEST_F(ProgramTest, DestroyedWindowEndsTheRunThroughTheTeardown) {
    RunningCopy copy;
    ASSERT_NO_FATAL_FAILURE(StartCopy(copy, L""));
    Sleep(300);  // the worker is looping by now
    PostMessageW(copy.window, WM_CLOSE, 0, 0);
    EXPECT_EQ(copy.process.WaitForExit(10000), 1u);
}
