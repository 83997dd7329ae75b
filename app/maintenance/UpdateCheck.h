// The online update: where the update server lives, how versions compare,
// the names of packages and installers, and the work of worker commands 20
// (software check), 23 (firmware check) and 25 (firmware update).
//
// Results reach the main window as posted messages: the update result
// (wParam 1 software, 2 firmware; lParam 1) and the download progress.
#pragma once

#include <windows.h>

#include <functional>
#include <mutex>
#include <string>
#include <utility>

#include "TarvenholmVersion.h"
#include "UpdateDownloader.h"
#include "UpdateSettings.h"
#include "UniqueHandle.h"

namespace update {

// The program's own version, fixed at build time.
inline constexpr wchar_t kCurrentSoftwareVersion[] = TARVENHOLM_VERSION_WIDE;
inline constexpr size_t kMaxVersionLength = 10;
inline constexpr WPARAM kSoftwareResult = 1;
inline constexpr WPARAM kFirmwareResult = 2;

struct UpdateLocations {
    std::wstring softwareBaseUrl;  // ends with "/"
    std::wstring firmwareBaseUrl;  // ends with "/"
};

// What the checks found; the latest firmware version names the next package.
// The worker's checks write it while the UI thread's offer reads it: both
// go through the lock.
struct UpdateState {
    std::wstring latestSoftwareVersion;
    std::wstring latestFirmwareVersion;
    mutable std::mutex lock;

    std::wstring LatestFirmwareVersion() const {
        std::lock_guard<std::mutex> guard(lock);
        return latestFirmwareVersion;
    }
    void SetLatestFirmwareVersion(std::wstring version) {
        std::lock_guard<std::mutex> guard(lock);
        latestFirmwareVersion = std::move(version);
    }
};

UpdateLocations LocationsFor(const std::wstring& serverBaseUrl);

// 2: different numbers of parts; else -1, 0 or 1 as `current` is newer,
// equal or older than `latest`, part by part as numbers.
int CompareVersions(const std::wstring& current, const std::wstring& latest);

// The device's USB release number read as decimal digits (0x0110 -> 110).
int ReleaseAsVersionNumber(unsigned releaseNumber);

// The firmware version text without trailing white space, or empty when what
// remains is not all digits: the text names files and a URL.
std::wstring UsableFirmwareVersion(const std::wstring& text);

std::wstring PackageName(const std::wstring& firmwareVersion);    // Tarvenholm-<v>.zip
std::wstring InstallerName(const std::wstring& firmwareVersion);  // Tarvenholm-<v>.exe
std::wstring TempFolder();                                         // <data folder>\temp\ .
std::wstring TempPath(const std::wstring& fileName);

std::wstring SoftwareVersionUrl(const UpdateLocations& locations);
std::wstring FirmwareVersionUrl(const UpdateLocations& locations);
std::wstring PackageUrl(const UpdateLocations& locations, const std::wstring& firmwareVersion);

// Command 20: posts the software result when a newer version exists or the
// check failed.
void RunSoftwareCheck(UpdateDownloader& downloader, const UpdateLocations& locations, UpdateState& state,
                      HWND mainWindow);

// Command 23: posts the firmware result when the server has newer firmware
// than the device's release; release 0 makes no comparison.
void RunFirmwareCheck(UpdateDownloader& downloader, const UpdateLocations& locations, unsigned releaseNumber,
                      UpdateState& state, HWND mainWindow);

// How far command 25 got. Only kStarted ends the program.
enum class FirmwareUpdateResult {
    kStarted,
    kNoPackage,      // unusable version, failed download
    kUnsafeFolder,   // the temp folder or the installer is a reparse point
    kBrokenPackage,  // no archive, or over the limits
    kNoInstaller,    // the installer entry missing, cut, or failing its CRC
    kStartFailed,    // ShellExecuteW refused it
};

// The installer as extraction left it: opened for reading only, nobody else
// allowed to change or remove it while `held` stays open.
struct PreparedInstaller {
    std::wstring path;
    UniqueHandle held;
};

// True when the folder exists, is a folder and no reparse point (junction,
// symbolic link): what lies under the user's own profile may have been
// turned into a way elsewhere by any process of the user.
bool IsPlainFolder(const std::wstring& folder);

// Command 25 up to the installer start: downloads the package into the temp
// folder (progress to `progressWindow`), unpacks it and deletes it. On
// kStarted the installer is prepared and held; the path is set either way.
FirmwareUpdateResult DownloadAndUnpackFirmware(UpdateDownloader& downloader, const UpdateLocations& locations,
                                               const std::wstring& firmwareVersion, HWND progressWindow,
                                               PreparedInstaller& installer);

// ShellExecuteW on a thread with COM initialised, its answer checked; the
// installer stays held until it has started. kStarted or kStartFailed (or
// kUnsafeFolder when the temp folder has become a reparse point).
FirmwareUpdateResult StartInstaller(const PreparedInstaller& installer);

// The whole of command 25. When the installer has started, `endProgram`
// runs (it removes the tray icon and ends the process); without one the
// process ends with 0 at once. Any other result comes back to the caller,
// and the program goes on.
FirmwareUpdateResult RunFirmwareUpdate(UpdateDownloader& downloader, const UpdateLocations& locations,
                                       const std::wstring& firmwareVersion, HWND progressWindow,
                                       const std::function<void()>& endProgram = {});

}  // namespace update
