#include "TelemetryRefresh.h"

#include "HardwareSnapshot.h"
#include "TelemetryRecord.h"

namespace {

constexpr wchar_t kSystemDrive[] = L"C:\\";
constexpr wchar_t kCpuFanCaption[] = L"CPU";
constexpr wchar_t kGpuFanCaption[] = L"GPU";

std::optional<uint64_t> ReadTotalPhysicalMemory() {
    MEMORYSTATUSEX status = {};
    status.dwLength = sizeof(status);
    if (!GlobalMemoryStatusEx(&status)) {
        OutputDebugStringA("TelemetryRefresh: GlobalMemoryStatusEx failed\n");
        return std::nullopt;
    }
    return status.ullTotalPhys;
}

std::optional<DriveSpace> ReadSystemDriveSpace() {
    ULARGE_INTEGER freeForCaller = {}, total = {}, totalFree = {};
    if (!GetDiskFreeSpaceExW(kSystemDrive, &freeForCaller, &total, &totalFree)) {
        OutputDebugStringA("TelemetryRefresh: GetDiskFreeSpaceExW failed\n");
        return std::nullopt;
    }
    return DriveSpace{total.QuadPart, freeForCaller.QuadPart};
}

}  // namespace

TelemetryRefresh::Sources TelemetryRefresh::LiveSources(std::function<void()> acquire) {
    return {[] { return GetTickCount(); }, std::move(acquire), ReadTotalPhysicalMemory, ReadSystemDriveSpace};
}

void TelemetryRefresh::Step(const std::wstring& diskCaption, float diskSizeGiB, const std::wstring& memoryCaption) {
    const DWORD now = m_sources.tickCount();
    if (!IsDue(now)) return;
    m_lastTick = now;
    m_sources.acquire();

    const SnapshotNames names = SnapshotNames::From(m_snapshot);
    Show(TelemetryGauge::CpuFan, gauges::Fan(kCpuFanCaption, m_record.cpuFan));
    Show(TelemetryGauge::Cpu, gauges::Cpu(gauges::CpuName(m_record, names), m_record.cpuTemperature, m_record.cpuUsage));
    Show(TelemetryGauge::GpuFan, gauges::Fan(kGpuFanCaption, m_record.gpuFan));
    Show(TelemetryGauge::Gpu, gauges::Gpu(gauges::GpuName(m_record, names), m_record.gpuTemperature, m_record.gpuUsage));
    // Without the memory status the gauge keeps what it showed before.
    if (const auto totalMemory = m_sources.totalPhysicalMemory()) {
        Show(TelemetryGauge::Memory, gauges::Memory(memoryCaption, m_record.memoryUsage, *totalMemory));
    }
    // C: is read only for a known disk size; the text does not need it otherwise.
    const std::optional<DriveSpace> drive = diskSizeGiB > 0 ? m_sources.systemDriveSpace() : std::nullopt;
    Show(TelemetryGauge::Disk, gauges::Disk(diskCaption, diskSizeGiB, drive));
}

void TelemetryRefresh::Show(TelemetryGauge gauge, const GaugeReading& reading) {
    m_gauges.SetGauge(gauge, reading.caption, reading.valueText, reading.value);
}
