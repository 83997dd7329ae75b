// Helpers for tests that start real programs and look at them from outside:
// a started child process, the program folder, the product's registry key
// and window, and polling with a deadline.
#pragma once

#include <windows.h>

#include <functional>
#include <vector>
#include <string>

namespace testing_support {

// A child process, terminated when the object goes if still running.
class ChildProcess {
public:
    ChildProcess() = default;
    ~ChildProcess();
    ChildProcess(ChildProcess&& other) noexcept;
    ChildProcess& operator=(ChildProcess&&) = delete;
    ChildProcess(const ChildProcess&) = delete;

    // Starts `exe` with `arguments`; `environment` entries ("NAME=value")
    // are added to (or replace those of) the current environment.
    bool Start(const std::wstring& exe, const std::wstring& arguments,
               const std::vector<std::wstring>& environment = {});
    // The exit code, or STILL_ACTIVE when it has not ended within the time.
    DWORD WaitForExit(DWORD timeoutMs);
    bool Running() const;
    DWORD Id() const { return m_info.dwProcessId; }
    void Kill();

private:
    PROCESS_INFORMATION m_info = {};
};

// Folder of the running test program with a trailing backslash (the build's
// bin folder, beside Tarvenholm.exe).
std::wstring BinFolder();

// Polls `condition` every 20 ms until it holds or the time is up.
bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs);

// The first top-level window that carries the property, or null.
HWND FindWindowWithProperty(const wchar_t* property);

// Removes HKCU\SOFTWARE\Tarvenholm and everything under it.
void DeleteSettingsKey();
bool SettingsKeyExists();
// The REG_SZ text of a settings value; empty when absent.
std::wstring ReadSettingsText(const wchar_t* name);
void WriteSettingsText(const wchar_t* name, const std::wstring& text);

// A fresh empty folder under the temp folder, with a trailing backslash.
std::wstring MakeTempFolder(const wchar_t* stem);
void RemoveFolderTree(const std::wstring& folder);

}  // namespace testing_support
