// TrayIcon: the main window's icon in the notification area and its menu.
//
// The icon counts as present while its handle is set; removing it clears the
// handle first. The window re-adds it once 20 s after start and whenever the
// shell announces a new taskbar (the shell restarted and lost every icon).
#pragma once

#include <windows.h>
#include <shellapi.h>

#include <string>

class TrayIcon {
public:
    static constexpr UINT kIconId = 109;
    static constexpr UINT kExitCommand = 100;
    static constexpr UINT_PTR kReaddTimer = 200;
    static constexpr UINT kReaddDelayMs = 20000;

    TrayIcon() = default;
    ~TrayIcon();
    TrayIcon(const TrayIcon&) = delete;
    TrayIcon& operator=(const TrayIcon&) = delete;

    // Loads the icon file and adds the icon for `window`; the shell's answer
    // is not checked (no tray means no icon, nothing else).
    void Add(HWND window, const std::wstring& iconFile);
    // Removes the icon when present and adds it again from the file.
    void Readd(HWND window, const std::wstring& iconFile);
    void Remove();
    bool IsPresent() const { return m_data.hIcon != nullptr; }

    // The one-item menu at the cursor; choosing the item sends WM_COMMAND
    // kExitCommand to `window`.
    static void ShowMenu(HWND window, const std::wstring& exitText);

    // The message the shell broadcasts when it has (re)created the taskbar.
    static UINT TaskbarCreatedMessage();

private:
    void DestroyIconHandle();

    NOTIFYICONDATAW m_data = {};
};
