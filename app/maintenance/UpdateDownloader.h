// UpdateDownloader: the HTTP client of the update checks and the firmware
// download, on WinINet. One download at a time, on the worker thread.
//
// File downloads report their progress (0..100) to a window with the
// download-progress message, posting a value only when it differs from the
// last one posted.
//
// Every download is bounded: in size (a body larger than the caller's limit,
// or than its own Content-Length, fails) and in time (a server that stops
// answering fails it after the data timeout instead of holding the worker).
#pragma once

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <string>

#include "InternetHandle.h"
#include "UpdateSettings.h"

class UpdateDownloader {
public:
    static constexpr DWORD kBlockSize = 10240;
    // Results of both downloads.
    static constexpr int kComplete = 1;
    static constexpr int kNoInternet = 0;
    static constexpr int kFailed = -1;  // URL not opened, not served, or a read failed
    static constexpr int kStopped = -2;
    // A version file is a few characters; a firmware package a few megabytes.
    static constexpr uint64_t kMaxTextBytes = 64;
    static constexpr uint64_t kMaxFileBytes = 256ull * 1024 * 1024;

    // The timeouts of the build (update::ConfiguredTimeouts).
    UpdateDownloader();
    explicit UpdateDownloader(update::DownloadTimeouts timeouts) : m_timeouts(timeouts) {}

    // `text` is set only on kComplete or kStopped; a body of more than
    // `maxBytes` fails.
    int DownloadText(const std::wstring& url, std::wstring& text, uint64_t maxBytes = kMaxTextBytes);
    // `notify` may be null. A body of more than `maxBytes` fails and leaves
    // no file.
    int DownloadFile(const std::wstring& url, const std::wstring& path, HWND notify, uint64_t maxBytes = kMaxFileBytes);

    // Clears the continue flag; the running download ends after its block.
    void Stop() { m_continue = false; }

private:
    struct Connection {
        InternetHandle internet;
        InternetHandle session;
        InternetHandle request;
        DWORD contentLength = 0;
    };
    bool OpenInternet(Connection& connection) const;
    bool OpenUrl(Connection& connection, const std::wstring& url, uint64_t maxBytes) const;
    void SetTimeouts(HINTERNET handle) const;
    void PostProgress(HWND notify, int value);

    update::DownloadTimeouts m_timeouts;
    std::atomic<bool> m_continue{true};
    int m_lastProgress = 0;
};
