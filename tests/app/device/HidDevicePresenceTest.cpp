// Which WM_DEVICECHANGE messages queue the device initialisation, with the
// simulated controller behind the arrival check; and the plug tool's record
// arriving whole in another process.
#include <gtest/gtest.h>

#include <windows.h>
#include <dbt.h>

#include <cstring>
#include <string>
#include <vector>

#include "HidDevicePresence.h"
#include "hidapi.h"
#include "ScopedSimFolder.h"

namespace {

const std::wstring kInterface0 =
    L"\\\\?\\hid#vid_1a2c&pid_b008&mi_00#8&2d8a41c3&0&0000#{4d1e55b2-f16f-11cf-88cb-001111000030}";
const std::wstring kInterface1 =
    L"\\\\?\\hid#vid_1a2c&pid_b008&mi_01#8&1f06b6ae&0&0000#{4d1e55b2-f16f-11cf-88cb-001111000030}";

std::vector<BYTE> Record(const std::wstring& path, DWORD deviceType = DBT_DEVTYP_DEVICEINTERFACE) {
    const size_t size = offsetof(DEV_BROADCAST_DEVICEINTERFACE_W, dbcc_name) + (path.size() + 1) * sizeof(wchar_t);
    std::vector<BYTE> bytes(size, 0);
    auto* record = reinterpret_cast<DEV_BROADCAST_DEVICEINTERFACE_W*>(bytes.data());
    record->dbcc_size = static_cast<DWORD>(size);
    record->dbcc_devicetype = deviceType;
    std::memcpy(record->dbcc_name, path.c_str(), (path.size() + 1) * sizeof(wchar_t));
    return bytes;
}

bool Needs(WPARAM event, const std::vector<BYTE>& record) {
    return HidDevicePresence::NeedsDeviceInitialisation(event, reinterpret_cast<LPARAM>(record.data()));
}

class HidDevicePresenceTest : public ::testing::Test {
protected:
    void Plug(bool present) { m_sim.Write(L"lighting.ini", present ? "[device]\r\npresent=1\r\n" : "[device]\r\npresent=0\r\n"); }
    ScopedSimFolder m_sim;
};

TEST_F(HidDevicePresenceTest, WhichMessagesQueueTheDeviceInitialisation) {
    std::wstring upper = kInterface0;
    for (auto& c : upper) c = static_cast<wchar_t>(towupper(c));
    const struct {
        const char* what;
        bool present;
        WPARAM event;
        std::wstring path;
        DWORD deviceType;
        bool queues;
    } cases[] = {
        {"lower-case arrival of MI_00", true, DBT_DEVICEARRIVAL, kInterface0, DBT_DEVTYP_DEVICEINTERFACE, true},
        {"upper-case arrival of MI_00", true, DBT_DEVICEARRIVAL, upper, DBT_DEVTYP_DEVICEINTERFACE, true},
        {"arrival of MI_01", true, DBT_DEVICEARRIVAL, kInterface1, DBT_DEVTYP_DEVICEINTERFACE, false},
        {"removal of MI_01", false, DBT_DEVICEREMOVECOMPLETE, kInterface1, DBT_DEVTYP_DEVICEINTERFACE, false},
        {"removal of MI_00, no check", false, DBT_DEVICEREMOVECOMPLETE, kInterface0, DBT_DEVTYP_DEVICEINTERFACE, true},
        {"arrival that cannot be opened", false, DBT_DEVICEARRIVAL, kInterface0, DBT_DEVTYP_DEVICEINTERFACE, false},
        {"other event", true, DBT_DEVICEQUERYREMOVE, kInterface0, DBT_DEVTYP_DEVICEINTERFACE, false},
        {"other record type", true, DBT_DEVICEARRIVAL, kInterface0, DBT_DEVTYP_HANDLE, false},
        {"another device", true, DBT_DEVICEARRIVAL, L"\\\\?\\hid#vid_1209&pid_0001#7&3a1c8e2f&0&0000", DBT_DEVTYP_DEVICEINTERFACE, false},
    };
    for (const auto& c : cases) {
        Plug(c.present);
        EXPECT_EQ(Needs(c.event, Record(c.path, c.deviceType)), c.queues) << c.what;
    }
}

// MI_01 is the controller's other collection: found by path, refused by usage.
TEST_F(HidDevicePresenceTest, ArrivalCheckAcceptsOnlyTheVendorCollection) {
    Plug(true);
    EXPECT_TRUE(HidDevicePresence::CheckArrivingInterface(kInterface0));
    EXPECT_FALSE(HidDevicePresence::CheckArrivingInterface(kInterface1));
    Plug(false);
    EXPECT_FALSE(HidDevicePresence::CheckArrivingInterface(kInterface0));
}

TEST(HidDevicePresence, PathIsBoundedByTheRecordSize) {
    auto record = Record(kInterface0);
    auto* header = reinterpret_cast<DEV_BROADCAST_DEVICEINTERFACE_W*>(record.data());
    EXPECT_EQ(HidDevicePresence::InterfacePath(*header), kInterface0);
    // A sender that leaves out the terminator and states a shorter size.
    header->dbcc_size = static_cast<DWORD>(offsetof(DEV_BROADCAST_DEVICEINTERFACE_W, dbcc_name) + 4 * sizeof(wchar_t));
    EXPECT_EQ(HidDevicePresence::InterfacePath(*header), kInterface0.substr(0, 4));
    header->dbcc_size = 8;
    EXPECT_EQ(HidDevicePresence::InterfacePath(*header), L"");
}

// A window of this process with the program's property receives what the
// plug tool sends from its own process.
class PlugReceiver {
public:
    PlugReceiver() {
        WNDCLASSW wc = {};
        wc.lpfnWndProc = &PlugReceiver::Proc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"PlugReceiverTest";
        RegisterClassW(&wc);
        m_window = CreateWindowExW(0, wc.lpszClassName, L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, wc.hInstance, nullptr);
        SetWindowLongPtrW(m_window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
        SetPropW(m_window, L"Tarvenholm", reinterpret_cast<HANDLE>(1));
    }
    ~PlugReceiver() {
        RemovePropW(m_window, L"Tarvenholm");
        DestroyWindow(m_window);
    }

    struct Received {
        WPARAM event;
        DWORD size;
        DWORD deviceType;
        std::wstring path;
        bool queues;
    };
    std::vector<Received> received;

private:
    static LRESULT CALLBACK Proc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) noexcept {
        auto* self = reinterpret_cast<PlugReceiver*>(GetWindowLongPtrW(window, GWLP_USERDATA));
        if (msg == WM_DEVICECHANGE && self && lParam) {
            const auto* record = reinterpret_cast<const DEV_BROADCAST_DEVICEINTERFACE_W*>(lParam);
            self->received.push_back({wParam, record->dbcc_size, record->dbcc_devicetype,
                                      HidDevicePresence::InterfacePath(*record),
                                      HidDevicePresence::NeedsDeviceInitialisation(wParam, lParam)});
            return 0;
        }
        return DefWindowProcW(window, msg, wParam, lParam);
    }
    HWND m_window = nullptr;
};

DWORD RunPumping(std::wstring commandLine) {
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    if (!CreateProcessW(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return 0xFFFFFFFF;
    // The tool sends to our window and waits for the answer: keep pumping.
    while (MsgWaitForMultipleObjects(1, &process.hProcess, FALSE, 20000, QS_ALLINPUT) == WAIT_OBJECT_0 + 1) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    }
    DWORD code = 0xFFFFFFFF;
    GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return code;
}

TEST_F(HidDevicePresenceTest, PlugToolRecordArrivesIntactInAnotherProcess) {
    PlugReceiver receiver;
    ASSERT_EQ(RunPumping(L"LightingPlug.exe in"), 0u);
    ASSERT_EQ(receiver.received.size(), 2u);  // MI_00, then MI_01
    const auto& first = receiver.received[0];
    EXPECT_EQ(first.event, static_cast<WPARAM>(DBT_DEVICEARRIVAL));
    EXPECT_EQ(first.deviceType, static_cast<DWORD>(DBT_DEVTYP_DEVICEINTERFACE));
    EXPECT_EQ(first.size, offsetof(DEV_BROADCAST_DEVICEINTERFACE_W, dbcc_name) + (kInterface0.size() + 1) * sizeof(wchar_t));
    EXPECT_EQ(first.path, kInterface0);
    EXPECT_TRUE(first.queues);
    EXPECT_EQ(receiver.received[1].path, kInterface1);
    EXPECT_FALSE(receiver.received[1].queues);

    receiver.received.clear();
    ASSERT_EQ(RunPumping(L"LightingPlug.exe out --interface 0"), 0u);
    ASSERT_EQ(receiver.received.size(), 1u);
    EXPECT_EQ(receiver.received[0].event, static_cast<WPARAM>(DBT_DEVICEREMOVECOMPLETE));
    EXPECT_TRUE(receiver.received[0].queues);
    EXPECT_NE(m_sim.Read(L"lighting.ini").find("present=0"), std::string::npos);
}

// As on real hardware: a handle opened before the controller was unplugged
// does not come back to life when it is plugged in again; a new one works.
TEST_F(HidDevicePresenceTest, HandleOpenedBeforeAnUnplugStaysDeadAfterTheReplug) {
    PlugReceiver receiver;  // the plug tool wants a window to announce to
    const std::string path(kInterface0.begin(), kInterface0.end());
    hid_device* before = hid_open_path(path.c_str());
    ASSERT_NE(before, nullptr);
    unsigned char report[65] = {0x00, 0x07};
    EXPECT_EQ(hid_write(before, report, sizeof(report)), static_cast<int>(sizeof(report)));
    ASSERT_EQ(RunPumping(L"LightingPlug.exe out"), 0u);
    EXPECT_EQ(hid_write(before, report, sizeof(report)), -1);
    ASSERT_EQ(RunPumping(L"LightingPlug.exe in"), 0u);
    EXPECT_EQ(hid_write(before, report, sizeof(report)), -1) << "the old handle came back to life";
    hid_device* after = hid_open_path(path.c_str());
    ASSERT_NE(after, nullptr);
    EXPECT_EQ(hid_write(after, report, sizeof(report)), static_cast<int>(sizeof(report)));
    hid_close(after);
    hid_close(before);
}

}  // namespace
