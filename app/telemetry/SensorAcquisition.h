// SensorAcquisition: one acquisition pass over the sensor library's
// readings into the telemetry record, with the library's binding and its
// initialisation, repeated at every pass until it succeeds.
//
// Runs only on the worker thread; the record is the main window's and is
// read on the same thread right after the pass, so nothing here locks.
#pragma once

#include <cstdio>
#include <string>

#include "SensorClassifier.h"
#include "SensorLibrary.h"
#include "TelemetryRecord.h"

class SensorAcquisition {
public:
    // Diagnostic lines go to the stream (standard output in the program).
    SensorAcquisition(TelemetryRecord& record, std::FILE* diagnostics = stdout,
                      const char* libraryFile = "HWiNFO32.dll")
        : m_record(record), m_diagnostics(diagnostics), m_library(libraryFile) {}

    // One pass: initialise when needed, walk every reading of every sensor,
    // pick the names and store what was found.
    void Acquire();

    bool IsInitialised() const { return m_initialised; }

    // The text after the first ':' with leading blanks skipped, or the whole
    // name when it has none.
    static std::string NameAfterColon(const char* name);

private:
    // False when the binding is incomplete (the pass must end).
    bool EnsureInitialised();
    void ScanSensor(int sensorIndex, SensorClassifier& classifier) const;
    // The five kinds at one reading index; a filled record that holds no
    // reading ends the index early.
    void ScanReading(int sensorIndex, int readingIndex, const char* name, SensorClassifier& classifier) const;
    void ReadSensorName(int sensorIndex, char (&buffer)[sensor::kNameBufferSize]) const;
    void PickCpuName(int count);
    void PickGpuName(int count);
    void Store(const SensorCandidates& found);
    void Diagnostic(const char* text) const;

    TelemetryRecord& m_record;
    std::FILE* m_diagnostics;
    SensorLibrary m_library;
    bool m_initialised = false;
};
