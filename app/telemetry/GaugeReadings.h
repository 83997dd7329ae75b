// What each gauge of the telemetry panel shows, made from plain figures.
// Everything here is pure: the refresh reads the system and the record,
// these functions only format and clamp, so their rules can be checked case
// by case.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

struct TelemetryRecord;
class HardwareSnapshot;

// The caption, value text and numeric value of one gauge.
struct GaugeReading {
    std::wstring caption;
    std::wstring valueText;
    float value = 0;
};

// The snapshot section's three ANSI names, read once per refresh.
struct SnapshotNames {
    bool available = false;
    std::string cpu;
    std::string gpu;
    std::string secondGpu;

    static SnapshotNames From(const HardwareSnapshot& snapshot);
};

// Bytes of drive C: as GetDiskFreeSpaceExW reports them.
struct DriveSpace {
    uint64_t totalBytes = 0;
    uint64_t freeBytesForCaller = 0;
};

namespace gauges {

inline constexpr int kFanFullRpm = 5200;  // the fan gauge's full scale and its cap

// Truncation toward zero that stays defined for any float: NaN reads 0 and
// values beyond the int range stop at its ends.
int TruncateToInt(float value);

// The record's names, else the section's (second GPU name when the first
// is empty), else empty.
std::wstring CpuName(const TelemetryRecord& record, const SnapshotNames& snapshot);
std::wstring GpuName(const TelemetryRecord& record, const SnapshotNames& snapshot);

// "%dr/min(%d%%)" with the rpm capped at 5200 and its percent of 5200.
GaugeReading Fan(const wchar_t* caption, float rpm);
// Loads (percent) that are NaN count as 0 in the three gauges below.
// "%d°C"; the load is raised to 1 below one percent and capped at 100.
GaugeReading Cpu(const std::wstring& name, float temperature, float usage);
// "%d°C"; the load is raised to 1 below one percent and has no cap.
GaugeReading Gpu(const std::wstring& name, float temperature, float usage);
// "%0.1f / %0.1f GB" (used, total) from the load percent and the physical
// memory in bytes.
GaugeReading Memory(const std::wstring& caption, float usagePercent, uint64_t totalPhysicalBytes);
// The disk's size in GiB from the inventory against the used space of C:
// (absent when it could not be read).
GaugeReading Disk(const std::wstring& caption, float diskSizeGiB, const std::optional<DriveSpace>& systemDrive);

}  // namespace gauges
