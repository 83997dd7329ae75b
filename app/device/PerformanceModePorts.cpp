#include "PerformanceModePorts.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>

#include "DeviceConstants.h"
#include "PortLibrary.h"

namespace {

std::mutex& SequenceLock() {
    static std::mutex lock;
    return lock;
}

std::atomic<bool>& InitialisedFlag() {
    static std::atomic<bool> initialised{false};
    return initialised;
}

std::condition_variable& InitialisedSignal() {
    static std::condition_variable signal;
    return signal;
}

// The main window queues the first command before it initialises the port
// library, so the worker may get here a moment early: it waits for the
// initialise call a little, and gives up (touching no port) if it never comes.
constexpr std::chrono::milliseconds kInitialiseWait{2000};

bool WaitUntilInitialised(std::unique_lock<std::mutex>& lock) {
    return InitialisedSignal().wait_for(lock, kInitialiseWait, [] { return InitialisedFlag().load(); });
}

void Write(uint16_t port, uint8_t value) { PortWriteByte(port, value); }

// The write sequence fills index 0x6C first and triggers the SMI last.
void WriteModeByteLocked(uint8_t modeByte) {
    Write(device::kCmosIndexPort, device::kRequestIndex);
    Write(device::kCmosDataPort, device::kRequestApplyMode);
    Write(device::kCmosIndexPort, device::kModeIndex);
    Write(device::kCmosDataPort, modeByte);
    Write(device::kSmiCommandPort, device::kSmiCommand);
}

bool IsValidMode(int mode) { return mode >= 0 && mode < device::kPerformanceModeCount; }

}  // namespace

void PerformanceModePorts::Initialise() {
    {
        std::lock_guard<std::mutex> guard(SequenceLock());
        if (InitialisedFlag().load()) return;
        PortLibraryInitialise();  // its answer is of no use: port writes report nothing either
        InitialisedFlag().store(true);
    }
    InitialisedSignal().notify_all();
}

bool PerformanceModePorts::IsInitialised() { return InitialisedFlag().load(); }

std::optional<int> PerformanceModePorts::ReadMode() {
    std::unique_lock<std::mutex> lock(SequenceLock());
    if (!WaitUntilInitialised(lock)) {
        OutputDebugStringA("PerformanceModePorts: mode read before the port library was initialised\n");
        return std::nullopt;
    }
    // The read sequence triggers the SMI before it selects index 0x6C.
    Write(device::kCmosIndexPort, device::kRequestIndex);
    Write(device::kCmosDataPort, device::kRequestPublishMode);
    Write(device::kSmiCommandPort, device::kSmiCommand);
    Write(device::kCmosIndexPort, device::kModeIndex);
    return ModeFromFirmwareByte(PortReadByte(device::kCmosDataPort));
}

void PerformanceModePorts::WriteMode(int mode) {
    if (!IsValidMode(mode)) return;
    std::unique_lock<std::mutex> lock(SequenceLock());
    if (!WaitUntilInitialised(lock)) {
        OutputDebugStringA("PerformanceModePorts: mode write before the port library was initialised\n");
        return;
    }
    WriteModeByteLocked(static_cast<uint8_t>(device::kModeByteBase + mode));
}

void PerformanceModePorts::WriteDefaults() { WriteMode(device::kDefaultPerformanceMode); }

std::optional<int> PerformanceModePorts::ModeFromFirmwareByte(uint8_t value) {
    for (uint8_t base : {device::kModeByteBase, device::kLegacyModeByteBase}) {
        if (value >= base && value < base + device::kPerformanceModeCount) return value - base;
    }
    return std::nullopt;
}
