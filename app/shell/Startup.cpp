#include "Startup.h"

#include <gdiplus.h>
#include <objbase.h>
#include <ole2.h>
#include <tlhelp32.h>

#include <cwchar>
#include <memory>
#include <string>

#include "AppFolders.h"
#include "DeviceMainDlg.h"
#include "Manager.h"
#include "ProductNames.h"
#include "SettingsStore.h"
#include "UniqueHandle.h"

namespace startup {
namespace {

constexpr int kDpiThresholdWidth = 1400;
constexpr int kDpiThresholdHeight = 800;
constexpr DWORD kMainWindowStyle = 0x96020000;  // popup, visible, clip siblings/children, minimise box
constexpr RECT kMainWindowRect = {0, 0, 1500, 840};
// What a run of the main window answers, also when the teardown has to end
// the process early.
constexpr int kRunExitCode = 1;

// Created initially owned and kept for the life of the process: never closed.
HANDLE CreateInstanceMutex(bool& anotherCopyRuns) {
    HANDLE mutex = CreateMutexW(nullptr, TRUE, product::kProductWord);
    anotherCopyRuns = mutex != nullptr && GetLastError() == ERROR_ALREADY_EXISTS;
    return mutex;
}

void BringForward(HWND window) {
    SetForegroundWindow(window);
    ShowWindow(window, SW_SHOWNORMAL);
    UpdateWindow(window);
    BringWindowToTop(window);
}

}  // namespace

bool ActivateRunningCopy() {
    for (HWND window = GetWindow(GetDesktopWindow(), GW_CHILD); IsWindow(window);
         window = GetWindow(window, GW_HWNDNEXT)) {
        if (GetPropW(window, product::kProductWord) != nullptr) {
            BringForward(window);
            return true;
        }
    }
    return false;
}

void ApplyDpiRule() {
    const int width = GetSystemMetrics(SM_CXSCREEN);
    const int height = GetSystemMetrics(SM_CYSCREEN);
    if (width < kDpiThresholdWidth || height < kDpiThresholdHeight) SetProcessDPIAware();
}

bool EnableDebugPrivilege() {
    HANDLE rawToken = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES, &rawToken)) return false;
    UniqueHandle token(rawToken);
    TOKEN_PRIVILEGES privileges = {};
    privileges.PrivilegeCount = 1;
    privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
    if (!LookupPrivilegeValueW(nullptr, L"SeDebugPrivilege", &privileges.Privileges[0].Luid)) return false;
    AdjustTokenPrivileges(token.Get(), FALSE, &privileges, sizeof(privileges), nullptr, nullptr);
    return GetLastError() == ERROR_SUCCESS;
}

bool TerminateProcessByName(const wchar_t* name) {
    UniqueHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot.Valid()) return false;
    PROCESSENTRY32W entry = {};
    entry.dwSize = sizeof(entry);
    DWORD match = 0;
    bool found = false;
    for (BOOL more = Process32FirstW(snapshot.Get(), &entry); more; more = Process32NextW(snapshot.Get(), &entry)) {
        if (_wcsicmp(entry.szExeFile, name) == 0) {
            match = entry.th32ProcessID;
            found = true;
            break;
        }
    }
    snapshot.Reset();
    if (found) {
        UniqueHandle process(OpenProcess(PROCESS_ALL_ACCESS, FALSE, match));
        if (process.Get()) TerminateProcess(process.Get(), 0);
    }
    return true;
}

int ChooseCurrentLanguage() {
    const int stored = settings::LoadLanguageId();
    if (stored != 0) return stored;
    const int uiLanguage = static_cast<int>(static_cast<unsigned short>(GetUserDefaultUILanguage()));
    const bool keep = uiLanguage == product::kLanguageChineseSimplified ||
                      uiLanguage == product::kLanguageChineseTraditional;
    settings::StoreLanguageId(keep ? uiLanguage : product::kLanguageEnglishUs);
    return uiLanguage;
}

void CreateDataSubfolders() {
    for (const wchar_t* subfolder : folders::kDataSubfolders) {
        folders::CreateFolderPath(folders::DataFolder() + subfolder);
    }
}

bool HasHideFlag(const wchar_t* commandLine) {
    return commandLine != nullptr && std::wcsstr(commandLine, L"-hide") != nullptr;
}

int Run(HINSTANCE instance, const wchar_t* commandLine) {
    bool anotherCopyRuns = false;
    HANDLE mutex = CreateInstanceMutex(anotherCopyRuns);
    if (anotherCopyRuns) {
        CloseHandle(mutex);
        ActivateRunningCopy();
        return 0;
    }
    ApplyDpiRule();
    EnableDebugPrivilege();
    TerminateProcessByName(product::kConflictingProcess);

    Gdiplus::GdiplusStartupInput gdiplusInput;  // version 1, no callback, background thread
    ULONG_PTR gdiplusToken = 0;
    Gdiplus::GdiplusStartup(&gdiplusToken, &gdiplusInput, nullptr);

    Manager::SetLanguage(ChooseCurrentLanguage());
    Manager::SetInstance(instance);
    CreateDataSubfolders();
    CoInitialize(nullptr);
    OleInitialize(nullptr);
    const bool hidden = HasHideFlag(commandLine);

    auto mainWindow = std::make_unique<DeviceMainDlg>();
    // Made without WS_VISIBLE: the first show is ShowModal's, so a start
    // with -hide never flashes the window on the screen.
    mainWindow->Create(nullptr, product::kProductWord, kMainWindowStyle & ~WS_VISIBLE, 0, kMainWindowRect);
    mainWindow->CenterWindow(nullptr);
    mainWindow->ShowModal(hidden ? SW_HIDE : SW_SHOWNORMAL);

    TerminateProcessByName(product::kConflictingProcess);
    CoUninitialize();
    OleUninitialize();
    // The worker uses the main window: it stops before the object goes, or
    // the process ends here with the run's exit code.
    mainWindow->StopWorkerOrEndProcess(kRunExitCode);
    mainWindow.reset();
    Gdiplus::GdiplusShutdown(gdiplusToken);
    return kRunExitCode;
}

}  // namespace startup
