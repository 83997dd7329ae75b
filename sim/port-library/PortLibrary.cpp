// Stand-in WinRing0.dll: the firmware's side of the performance-mode
// dialogue. CMOS holds 128 bytes addressed through index port 0x70 and data
// port 0x71; a write of 0xED to the SMI command port 0xB2 runs the request
// found at CMOS index 0x6B:
//   0xBB  publish 0xB0 + the active mode at index 0x6C
//   0xBC  apply the mode byte at index 0x6C when it is 0xB0, 0xB1 or 0xB2
// The active mode lives in firmware.ini ([firmware] mode=0..2, default 1), so
// it survives restarts; [firmware] publish=0xNN makes the firmware publish
// that byte instead, for the program's handling of odd answers.
// Every access is journalled to ports.log as "W 0070 6B" or "R 0071 B1".
#include <windows.h>

#include <array>
#include <cstdio>
#include <mutex>

#include "SimFolder.h"
#include "SimJournal.h"

namespace {

constexpr WORD kCmosIndexPort = 0x70;
constexpr WORD kCmosDataPort = 0x71;
constexpr WORD kSmiCommandPort = 0xB2;
constexpr BYTE kSmiCommand = 0xED;
constexpr BYTE kRequestIndex = 0x6B;
constexpr BYTE kModeIndex = 0x6C;
constexpr BYTE kRequestPublish = 0xBB;
constexpr BYTE kRequestApply = 0xBC;
constexpr BYTE kModeBase = 0xB0;
constexpr int kModeCount = 3;
constexpr int kDefaultMode = 1;
constexpr BYTE kCmosIndexMask = 0x7F;
constexpr BYTE kUnmappedPortValue = 0xFF;

constexpr wchar_t kStateFile[] = L"firmware.ini";
constexpr wchar_t kStateSection[] = L"firmware";
constexpr wchar_t kJournal[] = L"ports.log";

class Firmware {
public:
    void Write(WORD port, BYTE value) {
        std::lock_guard<std::mutex> guard(m_lock);
        Journal('W', port, value);
        if (port == kCmosIndexPort) m_index = value & kCmosIndexMask;
        else if (port == kCmosDataPort) m_cmos[m_index] = value;
        else if (port == kSmiCommandPort && value == kSmiCommand) RunSmi();
    }

    BYTE Read(WORD port) {
        std::lock_guard<std::mutex> guard(m_lock);
        BYTE value = kUnmappedPortValue;
        if (port == kCmosIndexPort) value = m_index;
        else if (port == kCmosDataPort) value = m_cmos[m_index];
        Journal('R', port, value);
        return value;
    }

private:
    static void Journal(char direction, WORD port, BYTE value) {
        char line[16];
        std::snprintf(line, sizeof(line), "%c %04X %02X", direction, port, value);
        sim::AppendJournalLine(kJournal, line);
    }

    static int ActiveMode() {
        const long mode = sim::ReadIniNumber(kStateFile, kStateSection, L"mode", kDefaultMode);
        return mode >= 0 && mode < kModeCount ? static_cast<int>(mode) : kDefaultMode;
    }

    void RunSmi() {
        const BYTE request = m_cmos[kRequestIndex];
        if (request == kRequestPublish) {
            const long published = sim::ReadIniNumber(kStateFile, kStateSection, L"publish", -1);
            m_cmos[kModeIndex] = published >= 0 ? static_cast<BYTE>(published)
                                                : static_cast<BYTE>(kModeBase + ActiveMode());
        } else if (request == kRequestApply) {
            const BYTE mode = m_cmos[kModeIndex];
            if (mode >= kModeBase && mode < kModeBase + kModeCount)
                sim::WriteIniText(kStateFile, kStateSection, L"mode", std::to_wstring(mode - kModeBase));
        }
    }

    std::mutex m_lock;
    std::array<BYTE, 128> m_cmos{};
    BYTE m_index = 0;
};

Firmware& TheFirmware() {
    static Firmware firmware;
    return firmware;
}

}  // namespace

extern "C" {

BOOL WINAPI PortLibraryInitialise() { return TRUE; }

BYTE WINAPI PortReadByte(WORD port) { return TheFirmware().Read(port); }

VOID WINAPI PortWriteByte(WORD port, BYTE value) { TheFirmware().Write(port, value); }

}  // extern "C"
