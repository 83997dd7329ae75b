#include "SensorClassifier.h"

#include <cstring>
#include <initializer_list>

#include "SensorLibrary.h"

namespace {

bool Contains(const char* text, const char* part) { return std::strstr(text, part) != nullptr; }

bool ContainsAny(const char* text, std::initializer_list<const char*> parts) {
    for (const char* part : parts) {
        if (Contains(text, part)) return true;
    }
    return false;
}

bool IsAny(const char* text, std::initializer_list<const char*> candidates) {
    for (const char* candidate : candidates) {
        if (std::strcmp(text, candidate) == 0) return true;
    }
    return false;
}

void KeepMaximum(std::optional<float>& candidate, float value) {
    if (!candidate || value > *candidate) candidate = value;
}

}  // namespace

bool SensorClassifier::IsDedicatedGpu(const char* name) {
    return ContainsAny(name, {"NVIDIA", "GeForce", "RTX", "GTX", "RX", "Vega"});
}

void SensorClassifier::Temperature(int category, const char* label, const char* name, float value) {
    switch (category) {
    case sensor::kCategoryCpu:
        if (!m_candidates.cpuTemperature && IsAny(label, {"Core0", "Core 0", "P-core 0", "CPU (Tctl/Tdie)"}))
            m_candidates.cpuTemperature = value;
        break;
    case sensor::kCategoryMainboard:
        // The sensor chip's own CPU reading wins over the CPU's cores.
        if (std::strcmp(label, "CPU") == 0) m_candidates.cpuTemperature = value;
        break;
    case sensor::kCategoryGpu:
        if (Contains(label, "GPU Temperature") || Contains(name, "GPU Temperature")) {
            KeepMaximum(IsDedicatedGpu(name) ? m_candidates.dedicatedGpuTemperature
                                             : m_candidates.integratedGpuTemperature,
                        value);
        }
        break;
    default:
        break;
    }
}

void SensorClassifier::Fan(int category, const char* label, const char* name, float value) {
    if (category == sensor::kCategoryGpu && (Contains(label, "GPU Fan1") || Contains(name, "GPU Fan1")))
        m_candidates.gpuFan = value;
    else if (category == sensor::kCategoryMainboard && (Contains(label, "CPU") || Contains(name, "CPU")))
        m_candidates.cpuFan = value;
}

void SensorClassifier::Usage(int category, const char* label, const char* name, float value) {
    if (m_diagnostics) {
        std::fprintf(m_diagnostics, "Sensor: %s, Location: %s, Value: %.1f%%, Type: %d\n", name, label,
                     static_cast<double>(value), category);
    }
    switch (category) {
    case sensor::kCategoryCpu:
        if (ContainsAny(label, {"Total", "Average", "CPU Total", "CPU Utilization"})) {
            m_candidates.cpuUsage = value;
            Diagnostic("Found CPU usage: %.1f%%\n", value);
        }
        break;
    case sensor::kCategoryGpu:
        if (ContainsAny(label, {"GPU Utilization", "GPU D3D Usage", "GPU Bus Load"})) {
            if (IsDedicatedGpu(name)) {
                m_candidates.dedicatedGpuUsage = value;
                Diagnostic("Found Dedicated GPU usage: %.1f%%\n", value);
            } else {
                m_candidates.integratedGpuUsage = value;
                Diagnostic("Found Integrated GPU usage: %.1f%%\n", value);
            }
        }
        break;
    case sensor::kCategoryMemory:
        if (ContainsAny(label, {"Memory", "RAM"}) || Contains(name, "Memory")) m_candidates.memoryUsage = value;
        break;
    default:
        break;
    }
}

void SensorClassifier::Diagnostic(const char* format, float value) const {
    if (m_diagnostics) std::fprintf(m_diagnostics, format, static_cast<double>(value));
}
