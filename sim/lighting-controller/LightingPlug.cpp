// LightingPlug.exe: plugs the simulated lighting controller in or out.
//
//   LightingPlug in|out [--interface 0|1]
//
// Sets present= in lighting.ini, then announces each interface of the
// controller (or only the one named) to every top-level window that carries
// the program's window property, as WM_DEVICECHANGE with DBT_DEVICEARRIVAL or
// DBT_DEVICEREMOVECOMPLETE and a DEV_BROADCAST_DEVICEINTERFACE_W naming the
// interface path. The message is sent, not posted: the system copies the
// record into the receiving process only for a sent message.
// Exit code: 0 when at least one window was told, 2 when none was found,
// 1 for a wrong command line.
#include <windows.h>
#include <dbt.h>

#include <cstdio>
#include <cstring>
#include <cwchar>
#include <string>
#include <vector>

#include "SimLightingDevice.h"

namespace {

constexpr wchar_t kWindowProperty[] = L"Tarvenholm";
constexpr UINT kSendTimeoutMs = 5000;
constexpr GUID kHidInterfaceClass = {0x4D1E55B2, 0xF16F, 0x11CF, {0x88, 0xCB, 0x00, 0x11, 0x11, 0x00, 0x00, 0x30}};

struct Options {
    bool plugIn = true;
    int onlyInterface = -1;
};

bool ParseOptions(int argc, wchar_t** argv, Options& options) {
    if (argc < 2) return false;
    if (wcscmp(argv[1], L"in") == 0) options.plugIn = true;
    else if (wcscmp(argv[1], L"out") == 0) options.plugIn = false;
    else return false;
    for (int i = 2; i < argc; ++i) {
        if (wcscmp(argv[i], L"--interface") == 0 && i + 1 < argc) options.onlyInterface = _wtoi(argv[++i]);
        else return false;
    }
    return true;
}

BOOL CALLBACK CollectProgramWindow(HWND window, LPARAM found) noexcept {
    if (GetPropW(window, kWindowProperty)) reinterpret_cast<std::vector<HWND>*>(found)->push_back(window);
    return TRUE;
}

std::vector<HWND> ProgramWindows() {
    std::vector<HWND> windows;
    EnumWindows(&CollectProgramWindow, reinterpret_cast<LPARAM>(&windows));
    return windows;
}

// The record with the interface path in its variable-length name.
std::vector<BYTE> BroadcastRecord(const std::string& path) {
    const std::wstring name(path.begin(), path.end());
    const size_t size = offsetof(DEV_BROADCAST_DEVICEINTERFACE_W, dbcc_name) + (name.size() + 1) * sizeof(wchar_t);
    std::vector<BYTE> bytes(size, 0);
    auto* record = reinterpret_cast<DEV_BROADCAST_DEVICEINTERFACE_W*>(bytes.data());
    record->dbcc_size = static_cast<DWORD>(size);
    record->dbcc_devicetype = DBT_DEVTYP_DEVICEINTERFACE;
    record->dbcc_classguid = kHidInterfaceClass;
    std::memcpy(record->dbcc_name, name.c_str(), (name.size() + 1) * sizeof(wchar_t));
    return bytes;
}

int Announce(const Options& options) {
    const WPARAM event = options.plugIn ? DBT_DEVICEARRIVAL : DBT_DEVICEREMOVECOMPLETE;
    const auto windows = ProgramWindows();
    for (auto& item : simhid::LightingInterfaces()) {
        if (options.onlyInterface >= 0 && item.interfaceNumber != options.onlyInterface) continue;
        auto record = BroadcastRecord(item.path);
        for (HWND window : windows) {
            DWORD_PTR answer = 0;
            SendMessageTimeoutW(window, WM_DEVICECHANGE, event, reinterpret_cast<LPARAM>(record.data()),
                                SMTO_ABORTIFHUNG, kSendTimeoutMs, &answer);
        }
        std::printf("%s %s to %u window(s)\n", options.plugIn ? "arrival" : "removal", item.path.c_str(),
                    static_cast<unsigned>(windows.size()));
    }
    return windows.empty() ? 2 : 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    Options options;
    if (!ParseOptions(argc, argv, options)) {
        std::fputs("usage: LightingPlug in|out [--interface 0|1]\n", stderr);
        return 1;
    }
    simhid::SetLightingPresent(options.plugIn);
    return Announce(options);
}
