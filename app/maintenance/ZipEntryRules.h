// The rules that turn an archive entry's stored fields into what we write on
// disk: the cleaned name, the Windows attributes and the three file times.
// Pure functions on plain values, so that each rule can be checked alone.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

namespace package {

// Host systems (high byte of "version made by") whose external attributes
// carry DOS attribute bits: MS-DOS/FAT, OS/2 HPFS, NTFS, VFAT.
inline constexpr unsigned kHostDos = 0;
inline constexpr unsigned kHostOs2 = 7;
inline constexpr unsigned kHostNtfs = 11;
inline constexpr unsigned kHostVfat = 14;

// Entry names longer than this are cut.
inline constexpr size_t kMaxEntryName = 260;

struct EntryTimes {
    FILETIME access = {};
    FILETIME creation = {};
    FILETIME modification = {};
};

// Strips drive letters, leading separators and every ".." step that could
// lead out of the folder the entry is written under.
std::wstring CleanEntryName(std::wstring name);

// The stored (ANSI) name as wide text, cut at kMaxEntryName, then cleaned.
std::wstring EntryNameFromArchive(const char* stored);

// FILE_ATTRIBUTE_* flags from the "version made by" field and the external
// attributes of the central directory.
DWORD AttributesFromHost(unsigned long versionMadeBy, unsigned long externalAttributes);

// The MS-DOS date and time (local time) as a UTC FILETIME; zero when the
// fields do not form a valid date.
FILETIME DosDateTimeToUtc(uint16_t dosDate, uint16_t dosTime);

// Seconds since 1970-01-01 UTC as a FILETIME.
FILETIME UnixSecondsToFileTime(uint32_t seconds);

// Replaces the times that the first "UT" block of a local extra field
// carries; a field shorter than 5 bytes or a truncated block changes nothing.
void ApplyExtendedTimestamp(const unsigned char* extra, size_t size, EntryTimes& times);

}  // namespace package
