#include "UpdatePackage.h"

// iowin32.h needs the zlib macros that unzip.h brings in.
#include <unzip.h>
#include <iowin32.h>

#include "UniqueHandle.h"

namespace package {
namespace {

constexpr unsigned long kEncryptedFlag = 0x0001;
constexpr size_t kMaxStoredName = 1024;

unzFile AsArchive(void* archive) { return static_cast<unzFile>(archive); }

bool IsSeparator(wchar_t c) { return c == L'\\' || c == L'/'; }

void LogEntryFailure(const wchar_t* call, int index, long code) {
    wchar_t line[160];
    swprintf(line, 160, L"UpdatePackage: %ls failed for entry %d (%ld)\n", call, index, code);
    OutputDebugStringW(line);
}

// An entry's file that is not what the archive holds goes, read-only or not.
void RemoveEntryFile(const std::wstring& target, int index) {
    SetFileAttributesW(target.c_str(), FILE_ATTRIBUTE_NORMAL);
    if (!DeleteFileW(target.c_str())) LogEntryFailure(L"DeleteFileW", index, static_cast<long>(GetLastError()));
}

bool EnsureFolder(const std::wstring& folder) {
    if (GetFileAttributesW(folder.c_str()) != INVALID_FILE_ATTRIBUTES) return true;
    return CreateDirectoryW(folder.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS;
}

}  // namespace

bool CreateFolderLevels(const std::wstring& existingPrefix, const std::wstring& relative) {
    bool ok = EnsureFolder(existingPrefix);
    for (size_t at = 0; at < relative.size(); ++at) {
        if (IsSeparator(relative[at]) && at > 0) ok = EnsureFolder(existingPrefix + relative.substr(0, at)) && ok;
    }
    if (!relative.empty() && !IsSeparator(relative.back())) ok = EnsureFolder(existingPrefix + relative) && ok;
    return ok;
}

UpdatePackage::UpdatePackage() : m_block(kExtractBlockSize) {
    wchar_t current[MAX_PATH] = {};
    GetCurrentDirectoryW(MAX_PATH, current);
    SetBaseFolder(current);
}

UpdatePackage::~UpdatePackage() { Close(); }

bool UpdatePackage::Open(const std::wstring& archivePath) {
    Close();
    zlib_filefunc64_def io;
    fill_win32_filefunc64W(&io);
    m_archive = unzOpen2_64(archivePath.c_str(), &io);
    if (!m_archive) return false;
    if (!IndexEntries()) {
        Close();
        return false;
    }
    return true;
}

// The one walk of the central directory: the position of every entry, and
// whether the whole stays within a package's limits. A directory that claims
// more entries than a package may hold is not walked at all.
bool UpdatePackage::IndexEntries() {
    m_positions.clear();
    m_withinLimits = false;
    unz_global_info64 global = {};
    if (unzGetGlobalInfo64(AsArchive(m_archive), &global) != UNZ_OK) return false;
    if (global.number_entry > kMaxEntries) {
        LogEntryFailure(L"entry count over the limit", -1, static_cast<long>(global.number_entry));
        return true;
    }
    uint64_t unpacked = 0;
    bool within = true;
    for (int status = unzGoToFirstFile(AsArchive(m_archive)); status == UNZ_OK;
         status = unzGoToNextFile(AsArchive(m_archive))) {
        unz64_file_pos position = {};
        unz_file_info64 stored = {};
        if (unzGetFilePos64(AsArchive(m_archive), &position) != UNZ_OK ||
            unzGetCurrentFileInfo64(AsArchive(m_archive), &stored, nullptr, 0, nullptr, 0, nullptr, 0) != UNZ_OK)
            return false;
        m_positions.push_back(position);
        unpacked += stored.uncompressed_size;
        if (unpacked > kMaxUnpackedBytes || m_positions.size() > kMaxEntries) within = false;
    }
    if (!within) LogEntryFailure(L"unpacked size over the limit", -1, static_cast<long>(unpacked >> 20));
    m_withinLimits = within;
    return true;
}

void UpdatePackage::Close() {
    m_positions.clear();
    m_withinLimits = false;
    if (!m_archive) return;
    unzClose(AsArchive(m_archive));
    m_archive = nullptr;
}

void UpdatePackage::SetBaseFolder(const std::wstring& folder) {
    m_baseFolder = folder;
    if (m_baseFolder.empty() || !IsSeparator(m_baseFolder.back())) m_baseFolder += L'\\';
}

bool UpdatePackage::GoToEntry(int index) {
    if (index < 0 || static_cast<size_t>(index) >= m_positions.size()) return false;
    return unzGoToFilePos64(AsArchive(m_archive), &m_positions[static_cast<size_t>(index)]) == UNZ_OK;
}

// The local header's extra field is only reachable with the entry opened.
bool UpdatePackage::ReadLocalExtraField(std::vector<unsigned char>& extra) {
    extra.clear();
    if (unzOpenCurrentFile(AsArchive(m_archive)) != UNZ_OK) return false;
    const int size = unzGetLocalExtrafield(AsArchive(m_archive), nullptr, 0);
    if (size > 0) {
        extra.resize(static_cast<size_t>(size));
        if (unzGetLocalExtrafield(AsArchive(m_archive), extra.data(), static_cast<unsigned>(size)) != size) extra.clear();
    }
    unzCloseCurrentFile(AsArchive(m_archive));
    return true;
}

bool UpdatePackage::GetEntry(int index, ZipEntryInfo& info) {
    if (!m_archive) return false;
    if (index == kEntryCountIndex) {
        info.index = static_cast<int>(m_positions.size());
        return true;
    }
    if (!GoToEntry(index)) return false;
    unz_file_info64 stored = {};
    char storedName[kMaxStoredName + 1] = {};
    if (unzGetCurrentFileInfo64(AsArchive(m_archive), &stored, storedName, kMaxStoredName, nullptr, 0, nullptr, 0) !=
        UNZ_OK)
        return false;
    info.index = index;
    info.name = EntryNameFromArchive(storedName);
    info.attributes = AttributesFromHost(stored.version, stored.external_fa);
    const FILETIME dosTime = DosDateTimeToUtc(static_cast<uint16_t>(stored.dosDate >> 16),
                                              static_cast<uint16_t>(stored.dosDate & 0xFFFF));
    info.times = {dosTime, dosTime, dosTime};
    std::vector<unsigned char> extra;
    if (ReadLocalExtraField(extra)) ApplyExtendedTimestamp(extra.data(), extra.size(), info.times);
    info.compressedSize = static_cast<uint32_t>(stored.compressed_size);
    info.uncompressedSize = static_cast<uint32_t>(stored.uncompressed_size);
    return true;
}

EntryResult UpdatePackage::ExtractEntry(int index, const std::wstring& name) {
    std::wstring target;
    ZipEntryInfo info;
    return WriteEntry(index, name, 0, target, info);
}

// What is half written is not what the archive holds: a failed entry leaves
// no file for anyone to take for the real one.
EntryResult UpdatePackage::WriteEntry(int index, const std::wstring& name, DWORD shareMode, std::wstring& target,
                                      ZipEntryInfo& info) {
    if (!m_archive) return EntryResult::NoArchive;
    if (!GetEntry(index, info)) return EntryResult::NoSuchEntry;
    if (info.attributes & FILE_ATTRIBUTE_DIRECTORY) {
        return CreateFolderLevels(m_baseFolder, name) ? EntryResult::Written : EntryResult::FolderCreationFailed;
    }
    const size_t split = name.find_last_of(L"\\/");
    const std::wstring folderPart = split == std::wstring::npos ? std::wstring() : name.substr(0, split + 1);
    const std::wstring filePart = split == std::wstring::npos ? name : name.substr(split + 1);
    // A failed level shows up as the file-creation error below.
    CreateFolderLevels(m_baseFolder, folderPart);
    target = m_baseFolder + folderPart + filePart;
    UniqueHandle file(
        CreateFileW(target.c_str(), GENERIC_WRITE, shareMode, nullptr, CREATE_ALWAYS, info.attributes, nullptr));
    if (!file.Valid()) {
        LogEntryFailure(L"CreateFileW", index, static_cast<long>(GetLastError()));
        return EntryResult::FileCreationFailed;
    }
    const EntryResult result = WriteEntryData(file.Get(), info);
    file.Reset();
    if (result != EntryResult::Written) RemoveEntryFile(target, index);
    return result;
}

namespace {

bool IsReparsePoint(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT);
}

// Size and CRC of what the handle reads, from its start.
bool ReadsAs(HANDLE file, uint64_t size, uint32_t crc, std::vector<char>& block) {
    BY_HANDLE_FILE_INFORMATION information = {};
    if (!GetFileInformationByHandle(file, &information)) return false;
    if (information.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) return false;
    const uint64_t length = (static_cast<uint64_t>(information.nFileSizeHigh) << 32) | information.nFileSizeLow;
    if (length != size) return false;
    uLong sum = crc32(0L, Z_NULL, 0);
    uint64_t total = 0;
    for (;;) {
        DWORD read = 0;
        if (!ReadFile(file, block.data(), static_cast<DWORD>(block.size()), &read, nullptr)) return false;
        if (read == 0) break;
        sum = crc32(sum, reinterpret_cast<const Bytef*>(block.data()), read);
        total += read;
    }
    return total == size && static_cast<uint32_t>(sum) == crc;
}

}  // namespace

// The file is written sharing only reading, so nobody can change or remove it
// meanwhile. Its writing handle must go before the installer can start (a
// program's image is opened without write sharing), so it is opened again
// for reading, sharing reading only: a writer that came in between makes that
// open fail, and a change made and closed in between shows in the size and
// CRC read back through the handle that stays.
EntryResult UpdatePackage::ExtractEntryHeld(int index, const std::wstring& name, UniqueHandle& held) {
    held.Reset();
    std::wstring target;
    ZipEntryInfo info;
    if (IsReparsePoint(m_baseFolder + name)) {
        LogEntryFailure(L"target is a reparse point", index, 0);
        return EntryResult::FileCreationFailed;
    }
    const EntryResult written = WriteEntry(index, name, FILE_SHARE_READ, target, info);
    if (written != EntryResult::Written || (info.attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        return written == EntryResult::Written ? EntryResult::FileCreationFailed : written;
    }
    unz_file_info64 stored = {};
    if (!GoToEntry(index) ||
        unzGetCurrentFileInfo64(AsArchive(m_archive), &stored, nullptr, 0, nullptr, 0, nullptr, 0) != UNZ_OK)
        return EntryResult::NoSuchEntry;
    UniqueHandle file(CreateFileW(target.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                  FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!file.Valid() || !ReadsAs(file.Get(), stored.uncompressed_size, static_cast<uint32_t>(stored.crc), m_block)) {
        LogEntryFailure(L"read back", index, static_cast<long>(GetLastError()));
        file.Reset();
        // Whatever lies there now is not ours to start; it goes if it can.
        RemoveEntryFile(target, index);
        return EntryResult::Changed;
    }
    held = std::move(file);
    return EntryResult::Written;
}

EntryResult UpdatePackage::WriteEntryData(HANDLE file, const ZipEntryInfo& info) {
    // GetEntry has left the archive positioned on this entry.
    unz_file_info64 stored = {};
    unzGetCurrentFileInfo64(AsArchive(m_archive), &stored, nullptr, 0, nullptr, 0, nullptr, 0);
    // The reader is built without decryption: an encrypted entry would only
    // yield its cipher text.
    if (stored.flag & kEncryptedFlag) {
        LogEntryFailure(L"unzOpenCurrentFile (encrypted)", info.index, 0);
        return EntryResult::PasswordProtected;
    }
    const int opened = unzOpenCurrentFile(AsArchive(m_archive));
    if (opened != UNZ_OK) {
        LogEntryFailure(L"unzOpenCurrentFile", info.index, opened);
        return EntryResult::CorruptData;
    }
    uint64_t copied = 0;
    EntryResult result = CopyDecompressedData(file, stored.uncompressed_size, copied);
    // A damaged stream can end early without an inflate error, and the reader
    // then skips its CRC check: the byte count catches that.
    if (result == EntryResult::Written && copied != stored.uncompressed_size) {
        LogEntryFailure(L"unzReadCurrentFile (short)", info.index, static_cast<long>(copied));
        result = EntryResult::CorruptData;
    }
    if (result == EntryResult::Written) {
        SetFileTime(file, &info.times.creation, &info.times.access, &info.times.modification);
    }
    // The CRC is checked only here, once the whole entry was read.
    const int closed = unzCloseCurrentFile(AsArchive(m_archive));
    if (result == EntryResult::Written && closed != UNZ_OK) {
        LogEntryFailure(L"unzCloseCurrentFile", info.index, closed);
        result = EntryResult::CorruptData;
    }
    return result;
}

// Never more than the entry announced: the limits were checked against it.
EntryResult UpdatePackage::CopyDecompressedData(HANDLE file, uint64_t limit, uint64_t& copied) {
    for (;;) {
        const int read = unzReadCurrentFile(AsArchive(m_archive), m_block.data(), static_cast<unsigned>(m_block.size()));
        if (read == 0) return EntryResult::Written;
        if (read < 0) {
            LogEntryFailure(L"unzReadCurrentFile", -1, read);
            return EntryResult::CorruptData;
        }
        if (copied + static_cast<uint64_t>(read) > limit) {
            LogEntryFailure(L"unzReadCurrentFile (longer than announced)", -1, read);
            return EntryResult::CorruptData;
        }
        DWORD written = 0;
        if (!WriteFile(file, m_block.data(), static_cast<DWORD>(read), &written, nullptr) ||
            written != static_cast<DWORD>(read)) {
            LogEntryFailure(L"WriteFile", -1, static_cast<long>(GetLastError()));
            return EntryResult::WriteFailed;
        }
        copied += written;
    }
}

bool ExtractArchive(const std::wstring& archivePath, const std::wstring& targetFolder) {
    UniqueHandle none;
    return ExtractArchive(archivePath, targetFolder, std::wstring(), none);
}

bool ExtractArchive(const std::wstring& archivePath, const std::wstring& targetFolder, const std::wstring& heldName,
                    UniqueHandle& held) {
    held.Reset();
    UpdatePackage package;
    if (!package.Open(archivePath)) return false;
    if (!package.WithinLimits()) return false;
    package.SetBaseFolder(targetFolder);
    ZipEntryInfo count;
    if (package.GetEntry(kEntryCountIndex, count)) {
        for (int index = 0; index < count.index; ++index) {
            ZipEntryInfo entry;
            if (!package.GetEntry(index, entry)) continue;
            const bool isHeld = !heldName.empty() && !held.Valid() &&
                                CompareStringOrdinal(entry.name.c_str(), -1, heldName.c_str(), -1, TRUE) == CSTR_EQUAL;
            if (isHeld) {
                (void)package.ExtractEntryHeld(index, entry.name, held);
            } else {
                (void)package.ExtractEntry(index, entry.name);
            }
        }
    }
    package.Close();
    return true;
}

}  // namespace package
