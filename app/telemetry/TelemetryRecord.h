// TelemetryRecord: the main window's classified sensor readings. A field is
// written only when an acquisition pass found a value for it; its flag then
// stays set for good.
#pragma once

#include <cstdint>
#include <string>

struct TelemetryRecord {
    std::wstring cpuName;
    float cpuTemperature = 0;  // degrees Celsius
    float cpuFan = 0;          // revolutions per minute
    float cpuUsage = 0;        // percent
    uint8_t cpuNameValid = 0;
    uint8_t cpuTemperatureValid = 0;
    uint8_t cpuFanValid = 0;
    uint8_t cpuUsageValid = 0;

    std::wstring gpuName;
    float gpuTemperature = 0;
    float gpuFan = 0;
    float gpuUsage = 0;
    uint8_t gpuNameValid = 0;
    uint8_t gpuTemperatureValid = 0;
    uint8_t gpuFanValid = 0;
    uint8_t gpuUsageValid = 0;

    float memoryUsage = 0;  // percent
    uint8_t memoryUsageValid = 0;
};
