// Stand-in HWiNFO32.dll: the sensor library's eight ordinals over a
// scenario (Scenario.h). sensors.ini in the sim folder is read again
// whenever it changes; without it the built-in scenario runs, with the
// running system's CPU usage and memory load and temperatures and fan
// speeds that follow the load smoothly.
//
// Like the library it replaces, it expects its callers on one thread at a
// time; queries read what the last refresh computed and cost next to
// nothing, since a pass asks 2560 of them per sensor. It is as strict as the
// library: initialise accepts only the program's argument 192, and names and
// readings are answered only for the sensor selected last.
#include <windows.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>

#include "Scenario.h"
#include "SimFolder.h"

namespace {

constexpr wchar_t kScenarioFile[] = L"sensors.ini";
constexpr double kLoadTimeConstantSeconds = 6.0;
constexpr size_t kLabelCapacity = 136;
constexpr int kInitialiseArgument = 192;
// What initialise answers for any other argument.
constexpr int kWrongArgumentResult = 87;
constexpr int kNoSensorSelected = -1;

// The record the program passes to the reading query (464 bytes).
struct ReadingRecord {
    int32_t present;
    uint8_t reserved0[4];
    double value;
    uint8_t reserved1[32];
    int32_t category;
    uint8_t reserved2[276];
    char label[kLabelCapacity];
};
static_assert(sizeof(ReadingRecord) == 464, "reading record size");

class LoadSampler {
public:
    // CPU usage since the previous sample, in percent.
    double SampleCpuUsage() {
        FILETIME idle, kernel, user;
        if (!GetSystemTimes(&idle, &kernel, &user)) return m_lastUsage;
        const uint64_t idleNow = Ticks(idle), busyNow = Ticks(kernel) + Ticks(user);  // kernel includes idle
        const uint64_t idleDelta = idleNow - m_idle, totalDelta = busyNow - m_total;
        m_idle = idleNow;
        m_total = busyNow;
        if (totalDelta > 0) m_lastUsage = 100.0 * (1.0 - static_cast<double>(idleDelta) / totalDelta);
        m_lastUsage = std::clamp(m_lastUsage, 0.0, 100.0);
        return m_lastUsage;
    }

    // First-order lag towards the usage, so temperatures rise and fall
    // like a heat sink's instead of jumping with each sample.
    double Smooth(double usage, double seconds) {
        if (m_lastSeconds < 0) m_smoothed = usage / 100.0;
        else {
            const double alpha = 1.0 - std::exp(-(seconds - m_lastSeconds) / kLoadTimeConstantSeconds);
            m_smoothed += alpha * (usage / 100.0 - m_smoothed);
        }
        m_lastSeconds = seconds;
        return m_smoothed;
    }

private:
    static uint64_t Ticks(const FILETIME& time) {
        return (static_cast<uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
    }
    uint64_t m_idle = 0;
    uint64_t m_total = 0;
    double m_lastUsage = 0;
    double m_smoothed = 0;
    double m_lastSeconds = -1;
};

class SensorLibrary {
public:
    int Initialise(int argument) {
        if (argument != kInitialiseArgument) return kWrongArgumentResult;
        ReloadWhenChanged();
        Refresh();
        return m_scenario.initResult;
    }

    void Select(int index) { m_selected = index; }

    // The first call of every pass, so a changed scenario counts from there.
    int Count() {
        ReloadWhenChanged();
        return Size();
    }

    void Refresh() {
        ReloadWhenChanged();
        sensors::LiveInputs inputs;
        inputs.seconds = static_cast<double>(GetTickCount64() - m_startTick) / 1000.0;
        inputs.cpuUsage = m_sampler.SampleCpuUsage();
        inputs.smoothedLoad = m_sampler.Smooth(inputs.cpuUsage, inputs.seconds);
        MEMORYSTATUSEX memory = {};
        memory.dwLength = sizeof(memory);
        if (GlobalMemoryStatusEx(&memory)) inputs.memoryLoad = memory.dwMemoryLoad;
        sensors::UpdateValues(m_scenario, inputs);
    }

    void Name(int index, char* buffer, int size) const {
        if (!buffer || size <= 0) return;
        buffer[0] = 0;
        if (index < 0 || index >= Size() || index != m_selected) return;
        const std::string& name = m_scenario.sensors[static_cast<size_t>(index)].name;
        const size_t length = std::min(name.size(), static_cast<size_t>(size - 1));
        std::memcpy(buffer, name.data(), length);
        buffer[length] = 0;
    }

    int Query(int kind, int sensorIndex, int readingIndex, ReadingRecord* record) const {
        if (!record || kind < 0 || kind >= sensors::kKindSlots || sensorIndex < 0 || sensorIndex >= Size() ||
            readingIndex < 0 || sensorIndex != m_selected)
            return 0;
        const auto& readings = m_scenario.sensors[static_cast<size_t>(sensorIndex)].byKind[kind];
        if (static_cast<size_t>(readingIndex) >= readings.size()) return 0;
        Fill(readings[static_cast<size_t>(readingIndex)], *record);
        return 1;
    }

private:
    int Size() const { return static_cast<int>(m_scenario.sensors.size()); }

    static void Fill(const sensors::Reading& reading, ReadingRecord& record) {
        record.present = reading.source == sensors::Reading::Source::Absent ? 0 : 1;
        record.value = reading.current;
        record.category = reading.category;
        const size_t length = std::min(reading.label.size(), kLabelCapacity - 1);
        std::memcpy(record.label, reading.label.data(), length);
        record.label[length] = 0;
    }

    static std::string ReadFile(const std::wstring& path) {
        HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                  nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE) return {};
        std::string text;
        char chunk[4096];
        DWORD read = 0;
        while (::ReadFile(file, chunk, sizeof(chunk), &read, nullptr) && read > 0) text.append(chunk, read);
        CloseHandle(file);
        return text;
    }

    // The scenario file's identity: path, size and time of the last write.
    struct FileStamp {
        std::wstring path;
        bool exists = false;
        uint64_t written = 0;
        uint64_t size = 0;
        bool operator==(const FileStamp& other) const {
            return path == other.path && exists == other.exists && written == other.written && size == other.size;
        }
    };

    static FileStamp StampOf(const std::wstring& path) {
        FileStamp stamp;
        stamp.path = path;
        WIN32_FILE_ATTRIBUTE_DATA data;
        if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) return stamp;
        stamp.exists = true;
        stamp.written = (static_cast<uint64_t>(data.ftLastWriteTime.dwHighDateTime) << 32) |
                        data.ftLastWriteTime.dwLowDateTime;
        stamp.size = (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
        return stamp;
    }

    void ReloadWhenChanged() {
        const FileStamp stamp = StampOf(sim::FilePath(kScenarioFile));
        if (m_loaded && stamp == m_stamp) return;
        m_scenario = sensors::ParseScenario(stamp.exists ? ReadFile(stamp.path) : sensors::BuiltInScenarioText());
        m_stamp = stamp;
        m_loaded = true;
    }

    sensors::Scenario m_scenario;
    int m_selected = kNoSensorSelected;
    FileStamp m_stamp;
    bool m_loaded = false;
    LoadSampler m_sampler;
    ULONGLONG m_startTick = GetTickCount64();
};

SensorLibrary& Library() {
    static SensorLibrary library;
    return library;
}

}  // namespace

extern "C" {

int WINAPI SensorsInitialise(int argument) { return Library().Initialise(argument); }
int WINAPI SensorsCount() { return Library().Count(); }
void WINAPI SensorsRefresh() { Library().Refresh(); }
void WINAPI SensorsSelect(int index) { Library().Select(index); }
void WINAPI SensorsName(int index, char* buffer, int size) { Library().Name(index, buffer, size); }
int WINAPI SensorsQueryReading(int kind, int sensorIndex, int readingIndex, void* record) {
    return Library().Query(kind, sensorIndex, readingIndex, static_cast<ReadingRecord*>(record));
}
int WINAPI SensorsReserved398() { return 0; }
int WINAPI SensorsReserved613() { return 0; }

}  // extern "C"
