// The disk choice and memory caption rules, and the size conversion.
#include <gtest/gtest.h>

#include <vector>

#include "Inventory.h"
#include "WmiClient.h"

namespace {

DiskRecord Nvme(uint64_t size = 476) {
    return {L"Samsung SSD 980 PRO 512GB", L"SCSI\\DISK&VEN_NVME&PROD_SAMSUNG\\5&1", size, L"SCSI",
            L"Fixed hard disk media", false};
}
DiskRecord UsbStick() {
    return {L"SanDisk Ultra USB Device", L"USBSTOR\\DISK&VEN_SANDISK\\4C53", 57, L"USB", L"Removable Media", true};
}
DiskRecord Fixed(const wchar_t* caption, uint64_t size) { return {caption, L"SCSI\\DISK\\1", size, L"SCSI", L"", false}; }
DiskRecord With(DiskRecord disk, void (*change)(DiskRecord&)) {
    change(disk);
    return disk;
}

TEST(Inventory, ChoosesTheSystemDisk) {
    struct Case {
        const char* what;
        std::vector<DiskRecord> disks;
        const wchar_t* caption;
        float size;
    };
    const Case cases[] = {
        {"USB stick, then NVMe", {UsbStick(), Nvme()}, L"Samsung SSD 980 PRO 512GB", 476.0f},
        {"only a USB disk", {UsbStick()}, L"SanDisk Ultra USB Device", 57.0f},
        {"fixed disk without a size", {UsbStick(), Fixed(L"No Size", 0)}, L"SanDisk Ultra USB Device", 57.0f},
        {"first fixed disk wins", {Fixed(L"First", 100), Fixed(L"Second", 200)}, L"First", 100.0f},
        {"USB in the device ID", {With(Fixed(L"A", 10), [](DiskRecord& d) { d.deviceId = L"X\\USB\\1"; }), Fixed(L"B", 20)}, L"B", 20.0f},
        {"USB interface", {With(Fixed(L"A", 10), [](DiskRecord& d) { d.interfaceType = L"USB"; }), Fixed(L"B", 20)}, L"B", 20.0f},
        {"removable media", {With(Fixed(L"A", 10), [](DiskRecord& d) { d.mediaType = L"Removable Media"; }), Fixed(L"B", 20)}, L"B", 20.0f},
        {"removable flag", {With(Fixed(L"A", 10), [](DiskRecord& d) { d.removable = true; }), Fixed(L"B", 20)}, L"B", 20.0f},
        {"tests are case-sensitive", {With(Fixed(L"A", 10), [](DiskRecord& d) { d.deviceId = L"usbstor"; }), Fixed(L"B", 20)}, L"A", 10.0f},
    };
    for (const Case& c : cases) {
        InventoryResults results;
        inventory::ChooseSystemDisk(c.disks, results);
        EXPECT_EQ(results.diskCaption, c.caption) << c.what;
        EXPECT_EQ(results.diskSizeGiB, c.size) << c.what;
    }
}

TEST(Inventory, EmptyListsLeaveTheResults) {
    InventoryResults results{L"kept", 12.0f, L"kept too"};
    inventory::ChooseSystemDisk({}, results);
    inventory::ChooseMemoryCaption({}, results);
    EXPECT_EQ(results.diskCaption, L"kept");
    EXPECT_EQ(results.diskSizeGiB, 12.0f);
    EXPECT_EQ(results.memoryCaption, L"kept too");
}

TEST(Inventory, MemoryCaptionIsTheFirstModulesMaker) {
    InventoryResults results;
    inventory::ChooseMemoryCaption({{L"Samsung"}, {L"Kingston"}}, results);
    EXPECT_EQ(results.memoryCaption, L"Samsung");
}

TEST(Inventory, SizeInWholeGibibytes) {
    const std::pair<const wchar_t*, uint64_t> cases[] = {
        {L"512174850047", 476},  // 477 GiB less one byte
        {L"512174850048", 477},
        {L"1073741823", 0},
        {L"", 0},
        {L"not a number", 0},
        {L"18446744073709551615", 17179869183ULL},
    };
    for (const auto& [text, gib] : cases) EXPECT_EQ(WmiClient::SizeTextToGiB(text), gib) << text;
}

TEST(Inventory, StepWithoutSnapshotDoesNothing) {
    InventoryResults results;
    inventory::RunInventoryStep(false, results);
    EXPECT_TRUE(results.diskCaption.empty());
    EXPECT_EQ(results.diskSizeGiB, 0.0f);
}

}  // namespace
