// DeviceMainDlg: the program's main window and owner of all program state.
//
// For now a plain native window: it carries the single-instance property,
// runs modally, answers the exit request and owns the worker with its command
// queue. The framework's dialog takes its place once HVUI has one.
//
// It owns the device state too: the performance mode, the lighting values,
// the telemetry record with the sensor library's state and the hardware
// snapshot section. The pages' controls are reached through LightPage,
// PerformanceModeView and TelemetryGauges; until the pages exist, plain
// models stand in.
#pragma once

#include <windows.h>

#include <atomic>

#include "CThreadBasic.h"
#include "CommandQueue.h"
#include "HardwareSnapshot.h"
#include "LightPageModel.h"
#include "LightingControl.h"
#include "PerformanceModeView.h"
#include "SensorAcquisition.h"
#include "TelemetryGaugesModel.h"
#include "TelemetryRecord.h"
#include "TelemetryRefresh.h"
#include "TrayIcon.h"
#include "WorkerCommands.h"

class DeviceMainDlg : public CThreadBasic, public WorkerCommands {
public:
    DeviceMainDlg();
    ~DeviceMainDlg() override;

    HWND Create(HWND owner, const wchar_t* text, DWORD style, DWORD exStyle, const RECT& rect);
    void CenterWindow(HWND reference);
    // Shows the window with the given command and runs its message loop
    // until the window is destroyed.
    int ShowModal(int showCommand);
    HWND GetHWND() const { return m_hWnd; }

    // Appends a command for the worker; callable from any thread.
    void QueueCommand(int code) { m_commands.Push(code); }

    void WorkerBody() override;

    void RunAutorunAndInventory() override;
    void RunDeviceInitialisation() override;
    void RunWritePerformanceMode() override;
    void RunApplyLighting() override;
    void RunSoftwareCheck() override;
    void RunFirmwareCheck() override;
    void RunFirmwareUpdate() override;
    void RunTelemetryRefresh() override;

    // The performance selector's handler stores the mode here before it
    // queues command 3.
    void SetPerformanceMode(int mode) { m_performanceMode = mode; }
    int PerformanceMode() const { return m_performanceMode; }

    // The device half of the defaults reset (UI thread): mode 1 to the
    // firmware, then the lighting defaults to the page, store and device.
    void ResetDeviceDefaults();

    LightingControl& Lighting() { return m_lighting; }
    const TelemetryRecord& Telemetry() const { return m_telemetry; }
    const HardwareSnapshot& Snapshot() const { return m_snapshot; }
    // What the refresh last gave each gauge of the system page.
    const TelemetryGaugesModel& TelemetryPanel() const { return m_gaugesModel; }
    bool AutostartShown() const { return m_autostartShown; }

    // Called by the page builder once the framework's controls exist.
    void SetLightPage(LightPage& page) { m_lighting.SetPage(page); }
    void SetPerformanceModeView(PerformanceModeView& view) { m_performanceView = &view; }

private:
    static LRESULT CALLBACK WndProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) noexcept;
    LRESULT OnWindowMessage(UINT msg, WPARAM wParam, LPARAM lParam) noexcept;
    void OnInitDialog();
    void OnPaint();
    [[noreturn]] void ExitProgram();
    static std::wstring TrayIconFile();
    void OnTrayCallback(UINT mouseMessage);
    void ReaddTrayIconOnce();
    void ReadPerformanceMode();

    static constexpr wchar_t kTrayIconName[] = L"Quillane.ico";

    HWND m_hWnd = nullptr;
    CommandQueue m_commands;
    TrayIcon m_tray;

    // Written by the UI thread's handlers, read by the worker's commands.
    std::atomic<int> m_performanceMode{0};
    PerformanceModeModel m_performanceModel;
    PerformanceModeView* m_performanceView = &m_performanceModel;
    LightPageModel m_lightPageModel;
    LightingControl m_lighting;

    TelemetryRecord m_telemetry;
    SensorAcquisition m_sensors;
    HardwareSnapshot m_snapshot;
    // Filled once a run by the inventory (command 1); empty and 0 until then.
    std::wstring m_diskCaption;
    float m_diskSize = 0;
    std::wstring m_memoryCaption;
    // The autostart switch's check state; until the settings page exists the
    // window keeps it here.
    std::atomic<bool> m_autostartShown{false};
    // Until the system page's gauges exist, the refresh feeds this model.
    TelemetryGaugesModel m_gaugesModel;
    TelemetryRefresh m_telemetryRefresh;
};
