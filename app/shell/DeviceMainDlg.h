// DeviceMainDlg: the program's main window and owner of all program state.
//
// A borderless 1500 x 840 dialog on the framework's dialog host: the frame
// (background, title-area buttons, language selector, navigation column),
// the system page with the performance selector and six gauges, the light
// page and the settings popup. It carries the single-instance property and
// the tray icon, answers the program's own window messages, and owns the
// worker with its command queue, the device state, the telemetry and the
// online update's state.
//
// Building and laying out the controls is in MainWindowLayout.cpp, the
// controls' notifications in MainWindowHandlers.cpp.
#pragma once

#include <windows.h>

#include <atomic>
#include <memory>
#include <string>

#include "CThreadBasic.h"
#include "CommandQueue.h"
#include "DeviceMainDef.h"
#include "HardwareSnapshot.h"
#include "LightingControl.h"
#include "MDialog.h"
#include "MainWindowControls.h"
#include "SensorAcquisition.h"
#include "TelemetryRecord.h"
#include "TelemetryRefresh.h"
#include "TrayIcon.h"
#include "UpdateCheck.h"
#include "UpdateDownloader.h"
#include "WorkerCommands.h"

class UpdateProcessDlg;

class DeviceMainDlg : public MDialog, public CThreadBasic, public DeviceMainDef, private WorkerCommands {
public:
    DeviceMainDlg();
    ~DeviceMainDlg() override;

    LRESULT OnWindowMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    int OnInitDialog() override;
    void InitUI(CRect client) override;
    void UISize(CRect client) override;
    LRESULT OnMessage(unsigned id, unsigned code, WPARAM wParam, LPARAM lParam) override;
    int OnTimer(unsigned id) override;

    // Appends a command for the worker; callable from any thread.
    void QueueCommand(int code) { m_commands.Push(code); }

    void WorkerBody() override;
    // Stops the worker; when it does not stop in time, removes the tray icon
    // and ends the process with exitCode, leaving this object alive.
    void StopWorkerOrEndProcess(UINT exitCode);

    // The work behind the worker's command codes.
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
    const TelemetryGaugesModel& TelemetryPanel() const { return m_gauges.LastReadings(); }

private:
    // Program window messages and the tray.
    bool HandleProgramMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& answer);
    [[noreturn]] void ExitProgram();
    static std::wstring TrayIconFile();
    void OnTrayCallback(UINT mouseMessage);
    void ReaddTrayIconOnce();
    void HideSettingsPageOnOutsideClick(LPARAM point);
    void OnUpdateResult(WPARAM check, LPARAM result);
    void OfferFirmwareUpdate();
    void OnUpdateProgress(LPARAM percent);
    void CloseUpdateDialog();
    void ReadPerformanceMode();

    // Building (MainWindowLayout.cpp).
    void BuildFrame();
    void BuildSystemPage();
    void BuildLightPage();
    void BuildSettingsPage();
    void LayOutFrame(CRect client);
    void LayOutSystemPage();
    void LayOutLightPage();
    void LayOutSettingsPage();

    // Handlers (MainWindowHandlers.cpp).
    void ToggleSettingsPage();
    void OnNavigation();
    void OnPerformanceModeChange();
    void OnLightModeChange();
    void OnLightingSwitchChange();
    void OnBrightnessChange();
    void OnSpeedChange();
    void OnColourFromWheel();
    void OnColourFromSliders();
    void ShowAndStoreColour(uint32_t colour);
    void OnLanguageChange();
    void OnDefaultsReset();
    void OnAutostartSwitchChange();
    void RepaintNow();

    static constexpr wchar_t kTrayIconName[] = L"Quillane.ico";

    CommandQueue m_commands;
    TrayIcon m_tray;

    // Written by the UI thread's handlers, read by the worker's commands.
    std::atomic<int> m_performanceMode{0};
    LightPageControls m_lightControls{*this};
    PerformanceModeControls m_performanceView{*this};
    LightingControl m_lighting;

    TelemetryRecord m_telemetry;
    SensorAcquisition m_sensors;
    HardwareSnapshot m_snapshot;
    // Filled once a run by the inventory (command 1); empty and 0 until then.
    std::wstring m_diskCaption;
    float m_diskSize = 0;
    std::wstring m_memoryCaption;
    SystemPageGauges m_gauges{*this};
    TelemetryRefresh m_telemetryRefresh;

    // The online update. The locations are set once at initialisation, the
    // state only by the worker; the progress dialog exists while it runs.
    update::UpdateLocations m_updateLocations;
    update::UpdateState m_updateState;
    UpdateDownloader m_downloader;
    std::unique_ptr<UpdateProcessDlg> m_updateDialogObject;
    // UI thread only: an update notice, offer or progress dialog is on screen.
    bool m_updateOnScreen = false;
    std::atomic<UpdateProcessDlg*> m_updateProcess{nullptr};
};
