// UpdatePackage: reads a firmware update archive and writes its entries
// under a base folder. It owns the open archive (closed by Close or by the
// destructor) and one 16384-byte block buffer for decompressed data.
//
// ExtractArchive is the whole job as the firmware update runs it: every entry
// is attempted, an entry that fails leaves no file behind, and the result says
// whether the archive could be opened and was within the limits. The entry the
// update goes on to start is written so that nobody else can change or remove
// it, and handed back still open (ExtractArchive's `held` form).
//
// The central directory is walked once, at Open: entries are reached by their
// recorded positions, so that an archive of many entries costs no more than
// its length.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include <unzip.h>

#include "UniqueHandle.h"
#include "ZipEntryRules.h"

namespace package {

inline constexpr size_t kExtractBlockSize = 16384;
// GetEntry with this index answers the number of entries in `index`.
inline constexpr int kEntryCountIndex = -1;
// A firmware package is one installer and a few files: more than this is a
// zip bomb, refused before anything is written.
inline constexpr uint64_t kMaxEntries = 10000;
inline constexpr uint64_t kMaxUnpackedBytes = 512ull * 1024 * 1024;

struct ZipEntryInfo {
    int index = 0;
    std::wstring name;  // cleaned
    DWORD attributes = 0;
    EntryTimes times;
    uint32_t compressedSize = 0;
    uint32_t uncompressedSize = 0;
};

enum class EntryResult {
    Written,
    NoArchive,
    NoSuchEntry,
    FolderCreationFailed,
    FileCreationFailed,
    PasswordProtected,
    CorruptData,
    WriteFailed,
    Changed,  // the written file was not what the entry holds when read back
};

class UpdatePackage {
public:
    UpdatePackage();
    ~UpdatePackage();
    UpdatePackage(const UpdatePackage&) = delete;
    UpdatePackage& operator=(const UpdatePackage&) = delete;

    // Read access, shared read, existing file only; false when the file is
    // missing or is not a zip archive.
    [[nodiscard]] bool Open(const std::wstring& archivePath);
    void Close();

    // The folder entries are written under; "\" is appended unless the text
    // already ends in a separator.
    void SetBaseFolder(const std::wstring& folder);
    const std::wstring& BaseFolder() const { return m_baseFolder; }

    // kEntryCountIndex gives the number of entries in info.index.
    [[nodiscard]] bool GetEntry(int index, ZipEntryInfo& info);

    [[nodiscard]] EntryResult ExtractEntry(int index, const std::wstring& name);
    // As ExtractEntry, then the file is opened again for reading only,
    // sharing nothing but reading, and checked through that handle against
    // the entry's size and CRC; `held` keeps it so until it goes. Refuses a
    // target that is a reparse point.
    [[nodiscard]] EntryResult ExtractEntryHeld(int index, const std::wstring& name, UniqueHandle& held);

    // Of the central directory as Open walked it: false when the archive
    // has more entries, or unpacks to more bytes, than a package may.
    bool WithinLimits() const { return m_withinLimits; }

private:
    bool IndexEntries();
    bool GoToEntry(int index);
    bool ReadLocalExtraField(std::vector<unsigned char>& extra);
    EntryResult WriteEntry(int index, const std::wstring& name, DWORD shareMode, std::wstring& target,
                           ZipEntryInfo& info);
    EntryResult WriteEntryData(HANDLE file, const ZipEntryInfo& info);
    EntryResult CopyDecompressedData(HANDLE file, uint64_t limit, uint64_t& copied);

    void* m_archive = nullptr;  // unzFile
    std::vector<unz64_file_pos> m_positions;
    bool m_withinLimits = false;
    std::wstring m_baseFolder;
    std::vector<char> m_block;
};

// Creates every missing level of `path` (separators "\" or "/"), starting
// after `existingPrefix`, which must already exist or be creatable itself.
bool CreateFolderLevels(const std::wstring& existingPrefix, const std::wstring& relative);

// Unpacks every entry of the archive under targetFolder. True when the
// archive could be opened and is within the limits, whatever happened to
// single entries.
bool ExtractArchive(const std::wstring& archivePath, const std::wstring& targetFolder);
// The same; the entry whose cleaned name is `heldName` (compared without
// letter case) is written with ExtractEntryHeld. `held` is valid only when
// that entry was there and came out whole.
bool ExtractArchive(const std::wstring& archivePath, const std::wstring& targetFolder, const std::wstring& heldName,
                    UniqueHandle& held);

}  // namespace package
