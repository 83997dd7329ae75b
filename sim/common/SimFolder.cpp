#include "SimFolder.h"

#include <windows.h>
#include <shlobj.h>

#include <cwchar>
#include <cwctype>

namespace sim {
namespace {

constexpr wchar_t kFolderVariable[] = L"TARVENHOLM_SIM_DIR";
constexpr wchar_t kDefaultFolderName[] = L"sim\\";
constexpr DWORD kIniTextCapacity = 1024;

std::wstring ProgramFolder() {
    wchar_t path[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path, length);
    const auto slash = folder.find_last_of(L"\\/");
    return slash == std::wstring::npos ? std::wstring() : folder.substr(0, slash + 1);
}

std::wstring FolderFromEnvironment() {
    wchar_t value[MAX_PATH] = {};
    const DWORD length = GetEnvironmentVariableW(kFolderVariable, value, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return {};
    return std::wstring(value, length);
}

void EnsureFolder(const std::wstring& folder) {
    if (GetFileAttributesW(folder.c_str()) != INVALID_FILE_ATTRIBUTES) return;
    // SHCreateDirectoryExW wants an absolute path without the trailing slash.
    std::wstring path = folder;
    while (!path.empty() && (path.back() == L'\\' || path.back() == L'/')) path.pop_back();
    wchar_t absolute[MAX_PATH] = {};
    if (GetFullPathNameW(path.c_str(), MAX_PATH, absolute, nullptr) == 0) return;
    SHCreateDirectoryExW(nullptr, absolute, nullptr);
}

}  // namespace

std::wstring Folder() {
    std::wstring folder = FolderFromEnvironment();
    if (folder.empty()) folder = ProgramFolder() + kDefaultFolderName;
    if (folder.back() != L'\\' && folder.back() != L'/') folder += L'\\';
    EnsureFolder(folder);
    return folder;
}

std::wstring FilePath(const wchar_t* fileName) { return Folder() + fileName; }

std::wstring ReadIniText(const wchar_t* fileName, const wchar_t* section, const wchar_t* key,
                         const wchar_t* fallback) {
    wchar_t text[kIniTextCapacity] = {};
    const DWORD length =
        GetPrivateProfileStringW(section, key, fallback, text, kIniTextCapacity, FilePath(fileName).c_str());
    return std::wstring(text, length);
}

bool ParseNumber(const std::wstring& text, long& value) {
    const wchar_t* begin = text.c_str();
    while (std::iswspace(*begin)) ++begin;
    if (*begin == 0) return false;
    wchar_t* end = nullptr;
    const long parsed = std::wcstol(begin, &end, 0);
    while (std::iswspace(*end)) ++end;
    if (*end != 0) return false;
    value = parsed;
    return true;
}

long ReadIniNumber(const wchar_t* fileName, const wchar_t* section, const wchar_t* key, long fallback) {
    long value = fallback;
    return ParseNumber(ReadIniText(fileName, section, key), value) ? value : fallback;
}

void WriteIniText(const wchar_t* fileName, const wchar_t* section, const wchar_t* key, const std::wstring& value) {
    WritePrivateProfileStringW(section, key, value.c_str(), FilePath(fileName).c_str());
}

}  // namespace sim
