// Unpacks the archives that make_update_packages.py builds at build time and
// looks at the result on disk: names, folders, attributes, times, contents,
// and that nothing ever lands outside the target folder.
#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "AppFolders.h"
#include "UpdatePackage.h"

namespace fs = std::filesystem;
using package::EntryResult;
using package::ExtractArchive;
using package::UpdatePackage;

namespace {

std::wstring PackagePath(const wchar_t* name) {
    return folders::ProgramFolder() + L"testdata\\packages\\" + name;
}

std::string ReadAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

uint64_t Ticks(const FILETIME& t) { return (static_cast<uint64_t>(t.dwHighDateTime) << 32) | t.dwLowDateTime; }

uint64_t UtcTicks(WORD year, WORD month, WORD day, WORD hour, WORD minute, WORD second) {
    SYSTEMTIME utc = {year, month, 0, day, hour, minute, second, 0};
    FILETIME time;
    SystemTimeToFileTime(&utc, &time);
    return Ticks(time);
}

uint64_t UnixTicks(uint64_t seconds) { return seconds * 10000000ULL + 116444736000000000ULL; }

// A private folder per test with the extraction target a few levels below
// it, so that an entry climbing out of the target, even by several levels,
// still lands in the sandbox and is caught there.
class ExtractionTest : public testing::Test {
protected:
    void SetUp() override {
        wchar_t temp[MAX_PATH];
        GetTempPathW(MAX_PATH, temp);
        m_sandbox = fs::path(temp) / (L"tarvenholm-package-" + std::to_wstring(GetCurrentProcessId()));
        RemoveTree(m_sandbox);
        fs::create_directories(m_sandbox);
        m_target = m_sandbox / L"l1" / L"l2" / L"l3" / L"out";
        fs::create_directories(m_target.parent_path());
    }

    void TearDown() override {
        ExpectNothingOutsideTarget();
        RemoveTree(m_sandbox);
    }

    std::wstring Target() const { return m_target.wstring() + L"\\"; }
    fs::path InTarget(const wchar_t* relative) const { return m_target / relative; }

    static DWORD Attributes(const fs::path& path) { return GetFileAttributesW(path.c_str()); }

    void ExpectNothingOutsideTarget() const {
        const std::wstring inside = m_target.wstring() + L"\\";
        for (const auto& item : fs::recursive_directory_iterator(m_sandbox)) {
            const std::wstring path = item.path().wstring();
            const bool levelAbove = item.is_directory() && inside.rfind(path + L"\\", 0) == 0;
            EXPECT_TRUE(levelAbove || path.rfind(inside, 0) == 0) << "outside the target: " << item.path();
        }
        for (const wchar_t* escaped : {L"C:\\Windows\\evil.exe", L"C:\\Windows\\evil2.exe", L"C:\\b1.exe"}) {
            EXPECT_EQ(GetFileAttributesW(escaped), INVALID_FILE_ATTRIBUTES) << escaped;
        }
    }

    // Read-only files cannot be deleted until their attribute is cleared.
    static void RemoveTree(const fs::path& root) {
        std::error_code error;
        if (!fs::exists(root, error)) return;
        for (const auto& item : fs::recursive_directory_iterator(root, error)) {
            SetFileAttributesW(item.path().c_str(), FILE_ATTRIBUTE_NORMAL);
        }
        fs::remove_all(root, error);
    }

    fs::path m_sandbox;
    fs::path m_target;
};

TEST_F(ExtractionTest, HostileNamesStayInsideTheTargetFolder) {
    ASSERT_TRUE(ExtractArchive(PackagePath(L"names.zip"), Target()));
    struct Case {
        const char* stored;
        const wchar_t* written;
    };
    const Case cases[] = {
        {"C:\\Windows\\evil.exe", L"Windows\\evil.exe"},
        {"c:/Windows/evil2.exe", L"Windows\\evil2.exe"},
        {"a\\..\\..\\b1.exe", L"b1.exe"},
        {"..\\b2.exe", L"b2.exe"},
        {"../b3.exe", L"b3.exe"},
        {"a/../b4.exe", L"b4.exe"},
        {"a\\../b5.exe", L"b5.exe"},
        {"a/..\\b6.exe", L"b6.exe"},
        {"/../b7.exe", L"b7.exe"},
        {"\\..\\..\\b8.exe", L"b8.exe"},
        {"x/y/../../../b9.exe", L"b9.exe"},
        {"..\\../..\\b10.exe", L"b10.exe"},
        {"C:..\\b11.exe", L"b11.exe"},
        {"/setup/tool.exe", L"setup\\tool.exe"},
        {"\\\\server\\share\\unc.exe", L"server\\share\\unc.exe"},
        {"nested/deep/er/file.txt", L"nested\\deep\\er\\file.txt"},
        {"mixed\\sep/file.txt", L"mixed\\sep\\file.txt"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ReadAll(InTarget(c.written)), c.stored) << c.stored;
    }
    EXPECT_TRUE(Attributes(InTarget(L"emptydir")) & FILE_ATTRIBUTE_DIRECTORY);
    EXPECT_TRUE(Attributes(InTarget(L"climbdir")) & FILE_ATTRIBUTE_DIRECTORY);
}

TEST_F(ExtractionTest, AttributesComeFromTheHostSystem) {
    ASSERT_TRUE(ExtractArchive(PackagePath(L"attributes.zip"), Target()));
    struct Case {
        const wchar_t* name;
        DWORD present;
        DWORD absent;
    };
    const Case cases[] = {
        {L"dos-readonly.txt", FILE_ATTRIBUTE_READONLY, FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_DIRECTORY},
        {L"dos-hidden.txt", FILE_ATTRIBUTE_HIDDEN, FILE_ATTRIBUTE_READONLY},
        {L"dos-plain.txt", 0, FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN},
        {L"unix-644.txt", 0, FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN},
        {L"unix-444.txt", FILE_ATTRIBUTE_READONLY, FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_DIRECTORY},
        {L"unix-dir", FILE_ATTRIBUTE_DIRECTORY, 0},
    };
    for (const Case& c : cases) {
        const DWORD attributes = Attributes(InTarget(c.name));
        ASSERT_NE(attributes, INVALID_FILE_ATTRIBUTES) << c.name;
        EXPECT_EQ(attributes & c.present, c.present) << c.name;
        EXPECT_EQ(attributes & c.absent, 0u) << c.name;
    }
}

TEST_F(ExtractionTest, TimesFromDosFieldsAndTheUtBlock) {
    ASSERT_TRUE(ExtractArchive(PackagePath(L"times.zip"), Target()));
    // The archive stores 2023-05-01 12:00:00 local time; ctest runs this
    // test in Asia/Kolkata (UTC+5:30 all year), where that is 06:30:00 UTC.
    const uint64_t dos = UtcTicks(2023, 5, 1, 6, 30, 0);
    const uint64_t modified = UnixTicks(1600000000), accessed = UnixTicks(1500000000);
    struct Case {
        const wchar_t* name;
        uint64_t access;
        uint64_t modification;
    };
    const Case cases[] = {
        {L"dos-only.txt", dos, dos},
        {L"ut-modified.txt", dos, modified},
        {L"ut-all.txt", accessed, modified},
        {L"ut-after-other.txt", dos, modified},
    };
    for (const Case& c : cases) {
        HANDLE file = CreateFileW(InTarget(c.name).c_str(), FILE_READ_ATTRIBUTES, FILE_SHARE_READ, nullptr,
                                  OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(file, INVALID_HANDLE_VALUE) << c.name;
        FILETIME creation, access, write;
        ASSERT_TRUE(GetFileTime(file, &creation, &access, &write));
        CloseHandle(file);
        // The creation time cannot be set on the Unix file systems Wine runs
        // on; the rules that fill it are the same as for the other two.
        EXPECT_EQ(Ticks(access), c.access) << c.name;
        EXPECT_EQ(Ticks(write), c.modification) << c.name;
    }
}

TEST_F(ExtractionTest, LargeEntriesAreCopiedWhole) {
    ASSERT_TRUE(ExtractArchive(PackagePath(L"blocks.zip"), Target()));
    std::string expected;
    for (int i = 0; i < 70001; ++i) expected.push_back(static_cast<char>((i * 7 + i / 251) & 0xFF));
    EXPECT_EQ(ReadAll(InTarget(L"large.bin")), expected);
    EXPECT_EQ(ReadAll(InTarget(L"stored.bin")), expected.substr(0, 20000));
}

TEST_F(ExtractionTest, BrokenEntriesFailAloneAndTheRestIsWritten) {
    struct Case {
        const wchar_t* archive;
        int brokenIndex;
        EntryResult brokenResult;
        const wchar_t* brokenName;
        const wchar_t* goodName;
        const char* goodContent;
    };
    const Case cases[] = {
        {L"corrupt.zip", 1, EntryResult::CorruptData, L"corrupt.bin", L"after.txt", "after"},
        {L"encrypted.zip", 0, EntryResult::PasswordProtected, L"secret.exe", L"clear.txt", "clear"},
    };
    for (const Case& c : cases) {
        EXPECT_TRUE(ExtractArchive(PackagePath(c.archive), Target())) << c.archive;
        EXPECT_EQ(ReadAll(InTarget(c.goodName)), c.goodContent) << c.archive;
        // Nothing half written is left to be taken for the real file.
        EXPECT_EQ(Attributes(InTarget(c.brokenName)), INVALID_FILE_ATTRIBUTES) << c.archive;

        UpdatePackage package;
        ASSERT_TRUE(package.Open(PackagePath(c.archive)));
        package.SetBaseFolder(Target());
        EXPECT_EQ(package.ExtractEntry(c.brokenIndex, c.brokenName), c.brokenResult) << c.archive;
        EXPECT_EQ(Attributes(InTarget(c.brokenName)), INVALID_FILE_ATTRIBUTES) << c.archive;
    }
}

// A zip bomb is refused before anything is written: too many entries, or
// entries that together announce more than a package may unpack to.
TEST_F(ExtractionTest, ArchivesOverTheLimitsAreRefusedWhole) {
    for (const wchar_t* archive : {L"too-many-entries.zip", L"too-large.zip"}) {
        EXPECT_FALSE(ExtractArchive(PackagePath(archive), Target())) << archive;
        EXPECT_FALSE(fs::exists(m_target)) << archive;
        UpdatePackage package;
        ASSERT_TRUE(package.Open(PackagePath(archive))) << archive;
        EXPECT_FALSE(package.WithinLimits()) << archive;
    }
    UpdatePackage package;
    ASSERT_TRUE(package.Open(PackagePath(L"many-entries.zip")));
    EXPECT_TRUE(package.WithinLimits());
}

// An entry is reached by its place in the one walk Open made; walking from
// the first entry for each would take minutes here.
TEST(UpdatePackage, TenThousandEntriesAreReadInOneWalk) {
    const DWORD start = GetTickCount();
    UpdatePackage package;
    ASSERT_TRUE(package.Open(PackagePath(L"many-entries.zip")));
    package::ZipEntryInfo info;
    ASSERT_TRUE(package.GetEntry(package::kEntryCountIndex, info));
    ASSERT_EQ(info.index, 10000);
    for (int index : {0, 9999, 5000, 1, 9998}) {
        ASSERT_TRUE(package.GetEntry(index, info)) << index;
        wchar_t expected[16];
        swprintf(expected, 16, L"e%05d.txt", index);
        EXPECT_EQ(info.name, expected);
    }
    for (int index = 0; index < 10000; ++index) ASSERT_TRUE(package.GetEntry(index, info)) << index;
    EXPECT_LT(GetTickCount() - start, 20000u);
}

// The entry the update starts comes out whole and held: nobody else may
// write it while the handle stays; a broken one gives no handle and no file.
// (A link already standing at its place is refused too; Wine follows Unix
// links to files instead of reporting them as reparse points, so that part
// only shows on Windows.)
TEST_F(ExtractionTest, HeldEntryIsWholeOrAbsent) {
    UpdatePackage package;
    ASSERT_TRUE(package.Open(PackagePath(L"blocks.zip")));
    package.SetBaseFolder(Target());
    UniqueHandle held;
    ASSERT_EQ(package.ExtractEntryHeld(0, L"large.bin", held), EntryResult::Written);
    EXPECT_TRUE(held.Valid());
    EXPECT_EQ(fs::file_size(InTarget(L"large.bin")), 70001u);
    HANDLE writer = CreateFileW(InTarget(L"large.bin").c_str(), GENERIC_WRITE,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING, 0, nullptr);
    EXPECT_EQ(writer, INVALID_HANDLE_VALUE);
    if (writer != INVALID_HANDLE_VALUE) CloseHandle(writer);
    held.Reset();

    UpdatePackage corrupt;
    ASSERT_TRUE(corrupt.Open(PackagePath(L"corrupt.zip")));
    corrupt.SetBaseFolder(Target());
    EXPECT_EQ(corrupt.ExtractEntryHeld(1, L"corrupt.bin", held), EntryResult::CorruptData);
    EXPECT_FALSE(held.Valid());
    EXPECT_EQ(Attributes(InTarget(L"corrupt.bin")), INVALID_FILE_ATTRIBUTES);
}

TEST_F(ExtractionTest, WhatIsNoArchiveIsRefusedAndNothingIsWritten) {
    EXPECT_FALSE(ExtractArchive(PackagePath(L"not-a-zip.zip"), Target()));
    EXPECT_FALSE(ExtractArchive(PackagePath(L"missing.zip"), Target()));
    EXPECT_FALSE(fs::exists(m_target));
}

// The creation time that Wine cannot store, checked in the entry information.
TEST(UpdatePackage, EntryTimesIncludeTheCreationTime) {
    UpdatePackage package;
    ASSERT_TRUE(package.Open(PackagePath(L"times.zip")));
    const uint64_t dos = UtcTicks(2023, 5, 1, 6, 30, 0);
    struct Case {
        int index;
        uint64_t creation, access, modification;
    };
    const Case cases[] = {
        {0, dos, dos, dos},
        {1, dos, dos, UnixTicks(1600000000)},
        {2, UnixTicks(1400000000), UnixTicks(1500000000), UnixTicks(1600000000)},
    };
    for (const Case& c : cases) {
        package::ZipEntryInfo info;
        ASSERT_TRUE(package.GetEntry(c.index, info));
        EXPECT_EQ(Ticks(info.times.creation), c.creation) << c.index;
        EXPECT_EQ(Ticks(info.times.access), c.access) << c.index;
        EXPECT_EQ(Ticks(info.times.modification), c.modification) << c.index;
    }
}

TEST(UpdatePackage, BaseFolderAlwaysEndsWithASeparator) {
    UpdatePackage package;
    const std::pair<const wchar_t*, const wchar_t*> cases[] = {
        {L"C:\\temp", L"C:\\temp\\"}, {L"C:\\temp\\", L"C:\\temp\\"}, {L"C:/temp/", L"C:/temp/"}};
    for (const auto& [given, kept] : cases) {
        package.SetBaseFolder(given);
        EXPECT_EQ(package.BaseFolder(), kept);
    }
}

TEST(UpdatePackage, EntryInformationAndCount) {
    UpdatePackage package;
    ASSERT_TRUE(package.Open(PackagePath(L"blocks.zip")));
    package::ZipEntryInfo info;
    ASSERT_TRUE(package.GetEntry(package::kEntryCountIndex, info));
    EXPECT_EQ(info.index, 2);
    ASSERT_TRUE(package.GetEntry(1, info));
    EXPECT_EQ(info.name, L"stored.bin");
    EXPECT_EQ(info.uncompressedSize, 20000u);
    EXPECT_EQ(info.compressedSize, 20000u);
    EXPECT_FALSE(package.GetEntry(2, info));
    package.Close();
    EXPECT_FALSE(package.GetEntry(0, info));
}

}  // namespace
