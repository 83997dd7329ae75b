#include "SimJournal.h"

#include <windows.h>

#include <cstdio>
#include <mutex>

#include "SimFolder.h"

namespace sim {
namespace {

constexpr unsigned long long kFileTimeTicksPerMs = 10000;
constexpr unsigned long long kUnixEpochInFileTimeMs = 11644473600000ULL;

// " @" and the wall-clock time in milliseconds since 1970, when the
// environment asks for it; Wine's clock is the host's, so a driver on the
// host can set the journal's times against its own.
std::string TimeSuffix() {
    wchar_t flag[4] = {};
    if (GetEnvironmentVariableW(L"TARVENHOLM_SIM_JOURNAL_TIMES", flag, 4) != 1 || flag[0] != L'1') return {};
    FILETIME now = {};
    GetSystemTimeAsFileTime(&now);
    const unsigned long long ticks = (static_cast<unsigned long long>(now.dwHighDateTime) << 32) | now.dwLowDateTime;
    char suffix[32];
    std::snprintf(suffix, sizeof(suffix), " @%llu", ticks / kFileTimeTicksPerMs - kUnixEpochInFileTimeMs);
    return suffix;
}

}  // namespace

void AppendJournalLine(const wchar_t* fileName, const std::string& text) {
    // One lock per process on top of the append mode: a line is one
    // WriteFile, so it stays whole even across processes.
    static std::mutex lock;
    const std::string line = text + TimeSuffix() + "\r\n";
    std::lock_guard<std::mutex> guard(lock);
    HANDLE file = CreateFileW(FilePath(fileName).c_str(), FILE_APPEND_DATA,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        OutputDebugStringA("sim: cannot open journal\n");
        return;
    }
    DWORD written = 0;
    WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
    CloseHandle(file);
}

std::string HexBytes(const unsigned char* data, size_t length) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string text;
    text.reserve(length * 3);
    for (size_t i = 0; i < length; ++i) {
        if (i) text += ' ';
        text += kDigits[data[i] >> 4];
        text += kDigits[data[i] & 0x0F];
    }
    return text;
}

}  // namespace sim
