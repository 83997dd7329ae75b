#include "UpdateDownloader.h"

#include <string>
#include <vector>

#include "UniqueHandle.h"
#include "WindowMessages.h"

namespace {

constexpr wchar_t kUserAgent[] = L"IIC2.0/PC 5.5.0000";
constexpr char kRequestHeaders[] = "Accept: */*\r\n\r\n";
constexpr DWORD kRequestFlags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_PRAGMA_NOCACHE;
constexpr DWORD kPreconfigWithoutAutoProxy = 4;  // INTERNET_OPEN_TYPE_PRECONFIG_WITH_NO_AUTOPROXY

// Progress milestones of a file download.
constexpr int kProgressStart = 0;
constexpr int kProgressSession = 2;
constexpr int kProgressUrl = 8;
constexpr int kProgressFileReady = 10;
constexpr int kProgressDataSpan = 90;
constexpr int kProgressDone = 100;

constexpr DWORD kHttpOkFirst = 200;
constexpr DWORD kHttpOkLast = 299;

std::wstring FromUtf8(const std::string& bytes) {
    if (bytes.empty()) return {};
    const int size = MultiByteToWideChar(CP_UTF8, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
    std::wstring text(static_cast<size_t>(size), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, bytes.data(), static_cast<int>(bytes.size()), text.data(), size);
    return text;
}

DWORD QueryNumber(HINTERNET request, DWORD info) {
    DWORD value = 0, size = sizeof(value);
    if (!HttpQueryInfoW(request, info | HTTP_QUERY_FLAG_NUMBER, &value, &size, nullptr)) return 0;
    return value;
}

// An error page is no version file and no package.
bool Served(HINTERNET request) {
    const DWORD status = QueryNumber(request, HTTP_QUERY_STATUS_CODE);
    return status >= kHttpOkFirst && status <= kHttpOkLast;
}

// A connection closed before the announced length reads as a normal end in
// WinINet; it is a failed read for us, and so is a body longer than it said.
bool WrongLength(DWORD contentLength, uint64_t received) { return contentLength > 0 && received != contentLength; }

// Fills the block unless the data ends first, as a synchronous read does on
// Windows; Wine may hand out less per call, which would skew the progress.
bool ReadBlock(HINTERNET request, std::vector<char>& block, DWORD& filled) {
    filled = 0;
    while (filled < block.size()) {
        DWORD read = 0;
        if (!InternetReadFile(request, block.data() + filled, static_cast<DWORD>(block.size()) - filled, &read)) {
            return false;
        }
        if (read == 0) break;
        filled += read;
    }
    return true;
}

void LogFailure(const wchar_t* call, const std::wstring& url) {
    const std::wstring line = L"UpdateDownloader: " + std::wstring(call) + L" failed (" +
                              std::to_wstring(GetLastError()) + L") for " + url + L"\n";
    OutputDebugStringW(line.c_str());
}

}  // namespace

UpdateDownloader::UpdateDownloader() : m_timeouts(update::ConfiguredTimeouts()) {}

// WinINet's own defaults wait for ever on a server that accepts and then
// says nothing. The values are set on every level; the one that counts is the
// connection's, which the request inherits before it sends (Wine takes them
// nowhere else, Windows also from the session). InternetOpenUrl would make its
// request and wait for the answer in one call, before any of its handles
// could be given a timeout: the request is made in steps instead.
void UpdateDownloader::SetTimeouts(HINTERNET handle) const {
    struct Option {
        DWORD option;
        DWORD ms;
    };
    const Option options[] = {
        {INTERNET_OPTION_CONNECT_TIMEOUT, m_timeouts.connectMs},
        {INTERNET_OPTION_SEND_TIMEOUT, m_timeouts.dataMs},
        {INTERNET_OPTION_RECEIVE_TIMEOUT, m_timeouts.dataMs},
        {INTERNET_OPTION_DATA_SEND_TIMEOUT, m_timeouts.dataMs},
        {INTERNET_OPTION_DATA_RECEIVE_TIMEOUT, m_timeouts.dataMs},
    };
    for (const Option& o : options) {
        DWORD value = o.ms;
        if (!InternetSetOptionW(handle, o.option, &value, sizeof(value))) {
            wchar_t line[96];
            swprintf(line, 96, L"UpdateDownloader: InternetSetOptionW(%lu) failed (%lu)\n", o.option, GetLastError());
            OutputDebugStringW(line);
        }
    }
}

bool UpdateDownloader::OpenInternet(Connection& connection) const {
    DWORD state = 0;
    InternetGetConnectedState(&state, 0);
    const DWORD access = (state & INTERNET_CONNECTION_PROXY) ? INTERNET_OPEN_TYPE_PRECONFIG : kPreconfigWithoutAutoProxy;
    connection.internet.Reset(InternetOpenW(kUserAgent, access, nullptr, nullptr, 0));
    if (!connection.internet) return false;
    SetTimeouts(connection.internet.Get());
    return true;
}

bool UpdateDownloader::OpenUrl(Connection& connection, const std::wstring& url, uint64_t maxBytes) const {
    wchar_t host[INTERNET_MAX_HOST_NAME_LENGTH] = {};
    std::vector<wchar_t> path(url.size() + 2, L'\0');
    URL_COMPONENTSW parts = {};
    parts.dwStructSize = sizeof(parts);
    parts.lpszHostName = host;
    parts.dwHostNameLength = INTERNET_MAX_HOST_NAME_LENGTH;
    parts.lpszUrlPath = path.data();
    parts.dwUrlPathLength = static_cast<DWORD>(path.size());
    if (!InternetCrackUrlW(url.c_str(), static_cast<DWORD>(url.size()), 0, &parts) ||
        (parts.nScheme != INTERNET_SCHEME_HTTP && parts.nScheme != INTERNET_SCHEME_HTTPS)) {
        LogFailure(L"InternetCrackUrlW", url);
        return false;
    }
    connection.session.Reset(InternetConnectW(connection.internet.Get(), host, parts.nPort, nullptr, nullptr,
                                              INTERNET_SERVICE_HTTP, 0, 0));
    if (!connection.session) {
        LogFailure(L"InternetConnectW", url);
        return false;
    }
    SetTimeouts(connection.session.Get());
    const DWORD flags = kRequestFlags | (parts.nScheme == INTERNET_SCHEME_HTTPS ? INTERNET_FLAG_SECURE : 0);
    connection.request.Reset(
        HttpOpenRequestW(connection.session.Get(), L"GET", path.data(), nullptr, nullptr, nullptr, flags, 0));
    if (!connection.request) {
        LogFailure(L"HttpOpenRequestW", url);
        return false;
    }
    if (!HttpSendRequestA(connection.request.Get(), kRequestHeaders, static_cast<DWORD>(sizeof(kRequestHeaders) - 1),
                          nullptr, 0)) {
        LogFailure(L"HttpSendRequestA", url);
        return false;
    }
    if (!Served(connection.request.Get())) {
        LogFailure(L"HTTP status", url);
        return false;
    }
    connection.contentLength = QueryNumber(connection.request.Get(), HTTP_QUERY_CONTENT_LENGTH);
    // Refused before a byte is read; a body without a length is counted.
    if (connection.contentLength > maxBytes) {
        LogFailure(L"Content-Length over the limit", url);
        return false;
    }
    return true;
}

int UpdateDownloader::DownloadText(const std::wstring& url, std::wstring& text, uint64_t maxBytes) {
    m_continue = true;
    Connection connection;
    if (!OpenInternet(connection)) return kNoInternet;
    if (!OpenUrl(connection, url, maxBytes)) return kFailed;
    std::string bytes;
    std::vector<char> block(kBlockSize);
    for (;;) {
        DWORD read = 0;
        if (!ReadBlock(connection.request.Get(), block, read)) {
            LogFailure(L"InternetReadFile", url);
            return kFailed;
        }
        if (read == 0) break;
        bytes.append(block.data(), read);
        if (bytes.size() > maxBytes) {
            LogFailure(L"body over the limit", url);
            return kFailed;
        }
        if (!m_continue) break;
    }
    if (m_continue && WrongLength(connection.contentLength, bytes.size())) return kFailed;
    text = FromUtf8(bytes);
    return m_continue ? kComplete : kStopped;
}

int UpdateDownloader::DownloadFile(const std::wstring& url, const std::wstring& path, HWND notify, uint64_t maxBytes) {
    m_continue = true;
    PostProgress(notify, kProgressStart);
    Connection connection;
    if (!OpenInternet(connection)) return kNoInternet;
    PostProgress(notify, kProgressSession);
    if (!OpenUrl(connection, url, maxBytes)) return kFailed;
    PostProgress(notify, kProgressUrl);

    DeleteFileW(path.c_str());
    // Nobody else writes into or removes the file while it arrives: the
    // folder is the user's, and what arrives here is started elevated.
    UniqueHandle file(
        CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.Valid()) return kFailed;
    const DWORD blocks = connection.contentLength / kBlockSize;
    PostProgress(notify, kProgressFileReady);

    std::vector<char> block(kBlockSize);
    uint64_t received = 0;
    bool failed = false;
    for (DWORD k = 1;; ++k) {
        DWORD read = 0, written = 0;
        if (!ReadBlock(connection.request.Get(), block, read)) {
            failed = true;
            break;
        }
        if (read == 0) break;
        if (!WriteFile(file.Get(), block.data(), read, &written, nullptr) || written != read) {
            failed = true;
            break;
        }
        received += read;
        if (received > maxBytes) {
            failed = true;
            break;
        }
        if (blocks > 0) PostProgress(notify, static_cast<int>(uint64_t{kProgressDataSpan} * k / blocks) + kProgressFileReady);
        if (!m_continue) break;
    }
    file.Reset();
    // A half package must not be taken for the update: it goes.
    if (failed || (m_continue && WrongLength(connection.contentLength, received))) {
        LogFailure(L"InternetReadFile", url);
        DeleteFileW(path.c_str());
        return kFailed;
    }
    if (!m_continue) return kStopped;
    PostProgress(notify, kProgressDone);
    return kComplete;
}

void UpdateDownloader::PostProgress(HWND notify, int value) {
    if (value == m_lastProgress) return;
    m_lastProgress = value;
    if (notify && IsWindow(notify)) PostMessageW(notify, message::kDownloadProgress, 0, value);
}
