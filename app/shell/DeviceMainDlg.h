// DeviceMainDlg: the program's main window and owner of all program state.
//
// For now a plain native window: it carries the single-instance property,
// runs modally, answers the exit request and owns the worker with its command
// queue. The framework's dialog takes its place once HVUI has one.
#pragma once

#include <windows.h>

#include "CThreadBasic.h"
#include "CommandQueue.h"
#include "WorkerCommands.h"

class DeviceMainDlg : public CThreadBasic, public WorkerCommands {
public:
    DeviceMainDlg() = default;
    ~DeviceMainDlg() override;

    HWND Create(HWND owner, const wchar_t* text, DWORD style, DWORD exStyle, const RECT& rect);
    void CenterWindow(HWND reference);
    // Shows the window with the given command and runs its message loop
    // until the window is destroyed.
    int ShowModal(int showCommand);
    HWND GetHWND() const { return m_hWnd; }

    // Appends a command for the worker; callable from any thread.
    void QueueCommand(int code) { m_commands.Push(code); }

    void WorkerBody() override;

    void RunAutorunAndInventory() override;
    void RunDeviceInitialisation() override;
    void RunWritePerformanceMode() override;
    void RunApplyLighting() override;
    void RunSoftwareCheck() override;
    void RunFirmwareCheck() override;
    void RunFirmwareUpdate() override;
    void RunTelemetryRefresh() override;

private:
    static LRESULT CALLBACK WndProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) noexcept;
    LRESULT OnWindowMessage(UINT msg, WPARAM wParam, LPARAM lParam) noexcept;
    void OnInitDialog();
    void OnPaint();
    [[noreturn]] void ExitProgram();

    HWND m_hWnd = nullptr;
    CommandQueue m_commands;
};
