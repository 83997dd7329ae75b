// UpdateDownloader: the HTTP client of the update checks and the firmware
// download, on WinINet. One download at a time, on the worker thread.
//
// File downloads report their progress (0..100) to a window with the
// download-progress message, posting a value only when it differs from the
// last one posted.
#pragma once

#include <windows.h>

#include <atomic>
#include <string>

#include "InternetHandle.h"

class UpdateDownloader {
public:
    static constexpr DWORD kBlockSize = 10240;
    // Results of both downloads.
    static constexpr int kComplete = 1;
    static constexpr int kNoInternet = 0;
    static constexpr int kFailed = -1;  // URL not opened, not served, or a read failed
    static constexpr int kStopped = -2;

    // `text` is set only on kComplete or kStopped.
    int DownloadText(const std::wstring& url, std::wstring& text);
    // `notify` may be null.
    int DownloadFile(const std::wstring& url, const std::wstring& path, HWND notify);

    // Clears the continue flag; the running download ends after its block.
    void Stop() { m_continue = false; }

private:
    struct Connection {
        InternetHandle internet;
        InternetHandle request;
        DWORD contentLength = 0;
    };
    static bool OpenInternet(Connection& connection);
    static bool OpenUrl(Connection& connection, const std::wstring& url);
    void PostProgress(HWND notify, int value);

    std::atomic<bool> m_continue{true};
    int m_lastProgress = 0;
};
