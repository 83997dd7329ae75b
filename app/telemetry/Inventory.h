// The memory and disk inventory (second half of worker command 1): the
// choice of the system disk among the physical disks, the memory caption,
// and the step that fills the main window's results through WMI once a run.
#pragma once

#include <vector>

#include "InventoryRecords.h"

namespace inventory {

// True when the disk is a USB or removable one, which the walk skips.
bool IsRemovableDisk(const DiskRecord& disk);

// The first fixed, non-USB disk; when that leaves the size at 0, the first
// disk of the list. An empty list changes nothing.
void ChooseSystemDisk(const std::vector<DiskRecord>& disks, InventoryResults& results);

// The first module's manufacturer; an empty list changes nothing.
void ChooseMemoryCaption(const std::vector<MemoryModuleRecord>& modules, InventoryResults& results);

// Connects, queries both classes and fills `results`. Does nothing without
// the hardware snapshot section. A WMI failure stops the step and leaves
// whatever was filled so far; it never escapes.
void RunInventoryStep(bool snapshotAvailable, InventoryResults& results) noexcept;

}  // namespace inventory
