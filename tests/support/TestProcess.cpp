#include "TestProcess.h"

#include <shellapi.h>
#include <shlwapi.h>

#include <map>

namespace testing_support {
namespace {

constexpr wchar_t kSettingsKey[] = L"SOFTWARE\\Tarvenholm";

// The current environment with `overrides` applied, as a CreateProcess block.
std::wstring BuildEnvironment(const std::vector<std::wstring>& overrides) {
    std::map<std::wstring, std::wstring> variables;
    wchar_t* block = GetEnvironmentStringsW();
    for (const wchar_t* entry = block; *entry; entry += wcslen(entry) + 1) {
        std::wstring text(entry);
        size_t equals = text.find(L'=', 1);
        if (equals != std::wstring::npos) variables[text.substr(0, equals)] = text.substr(equals + 1);
    }
    FreeEnvironmentStringsW(block);
    for (const auto& text : overrides) {
        size_t equals = text.find(L'=');
        variables[text.substr(0, equals)] = text.substr(equals + 1);
    }
    std::wstring result;
    for (const auto& [name, value] : variables) result += name + L"=" + value + L'\0';
    result += L'\0';
    return result;
}

}  // namespace

ChildProcess::~ChildProcess() {
    if (m_info.hProcess) {
        if (Running()) TerminateProcess(m_info.hProcess, 9);
        CloseHandle(m_info.hProcess);
    }
    if (m_info.hThread) CloseHandle(m_info.hThread);
}

ChildProcess::ChildProcess(ChildProcess&& other) noexcept : m_info(other.m_info) { other.m_info = {}; }

bool ChildProcess::Start(const std::wstring& exe, const std::wstring& arguments,
                         const std::vector<std::wstring>& environment) {
    std::wstring commandLine = L"\"" + exe + L"\" " + arguments;
    std::wstring env = BuildEnvironment(environment);
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    return CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, CREATE_UNICODE_ENVIRONMENT,
                          env.data(), nullptr, &startup, &m_info) != FALSE;
}

DWORD ChildProcess::WaitForExit(DWORD timeoutMs) {
    if (!m_info.hProcess) return STILL_ACTIVE;
    if (WaitForSingleObject(m_info.hProcess, timeoutMs) != WAIT_OBJECT_0) return STILL_ACTIVE;
    DWORD code = STILL_ACTIVE;
    GetExitCodeProcess(m_info.hProcess, &code);
    return code;
}

bool ChildProcess::Running() const {
    return m_info.hProcess && WaitForSingleObject(m_info.hProcess, 0) == WAIT_TIMEOUT;
}

void ChildProcess::Kill() {
    if (Running()) {
        TerminateProcess(m_info.hProcess, 9);
        WaitForSingleObject(m_info.hProcess, 5000);
    }
}

std::wstring BinFolder() {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    PathRemoveFileSpecW(path);
    PathAddBackslashW(path);
    return path;
}

bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    for (;;) {
        if (condition()) return true;
        if (GetTickCount() - start >= timeoutMs) return false;
        Sleep(20);
    }
}

HWND FindWindowWithProperty(const wchar_t* property) {
    for (HWND window = GetWindow(GetDesktopWindow(), GW_CHILD); IsWindow(window);
         window = GetWindow(window, GW_HWNDNEXT)) {
        if (GetPropW(window, property)) return window;
    }
    return nullptr;
}

void DeleteSettingsKey() { RegDeleteTreeW(HKEY_CURRENT_USER, kSettingsKey); RegDeleteKeyW(HKEY_CURRENT_USER, kSettingsKey); }

bool SettingsKeyExists() {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, kSettingsKey, 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
}

std::wstring ReadSettingsText(const wchar_t* name) {
    wchar_t buffer[1024] = {};
    DWORD size = sizeof(buffer) - sizeof(wchar_t);
    if (RegGetValueW(HKEY_CURRENT_USER, kSettingsKey, name, RRF_RT_REG_SZ, nullptr, buffer, &size) != ERROR_SUCCESS)
        return L"";
    return buffer;
}

void WriteSettingsText(const wchar_t* name, const std::wstring& text) {
    HKEY key = nullptr;
    RegCreateKeyExW(HKEY_CURRENT_USER, kSettingsKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr);
    RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                   static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(key);
}

std::wstring MakeTempFolder(const wchar_t* stem) {
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    std::wstring folder = std::wstring(temp) + stem + L"-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                          std::to_wstring(GetTickCount()) + L"\\";
    RemoveFolderTree(folder);
    CreateDirectoryW(folder.c_str(), nullptr);
    return folder;
}

void RemoveFolderTree(const std::wstring& folder) {
    std::wstring from = folder;
    while (!from.empty() && from.back() == L'\\') from.pop_back();
    if (!PathFileExistsW(from.c_str())) return;
    from += L'\0';  // SHFileOperation wants a double-terminated list
    SHFILEOPSTRUCTW op = {};
    op.wFunc = FO_DELETE;
    op.pFrom = from.c_str();
    op.fFlags = FOF_NO_UI;
    SHFileOperationW(&op);
}

}  // namespace testing_support
