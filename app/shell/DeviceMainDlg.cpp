#include "DeviceMainDlg.h"

#include <cstdio>

#include "AutostartTask.h"
#include "CImageButton.h"
#include "CSwitchButton.h"
#include "CUIMessageBox.h"
#include "DeviceConstants.h"
#include "HidDeviceManager.h"
#include "HidDevicePresence.h"
#include "Inventory.h"
#include "LanguageTexts.h"
#include "MRender.h"
#include "MTabLayout.h"
#include "OutsideMessages.h"
#include "Manager.h"
#include "PerformanceModePorts.h"
#include "ProductNames.h"
#include "SettingsStore.h"
#include "UpdateProcessDlg.h"
#include "WindowMessages.h"

namespace {

constexpr unsigned kAnimationTimerMs = 16;
constexpr unsigned kWindowIconResource = 107;
// Command 25's pauses around closing the progress dialog of a failed update.
constexpr DWORD kUpdateDialogPauseMs = 100;
constexpr DWORD kUpdateDialogWaitMs = 5000;
constexpr DWORD kUpdateDialogPollMs = 20;
// Long enough for the slowest command short of a download.
constexpr DWORD kWorkerStopTimeoutMs = 5000;

std::wstring Formatted(const wchar_t* pattern, const std::wstring& a, const std::wstring& b,
                       const std::wstring& c) {
    wchar_t text[1024];
    std::swprintf(text, sizeof(text) / sizeof(text[0]), pattern, a.c_str(), b.c_str(), c.c_str());
    return text;
}

}  // namespace

DeviceMainDlg::DeviceMainDlg()
    : m_lighting(m_lightControls, HidDeviceManager::Get()),
      m_sensors(m_telemetry),
      m_telemetryRefresh(m_telemetry, m_snapshot, m_gauges,
                         TelemetryRefresh::LiveSources([this] { m_sensors.Acquire(); })) {}

// The worker uses the window's state: nothing goes before it has stopped,
// however long its command takes. The program's teardown does not wait here:
// it ends the process first (StopWorkerOrEndProcess).
DeviceMainDlg::~DeviceMainDlg() {
    if (!StopThread(kWorkerStopTimeoutMs)) {
        OutputDebugStringW(L"DeviceMainDlg: the worker is still in a command; waiting for it to end\n");
        while (!StopThread(INFINITE)) {
        }
    }
    if (IsLive()) DestroyWindow();
}

void DeviceMainDlg::StopWorkerOrEndProcess(UINT exitCode) {
    if (StopThread(kWorkerStopTimeoutMs)) return;
    // A command still running (a download, a server that never answers, a
    // slow WMI query) uses this object: the process ends instead of
    // destroying it, as the program's own exit paths do.
    OutputDebugStringW(L"DeviceMainDlg: the worker did not stop; ending the process\n");
    m_tray.Remove();
    ExitProcess(exitCode);
}

// ---- initialisation -------------------------------------------------------------------------------

int DeviceMainDlg::OnInitDialog() {
    MDialog::OnInitDialog();
    HWND window = GetSafeHwnd();
    // A second copy of the program finds this window by it.
    SetPropW(window, product::kProductWord, reinterpret_cast<HANDLE>(1));
    // Elevated: the shell's and other programs' messages are let through.
    outside_messages::AllowForWindow(window, outside_messages::LoadChangeFilter());
    m_tray.Add(window, TrayIconFile());
    SetIcon(kWindowIconResource);
    CenterWindow(nullptr);
    m_snapshot.Open();
    HidDevicePresence::Register(window);
    SetMTimer(kAnimationTimerMs);
    // Before the worker starts: its commands read the locations.
    m_updateLocations = update::LocationsFor(update::ServerBaseUrl());
    // Queued before the start, so that the worker's first iterations run
    // them and not a telemetry refresh.
    QueueCommand(command::kAutorunAndInventory);
    QueueCommand(command::kDeviceInitialisation);
    StartThread();
    SetTimer(TrayIcon::kReaddTimer, TrayIcon::kReaddDelayMs, nullptr);
    // Last; a port sequence the worker reaches first waits for it.
    PerformanceModePorts::Initialise();
    return 1;
}

// ---- window messages ----------------------------------------------------------------------------

LRESULT DeviceMainDlg::OnWindowMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    LRESULT answer = 0;
    if (HandleProgramMessage(msg, wParam, lParam, answer)) return answer;
    answer = MDialog::OnWindowMessage(msg, wParam, lParam);
    if (msg == WM_LBUTTONDOWN) HideSettingsPageOnOutsideClick(lParam);
    if (msg == WM_DESTROY) RemovePropW(GetSafeHwnd(), product::kProductWord);
    return answer;
}

// The messages the program itself defines, the tray menu's item and device
// changes; true when `answer` is final.
bool DeviceMainDlg::HandleProgramMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& answer) {
    answer = 0;
    switch (msg) {
    case message::kTrayCallback:
        OnTrayCallback(static_cast<UINT>(lParam));
        return true;
    case message::kExitRequest:
        if (lParam == message::kExitRequestCode) ExitProgram();
        return true;
    case message::kUpdateResult:
        OnUpdateResult(wParam, lParam);
        answer = 1;
        return true;
    case message::kDownloadProgress:
        OnUpdateProgress(lParam);
        answer = 1;
        return true;
    case WM_COMMAND:
        if (wParam == TrayIcon::kExitCommand) ExitProgram();
        return false;
    case WM_DEVICECHANGE:
        // Only queues: the device is reopened on the worker by command 2.
        if (HidDevicePresence::NeedsDeviceInitialisation(wParam, lParam)) QueueCommand(command::kDeviceInitialisation);
        return true;
    case WM_POWERBROADCAST:
        // After sleep or hibernation the controller is back at its firmware's
        // default look: reopen it, then send it what the light page shows.
        // Windows wants TRUE for every power broadcast.
        if (wParam == PBT_APMRESUMEAUTOMATIC) {
            QueueCommand(command::kDeviceInitialisation);
            QueueCommand(command::kApplyLighting);
        }
        answer = TRUE;
        return true;
    default:
        // A restarted shell has lost every icon: without this a hidden
        // window could no longer be brought back.
        if (msg == TrayIcon::TaskbarCreatedMessage()) {
            m_tray.Readd(GetSafeHwnd(), TrayIconFile());
            return true;
        }
        return false;
    }
}

int DeviceMainDlg::OnTimer(unsigned id) {
    if (id == TrayIcon::kReaddTimer) ReaddTrayIconOnce();
    return 0;
}

// After the framework has taken the click: a click beside the open settings
// popup closes it. The settings button toggles it itself.
void DeviceMainDlg::HideSettingsPageOnOutsideClick(LPARAM point) {
    if (!m_settingsPage || !m_settingsPage->IsVisible()) return;
    const POINT click = {static_cast<short>(LOWORD(point)), static_cast<short>(HIWORD(point))};
    if (m_settingsPage->GetRect().PtInRect(click)) return;
    if (m_settingsButton && m_settingsButton->GetRect().PtInRect(click)) return;
    m_settingsPage->SetVisible(0);
    RepaintNow();
}

std::wstring DeviceMainDlg::TrayIconFile() { return static_cast<const wchar_t*>(Manager::GetSkinFile(kTrayIconName)); }

void DeviceMainDlg::OnTrayCallback(UINT mouseMessage) {
    HWND window = GetSafeHwnd();
    switch (mouseMessage) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        SetForegroundWindow(window);
        ShowWindow(SW_SHOWNORMAL);
        UpdateWindow(window);
        BringWindowToTop(window);
        break;
    case WM_RBUTTONUP:
        TrayIcon::ShowMenu(window, language::GetText(language::key::kTrayExit));
        break;
    default:
        break;
    }
}

// The shell may not have been ready at start: the icon is added once more.
void DeviceMainDlg::ReaddTrayIconOnce() {
    KillTimer(TrayIcon::kReaddTimer);
    m_tray.Readd(GetSafeHwnd(), TrayIconFile());
}

// Every setting was stored when it changed: nothing is left to save.
void DeviceMainDlg::ExitProgram() {
    m_tray.Remove();
    ExitProcess(0);
}

// ---- online update results -----------------------------------------------------------------------

void DeviceMainDlg::OnUpdateResult(WPARAM check, LPARAM result) {
    if (result != 1) return;
    // The notice, the offer and the progress dialog run nested message loops
    // that dispatch further results (command 23 runs again at each device
    // arrival). One on screen is enough; a second would replace the progress
    // dialog while its modal run is still going.
    if (m_updateOnScreen) return;
    m_updateOnScreen = true;
    struct ClearOnReturn {
        bool& flag;
        ~ClearOnReturn() { flag = false; }
    } clear{m_updateOnScreen};
    if (check == update::kSoftwareResult) {
        const std::wstring notice = language::GetText(language::key::kSoftwareCheckResult);
        CUIMessageBox::ShowMessageBox(GetSafeHwnd(), notice.c_str(), L"", CUIMessageBox::kStyleOneButton);
    } else if (check == update::kFirmwareResult) {
        OfferFirmwareUpdate();
    }
}

void DeviceMainDlg::OfferFirmwareUpdate() {
    const std::wstring title = language::GetText(language::key::kFirmwareOfferTitle);
    const std::wstring offer = Formatted(L"%ls:v%ls, %ls", title, m_updateState.LatestFirmwareVersion(),
                                         language::GetText(language::key::kFirmwareOfferEnd));
    const unsigned answer =
        CUIMessageBox::ShowMessageBox(GetSafeHwnd(), offer.c_str(), title.c_str(), CUIMessageBox::kStyleTwoButtons);
    if (answer != CUIMessageBox::kAnswerFirst) return;
    QueueCommand(command::kFirmwareUpdate);
    // The dialog runs until command 25 closes it or the installer's start
    // ends the process.
    m_updateDialogObject = std::make_unique<UpdateProcessDlg>();
    m_updateProcess = m_updateDialogObject.get();
    m_updateDialogObject->Show(GetSafeHwnd());
    m_updateProcess = nullptr;
}

void DeviceMainDlg::OnUpdateProgress(LPARAM percent) {
    if (UpdateProcessDlg* dialog = m_updateProcess) dialog->SetProgress(static_cast<int>(percent));
}

// ---- worker ---------------------------------------------------------------------------------------------

void DeviceMainDlg::WorkerBody() { RunWorkerIteration(m_commands, *this); }

// Command 1: the autostart task once per installation, the switch showing
// whether the task exists, then the memory and disk inventory for the panel.
void DeviceMainDlg::RunAutorunAndInventory() {
    autostart::RunAutostartStep([this](bool present) {
        if (m_autostartSwitch) m_autostartSwitch->SetCheck(present ? 1 : 0);
    });
    InventoryResults results;
    inventory::RunInventoryStep(m_snapshot.IsAvailable(), results);
    m_diskCaption = results.diskCaption;
    m_diskSize = results.diskSizeGiB;
    m_memoryCaption = results.memoryCaption;
}

// Command 2: reopen the lighting device; only with the device there is the
// firmware's mode read and the light page restored.
void DeviceMainDlg::RunDeviceInitialisation() {
    HidDeviceManager& devices = HidDeviceManager::Get();
    devices.Close();
    devices.Open();
    if (!devices.IsOpened()) return;
    ReadPerformanceMode();
    m_lighting.RestoreFromSettings();
    if (m_lightPage) m_lightPage->UpdateControl(1, 1);
    QueueCommand(command::kFirmwareCheck);
}

void DeviceMainDlg::ReadPerformanceMode() {
    // A byte outside the firmware's table keeps the previous mode.
    if (auto mode = PerformanceModePorts::ReadMode()) m_performanceMode = *mode;
    m_performanceView.ShowPerformanceMode(m_performanceMode);
}

void DeviceMainDlg::RunWritePerformanceMode() { PerformanceModePorts::WriteMode(m_performanceMode); }

void DeviceMainDlg::RunApplyLighting() { m_lighting.Apply(); }

void DeviceMainDlg::ResetDeviceDefaults() {
    m_performanceMode = device::kDefaultPerformanceMode;
    m_performanceView.ShowPerformanceMode(m_performanceMode);
    settings::WriteInteger(settings::kPerfMode, m_performanceMode);
    PerformanceModePorts::WriteDefaults();
    m_lighting.ResetToDefaults();
}

void DeviceMainDlg::RunSoftwareCheck() {
    update::RunSoftwareCheck(m_downloader, m_updateLocations, m_updateState, GetSafeHwnd());
}

void DeviceMainDlg::RunFirmwareCheck() {
    update::RunFirmwareCheck(m_downloader, m_updateLocations, HidDeviceManager::Get().ReleaseNumber(), m_updateState,
                             GetSafeHwnd());
}

// Returns only when the update could not go on: the dialog is closed so the
// user gets the window back.
void DeviceMainDlg::RunFirmwareUpdate() {
    update::RunFirmwareUpdate(m_downloader, m_updateLocations, m_updateState.LatestFirmwareVersion(), GetSafeHwnd());
    Sleep(kUpdateDialogPauseMs);
    CloseUpdateDialog();
    Sleep(kUpdateDialogPauseMs);
}

// The dialog is opened right after the command is queued; a download that
// fails at once can end before its window exists, and a close sent to no
// window would leave the buttonless dialog, and the disabled main window,
// waiting for ever.
void DeviceMainDlg::CloseUpdateDialog() {
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < kUpdateDialogWaitMs) {
        UpdateProcessDlg* dialog = m_updateProcess;
        if (dialog && IsWindow(dialog->GetSafeHwnd())) {
            dialog->DoOK();
            return;
        }
        Sleep(kUpdateDialogPollMs);
    }
}

// At most one acquisition pass a second; the panel's figures are made from
// the record right after it.
void DeviceMainDlg::RunTelemetryRefresh() { m_telemetryRefresh.Step(m_diskCaption, m_diskSize, m_memoryCaption); }
