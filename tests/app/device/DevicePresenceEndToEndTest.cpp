// The whole road of a plug event in the real program: Tarvenholm.exe on the
// simulated machine, the plug tool sending WM_DEVICECHANGE to its window,
// and the device initialisation (command 2) showing in the port journal as
// a mode read, which runs only while the controller is there.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "ScopedSimFolder.h"

namespace {

constexpr size_t kReadSequenceLines = 5;
constexpr UINT kExitRequest = 0x69B;
constexpr LPARAM kExitRequestCode = 610;

class ChildProcess {
public:
    explicit ChildProcess(std::wstring commandLine) {
        STARTUPINFOW startup = {};
        startup.cb = sizeof(startup);
        m_started = CreateProcessW(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                                   &m_process) != FALSE;
    }
    ~ChildProcess() {
        if (!m_started) return;
        if (WaitForSingleObject(m_process.hProcess, 0) == WAIT_TIMEOUT) TerminateProcess(m_process.hProcess, 1);
        CloseHandle(m_process.hThread);
        CloseHandle(m_process.hProcess);
    }
    bool Started() const { return m_started; }
    DWORD Wait(DWORD timeoutMs) const {
        if (WaitForSingleObject(m_process.hProcess, timeoutMs) != WAIT_OBJECT_0) return 0xFFFFFFFF;
        DWORD code = 0xFFFFFFFF;
        GetExitCodeProcess(m_process.hProcess, &code);
        return code;
    }

private:
    PROCESS_INFORMATION m_process = {};
    bool m_started = false;
};

bool WaitForLines(const ScopedSimFolder& sim, size_t count, DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    while (sim.Lines(L"ports.log").size() < count) {
        if (GetTickCount() - start > timeoutMs) return false;
        Sleep(50);
    }
    return true;
}

BOOL CALLBACK FindProgramWindow(HWND window, LPARAM found) noexcept {
    if (!GetPropW(window, L"Tarvenholm")) return TRUE;
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
}

TEST(DevicePresenceEndToEnd, PlugEventsReinitialiseTheDevice) {
    ScopedSimFolder sim;
    sim.Write(L"lighting.ini", "[device]\r\npresent=1\r\n");
    sim.Write(L"firmware.ini", "[firmware]\r\nmode=2\r\n");

    ChildProcess program(L"Tarvenholm.exe -hide");
    ASSERT_TRUE(program.Started());
    // Command 2 at start, with the controller there: one mode read.
    ASSERT_TRUE(WaitForLines(sim, kReadSequenceLines, 15000));
    EXPECT_EQ(sim.Lines(L"ports.log").back(), "R 0071 B2");

    // Unplugged: command 2 runs, finds no device and reads no mode.
    EXPECT_EQ(ChildProcess(L"LightingPlug.exe out").Wait(10000), 0u);
    Sleep(500);
    EXPECT_EQ(sim.Lines(L"ports.log").size(), kReadSequenceLines);

    // Plugged in again: MI_00's arrival passes the check, MI_01's is
    // ignored, so exactly one more mode read follows.
    EXPECT_EQ(ChildProcess(L"LightingPlug.exe in").Wait(10000), 0u);
    EXPECT_TRUE(WaitForLines(sim, 2 * kReadSequenceLines, 10000));
    Sleep(500);
    EXPECT_EQ(sim.Lines(L"ports.log").size(), 2 * kReadSequenceLines);

    HWND window = nullptr;
    EnumWindows(&FindProgramWindow, reinterpret_cast<LPARAM>(&window));
    ASSERT_NE(window, nullptr);
    PostMessageW(window, kExitRequest, 0, kExitRequestCode);
    EXPECT_EQ(program.Wait(10000), 0u);
}

}  // namespace
