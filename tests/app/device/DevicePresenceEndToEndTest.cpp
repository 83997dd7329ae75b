// The whole road of a plug event in the real program: Tarvenholm.exe on the
// simulated machine, the plug tool sending WM_DEVICECHANGE to its window,
// and the device initialisation (command 2) showing in the port journal as
// a mode read, which runs only while the controller is there.
#include <gtest/gtest.h>

#include <windows.h>
#include <dbt.h>

#include <string>

#include "ScopedSimFolder.h"
#include "TestProcess.h"

namespace ts = testing_support;

namespace {

constexpr size_t kReadSequenceLines = 5;
constexpr UINT kExitRequest = 0x69B;
constexpr LPARAM kExitRequestCode = 610;
constexpr UINT kSendTimeoutMs = 5000;

bool WaitForLines(const ScopedSimFolder& sim, size_t count, DWORD timeoutMs) {
    return ts::WaitUntil([&] { return sim.Lines(L"ports.log").size() >= count; }, timeoutMs);
}

DWORD RunPlugTool(const wchar_t* direction) {
    ts::ChildProcess plug;
    if (!plug.Start(ts::BinFolder() + L"LightingPlug.exe", direction)) return STILL_ACTIVE;
    return plug.WaitForExit(10000);
}

// The program on a fresh simulated machine with the controller plugged in,
// started hidden, after its first device initialisation.
class DevicePresenceEndToEnd : public ::testing::Test {
protected:
    void SetUp() override {
        m_sim.Write(L"lighting.ini", "[device]\r\npresent=1\r\n");
        m_sim.Write(L"firmware.ini", "[firmware]\r\nmode=2\r\n");
        ASSERT_TRUE(m_program.Start(ts::BinFolder() + L"Tarvenholm.exe", L"-hide"));
        // Command 2 at start, with the controller there: one mode read.
        ASSERT_TRUE(WaitForLines(m_sim, kReadSequenceLines, 15000));
        EXPECT_EQ(m_sim.Lines(L"ports.log").back(), "R 0071 B2");
        m_window = ts::FindWindowWithProperty(L"Tarvenholm");
        ASSERT_NE(m_window, nullptr);
    }
    void TearDown() override {
        PostMessageW(m_window, kExitRequest, 0, kExitRequestCode);
        EXPECT_EQ(m_program.WaitForExit(10000), 0u);
    }

    ScopedSimFolder m_sim;
    ts::ChildProcess m_program;
    HWND m_window = nullptr;
};

TEST_F(DevicePresenceEndToEnd, PlugEventsReinitialiseTheDevice) {
    // Unplugged: command 2 runs, finds no device and reads no mode.
    EXPECT_EQ(RunPlugTool(L"out"), 0u);
    Sleep(500);
    EXPECT_EQ(m_sim.Lines(L"ports.log").size(), kReadSequenceLines);

    // Plugged in again: MI_00's arrival passes the check, MI_01's is
    // ignored, so exactly one more mode read follows.
    EXPECT_EQ(RunPlugTool(L"in"), 0u);
    EXPECT_TRUE(WaitForLines(m_sim, 2 * kReadSequenceLines, 10000));
    Sleep(500);
    EXPECT_EQ(m_sim.Lines(L"ports.log").size(), 2 * kReadSequenceLines);
}

TEST_F(DevicePresenceEndToEnd, VolumeChangesAreAnsweredAndIgnored) {
    // A USB stick's volume comes and goes, as the system tells every window.
    // The record is sent from this process, so the system copies it over.
    DEV_BROADCAST_VOLUME volume = {};
    volume.dbcv_size = sizeof(volume);
    volume.dbcv_devicetype = DBT_DEVTYP_VOLUME;
    volume.dbcv_unitmask = 1u << ('E' - 'A');
    for (WPARAM event : {DBT_DEVICEARRIVAL, DBT_DEVICEREMOVECOMPLETE}) {
        DWORD_PTR answer = 1;
        ASSERT_TRUE(SendMessageTimeoutW(m_window, WM_DEVICECHANGE, event, reinterpret_cast<LPARAM>(&volume),
                                        SMTO_ABORTIFHUNG, kSendTimeoutMs, &answer));
        EXPECT_EQ(answer, 0u);
    }
    // The worker runs its commands in order: had a volume queued a device
    // initialisation, its mode read would come before the one the plug tool's
    // arrival causes, and the journal would grow by two reads.
    EXPECT_EQ(RunPlugTool(L"in"), 0u);
    EXPECT_TRUE(WaitForLines(m_sim, 2 * kReadSequenceLines, 10000));
    Sleep(500);
    EXPECT_EQ(m_sim.Lines(L"ports.log").size(), 2 * kReadSequenceLines);
    EXPECT_TRUE(m_program.Running());
}

}  // namespace
