// The telemetry panel's refresh: the gauge texts and values case by case,
// the once-a-second rule across the tick wrap, the order of the gauge calls,
// and one refresh over a scenario served by the stand-in sensor library.
#include <gtest/gtest.h>

#include <windows.h>

#include <cmath>
#include <cstdio>
#include <limits>
#include <optional>
#include <string>
#include <vector>

#include "GaugeReadings.h"
#include "HardwareSnapshot.h"
#include "ScopedSimFolder.h"
#include "SensorAcquisition.h"
#include "TelemetryGaugesModel.h"
#include "TelemetryRecord.h"
#include "TelemetryRefresh.h"

namespace {

constexpr uint64_t kGiB = 1ull << 30;

struct GaugeCall {
    TelemetryGauge gauge;
    std::wstring caption;
    std::wstring valueText;
    float value;
};

class RecordingGauges : public TelemetryGauges {
public:
    void SetGauge(TelemetryGauge gauge, const std::wstring& caption, const std::wstring& valueText,
                  float value) override {
        calls.push_back({gauge, caption, valueText, value});
    }
    std::vector<GaugeCall> calls;
};

std::string Narrow(const std::wstring& text) { return std::string(text.begin(), text.end()); }

TEST(GaugeReadings, FanTextsCapAtFullScale) {
    struct Case {
        float rpm;
        const wchar_t* text;
        float value;
    };
    const Case cases[] = {
        {6000.0f, L"5200r/min(100%)", 100},  // capped at 5200, not 5000
        {2600.9f, L"2600r/min(50%)", 50},    // truncated, not rounded
        {5200.0f, L"5200r/min(100%)", 100},
        {5199.9f, L"5199r/min(99%)", 99},
        {51.9f, L"51r/min(0%)", 0},
        {0.0f, L"0r/min(0%)", 0},
        // A broken reading stays on the scale instead of wrapping to INT_MIN.
        {std::numeric_limits<float>::quiet_NaN(), L"0r/min(0%)", 0},
        {1e30f, L"5200r/min(100%)", 100},
    };
    for (const Case& c : cases) {
        const GaugeReading reading = gauges::Fan(L"CPU", c.rpm);
        EXPECT_EQ(reading.caption, L"CPU");
        EXPECT_EQ(reading.valueText, c.text) << "rpm " << c.rpm;
        EXPECT_EQ(reading.value, c.value) << "rpm " << c.rpm;
    }
}

TEST(GaugeReadings, LoadsAreRaisedToOneAndOnlyTheCpuIsCapped) {
    struct Case {
        float usage;
        float cpuValue;
        float gpuValue;
    };
    const Case cases[] = {
        {0.4f, 1.0f, 1.0f},       {0.0f, 0.0f, 0.0f},   {100.5f, 100.0f, 100.5f}, {1.0f, 1.0f, 1.0f},
        {55.5f, 55.5f, 55.5f},    {-2.0f, -2.0f, -2.0f}, {250.0f, 100.0f, 250.0f},
        {std::numeric_limits<float>::quiet_NaN(), 0.0f, 0.0f},  // a load the library could not compute
    };
    for (const Case& c : cases) {
        EXPECT_EQ(gauges::Cpu(L"c", 40, c.usage).value, c.cpuValue) << "usage " << c.usage;
        EXPECT_EQ(gauges::Gpu(L"g", 40, c.usage).value, c.gpuValue) << "usage " << c.usage;
    }
}

TEST(GaugeReadings, TemperaturesAreTruncatedTowardZero) {
    struct Case {
        float celsius;
        const wchar_t* text;
    };
    const Case cases[] = {{45.9f, L"45\u00B0C"}, {0.0f, L"0\u00B0C"}, {-3.7f, L"-3\u00B0C"}, {100.0f, L"100\u00B0C"}};
    for (const Case& c : cases) {
        EXPECT_EQ(gauges::Cpu(L"Test CPU", c.celsius, 10).valueText, c.text);
        EXPECT_EQ(gauges::Gpu(L"Test GPU", c.celsius, 10).valueText, c.text);
    }
    EXPECT_EQ(gauges::Cpu(L"Test CPU", 45.9f, 10).caption, L"Test CPU");
}

TEST(GaugeReadings, MemoryShowsUsedOfTotalGibibytes) {
    GaugeReading reading = gauges::Memory(L"Samsung", 50.0f, 16 * kGiB);
    EXPECT_EQ(reading.caption, L"Samsung");
    EXPECT_EQ(reading.valueText, L"8.0 / 16.0 GB");
    EXPECT_EQ(reading.value, 50.0f);
    reading = gauges::Memory(L"", 37.0f, 8 * kGiB - 300 * (1ull << 20));  // 7.7 GiB usable
    EXPECT_EQ(reading.valueText, L"2.9 / 7.7 GB");
    reading = gauges::Memory(L"", std::numeric_limits<float>::quiet_NaN(), 16 * kGiB);
    EXPECT_EQ(reading.valueText, L"0.0 / 16.0 GB");
    EXPECT_EQ(reading.value, 0.0f);
}

TEST(GaugeReadings, DiskRules) {
    struct Case {
        float diskSize;
        std::optional<DriveSpace> drive;
        const wchar_t* text;
        float value;
    };
    const DriveSpace quarterFree{100 * kGiB, 25 * kGiB};
    const Case cases[] = {
        {0.0f, quarterFree, L"00 / 00 GB", 0},  // unknown size, whatever C: holds
        {-1.0f, quarterFree, L"00 / 00 GB", 0},
        {0.0f, std::nullopt, L"00 / 00 GB", 0},
        {476.0f, std::nullopt, L"0.0 / 476.0 GB", 0},
        {200.0f, quarterFree, L"75 / 200 GB", 37.5f},
        {476.0f, DriveSpace{476 * kGiB, 476 * kGiB}, L"0 / 476 GB", 0},
        // Free above total must not wrap into a huge used figure.
        {200.0f, DriveSpace{10 * kGiB, 11 * kGiB}, L"0 / 200 GB", 0},
        // C: on a bigger device than the inventory's disk: the text tells the
        // figures, the ring stops at full.
        {76.0f, DriveSpace{300 * kGiB, 121 * kGiB}, L"179 / 76 GB", 100.0f},
    };
    for (const Case& c : cases) {
        const GaugeReading reading = gauges::Disk(L"NVMe Disk", c.diskSize, c.drive);
        EXPECT_EQ(reading.caption, L"NVMe Disk");
        EXPECT_EQ(reading.valueText, c.text) << "size " << c.diskSize;
        EXPECT_FLOAT_EQ(reading.value, c.value) << "size " << c.diskSize;
    }
}

TEST(GaugeReadings, NamesFallBackToTheSnapshotSection) {
    TelemetryRecord named;
    named.cpuName = L"Sensor CPU";
    named.cpuNameValid = 1;
    named.gpuName = L"Sensor GPU";
    named.gpuNameValid = 1;
    const TelemetryRecord unnamed;
    const SnapshotNames section{true, "Section CPU", "Section GPU", "Second GPU"};
    const SnapshotNames firstGpuEmpty{true, "Section CPU", "", "Second GPU"};
    const SnapshotNames unavailable{false, "ignored", "ignored", "ignored"};

    struct Case {
        const TelemetryRecord& record;
        const SnapshotNames& snapshot;
        const wchar_t* cpu;
        const wchar_t* gpu;
    };
    const Case cases[] = {
        {named, section, L"Sensor CPU", L"Sensor GPU"},
        {unnamed, section, L"Section CPU", L"Section GPU"},
        {unnamed, firstGpuEmpty, L"Section CPU", L"Second GPU"},
        {unnamed, unavailable, L"", L""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(gauges::CpuName(c.record, c.snapshot), c.cpu);
        EXPECT_EQ(gauges::GpuName(c.record, c.snapshot), c.gpu);
    }
}

// The step over a clock, a pass and system figures the test controls.
class TelemetryRefreshStep : public ::testing::Test {
protected:
    TelemetryRefreshStep()
        : m_refresh(m_record, m_snapshot, m_gauges,
                    {[this] { return m_now; }, [this] { ++m_passes; }, [this] { return m_totalMemory; },
                     [this] {
                         ++m_driveReads;
                         return m_drive;
                     }}) {}

    void StepAt(DWORD tick) {
        m_now = tick;
        m_refresh.Step(L"NVMe Disk", m_diskSize, L"Samsung");
    }

    TelemetryRecord m_record;
    HardwareSnapshot m_snapshot;  // never opened: no fallback names
    RecordingGauges m_gauges;
    DWORD m_now = 0;
    int m_passes = 0;
    int m_driveReads = 0;
    float m_diskSize = 476.0f;
    std::optional<uint64_t> m_totalMemory = 16 * kGiB;
    std::optional<DriveSpace> m_drive = DriveSpace{476 * kGiB, 376 * kGiB};
    TelemetryRefresh m_refresh;
};

TEST_F(TelemetryRefreshStep, FeedsEveryGaugeInOrderAfterOnePass) {
    m_record.cpuFan = 6000;
    m_record.cpuTemperature = 45.9f;
    m_record.cpuUsage = 0.4f;
    m_record.gpuFan = 2600.9f;
    m_record.gpuTemperature = 61.0f;
    m_record.gpuUsage = 100.5f;
    m_record.memoryUsage = 25.0f;
    StepAt(5000);

    EXPECT_EQ(m_passes, 1);
    ASSERT_EQ(m_gauges.calls.size(), 6u);
    const TelemetryGauge order[] = {TelemetryGauge::CpuFan, TelemetryGauge::Cpu,    TelemetryGauge::GpuFan,
                                    TelemetryGauge::Gpu,    TelemetryGauge::Memory, TelemetryGauge::Disk};
    for (size_t i = 0; i < 6; ++i) EXPECT_EQ(m_gauges.calls[i].gauge, order[i]) << i;
    const auto& calls = m_gauges.calls;
    EXPECT_EQ(calls[0].caption, L"CPU");
    EXPECT_EQ(calls[0].valueText, L"5200r/min(100%)");
    EXPECT_EQ(calls[1].caption, L"");  // no sensor name and no section
    EXPECT_EQ(calls[1].valueText, L"45\u00B0C");
    EXPECT_EQ(calls[1].value, 1.0f);
    EXPECT_EQ(calls[2].caption, L"GPU");
    EXPECT_EQ(calls[2].valueText, L"2600r/min(50%)");
    EXPECT_EQ(calls[3].value, 100.5f);
    EXPECT_EQ(calls[4].caption, L"Samsung");
    EXPECT_EQ(calls[4].valueText, L"4.0 / 16.0 GB");
    EXPECT_EQ(calls[5].caption, L"NVMe Disk");
    EXPECT_EQ(calls[5].valueText, L"100 / 476 GB");
    EXPECT_EQ(m_refresh.LastRefreshTick(), 5000u);
}

TEST_F(TelemetryRefreshStep, RunsAtMostOnceASecondAcrossTheTickWrap) {
    struct Case {
        DWORD tick;
        bool runs;
    };
    const Case cases[] = {
        {999, false},  // within the first second of the counter: the last tick starts at 0
        {1000, true},
        {1400, false},  // 400 ms later: no pass, no gauge
        {1999, false},
        {2000, true},
        {0xFFFFFE00u, true},
        {0x000001E7u, false},  // 999 ms later, across the wrap
        {0x000001E8u, true},   // 1000 ms later
        {0x000005D0u, true},
    };
    int expectedPasses = 0;
    for (const Case& c : cases) {
        const size_t callsBefore = m_gauges.calls.size();
        StepAt(c.tick);
        if (c.runs) ++expectedPasses;
        EXPECT_EQ(m_passes, expectedPasses) << std::hex << c.tick;
        EXPECT_EQ(m_gauges.calls.size() - callsBefore, c.runs ? 6u : 0u) << std::hex << c.tick;
    }
}

TEST_F(TelemetryRefreshStep, MemoryFailureLeavesOnlyTheMemoryGaugeAlone) {
    m_totalMemory = std::nullopt;
    StepAt(5000);
    ASSERT_EQ(m_gauges.calls.size(), 5u);
    for (const GaugeCall& call : m_gauges.calls) EXPECT_NE(call.gauge, TelemetryGauge::Memory);
}

TEST_F(TelemetryRefreshStep, DiskFiguresFollowTheInventorysSize) {
    m_diskSize = 0;
    StepAt(5000);
    EXPECT_EQ(m_gauges.calls.back().valueText, L"00 / 00 GB");
    EXPECT_EQ(m_driveReads, 0);

    m_diskSize = 476.0f;
    m_drive = std::nullopt;
    StepAt(6000);
    EXPECT_EQ(m_gauges.calls.back().valueText, L"0.0 / 476.0 GB");
    EXPECT_EQ(m_gauges.calls.back().value, 0.0f);
    EXPECT_EQ(m_driveReads, 1);
}

// One refresh on the real clock and system figures, the record filled by a
// real pass over the stand-in library's scenario.
TEST(TelemetryRefreshLive, ScenarioValuesReachTheGauges) {
    ScopedSimFolder sim;
    sim.Write(L"sensors.ini",
              "[sensor0]\nname=CPU [#0]: Test APU 8-Core\nreading0=1;11;Core 0;47.8\n"
              "reading1=7;11;Total CPU Usage;0.4\n"
              "[sensor1]\nname=Mainboard chip\nreading0=3;12;CPU Fan;6000\n"
              "[sensor2]\nname=GPU [#0]: NVIDIA GeForce RTX 4060\nreading0=1;13;GPU Temperature;58.2\n"
              "reading1=3;13;GPU Fan1;2600.9\nreading2=7;13;GPU Utilization;100.5\n"
              "[sensor3]\nname=Memory\nreading0=7;17;Memory Load;50\n");
    TelemetryRecord record;
    std::FILE* quiet = std::tmpfile();
    SensorAcquisition sensors(record, quiet);
    HardwareSnapshot snapshot;
    TelemetryGaugesModel panel;
    TelemetryRefresh refresh(record, snapshot, panel, TelemetryRefresh::LiveSources([&] { sensors.Acquire(); }));
    refresh.Step(L"Test NVMe", 476.0f, L"Test Memory");
    std::fclose(quiet);

    auto text = [&](TelemetryGauge gauge) {
        const auto reading = panel.Reading(gauge);
        return reading ? reading->valueText : L"(not set)";
    };
    EXPECT_EQ(text(TelemetryGauge::CpuFan), L"5200r/min(100%)");
    EXPECT_EQ(text(TelemetryGauge::GpuFan), L"2600r/min(50%)");
    EXPECT_EQ(text(TelemetryGauge::Cpu), L"47\u00B0C");
    EXPECT_EQ(text(TelemetryGauge::Gpu), L"58\u00B0C");
    ASSERT_TRUE(panel.Reading(TelemetryGauge::Cpu));
    EXPECT_EQ(panel.Reading(TelemetryGauge::Cpu)->caption, L"Test APU 8-Core");
    EXPECT_EQ(panel.Reading(TelemetryGauge::Cpu)->value, 1.0f);
    EXPECT_EQ(panel.Reading(TelemetryGauge::Gpu)->caption, L"NVIDIA GeForce RTX 4060");
    EXPECT_EQ(panel.Reading(TelemetryGauge::Gpu)->value, 100.5f);

    // Memory and disk from the running system, formatted the same way here.
    MEMORYSTATUSEX status = {};
    status.dwLength = sizeof(status);
    ASSERT_TRUE(GlobalMemoryStatusEx(&status));
    const float totalMemory = static_cast<float>(status.ullTotalPhys) / static_cast<float>(kGiB);
    wchar_t expected[64];
    std::swprintf(expected, 64, L"%0.1f / %0.1f GB", totalMemory / 2, totalMemory);
    EXPECT_EQ(text(TelemetryGauge::Memory), expected);
    EXPECT_EQ(panel.Reading(TelemetryGauge::Memory)->caption, L"Test Memory");

    ULARGE_INTEGER free = {}, total = {}, totalFree = {};
    ASSERT_TRUE(GetDiskFreeSpaceExW(L"C:\\", &free, &total, &totalFree));
    const float used = static_cast<float>(total.QuadPart - free.QuadPart) / static_cast<float>(kGiB);
    std::swprintf(expected, 64, L"%0.0f / %0.0f GB", used, 476.0f);
    EXPECT_EQ(text(TelemetryGauge::Disk), expected) << Narrow(text(TelemetryGauge::Disk));
    EXPECT_NEAR(panel.Reading(TelemetryGauge::Disk)->value, used / 476.0f * 100.0f, 0.01f);
}

}  // namespace
