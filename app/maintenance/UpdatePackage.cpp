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
    return m_archive != nullptr;
}

void UpdatePackage::Close() {
    if (!m_archive) return;
    unzClose(AsArchive(m_archive));
    m_archive = nullptr;
}

void UpdatePackage::SetBaseFolder(const std::wstring& folder) {
    m_baseFolder = folder;
    if (m_baseFolder.empty() || !IsSeparator(m_baseFolder.back())) m_baseFolder += L'\\';
}

bool UpdatePackage::GoToEntry(int index) {
    if (unzGoToFirstFile(AsArchive(m_archive)) != UNZ_OK) return false;
    for (int i = 0; i < index; ++i) {
        if (unzGoToNextFile(AsArchive(m_archive)) != UNZ_OK) return false;
    }
    return true;
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
        unz_global_info64 global = {};
        if (unzGetGlobalInfo64(AsArchive(m_archive), &global) != UNZ_OK) return false;
        info.index = static_cast<int>(global.number_entry);
        return true;
    }
    if (index < 0 || !GoToEntry(index)) return false;
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
    if (!m_archive) return EntryResult::NoArchive;
    ZipEntryInfo info;
    if (!GetEntry(index, info)) return EntryResult::NoSuchEntry;
    if (info.attributes & FILE_ATTRIBUTE_DIRECTORY) {
        return CreateFolderLevels(m_baseFolder, name) ? EntryResult::Written : EntryResult::FolderCreationFailed;
    }
    const size_t split = name.find_last_of(L"\\/");
    const std::wstring folderPart = split == std::wstring::npos ? std::wstring() : name.substr(0, split + 1);
    const std::wstring filePart = split == std::wstring::npos ? name : name.substr(split + 1);
    // A failed level shows up as the file-creation error below.
    CreateFolderLevels(m_baseFolder, folderPart);
    const std::wstring target = m_baseFolder + folderPart + filePart;
    UniqueHandle file(CreateFileW(target.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, info.attributes, nullptr));
    if (!file.Valid()) {
        LogEntryFailure(L"CreateFileW", index, static_cast<long>(GetLastError()));
        return EntryResult::FileCreationFailed;
    }
    return WriteEntryData(file.Get(), info);
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
    EntryResult result = CopyDecompressedData(file, copied);
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

EntryResult UpdatePackage::CopyDecompressedData(HANDLE file, uint64_t& copied) {
    for (;;) {
        const int read = unzReadCurrentFile(AsArchive(m_archive), m_block.data(), static_cast<unsigned>(m_block.size()));
        if (read == 0) return EntryResult::Written;
        if (read < 0) {
            LogEntryFailure(L"unzReadCurrentFile", -1, read);
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
    UpdatePackage package;
    if (!package.Open(archivePath)) return false;
    package.SetBaseFolder(targetFolder);
    ZipEntryInfo count;
    if (package.GetEntry(kEntryCountIndex, count)) {
        for (int index = 0; index < count.index; ++index) {
            ZipEntryInfo entry;
            if (!package.GetEntry(index, entry)) continue;
            (void)package.ExtractEntry(index, entry.name);
        }
    }
    package.Close();
    return true;
}

}  // namespace package
