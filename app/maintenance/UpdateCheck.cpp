#include "UpdateCheck.h"

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

void PostResult(HWND window, WPARAM which) {
    if (window && IsWindow(window)) PostMessageW(window, message::kUpdateResult, which, kResultFound);
}

}  // namespace

std::wstring ServerBaseUrl() {
    wchar_t value[2048] = {};
    const DWORD length = GetEnvironmentVariableW(kServerUrlVariable, value, 2048);
    if (length == 0 || length >= 2048) return kBuiltInServerUrl;
    std::wstring url(value, length);
    if (url.back() != L'/') url += L'/';
    return url;
}

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

bool DownloadAndUnpackFirmware(UpdateDownloader& downloader, const UpdateLocations& locations,
                               const std::wstring& firmwareVersion, HWND progressWindow, std::wstring& installerPath) {
    installerPath = TempPath(InstallerName(firmwareVersion));
    if (UsableFirmwareVersion(firmwareVersion) != firmwareVersion || firmwareVersion.empty()) return false;
    folders::CreateFolderPath(TempFolder());
    const std::wstring archive = TempPath(PackageName(firmwareVersion));
    DeleteFileW(archive.c_str());
    downloader.DownloadFile(PackageUrl(locations, firmwareVersion), archive, progressWindow);
    if (GetFileAttributesW(archive.c_str()) == INVALID_FILE_ATTRIBUTES) return false;
    // An installer left by an earlier update must never run in place of one
    // this package failed to deliver.
    SetFileAttributesW(installerPath.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileW(installerPath.c_str());
    if (package::ExtractArchive(archive, TempFolder())) DeleteFileW(archive.c_str());
    return true;
}

void StartInstallerAndEnd(const std::wstring& installerPath) {
    ShellExecuteW(nullptr, L"open", installerPath.c_str(), nullptr, nullptr, SW_SHOW);
    ExitProcess(kExitAfterInstallerStart);
}

void RunFirmwareUpdate(UpdateDownloader& downloader, const UpdateLocations& locations,
                       const std::wstring& firmwareVersion, HWND progressWindow) {
    std::wstring installer;
    if (DownloadAndUnpackFirmware(downloader, locations, firmwareVersion, progressWindow, installer)) {
        StartInstallerAndEnd(installer);
    }
}

}  // namespace update
