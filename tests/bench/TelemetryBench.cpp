// Cost of one telemetry acquisition pass against its floor, the sensor
// library's own queries alone, on whatever scenario the sensor library
// serves (the built-in one unless sensors.ini exists in the sim folder).
//
//   TelemetryBench [passes]          both, alternating, in one process
//   TelemetryBench pass|raw [passes] only one of them (whole-process timing)
//
// The raw walk makes exactly the library calls a pass makes (the same stop
// rules, the two name look-ups at the end) and nothing else, so the
// difference is the classification and storing our code adds.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <cwchar>
#include <vector>

#include "BenchClock.h"
#include "SensorAcquisition.h"
#include "SensorLibrary.h"
#include "TelemetryRecord.h"

namespace {

constexpr int kSteeringKinds[] = {sensor::kKindTemperature, sensor::kKindFan, sensor::kKindClock,
                                  sensor::kKindVoltage};

// The library calls of one pass; returns the number of queries so that the
// optimiser cannot drop the walk.
long RawWalk(const SensorLibrary& library) {
    long queries = 0;
    const int count = library.SensorCount();
    if (count < 1) return 0;
    library.Refresh();
    char name[sensor::kNameBufferSize];
    SensorReading reading;
    for (int s = 0; s < count; ++s) {
        library.SelectSensor(s);
        library.SensorName(s, name, sensor::kNameBufferSize);
        for (int r = 0; r < sensor::kReadingsPerSensor; ++r) {
            bool ended = false;
            for (int kind : kSteeringKinds) {
                std::memset(&reading, 0, sizeof(reading));
                ++queries;
                if (!library.QueryReading(kind, s, r, &reading)) continue;
                if (!reading.present) {
                    ended = true;
                    break;
                }
            }
            if (ended) continue;
            std::memset(&reading, 0, sizeof(reading));
            ++queries;
            library.QueryReading(sensor::kKindUsage, s, r, &reading);
        }
    }
    for (int pick = 0; pick < 2; ++pick) {
        for (int s = 0; s < count; ++s) {
            library.SelectSensor(s);
            library.SensorName(s, name, sensor::kNameBufferSize);
        }
    }
    return queries;
}

using bench::Median;
using bench::Now;

}  // namespace

int wmain(int argc, wchar_t** argv) {
    const wchar_t* only = nullptr;
    int passes = 500;
    for (int i = 1; i < argc; ++i) {
        if (std::wcscmp(argv[i], L"pass") == 0 || std::wcscmp(argv[i], L"raw") == 0) only = argv[i];
        else passes = std::max(1, _wtoi(argv[i]));
    }

    // The program's diagnostics go to its standard output; here to NUL, so
    // their formatting is counted and nothing floods the terminal.
    std::FILE* diagnostics = _wfopen(L"NUL", L"w");
    TelemetryRecord record{};
    SensorAcquisition acquisition(record, diagnostics);
    acquisition.Acquire();  // binds and initialises the library once, as the program's first pass does
    SensorLibrary library;
    if (!library.Bind() || !acquisition.IsInitialised()) {
        std::fprintf(stderr, "the sensor library did not load or initialise\n");
        return 2;
    }

    std::vector<double> passTimes, rawTimes;
    long queries = 0;
    for (int i = 0; i < passes; ++i) {
        if (!only || std::wcscmp(only, L"pass") == 0) {
            const double start = Now();
            acquisition.Acquire();
            passTimes.push_back(Now() - start);
        }
        if (!only || std::wcscmp(only, L"raw") == 0) {
            const double start = Now();
            queries = RawWalk(library);
            rawTimes.push_back(Now() - start);
        }
    }
    if (!passTimes.empty()) std::printf("pass_us=%.1f\n", Median(passTimes) * 1e6);
    if (!rawTimes.empty()) std::printf("raw_us=%.1f queries=%ld\n", Median(rawTimes) * 1e6, queries);
    std::printf("passes=%d cpu_valid=%d cpu_name=%ls\n", passes, record.cpuTemperatureValid, record.cpuName.c_str());
    if (diagnostics) std::fclose(diagnostics);
    return 0;
}
