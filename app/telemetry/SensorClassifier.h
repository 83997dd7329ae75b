// SensorClassifier: the fixed substring rules that decide which reading of
// one acquisition pass becomes which candidate of the telemetry record.
// Readings arrive in the library's order; "first", "last" and "maximum"
// refer to that order within one pass.
#pragma once

#include <cstdio>
#include <optional>

struct SensorCandidates {
    std::optional<float> cpuTemperature;
    std::optional<float> cpuFan;
    std::optional<float> cpuUsage;
    std::optional<float> dedicatedGpuTemperature;
    std::optional<float> integratedGpuTemperature;
    std::optional<float> gpuFan;
    std::optional<float> dedicatedGpuUsage;
    std::optional<float> integratedGpuUsage;
    std::optional<float> memoryUsage;
};

class SensorClassifier {
public:
    // Usage readings write diagnostic lines here.
    explicit SensorClassifier(std::FILE* diagnostics) : m_diagnostics(diagnostics) {}

    // Kind 1, 3 and 7 readings; label and name are NUL-terminated ANSI.
    void Temperature(int category, const char* label, const char* name, float value);
    void Fan(int category, const char* label, const char* name, float value);
    void Usage(int category, const char* label, const char* name, float value);

    // The operating system's memory load, which a memory usage reading
    // replaces.
    void MemoryLoad(float percent) { m_candidates.memoryUsage = percent; }

    const SensorCandidates& Candidates() const { return m_candidates; }

    // A sensor whose name holds a vendor or product word of a discrete card.
    static bool IsDedicatedGpu(const char* name);

private:
    void Diagnostic(const char* format, float value) const;

    std::FILE* m_diagnostics;
    SensorCandidates m_candidates;
};
