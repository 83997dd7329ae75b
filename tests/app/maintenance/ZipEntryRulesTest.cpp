// The attribute and timestamp rules where the file system under Wine cannot
// show them (system and archive bits, other hosts, malformed extra fields).
#include <gtest/gtest.h>

#include <vector>

#include "ZipEntryRules.h"

namespace {

constexpr unsigned long MadeBy(unsigned host) { return (host << 8) | 20; }
constexpr unsigned long UnixMode(unsigned long mode) { return mode << 16; }

TEST(ZipEntryRules, AttributesFromHost) {
    struct Case {
        unsigned host;
        unsigned long external;
        DWORD expected;
    };
    const Case cases[] = {
        {0, 0x21, 0x21},  {0, 0x10, 0x10},  {0, 0x30, 0x30},  {0, 0x27, 0x27},
        {0, 0x00, 0x00},  {7, 0x02, 0x02},  {11, 0x01, 0x01}, {14, 0x24, 0x24},
        {3, UnixMode(0100644), 0x20},  {3, UnixMode(0100444), 0x21},
        {3, UnixMode(0040755), 0x30},  {19, UnixMode(0100400), 0x21},
        // DOS bits beside a Unix mode mean nothing.
        {3, UnixMode(0100644) | 0x07, 0x20},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(package::AttributesFromHost(MadeBy(c.host), c.external), c.expected)
            << "host " << c.host << " external 0x" << std::hex << c.external;
    }
}

TEST(ZipEntryRules, StoredNamesAreCutThenCleaned) {
    const std::string longName = "../" + std::string(300, 'a');
    EXPECT_EQ(package::EntryNameFromArchive(longName.c_str()), std::wstring(257, L'a'));
    EXPECT_EQ(package::EntryNameFromArchive("C:\\setup\\tool.exe"), L"setup\\tool.exe");
}

uint64_t Ticks(const FILETIME& t) { return (static_cast<uint64_t>(t.dwHighDateTime) << 32) | t.dwLowDateTime; }

TEST(ZipEntryRules, MalformedUtBlocksNeverReadPastTheField) {
    const FILETIME marker = {1, 1};
    struct Case {
        std::vector<unsigned char> extra;
        bool modificationChanged;
        bool accessChanged;
    };
    const Case cases[] = {
        // A block that claims 9 bytes but holds 5.
        {{'U', 'T', 9, 0, 3, 0, 0, 0, 0}, false, false},
        // Flags promise two times, the block holds one.
        {{'U', 'T', 5, 0, 3, 1, 0, 0, 0}, true, false},
        // Too short to hold any block data.
        {{'U', 'T', 0, 0}, false, false},
        // The first UT block wins.
        {{'U', 'T', 5, 0, 1, 1, 0, 0, 0, 'U', 'T', 9, 0, 3, 2, 0, 0, 0, 2, 0, 0, 0}, true, false},
    };
    for (const Case& c : cases) {
        package::EntryTimes times{marker, marker, marker};
        package::ApplyExtendedTimestamp(c.extra.data(), c.extra.size(), times);
        EXPECT_EQ(Ticks(times.modification) != Ticks(marker), c.modificationChanged);
        EXPECT_EQ(Ticks(times.access) != Ticks(marker), c.accessChanged);
        EXPECT_EQ(Ticks(times.creation), Ticks(marker));
    }
}

}  // namespace
