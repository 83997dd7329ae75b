#include "DeviceMainDlg.h"

#include "AutostartTask.h"
#include "DeviceConstants.h"
#include "HidDeviceManager.h"
#include "HidDevicePresence.h"
#include "Inventory.h"
#include "LanguageTexts.h"
#include "Manager.h"
#include "PerformanceModePorts.h"
#include "ProductNames.h"
#include "SettingsStore.h"
#include "WindowMessages.h"

namespace {

constexpr wchar_t kWindowClass[] = L"TarvenholmMainWindow";
constexpr COLORREF kBackground = RGB(0x16, 0x19, 0x1F);
constexpr COLORREF kTitleColour = RGB(0xF2, 0xF2, 0xF2);
constexpr COLORREF kAccentColour = RGB(0x1B, 0xFF, 0xFF);

ATOM RegisterMainWindowClass(HINSTANCE instance, WNDPROC proc) {
    WNDCLASSEXW wc = {};
    wc.cbSize = sizeof(wc);
    wc.style = CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS;
    wc.lpfnWndProc = proc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(107));
    wc.lpszClassName = kWindowClass;
    ATOM atom = RegisterClassExW(&wc);
    return atom ? atom : static_cast<ATOM>(GetClassInfoExW(instance, kWindowClass, &wc));
}

}  // namespace

DeviceMainDlg::DeviceMainDlg()
    : m_lighting(m_lightPageModel, HidDeviceManager::Get()),
      m_sensors(m_telemetry),
      m_telemetryRefresh(m_telemetry, m_snapshot, m_gaugesModel,
                         TelemetryRefresh::LiveSources([this] { m_sensors.Acquire(); })) {}

DeviceMainDlg::~DeviceMainDlg() {
    if (IsWindow(m_hWnd)) DestroyWindow(m_hWnd);
}

HWND DeviceMainDlg::Create(HWND owner, const wchar_t* text, DWORD style, DWORD exStyle, const RECT& rect) {
    HINSTANCE instance = GetModuleHandleW(nullptr);
    RegisterMainWindowClass(instance, &DeviceMainDlg::WndProc);
    // Created hidden: ShowModal applies the show command.
    CreateWindowExW(exStyle, kWindowClass, text, style & ~WS_VISIBLE, rect.left, rect.top,
                    rect.right - rect.left, rect.bottom - rect.top, owner, nullptr, instance, this);
    return m_hWnd;
}

void DeviceMainDlg::CenterWindow(HWND reference) {
    if (!IsWindow(m_hWnd)) return;
    RECT window;
    GetWindowRect(m_hWnd, &window);
    RECT area = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    if (reference && IsWindow(reference)) GetWindowRect(reference, &area);
    const int width = window.right - window.left;
    const int height = window.bottom - window.top;
    SetWindowPos(m_hWnd, nullptr, area.left + (area.right - area.left - width) / 2,
                 area.top + (area.bottom - area.top - height) / 2, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

int DeviceMainDlg::ShowModal(int showCommand) {
    if (!IsWindow(m_hWnd)) return -1;
    ShowWindow(m_hWnd, showCommand);
    if (showCommand != SW_HIDE) UpdateWindow(m_hWnd);
    MSG msg;
    while (IsWindow(m_hWnd) && GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return 1;
}

LRESULT CALLBACK DeviceMainDlg::WndProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) noexcept {
    if (msg == WM_NCCREATE) {
        auto* self = static_cast<DeviceMainDlg*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        self->m_hWnd = window;
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<DeviceMainDlg*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!self) return DefWindowProcW(window, msg, wParam, lParam);
    LRESULT result = self->OnWindowMessage(msg, wParam, lParam);
    if (msg == WM_NCDESTROY) {
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        self->m_hWnd = nullptr;
    }
    return result;
}

LRESULT DeviceMainDlg::OnWindowMessage(UINT msg, WPARAM wParam, LPARAM lParam) noexcept {
    switch (msg) {
    case WM_CREATE:
        OnInitDialog();
        return 0;
    case WM_PAINT:
        OnPaint();
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_DEVICECHANGE:
        // Only queues: the device is reopened on the worker by command 2.
        if (HidDevicePresence::NeedsDeviceInitialisation(wParam, lParam)) QueueCommand(command::kDeviceInitialisation);
        return 0;
    case WM_DESTROY:
        RemovePropW(m_hWnd, product::kProductWord);
        PostQuitMessage(0);
        return 0;
    case message::kExitRequest:
        if (lParam == message::kExitRequestCode) ExitProgram();
        return 0;
    case message::kTrayCallback:
        OnTrayCallback(static_cast<UINT>(lParam));
        return 0;
    case WM_COMMAND:
        if (wParam == TrayIcon::kExitCommand) ExitProgram();
        return DefWindowProcW(m_hWnd, msg, wParam, lParam);
    case WM_TIMER:
        if (wParam == TrayIcon::kReaddTimer) ReaddTrayIconOnce();
        return 0;
    default:
        // A restarted shell has lost every icon: without this a hidden
        // window could no longer be brought back.
        if (msg == TrayIcon::TaskbarCreatedMessage()) {
            m_tray.Readd(m_hWnd, TrayIconFile());
            return 0;
        }
        return DefWindowProcW(m_hWnd, msg, wParam, lParam);
    }
}

void DeviceMainDlg::OnInitDialog() {
    SetPropW(m_hWnd, product::kProductWord, reinterpret_cast<HANDLE>(1));
    m_tray.Add(m_hWnd, TrayIconFile());
    m_snapshot.Open();
    HidDevicePresence::Register(m_hWnd);
    StartThread();
    QueueCommand(command::kAutorunAndInventory);
    QueueCommand(command::kDeviceInitialisation);
    SetTimer(m_hWnd, TrayIcon::kReaddTimer, TrayIcon::kReaddDelayMs, nullptr);
    // Last; a port sequence the worker reaches first waits for it.
    PerformanceModePorts::Initialise();
}

void DeviceMainDlg::OnPaint() {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(m_hWnd, &ps);
    RECT client;
    GetClientRect(m_hWnd, &client);
    HBRUSH background = CreateSolidBrush(kBackground);
    FillRect(dc, &client, background);
    DeleteObject(background);
    RECT accent = {client.left, client.top, client.right, client.top + 4};
    HBRUSH accentBrush = CreateSolidBrush(kAccentColour);
    FillRect(dc, &accent, accentBrush);
    DeleteObject(accentBrush);
    HFONT font = CreateFontW(-48, 0, 0, 0, FW_SEMIBOLD, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                             CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY, DEFAULT_PITCH, L"Segoe UI");
    HGDIOBJ oldFont = SelectObject(dc, font);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, kTitleColour);
    DrawTextW(dc, product::kProductWord, -1, &client, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    SelectObject(dc, oldFont);
    DeleteObject(font);
    EndPaint(m_hWnd, &ps);
}

std::wstring DeviceMainDlg::TrayIconFile() { return static_cast<const wchar_t*>(Manager::GetSkinFile(kTrayIconName)); }

void DeviceMainDlg::OnTrayCallback(UINT mouseMessage) {
    switch (mouseMessage) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        SetForegroundWindow(m_hWnd);
        ShowWindow(m_hWnd, SW_SHOWNORMAL);
        UpdateWindow(m_hWnd);
        BringWindowToTop(m_hWnd);
        break;
    case WM_RBUTTONUP:
        TrayIcon::ShowMenu(m_hWnd, language::GetText(language::key::kTrayExit));
        break;
    default:
        break;
    }
}

// The shell may not have been ready at start: the icon is added once more.
void DeviceMainDlg::ReaddTrayIconOnce() {
    KillTimer(m_hWnd, TrayIcon::kReaddTimer);
    m_tray.Readd(m_hWnd, TrayIconFile());
}

void DeviceMainDlg::ExitProgram() {
    m_tray.Remove();
    ExitProcess(0);
}

void DeviceMainDlg::WorkerBody() { RunWorkerIteration(m_commands, *this); }

// Command 1: the autostart task once per installation, the switch showing
// whether the task exists, then the memory and disk inventory for the panel.
void DeviceMainDlg::RunAutorunAndInventory() {
    autostart::RunAutostartStep([this](bool present) { m_autostartShown = present; });
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
    QueueCommand(command::kFirmwareCheck);
}

void DeviceMainDlg::ReadPerformanceMode() {
    // A byte outside the firmware's table keeps the previous mode.
    if (auto mode = PerformanceModePorts::ReadMode()) m_performanceMode = *mode;
    m_performanceView->ShowPerformanceMode(m_performanceMode);
}

void DeviceMainDlg::RunWritePerformanceMode() { PerformanceModePorts::WriteMode(m_performanceMode); }

void DeviceMainDlg::RunApplyLighting() { m_lighting.Apply(); }

void DeviceMainDlg::ResetDeviceDefaults() {
    m_performanceMode = device::kDefaultPerformanceMode;
    m_performanceView->ShowPerformanceMode(m_performanceMode);
    settings::WriteInteger(settings::kPerfMode, m_performanceMode);
    PerformanceModePorts::WriteDefaults();
    m_lighting.ResetToDefaults();
}

void DeviceMainDlg::RunSoftwareCheck() {}
void DeviceMainDlg::RunFirmwareCheck() {}
void DeviceMainDlg::RunFirmwareUpdate() {}

// At most one acquisition pass a second; the panel's figures are made from
// the record right after it.
void DeviceMainDlg::RunTelemetryRefresh() { m_telemetryRefresh.Step(m_diskCaption, m_diskSize, m_memoryCaption); }
