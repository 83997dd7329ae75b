// Acquisition passes over scenario files served by the stand-in sensor
// library: classification, name selection, initialisation and the cost of
// one pass over the built-in scenario.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <string>

#include "ScopedSimFolder.h"
#include "SensorAcquisition.h"

namespace {

// Diagnostic lines captured in a temporary stream.
class CapturedOutput {
public:
    CapturedOutput() : m_file(std::tmpfile()) {}
    ~CapturedOutput() {
        if (m_file) std::fclose(m_file);
    }
    std::FILE* Stream() const { return m_file; }
    std::string Text() const {
        std::fflush(m_file);
        std::rewind(m_file);
        std::string text;
        char chunk[1024];
        size_t read;
        while ((read = std::fread(chunk, 1, sizeof(chunk), m_file)) > 0) text.append(chunk, read);
        return text;
    }

private:
    std::FILE* m_file;
};

class SensorAcquisitionTest : public ::testing::Test {
protected:
    // One pass over the scenario with a fresh record and library state.
    TelemetryRecord Pass(const std::string& scenario) {
        m_sim.Write(L"sensors.ini", scenario);
        TelemetryRecord record;
        SensorAcquisition(record, m_output.Stream()).Acquire();
        return record;
    }
    ScopedSimFolder m_sim;
    CapturedOutput m_output;
};

TEST_F(SensorAcquisitionTest, CpuTemperatureIsCoreZeroUntilTheSensorChipsCpu) {
    TelemetryRecord record = Pass(
        "[sensor0]\nname=CPU [#0]: Test CPU\n"
        "reading0=1;11;Core 0 Distance;10\nreading1=1;11;Core 0;51\nreading2=1;11;Core 1;55\n"
        "reading3=1;11;Core0;57\n");
    EXPECT_FLOAT_EQ(record.cpuTemperature, 51.0f);
    EXPECT_EQ(record.cpuTemperatureValid, 1);
    EXPECT_EQ(record.cpuName, L"Test CPU");

    record = Pass(
        "[sensor0]\nname=CPU [#0]: Test CPU\nreading0=1;11;Core 0;51\n"
        "[sensor1]\nname=Mainboard chip\nreading0=1;12;CPU;63.5\nreading1=1;12;CPU Socket;70\n"
        "reading2=3;12;CPU Fan;2100\nreading3=3;12;System Fan;900\n");
    EXPECT_FLOAT_EQ(record.cpuTemperature, 63.5f);
    EXPECT_FLOAT_EQ(record.cpuFan, 2100.0f);
}

TEST_F(SensorAcquisitionTest, DedicatedGpuTemperatureIsTheMaximumAndWinsOverIntegrated) {
    const TelemetryRecord record = Pass(
        "[sensor0]\nname=GPU [#0]: Integrated Graphics\nreading0=1;13;GPU Temperature;70\n"
        "reading1=7;13;GPU D3D Usage;80\n"
        "[sensor1]\nname=GPU [#1]:  NVIDIA GeForce RTX 4060: x\nreading0=1;13;GPU Temperature;61\n"
        "reading1=1;13;GPU Temperature;64.5\nreading2=3;13;GPU Fan1;1800\nreading3=7;13;GPU Utilization;12\n");
    EXPECT_FLOAT_EQ(record.gpuTemperature, 64.5f);
    EXPECT_FLOAT_EQ(record.gpuUsage, 12.0f);
    EXPECT_FLOAT_EQ(record.gpuFan, 1800.0f);
    EXPECT_EQ(record.gpuName, L"NVIDIA GeForce RTX 4060: x");
    const std::string out = m_output.Text();
    EXPECT_NE(out.find("Found Integrated GPU usage: 80.0%\n"), std::string::npos);
    EXPECT_NE(out.find("Found Dedicated GPU usage: 12.0%\n"), std::string::npos);
    EXPECT_NE(out.find("Sensor: GPU [#1]:  NVIDIA GeForce RTX 4060: x, Location: GPU Utilization, Value: 12.0%, Type: 13\n"),
              std::string::npos);
}

TEST_F(SensorAcquisitionTest, OnlyAnIntegratedGpuFillsTheGpuFields) {
    const TelemetryRecord record = Pass(
        "[sensor0]\nname=GPU [#0]: Integrated Graphics\nreading0=1;13;GPU Temperature;48\n"
        "reading1=7;13;GPU D3D Usage;7.5\n");
    EXPECT_EQ(record.gpuName, L"Integrated Graphics");
    EXPECT_FLOAT_EQ(record.gpuTemperature, 48.0f);
    EXPECT_FLOAT_EQ(record.gpuUsage, 7.5f);
    EXPECT_EQ(record.gpuFanValid, 0);
    EXPECT_EQ(record.cpuNameValid, 0);  // no CPU temperature, no CPU name
}

TEST_F(SensorAcquisitionTest, NameIsTheTextAfterTheFirstColon) {
    const struct {
        const char* name;
        const char* kept;
    } cases[] = {
        {"GPU [#0]:  NVIDIA GeForce RTX 4060: x", "NVIDIA GeForce RTX 4060: x"},
        {"GPU without colon", "GPU without colon"},
        {"GPU:", ""},
        {"GPU:\tTab kept", "\tTab kept"},
    };
    for (const auto& c : cases) EXPECT_EQ(SensorAcquisition::NameAfterColon(c.name), c.kept) << c.name;
}

TEST_F(SensorAcquisitionTest, UsageReadingsAndMemory) {
    const TelemetryRecord record = Pass(
        "[sensor0]\nname=CPU [#0]: Test CPU\nreading0=7;11;Core 0 Usage;90\nreading1=7;11;Total CPU Usage;33.3\n"
        "[sensor1]\nname=Memory\nreading0=7;17;Memory Load;42\n");
    EXPECT_FLOAT_EQ(record.cpuUsage, 33.3f);
    EXPECT_FLOAT_EQ(record.memoryUsage, 42.0f);
    EXPECT_NE(m_output.Text().find("Found CPU usage: 33.3%\n"), std::string::npos);

    // Without a memory reading the system's load stands.
    MEMORYSTATUSEX memory = {};
    memory.dwLength = sizeof(memory);
    ASSERT_TRUE(GlobalMemoryStatusEx(&memory));
    const TelemetryRecord system = Pass("[sensor0]\nname=CPU [#0]: Test CPU\nreading0=1;11;Core 0;40\n");
    EXPECT_NEAR(system.memoryUsage, static_cast<float>(memory.dwMemoryLoad), 5.0f);
    EXPECT_EQ(system.memoryUsageValid, 1);
}

// A filled record without a reading ends its index: the usage reading at
// the same index is never asked for, the one at the next index is.
TEST_F(SensorAcquisitionTest, AbsentReadingEndsItsIndexOnly) {
    // Index 0: the absent temperature ends it before its usage is asked for.
    // Index 1 is still read: its temperature counts.
    const TelemetryRecord record = Pass(
        "[sensor0]\nname=CPU [#0]: Test CPU\nreading0=1;11;Core 0;absent\nreading1=7;11;Total CPU Usage;20\n"
        "reading2=1;11;P-core 0;45\n");
    EXPECT_EQ(record.cpuUsageValid, 0) << "the usage of the ended index was read";
    EXPECT_EQ(record.cpuTemperatureValid, 1);
    EXPECT_FLOAT_EQ(record.cpuTemperature, 45.0f);
}

TEST_F(SensorAcquisitionTest, PassesKeepEarlierValuesAndCountZeroChangesNothing) {
    m_sim.Write(L"sensors.ini", "[sensor0]\nname=CPU [#0]: First CPU\nreading0=1;11;Core 0;50\n");
    TelemetryRecord record;
    SensorAcquisition acquisition(record, m_output.Stream());
    acquisition.Acquire();
    ASSERT_EQ(record.cpuName, L"First CPU");

    // No CPU temperature: the name is not looked up again.
    ScopedSimFolder second;
    second.Write(L"sensors.ini", "[sensor0]\nname=CPU [#0]: Second CPU\nreading0=7;11;Total;10\n");
    acquisition.Acquire();
    EXPECT_EQ(record.cpuName, L"First CPU");
    EXPECT_FLOAT_EQ(record.cpuTemperature, 50.0f);
    EXPECT_FLOAT_EQ(record.cpuUsage, 10.0f);

    ScopedSimFolder empty;
    empty.Write(L"sensors.ini", "[library]\ninit=0\n");
    record.memoryUsage = -1;  // a pass that ran would overwrite it
    acquisition.Acquire();
    EXPECT_FLOAT_EQ(record.memoryUsage, -1.0f);
}

TEST_F(SensorAcquisitionTest, InitialisationIsRepeatedUntilItSucceeds) {
    m_sim.Write(L"sensors.ini", "[library]\ninit=5\n[sensor0]\nname=CPU [#0]: Test CPU\nreading0=1;11;Core 0;50\n");
    TelemetryRecord record;
    SensorAcquisition acquisition(record, m_output.Stream());
    acquisition.Acquire();
    EXPECT_FALSE(acquisition.IsInitialised());
    EXPECT_FLOAT_EQ(record.cpuTemperature, 50.0f);  // the pass goes on regardless

    ScopedSimFolder fixed;
    fixed.Write(L"sensors.ini", "[library]\ninit=0\n[sensor0]\nname=CPU\n");
    acquisition.Acquire();
    EXPECT_TRUE(acquisition.IsInitialised());
    acquisition.Acquire();
    EXPECT_EQ(m_output.Text().substr(0, 23), "INIT FAILED 5\nINIT OK\n");
}

TEST_F(SensorAcquisitionTest, MissingLibraryLeavesTheRecordAlone) {
    TelemetryRecord record;
    SensorAcquisition acquisition(record, m_output.Stream(), "NoSuchSensorLibrary.dll");
    acquisition.Acquire();
    acquisition.Acquire();
    EXPECT_EQ(m_output.Text(), "CANNOT LOAD DLL\nCANNOT LOAD DLL\n");
    EXPECT_EQ(record.memoryUsageValid, 0);
}

double ThreadCpuSeconds() {
    FILETIME created, exited, kernel, user;
    GetThreadTimes(GetCurrentThread(), &created, &exited, &kernel, &user);
    auto ticks = [](const FILETIME& t) { return (static_cast<unsigned long long>(t.dwHighDateTime) << 32) | t.dwLowDateTime; };
    return static_cast<double>(ticks(kernel) + ticks(user)) / 1e7;
}

// The built-in machine: an APU with integrated graphics, a sensor chip with
// the CPU fan, memory; and the CPU time one pass costs.
TEST_F(SensorAcquisitionTest, BuiltInScenarioPassIsCheapAndComplete) {
    TelemetryRecord record;
    SensorAcquisition acquisition(record, nullptr);
    acquisition.Acquire();
    EXPECT_EQ(record.cpuName, L"Compact APU 8-Core");
    EXPECT_EQ(record.gpuName, L"Integrated Graphics");
    EXPECT_TRUE(record.cpuTemperatureValid && record.cpuFanValid && record.cpuUsageValid);
    EXPECT_TRUE(record.gpuTemperatureValid && record.gpuUsageValid && record.memoryUsageValid);
    EXPECT_GT(record.cpuTemperature, 30.0f);
    EXPECT_LT(record.cpuTemperature, 95.0f);

    constexpr int kPasses = 200;
    const double start = ThreadCpuSeconds();
    for (int i = 0; i < kPasses; ++i) acquisition.Acquire();
    const double perPassMs = (ThreadCpuSeconds() - start) * 1000.0 / kPasses;
    std::printf("one acquisition pass over the built-in scenario: %.3f ms CPU\n", perPassMs);
    EXPECT_LT(perPassMs, 1.0);
}

}  // namespace
