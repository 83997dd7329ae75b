#include "GaugeReadings.h"

#include <windows.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdarg>
#include <cwchar>

#include "AnsiText.h"
#include "HardwareSnapshot.h"
#include "TelemetryRecord.h"

namespace {

constexpr float kGibibyte = 1.0f / 1073741824.0f;  // 2^-30
constexpr float kUsageFloor = 1.0f;                // a load above 0 never reads below 1
constexpr float kCpuUsageCap = 100.0f;
constexpr int kFullPercent = 100;

std::wstring Format(const wchar_t* format, ...) {
    wchar_t text[128];
    va_list arguments;
    va_start(arguments, format);
    const int length = std::vswprintf(text, sizeof(text) / sizeof(text[0]), format, arguments);
    va_end(arguments);
    return length < 0 ? std::wstring() : std::wstring(text, static_cast<size_t>(length));
}

std::wstring Temperature(float celsius) { return Format(L"%d\u00B0C", gauges::TruncateToInt(celsius)); }

// A load the library could not compute arrives as NaN; the ring and its
// percentage would draw nothing sensible from it, so it reads as no load.
float KnownLoad(float percent) { return std::isnan(percent) ? 0.0f : percent; }

}  // namespace

SnapshotNames SnapshotNames::From(const HardwareSnapshot& snapshot) {
    SnapshotNames names;
    names.available = snapshot.IsAvailable();
    if (!names.available) return names;
    names.cpu = snapshot.CpuName();
    names.gpu = snapshot.GpuName();
    names.secondGpu = snapshot.SecondGpuName();
    return names;
}

namespace gauges {

int TruncateToInt(float value) {
    // A plain cast of NaN or of a value past the int range is undefined; a
    // broken sensor must not turn into INT_MIN on the panel.
    if (std::isnan(value)) return 0;
    if (value >= static_cast<float>(INT_MAX)) return INT_MAX;
    if (value <= static_cast<float>(INT_MIN)) return INT_MIN;
    return static_cast<int>(value);
}

std::wstring CpuName(const TelemetryRecord& record, const SnapshotNames& snapshot) {
    if (record.cpuNameValid) return record.cpuName;
    if (snapshot.available) return FromAnsi(snapshot.cpu);
    return {};
}

std::wstring GpuName(const TelemetryRecord& record, const SnapshotNames& snapshot) {
    if (record.gpuNameValid) return record.gpuName;
    if (!snapshot.available) return {};
    std::wstring name = FromAnsi(snapshot.gpu);
    return name.empty() ? FromAnsi(snapshot.secondGpu) : name;
}

GaugeReading Fan(const wchar_t* caption, float rpm) {
    const int shown = std::min(TruncateToInt(rpm), kFanFullRpm);
    const int percent = std::min(static_cast<int>(shown * 100.0 / kFanFullRpm), kFullPercent);
    return {caption, Format(L"%dr/min(%d%%)", shown, percent), static_cast<float>(percent)};
}

GaugeReading Cpu(const std::wstring& name, float temperature, float reportedUsage) {
    const float usage = KnownLoad(reportedUsage);
    const float value = (usage > 0 && usage < kUsageFloor) ? kUsageFloor : std::min(usage, kCpuUsageCap);
    return {name, Temperature(temperature), value};
}

GaugeReading Gpu(const std::wstring& name, float temperature, float reportedUsage) {
    const float usage = KnownLoad(reportedUsage);
    const float value = usage > 0 ? std::max(usage, kUsageFloor) : usage;
    return {name, Temperature(temperature), value};
}

GaugeReading Memory(const std::wstring& caption, float reportedUsage, uint64_t totalPhysicalBytes) {
    const float usagePercent = KnownLoad(reportedUsage);
    const float total = static_cast<float>(totalPhysicalBytes) * kGibibyte;
    const float used = (usagePercent / 100.0f) * total;
    return {caption, Format(L"%0.1f / %0.1f GB", used, total), usagePercent};
}

GaugeReading Disk(const std::wstring& caption, float diskSizeGiB, const std::optional<DriveSpace>& systemDrive) {
    if (!(diskSizeGiB > 0)) return {caption, L"00 / 00 GB", 0};
    if (!systemDrive) return {caption, Format(L"0.0 / %0.1f GB", diskSizeGiB), 0};
    // Free space is never above the total on a sound volume; should a
    // driver report it so, the subtraction must not wrap to exabytes used.
    const uint64_t usedBytes = systemDrive->totalBytes > systemDrive->freeBytesForCaller
                                   ? systemDrive->totalBytes - systemDrive->freeBytesForCaller
                                   : 0;
    const float used = static_cast<float>(usedBytes) * kGibibyte;
    // C: and the first fixed disk need not be the same device: a C: larger
    // than that disk must not draw a ring past full.
    const float percent = std::min(used / diskSizeGiB * 100.0f, 100.0f);
    return {caption, Format(L"%0.0f / %0.0f GB", used, diskSizeGiB), percent};
}

}  // namespace gauges
