// TelemetryRefresh: the worker's idle step that keeps the system page's six
// gauges current. At most once a second it runs an acquisition pass, reads
// the memory status and the space of C:, and hands every gauge its caption,
// value text and value (GaugeReadings) in the order CPU fan, CPU, GPU fan,
// GPU, memory, disk.
//
// It borrows the record, the snapshot and the gauges from the main window,
// which owns them; everything it reads from the system goes through
// Sources, so tests can drive the clock, the pass and the system figures.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "GaugeReadings.h"
#include "TelemetryGauges.h"

struct TelemetryRecord;
class HardwareSnapshot;

class TelemetryRefresh {
public:
    static constexpr DWORD kIntervalMs = 1000;

    struct Sources {
        std::function<DWORD()> tickCount;
        std::function<void()> acquire;  // one acquisition pass into the record
        std::function<std::optional<uint64_t>()> totalPhysicalMemory;
        std::function<std::optional<DriveSpace>()> systemDriveSpace;
    };

    // GetTickCount, GlobalMemoryStatusEx and GetDiskFreeSpaceExW on "C:\",
    // around the given pass.
    static Sources LiveSources(std::function<void()> acquire);

    TelemetryRefresh(const TelemetryRecord& record, const HardwareSnapshot& snapshot, TelemetryGauges& gauges,
                     Sources sources)
        : m_record(record), m_snapshot(snapshot), m_gauges(gauges), m_sources(std::move(sources)) {}

    // Returns at once unless a second has passed since the last refresh; the
    // inventory's figures are the main window's and may still be empty.
    void Step(const std::wstring& diskCaption, float diskSizeGiB, const std::wstring& memoryCaption);

    DWORD LastRefreshTick() const { return m_lastTick; }

private:
    // Unsigned difference, so the step keeps its pace across the 49.7-day
    // wrap of the tick counter.
    bool IsDue(DWORD now) const { return now - m_lastTick >= kIntervalMs; }
    void Show(TelemetryGauge gauge, const GaugeReading& reading);

    const TelemetryRecord& m_record;
    const HardwareSnapshot& m_snapshot;
    TelemetryGauges& m_gauges;
    Sources m_sources;
    DWORD m_lastTick = 0;
};
