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

std::string ToUtf8(const std::wstring& text) {
    const int size = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string utf8(size > 0 ? static_cast<size_t>(size) : 1, '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, utf8.data(), size, nullptr, nullptr);
    utf8.resize(utf8.size() - 1);
    return utf8;
}

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
// WinINet; it is a failed read for us.
bool CutShort(DWORD contentLength, uint64_t received) { return contentLength > 0 && received < contentLength; }

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

bool UpdateDownloader::OpenInternet(Connection& connection) {
    DWORD state = 0;
    InternetGetConnectedState(&state, 0);
    const DWORD access = (state & INTERNET_CONNECTION_PROXY) ? INTERNET_OPEN_TYPE_PRECONFIG : kPreconfigWithoutAutoProxy;
    connection.internet.Reset(InternetOpenW(kUserAgent, access, nullptr, nullptr, 0));
    return static_cast<bool>(connection.internet);
}

bool UpdateDownloader::OpenUrl(Connection& connection, const std::wstring& url) {
    const std::string utf8 = ToUtf8(url);
    connection.request.Reset(InternetOpenUrlA(connection.internet.Get(), utf8.c_str(), kRequestHeaders,
                                              static_cast<DWORD>(sizeof(kRequestHeaders) - 1), kRequestFlags, 0));
    if (!connection.request) {
        LogFailure(L"InternetOpenUrlA", url);
        return false;
    }
    if (!Served(connection.request.Get())) {
        LogFailure(L"HTTP status", url);
        return false;
    }
    connection.contentLength = QueryNumber(connection.request.Get(), HTTP_QUERY_CONTENT_LENGTH);
    return true;
}

int UpdateDownloader::DownloadText(const std::wstring& url, std::wstring& text) {
    m_continue = true;
    Connection connection;
    if (!OpenInternet(connection)) return kNoInternet;
    if (!OpenUrl(connection, url)) return kFailed;
    std::string bytes;
    std::vector<char> block(kBlockSize);
    for (;;) {
        DWORD read = 0;
        if (!ReadBlock(connection.request.Get(), block, read)) return kFailed;
        if (read == 0) break;
        bytes.append(block.data(), read);
        if (!m_continue) break;
    }
    if (m_continue && CutShort(connection.contentLength, bytes.size())) return kFailed;
    text = FromUtf8(bytes);
    return m_continue ? kComplete : kStopped;
}

int UpdateDownloader::DownloadFile(const std::wstring& url, const std::wstring& path, HWND notify) {
    m_continue = true;
    PostProgress(notify, kProgressStart);
    Connection connection;
    if (!OpenInternet(connection)) return kNoInternet;
    PostProgress(notify, kProgressSession);
    if (!OpenUrl(connection, url)) return kFailed;
    PostProgress(notify, kProgressUrl);

    DeleteFileW(path.c_str());
    UniqueHandle file(
        CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_WRITE, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
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
        if (blocks > 0) PostProgress(notify, static_cast<int>(uint64_t{kProgressDataSpan} * k / blocks) + kProgressFileReady);
        if (!m_continue) break;
    }
    file.Reset();
    // A half package must not be taken for the update: it goes.
    if (failed || (m_continue && CutShort(connection.contentLength, received))) {
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
