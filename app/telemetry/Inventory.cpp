#include "Inventory.h"

#include <windows.h>

#include "WmiClient.h"

namespace inventory {
namespace {

bool Holds(const std::wstring& text, const wchar_t* part) {
    return !text.empty() && text.find(part) != std::wstring::npos;
}

void LogFailure(const char* message) {
    OutputDebugStringA("Inventory: ");
    OutputDebugStringA(message);
}

}  // namespace

bool IsRemovableDisk(const DiskRecord& disk) {
    return Holds(disk.deviceId, L"USB") || Holds(disk.interfaceType, L"USB") || Holds(disk.mediaType, L"Removable") ||
           disk.removable;
}

void ChooseSystemDisk(const std::vector<DiskRecord>& disks, InventoryResults& results) {
    if (disks.empty()) return;
    for (const DiskRecord& disk : disks) {
        if (IsRemovableDisk(disk)) continue;
        results.diskCaption = disk.caption;
        results.diskSizeGiB = static_cast<float>(disk.sizeGiB);
        break;
    }
    // No fixed disk, or one without a size: show the first disk rather than 0.
    if (results.diskSizeGiB == 0.0f) {
        results.diskCaption = disks.front().caption;
        results.diskSizeGiB = static_cast<float>(disks.front().sizeGiB);
    }
}

void ChooseMemoryCaption(const std::vector<MemoryModuleRecord>& modules, InventoryResults& results) {
    if (!modules.empty()) results.memoryCaption = modules.front().manufacturer;
}

void RunInventoryStep(bool snapshotAvailable, InventoryResults& results) noexcept {
    if (!snapshotAvailable) return;
    try {
        WmiClient client;
        ChooseSystemDisk(client.QueryDisks(), results);
        ChooseMemoryCaption(client.QueryMemoryModules(), results);
    } catch (const WMICException& failure) {
        LogFailure(failure.what());
    } catch (const std::exception& failure) {
        // Allocation failures and the like must not end the worker either.
        LogFailure(failure.what());
    }
}

}  // namespace inventory
