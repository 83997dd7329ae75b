// What the inventory reads from WMI, record by record, and the three results
// the telemetry panel keeps for the rest of the run.
#pragma once

#include <cstdint>
#include <string>

struct DiskRecord {
    std::wstring caption;        // "Caption"
    std::wstring deviceId;       // "PNPDeviceID"
    uint64_t sizeGiB = 0;        // "Size", whole gibibytes
    std::wstring interfaceType;  // "InterfaceType"
    std::wstring mediaType;      // "MediaType"
    bool removable = false;      // "Removable"
};

struct MemoryModuleRecord {
    std::wstring manufacturer;  // "Manufacturer"
};

struct InventoryResults {
    std::wstring diskCaption;
    float diskSizeGiB = 0.0f;
    std::wstring memoryCaption;
};
