// The main window's idle worker keeps the telemetry panel current: once the
// window is up, the scenario's readings reach the gauges within a second or
// two, and a changed scenario shows at a following refresh.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <thread>

#include "DeviceMainDlg.h"
#include "Inventory.h"
#include "ScopedSimFolder.h"
#include "TestProcess.h"

namespace ts = testing_support;

namespace {

constexpr DWORD kWaitMs = 4000;

std::wstring CpuFanText(const DeviceMainDlg& window) {
    const auto reading = window.TelemetryPanel().Reading(TelemetryGauge::CpuFan);
    return reading ? reading->valueText : std::wstring();
}

std::string Scenario(int cpuFanRpm) {
    return "[sensor0]\nname=CPU [#0]: Test CPU\nreading0=1;11;Core 0;45.9\n"
           "[sensor1]\nname=Mainboard chip\nreading0=3;12;CPU Fan;" +
           std::to_string(cpuFanRpm) + "\n";
}

TEST(MainWindowTelemetry, IdleWorkerRefreshesTheGauges) {
    ScopedSimFolder sim;
    sim.Write(L"sensors.ini", Scenario(6000));
    DeviceMainDlg window;
    const RECT rect = {0, 0, 400, 300};
    ASSERT_NE(window.Create(nullptr, L"telemetry test", WS_POPUP, 0, rect), nullptr);

    EXPECT_TRUE(ts::WaitUntil([&] { return CpuFanText(window) == L"5200r/min(100%)"; }, kWaitMs));
    const auto cpu = window.TelemetryPanel().Reading(TelemetryGauge::Cpu);
    ASSERT_TRUE(cpu);
    EXPECT_EQ(cpu->caption, L"Test CPU");
    EXPECT_EQ(cpu->valueText, L"45\u00B0C");
    // The inventory (command 1) runs before the first refresh, so the disk
    // gauge already shows what WMI said of the system disk. WMI is the
    // platform's, not ours: a machine (or a container) may report no disk
    // drive at all, and then the gauge must show its empty form, not fail.
    // Asked on a thread of its own, as the worker asks it: this thread's
    // window has made it a single-threaded apartment.
    InventoryResults host;
    std::thread([&] { inventory::RunInventoryStep(true, host); }).join();
    const auto disk = window.TelemetryPanel().Reading(TelemetryGauge::Disk);
    ASSERT_TRUE(disk);
    if (host.diskSizeGiB > 0) {
        EXPECT_NE(disk->valueText, L"00 / 00 GB");
        EXPECT_EQ(disk->valueText.substr(disk->valueText.size() - 3), L" GB");
    } else {
        EXPECT_EQ(disk->valueText, L"00 / 00 GB");
        EXPECT_EQ(disk->value, 0);
    }

    sim.Write(L"sensors.ini", Scenario(2600));
    EXPECT_TRUE(ts::WaitUntil([&] { return CpuFanText(window) == L"2600r/min(50%)"; }, kWaitMs));
    EXPECT_TRUE(window.StopThread(2000));
}

}  // namespace
