// UpdatePackage: reads a firmware update archive and writes its entries
// under a base folder. It owns the open archive (closed by Close or by the
// destructor) and one 16384-byte block buffer for decompressed data.
//
// ExtractArchive is the whole job as the firmware update runs it: every entry
// is attempted, and the result only says whether the archive could be opened.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "ZipEntryRules.h"

namespace package {

inline constexpr size_t kExtractBlockSize = 16384;
// GetEntry with this index answers the number of entries in `index`.
inline constexpr int kEntryCountIndex = -1;

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

private:
    bool GoToEntry(int index);
    bool ReadLocalExtraField(std::vector<unsigned char>& extra);
    EntryResult WriteEntryData(HANDLE file, const ZipEntryInfo& info);
    EntryResult CopyDecompressedData(HANDLE file, uint64_t& copied);

    void* m_archive = nullptr;  // unzFile
    std::wstring m_baseFolder;
    std::vector<char> m_block;
};

// Creates every missing level of `path` (separators "\" or "/"), starting
// after `existingPrefix`, which must already exist or be creatable itself.
bool CreateFolderLevels(const std::wstring& existingPrefix, const std::wstring& relative);

// Unpacks every entry of the archive under targetFolder. True when the
// archive could be opened, whatever happened to single entries.
bool ExtractArchive(const std::wstring& archivePath, const std::wstring& targetFolder);

}  // namespace package
