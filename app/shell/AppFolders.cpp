#include "AppFolders.h"

#include <windows.h>
#include <shlobj.h>
#include <shlwapi.h>

#include "ProductNames.h"

namespace folders {
namespace {
constexpr int kLocalAppDataFolder = 28;  // CSIDL_LOCAL_APPDATA
}

std::wstring ProgramFolder() {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    PathRemoveFileSpecW(path);
    PathAddBackslashW(path);
    return path;
}

std::wstring DataFolder() {
    wchar_t base[MAX_PATH + 1] = {};
    SHGetFolderPathW(nullptr, kLocalAppDataFolder, nullptr, 0, base);
    return std::wstring(base) + L"\\" + product::kProductWord + L" Files\\datav1\\";
}

bool CreateFolderPath(const std::wstring& path) {
    if (PathIsDirectoryW(path.c_str())) return true;
    // Every prefix ending before a backslash, except the drive before the first.
    const size_t first = path.find(L'\\');
    if (first != std::wstring::npos) {
        for (size_t slash = path.find(L'\\', first + 1); slash != std::wstring::npos;
             slash = path.find(L'\\', slash + 1)) {
            CreateDirectoryW(path.substr(0, slash).c_str(), nullptr);
        }
    }
    SetLastError(ERROR_SUCCESS);
    return CreateDirectoryW(path.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS;
}

std::wstring ReadIniText(const wchar_t* section, const wchar_t* key, const std::wstring& file) {
    wchar_t buffer[512] = {};
    GetPrivateProfileStringW(section, key, nullptr, buffer, 512, file.c_str());
    return buffer;
}

}  // namespace folders
