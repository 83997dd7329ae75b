// SensorLibrary: the outside sensor library HWiNFO32.dll, loaded by name at
// run time and bound by ordinal. All entry points are stdcall.
//
//   850 initialise(192) -> 0 on success     156 sensor count
//   263 refresh                             678 select sensor(index)
//   952 sensor name(index, buffer, 256)     641 reading query(kind, sensor,
//   398, 613 bound only, never called           reading, record) -> nonzero
//
// The library stays loaded for the life of the process once it loaded.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>

// The reading record the query fills; the program zeroes it first.
struct SensorReading {
    int32_t present;  // nonzero when the record holds a reading
    uint8_t reserved0[4];
    double value;
    uint8_t reserved1[32];
    int32_t category;
    uint8_t reserved2[276];
    char label[136];  // NUL-terminated ANSI
};
static_assert(sizeof(SensorReading) == 464, "the library fills 464 bytes");
static_assert(offsetof(SensorReading, value) == 8 && offsetof(SensorReading, category) == 48 &&
                  offsetof(SensorReading, label) == 328,
              "offsets of the library's reading record");

namespace sensor {
inline constexpr int kKindTemperature = 1;
inline constexpr int kKindVoltage = 2;
inline constexpr int kKindFan = 3;
inline constexpr int kKindClock = 6;
inline constexpr int kKindUsage = 7;

inline constexpr int kCategoryCpu = 11;
inline constexpr int kCategoryMainboard = 12;
inline constexpr int kCategoryGpu = 13;
inline constexpr int kCategoryMemory = 17;

inline constexpr int kInitialiseOption = 192;
inline constexpr int kNameBufferSize = 256;
inline constexpr int kReadingsPerSensor = 512;
}  // namespace sensor

class SensorLibrary {
public:
    explicit SensorLibrary(const char* fileName = "HWiNFO32.dll") : m_fileName(fileName) {}
    SensorLibrary(const SensorLibrary&) = delete;
    SensorLibrary& operator=(const SensorLibrary&) = delete;

    // Loads the library (once it loaded, it stays) and looks up all eight
    // ordinals; true only when every one was found.
    bool Bind();
    bool IsBound() const { return m_bound; }

    int Initialise(int option) const { return m_initialise(option); }
    int SensorCount() const { return m_sensorCount(); }
    void Refresh() const { m_refresh(); }
    void SelectSensor(int index) const { m_selectSensor(index); }
    void SensorName(int index, char* buffer, int size) const { m_sensorName(index, buffer, size); }
    int QueryReading(int kind, int sensorIndex, int readingIndex, SensorReading* record) const {
        return m_queryReading(kind, sensorIndex, readingIndex, record);
    }

private:
    using InitialiseFn = int(WINAPI*)(int option);
    using CountFn = int(WINAPI*)();
    using RefreshFn = void(WINAPI*)();
    using SelectFn = void(WINAPI*)(int index);
    using NameFn = void(WINAPI*)(int index, char* buffer, int size);
    using QueryFn = int(WINAPI*)(int kind, int sensorIndex, int readingIndex, SensorReading* record);
    using UnusedFn = int(WINAPI*)();

    const char* m_fileName;
    HMODULE m_module = nullptr;
    bool m_bound = false;
    InitialiseFn m_initialise = nullptr;
    CountFn m_sensorCount = nullptr;
    RefreshFn m_refresh = nullptr;
    SelectFn m_selectSensor = nullptr;
    NameFn m_sensorName = nullptr;
    QueryFn m_queryReading = nullptr;
    UnusedFn m_unused398 = nullptr;
    UnusedFn m_unused613 = nullptr;
};
