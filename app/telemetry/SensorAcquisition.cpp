#include "SensorAcquisition.h"

#include <windows.h>

#include <cstring>
#include <optional>

#include "AnsiText.h"

namespace {

// Kinds asked for at every reading index, in this order; clock and voltage
// only steer the loop, usage comes last with its own stop rule.
constexpr int kSteeringKinds[] = {sensor::kKindTemperature, sensor::kKindFan, sensor::kKindClock,
                                  sensor::kKindVoltage};

// The library's label, cut at its field's end should it lack a terminator.
std::string LabelOf(const SensorReading& reading) {
    return std::string(reading.label, strnlen(reading.label, sizeof(reading.label)));
}

void StoreValue(const std::optional<float>& candidate, float& field, uint8_t& valid) {
    if (!candidate) return;
    field = *candidate;
    valid = 1;
}

const std::optional<float>& Preferred(const std::optional<float>& dedicated, const std::optional<float>& integrated) {
    return dedicated ? dedicated : integrated;
}

}  // namespace

std::string SensorAcquisition::NameAfterColon(const char* name) {
    const char* colon = std::strchr(name, ':');
    if (!colon) return name;
    const char* text = colon + 1;
    while (*text == ' ') ++text;
    return text;
}

void SensorAcquisition::Diagnostic(const char* text) const {
    if (m_diagnostics) std::fputs(text, m_diagnostics);
}

bool SensorAcquisition::EnsureInitialised() {
    if (m_initialised) return true;
    if (!m_library.Bind()) {
        Diagnostic("CANNOT LOAD DLL\n");
        return false;
    }
    const int result = m_library.Initialise(sensor::kInitialiseOption);
    if (result == 0) {
        Diagnostic("INIT OK\n");
        m_initialised = true;
    } else if (m_diagnostics) {
        std::fprintf(m_diagnostics, "INIT FAILED %d\n", result);
    }
    // A failed initialise still leaves the functions bound: the pass goes on.
    return true;
}

void SensorAcquisition::Acquire() {
    if (!EnsureInitialised()) return;
    const int count = m_library.SensorCount();
    if (count < 1) return;
    m_library.Refresh();

    SensorClassifier classifier(m_diagnostics);
    MEMORYSTATUSEX memory = {};
    memory.dwLength = sizeof(memory);
    if (GlobalMemoryStatusEx(&memory)) classifier.MemoryLoad(static_cast<float>(memory.dwMemoryLoad));

    for (int s = 0; s < count; ++s) ScanSensor(s, classifier);
    if (classifier.Candidates().cpuTemperature) PickCpuName(count);
    PickGpuName(count);
    Store(classifier.Candidates());
}

void SensorAcquisition::ReadSensorName(int sensorIndex, char (&buffer)[sensor::kNameBufferSize]) const {
    std::memset(buffer, 0, sizeof(buffer));
    m_library.SelectSensor(sensorIndex);
    m_library.SensorName(sensorIndex, buffer, sensor::kNameBufferSize);
    buffer[sensor::kNameBufferSize - 1] = 0;
}

void SensorAcquisition::ScanSensor(int sensorIndex, SensorClassifier& classifier) const {
    char name[sensor::kNameBufferSize];
    ReadSensorName(sensorIndex, name);
    // Always all 512 indices, whatever the answers: the library numbers
    // each kind's readings on its own, so a gap in one says nothing.
    for (int r = 0; r < sensor::kReadingsPerSensor; ++r) ScanReading(sensorIndex, r, name, classifier);
}

void SensorAcquisition::ScanReading(int sensorIndex, int readingIndex, const char* name,
                                    SensorClassifier& classifier) const {
    SensorReading reading;
    for (int kind : kSteeringKinds) {
        std::memset(&reading, 0, sizeof(reading));
        if (!m_library.QueryReading(kind, sensorIndex, readingIndex, &reading)) continue;
        if (!reading.present) return;
        const float value = static_cast<float>(reading.value);
        if (kind == sensor::kKindTemperature) classifier.Temperature(reading.category, LabelOf(reading).c_str(), name, value);
        else if (kind == sensor::kKindFan) classifier.Fan(reading.category, LabelOf(reading).c_str(), name, value);
    }
    std::memset(&reading, 0, sizeof(reading));
    if (!m_library.QueryReading(sensor::kKindUsage, sensorIndex, readingIndex, &reading) || !reading.present)
        return;
    classifier.Usage(reading.category, LabelOf(reading).c_str(), name, static_cast<float>(reading.value));
}

void SensorAcquisition::PickCpuName(int count) {
    char name[sensor::kNameBufferSize];
    for (int s = 0; s < count; ++s) {
        ReadSensorName(s, name);
        if (!std::strstr(name, "CPU")) continue;
        m_record.cpuName = FromAnsi(NameAfterColon(name));
        m_record.cpuNameValid = 1;
        return;
    }
}

void SensorAcquisition::PickGpuName(int count) {
    char name[sensor::kNameBufferSize];
    std::optional<std::string> integrated;
    std::optional<std::string> chosen;
    for (int s = 0; s < count && !chosen; ++s) {
        ReadSensorName(s, name);
        if (!std::strstr(name, "GPU") && !std::strstr(name, "Graphics")) continue;
        if (SensorClassifier::IsDedicatedGpu(name)) chosen = NameAfterColon(name);
        else if (!integrated) integrated = NameAfterColon(name);
    }
    if (!chosen) chosen = integrated;
    if (!chosen) return;
    m_record.gpuName = FromAnsi(*chosen);
    m_record.gpuNameValid = 1;
}

void SensorAcquisition::Store(const SensorCandidates& found) {
    StoreValue(found.cpuTemperature, m_record.cpuTemperature, m_record.cpuTemperatureValid);
    StoreValue(found.cpuFan, m_record.cpuFan, m_record.cpuFanValid);
    StoreValue(found.cpuUsage, m_record.cpuUsage, m_record.cpuUsageValid);
    StoreValue(Preferred(found.dedicatedGpuTemperature, found.integratedGpuTemperature), m_record.gpuTemperature,
               m_record.gpuTemperatureValid);
    StoreValue(Preferred(found.dedicatedGpuUsage, found.integratedGpuUsage), m_record.gpuUsage,
               m_record.gpuUsageValid);
    StoreValue(found.gpuFan, m_record.gpuFan, m_record.gpuFanValid);
    StoreValue(found.memoryUsage, m_record.memoryUsage, m_record.memoryUsageValid);
}
