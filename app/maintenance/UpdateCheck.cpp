#include "UpdateCheck.h"

#include <objbase.h>
#include <shellapi.h>

#include <cwctype>
#include <vector>

#include "AppFolders.h"
#include "UpdatePackage.h"
#include "WindowMessages.h"

namespace update {
namespace {

constexpr wchar_t kSoftwareFolder[] = L"rk/software/";
constexpr wchar_t kFirmwareFolder[] = L"rk/firmware/";
constexpr wchar_t kVersionFile[] = L"version";
constexpr wchar_t kPackagePrefix[] = L"Tarvenholm-";
constexpr LPARAM kResultFound = 1;
constexpr int kExitAfterInstallerStart = 0;

std::vector<std::wstring> SplitParts(const std::wstring& version) {
    std::vector<std::wstring> parts;
    size_t start = 0;
    for (;;) {
        const size_t dot = version.find(L'.', start);
        parts.push_back(version.substr(start, dot == std::wstring::npos ? std::wstring::npos : dot - start));
        if (dot == std::wstring::npos) return parts;
        start = dot + 1;
    }
}

bool AcceptableLength(const std::wstring& text) { return !text.empty() && text.size() <= kMaxVersionLength; }

constexpr INT_PTR kShellExecuteLastError = 32;

void LogUpdateFailure(const wchar_t* what, const std::wstring& path) {
    const std::wstring line = L"Firmware update: " + std::wstring(what) + L": " + path + L"\n";
    OutputDebugStringW(line.c_str());
}

void PostResult(HWND window, WPARAM which) {
    if (window && IsWindow(window)) PostMessageW(window, message::kUpdateResult, which, kResultFound);
}

}  // namespace

UpdateLocations LocationsFor(const std::wstring& serverBaseUrl) {
    return {serverBaseUrl + kSoftwareFolder, serverBaseUrl + kFirmwareFolder};
}

int CompareVersions(const std::wstring& current, const std::wstring& latest) {
    const auto a = SplitParts(current), b = SplitParts(latest);
    if (a.size() != b.size()) return 2;
    for (size_t i = 0; i < a.size(); ++i) {
        const int left = _wtoi(a[i].c_str()), right = _wtoi(b[i].c_str());
        if (left > right) return -1;
        if (left < right) return 1;
    }
    return 0;
}

int ReleaseAsVersionNumber(unsigned releaseNumber) {
    wchar_t digits[16];
    swprintf(digits, 16, L"%x", releaseNumber);
    return _wtoi(digits);
}

std::wstring UsableFirmwareVersion(const std::wstring& text) {
    std::wstring trimmed = text;
    while (!trimmed.empty() && std::iswspace(trimmed.back())) trimmed.pop_back();
    if (trimmed.empty()) return {};
    for (wchar_t c : trimmed) {
        if (c < L'0' || c > L'9') return {};
    }
    return trimmed;
}

std::wstring PackageName(const std::wstring& firmwareVersion) { return kPackagePrefix + firmwareVersion + L".zip"; }
std::wstring InstallerName(const std::wstring& firmwareVersion) { return kPackagePrefix + firmwareVersion + L".exe"; }
// The data folder already ends with "\": the doubled backslash is harmless.
std::wstring TempFolder() { return folders::DataFolder() + L"\\temp\\"; }
std::wstring TempPath(const std::wstring& fileName) { return TempFolder() + fileName; }

std::wstring SoftwareVersionUrl(const UpdateLocations& locations) { return locations.softwareBaseUrl + kVersionFile; }
// The server folds the doubled slashes these two make.
std::wstring FirmwareVersionUrl(const UpdateLocations& locations) {
    return locations.firmwareBaseUrl + L"/" + kVersionFile;
}
std::wstring PackageUrl(const UpdateLocations& locations, const std::wstring& firmwareVersion) {
    return locations.firmwareBaseUrl + L"//" + PackageName(firmwareVersion);
}

void RunSoftwareCheck(UpdateDownloader& downloader, const UpdateLocations& locations, UpdateState& state,
                      HWND mainWindow) {
    std::wstring text;
    downloader.DownloadText(SoftwareVersionUrl(locations), text);
    if (!AcceptableLength(text)) {
        PostResult(mainWindow, kSoftwareResult);
        return;
    }
    {
        std::lock_guard<std::mutex> guard(state.lock);
        state.latestSoftwareVersion = text;
    }
    const int comparison = CompareVersions(kCurrentSoftwareVersion, text);
    if (comparison == 1 || comparison == 2) PostResult(mainWindow, kSoftwareResult);
}

void RunFirmwareCheck(UpdateDownloader& downloader, const UpdateLocations& locations, unsigned releaseNumber,
                      UpdateState& state, HWND mainWindow) {
    state.SetLatestFirmwareVersion(L"");
    std::wstring text;
    downloader.DownloadText(FirmwareVersionUrl(locations), text);
    if (!AcceptableLength(text) || releaseNumber == 0) return;
    const std::wstring version = UsableFirmwareVersion(text);
    if (version.empty()) return;
    state.SetLatestFirmwareVersion(version);
    if (ReleaseAsVersionNumber(releaseNumber) < _wtoi(version.c_str())) PostResult(mainWindow, kFirmwareResult);
}

bool IsPlainFolder(const std::wstring& folder) {
    // With a separator at its end the name means what a link leads to.
    std::wstring name = folder;
    while (name.size() > 3 && (name.back() == L'\\' || name.back() == L'/')) name.pop_back();
    const DWORD attributes = GetFileAttributesW(name.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) &&
           !(attributes & FILE_ATTRIBUTE_REPARSE_POINT);
}

FirmwareUpdateResult DownloadAndUnpackFirmware(UpdateDownloader& downloader, const UpdateLocations& locations,
                                               const std::wstring& firmwareVersion, HWND progressWindow,
                                               PreparedInstaller& installer) {
    installer.path = TempPath(InstallerName(firmwareVersion));
    installer.held.Reset();
    if (UsableFirmwareVersion(firmwareVersion) != firmwareVersion || firmwareVersion.empty()) {
        return FirmwareUpdateResult::kNoPackage;
    }
    folders::CreateFolderPath(TempFolder());
    if (!IsPlainFolder(TempFolder())) {
        LogUpdateFailure(L"the temp folder is missing or a reparse point", TempFolder());
        return FirmwareUpdateResult::kUnsafeFolder;
    }
    const std::wstring archive = TempPath(PackageName(firmwareVersion));
    DeleteFileW(archive.c_str());
    if (downloader.DownloadFile(PackageUrl(locations, firmwareVersion), archive, progressWindow) !=
            UpdateDownloader::kComplete ||
        GetFileAttributesW(archive.c_str()) == INVALID_FILE_ATTRIBUTES) {
        return FirmwareUpdateResult::kNoPackage;
    }
    // An installer left by an earlier update must never run in place of one
    // this package failed to deliver.
    SetFileAttributesW(installer.path.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileW(installer.path.c_str());
    const bool extracted =
        package::ExtractArchive(archive, TempFolder(), InstallerName(firmwareVersion), installer.held);
    DeleteFileW(archive.c_str());
    if (!extracted) return FirmwareUpdateResult::kBrokenPackage;
    if (!installer.held.Valid()) {
        LogUpdateFailure(L"no whole installer in the package", installer.path);
        return FirmwareUpdateResult::kNoInstaller;
    }
    return FirmwareUpdateResult::kStarted;
}

FirmwareUpdateResult StartInstaller(const PreparedInstaller& installer) {
    if (!installer.held.Valid()) return FirmwareUpdateResult::kNoInstaller;
    if (!IsPlainFolder(TempFolder())) {
        LogUpdateFailure(L"the temp folder became a reparse point", TempFolder());
        return FirmwareUpdateResult::kUnsafeFolder;
    }
    // The shell may hand the start to COM objects (file associations, the
    // elevation prompt); it wants an apartment on the calling thread.
    const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    const HINSTANCE answer = ShellExecuteW(nullptr, L"open", installer.path.c_str(), nullptr, nullptr, SW_SHOW);
    if (SUCCEEDED(com)) CoUninitialize();
    // Values up to 32 are the call's error codes.
    const INT_PTR code = reinterpret_cast<INT_PTR>(answer);
    if (code <= kShellExecuteLastError) {
        wchar_t line[96];
        swprintf(line, 96, L"ShellExecuteW answered %ld", static_cast<long>(code));
        LogUpdateFailure(line, installer.path);
        return FirmwareUpdateResult::kStartFailed;
    }
    return FirmwareUpdateResult::kStarted;
}

FirmwareUpdateResult RunFirmwareUpdate(UpdateDownloader& downloader, const UpdateLocations& locations,
                                       const std::wstring& firmwareVersion, HWND progressWindow,
                                       const std::function<void()>& endProgram) {
    PreparedInstaller installer;
    FirmwareUpdateResult result =
        DownloadAndUnpackFirmware(downloader, locations, firmwareVersion, progressWindow, installer);
    if (result == FirmwareUpdateResult::kStarted) result = StartInstaller(installer);
    if (result != FirmwareUpdateResult::kStarted) {
        // An installer that would not start is of no use to the next try.
        if (installer.held.Valid()) {
            installer.held.Reset();
            DeleteFileW(installer.path.c_str());
        }
        return result;
    }
    if (endProgram) endProgram();
    ExitProcess(kExitAfterInstallerStart);
}

}  // namespace update
