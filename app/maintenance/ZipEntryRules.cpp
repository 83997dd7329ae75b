#include "ZipEntryRules.h"

#include <algorithm>
#include <array>

namespace package {
namespace {

constexpr uint64_t kFileTimeOf1970 = 116444736000000000ULL;
constexpr uint64_t kFileTimeTicksPerSecond = 10000000ULL;

// External attribute bits of a DOS-style host.
constexpr DWORD kDosReadOnly = 0x01;
constexpr DWORD kDosHidden = 0x02;
constexpr DWORD kDosSystem = 0x04;
constexpr DWORD kDosDirectory = 0x10;
constexpr DWORD kDosArchive = 0x20;
// Unix hosts keep st_mode in the high half: S_IFDIR and S_IWUSR.
constexpr DWORD kUnixDirectory = 1UL << 30;
constexpr DWORD kUnixOwnerWrite = 1UL << 23;

// "UT", the extended timestamp block, and its flag bits.
constexpr uint16_t kExtendedTimestampId = 0x5455;
constexpr unsigned char kHasModification = 0x01;
constexpr unsigned char kHasAccess = 0x02;
constexpr unsigned char kHasCreation = 0x04;
constexpr size_t kExtraHeaderSize = 4;
constexpr size_t kMinimumExtraSize = 5;

bool StartsWith(const std::wstring& text, const wchar_t* prefix) {
    return text.compare(0, wcslen(prefix), prefix) == 0;
}

bool IsSeparator(wchar_t c) { return c == L'\\' || c == L'/'; }

// One pass of the cleaning rules; false when none applied.
bool CleanOnce(std::wstring& name) {
    if (name.size() >= 2 && name[1] == L':') {
        name.erase(0, 2);
        return true;
    }
    if (!name.empty() && IsSeparator(name[0])) {
        name.erase(0, 1);
        return true;
    }
    // Everything up to a ".." step goes, so no step can climb above the start.
    static constexpr std::array<const wchar_t*, 4> kParentSteps = {L"\\..\\", L"\\../", L"/../", L"/..\\"};
    for (const wchar_t* step : kParentSteps) {
        const size_t at = name.find(step);
        if (at != std::wstring::npos) {
            name.erase(0, at + wcslen(step));
            return true;
        }
    }
    if (StartsWith(name, L"..\\") || StartsWith(name, L"../")) {
        name.erase(0, 3);
        return true;
    }
    return false;
}

uint16_t ReadLe16(const unsigned char* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }

uint32_t ReadLe32(const unsigned char* p) {
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) | (static_cast<uint32_t>(p[2]) << 16) |
           (static_cast<uint32_t>(p[3]) << 24);
}

// Reads the timestamps of one "UT" block's data in their fixed order.
void ApplyTimestampData(const unsigned char* data, size_t size, EntryTimes& times) {
    if (size < 1) return;
    const unsigned char flags = data[0];
    size_t at = 1;
    const std::array<std::pair<unsigned char, FILETIME*>, 3> fields = {
        {{kHasModification, &times.modification}, {kHasAccess, &times.access}, {kHasCreation, &times.creation}}};
    for (const auto& [bit, target] : fields) {
        if (!(flags & bit)) continue;
        if (at + 4 > size) return;
        *target = UnixSecondsToFileTime(ReadLe32(data + at));
        at += 4;
    }
}

}  // namespace

std::wstring CleanEntryName(std::wstring name) {
    while (CleanOnce(name)) {
    }
    return name;
}

std::wstring EntryNameFromArchive(const char* stored) {
    const int length = MultiByteToWideChar(CP_ACP, 0, stored, -1, nullptr, 0);
    std::wstring name(length > 0 ? static_cast<size_t>(length) : 1, L'\0');
    MultiByteToWideChar(CP_ACP, 0, stored, -1, name.data(), length);
    name.resize(std::min(name.size() - 1, kMaxEntryName));
    return CleanEntryName(name);
}

DWORD AttributesFromHost(unsigned long versionMadeBy, unsigned long externalAttributes) {
    const unsigned host = (versionMadeBy >> 8) & 0xFF;
    bool readOnly = false, hidden = false, system = false, directory = false, archive = false;
    if (host == kHostDos || host == kHostOs2 || host == kHostNtfs || host == kHostVfat) {
        readOnly = externalAttributes & kDosReadOnly;
        hidden = externalAttributes & kDosHidden;
        system = externalAttributes & kDosSystem;
        directory = externalAttributes & kDosDirectory;
        archive = externalAttributes & kDosArchive;
    } else {
        directory = externalAttributes & kUnixDirectory;
        readOnly = !(externalAttributes & kUnixOwnerWrite);
        archive = true;
    }
    DWORD attributes = 0;
    if (directory) attributes |= FILE_ATTRIBUTE_DIRECTORY;
    if (archive) attributes |= FILE_ATTRIBUTE_ARCHIVE;
    if (hidden) attributes |= FILE_ATTRIBUTE_HIDDEN;
    if (readOnly) attributes |= FILE_ATTRIBUTE_READONLY;
    if (system) attributes |= FILE_ATTRIBUTE_SYSTEM;
    return attributes;
}

FILETIME DosDateTimeToUtc(uint16_t dosDate, uint16_t dosTime) {
    SYSTEMTIME local = {};
    local.wYear = static_cast<WORD>(1980 + (dosDate >> 9));
    local.wMonth = static_cast<WORD>((dosDate >> 5) & 0x0F);
    local.wDay = static_cast<WORD>(dosDate & 0x1F);
    local.wHour = static_cast<WORD>(dosTime >> 11);
    local.wMinute = static_cast<WORD>((dosTime >> 5) & 0x3F);
    local.wSecond = static_cast<WORD>(2 * (dosTime & 0x1F));
    FILETIME localTime = {}, utc = {};
    if (!SystemTimeToFileTime(&local, &localTime)) return utc;
    LocalFileTimeToFileTime(&localTime, &utc);
    return utc;
}

FILETIME UnixSecondsToFileTime(uint32_t seconds) {
    const uint64_t ticks = seconds * kFileTimeTicksPerSecond + kFileTimeOf1970;
    FILETIME time;
    time.dwLowDateTime = static_cast<DWORD>(ticks);
    time.dwHighDateTime = static_cast<DWORD>(ticks >> 32);
    return time;
}

void ApplyExtendedTimestamp(const unsigned char* extra, size_t size, EntryTimes& times) {
    if (!extra || size < kMinimumExtraSize) return;
    size_t at = 0;
    while (at + kExtraHeaderSize <= size) {
        const uint16_t id = ReadLe16(extra + at);
        const size_t dataSize = ReadLe16(extra + at + 2);
        const size_t dataAt = at + kExtraHeaderSize;
        // A block that claims more than the field holds ends the walk.
        if (dataAt + dataSize > size) return;
        if (id == kExtendedTimestampId) {
            ApplyTimestampData(extra + dataAt, dataSize, times);
            return;
        }
        at = dataAt + dataSize;
    }
}

}  // namespace package
