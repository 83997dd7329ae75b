// HardwareSnapshot: the named 896-byte section "hevant_hardware_mapfile"
// that an outside writer fills with hardware names, read here as fallback
// names for the telemetry panel. The main window opens it once and keeps it
// for the life of the process; it is created when no writer made it yet.
#pragma once

#include <string>

#include "UniqueHandle.h"

class HardwareSnapshot {
public:
    static constexpr char kSectionName[] = "hevant_hardware_mapfile";
    static constexpr unsigned kSectionSize = 896;
    static constexpr unsigned kCpuNameOffset = 0;
    static constexpr unsigned kGpuNameOffset = 160;
    static constexpr unsigned kSecondGpuNameOffset = 308;

    HardwareSnapshot() = default;
    ~HardwareSnapshot();
    HardwareSnapshot(const HardwareSnapshot&) = delete;
    HardwareSnapshot& operator=(const HardwareSnapshot&) = delete;

    // Creates or opens the section and maps a read-only view; on failure
    // the snapshot stays unavailable.
    void Open();
    bool IsAvailable() const { return m_view != nullptr; }

    // The ANSI names, each bounded by its field (empty when unavailable).
    std::string CpuName() const;
    std::string GpuName() const;
    std::string SecondGpuName() const;

private:
    std::string TextAt(unsigned offset, unsigned capacity) const;

    UniqueHandle m_section;
    const char* m_view = nullptr;
};
