// The snapshot section as the writer tool fills it and the program reads it.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "HardwareSnapshot.h"

namespace {

// Starts SnapshotWriter.exe and ends it when the test is done.
class WriterProcess {
public:
    explicit WriterProcess(std::wstring arguments) {
        std::wstring commandLine = L"SnapshotWriter.exe " + arguments;
        STARTUPINFOW startup = {};
        startup.cb = sizeof(startup);
        m_started = CreateProcessW(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                                   &m_process) != FALSE;
    }
    ~WriterProcess() {
        if (!m_started) return;
        TerminateProcess(m_process.hProcess, 0);
        WaitForSingleObject(m_process.hProcess, 5000);
        CloseHandle(m_process.hThread);
        CloseHandle(m_process.hProcess);
    }
    bool Started() const { return m_started; }

private:
    PROCESS_INFORMATION m_process = {};
    bool m_started = false;
};

// Waits until the writer has put a CPU name into the section.
bool WaitForName(const HardwareSnapshot& snapshot) {
    for (int i = 0; i < 200 && snapshot.CpuName().empty(); ++i) Sleep(25);
    return !snapshot.CpuName().empty();
}

TEST(HardwareSnapshot, ReadsTheNamesTheWriterPlaced) {
    WriterProcess writer(L"--cpu \"Test APU 8-Core\" --gpu \"\" --gpu2 \"Second Graphics\"");
    ASSERT_TRUE(writer.Started());
    HardwareSnapshot snapshot;
    snapshot.Open();
    ASSERT_TRUE(snapshot.IsAvailable());
    ASSERT_TRUE(WaitForName(snapshot));
    EXPECT_EQ(snapshot.CpuName(), "Test APU 8-Core");
    EXPECT_EQ(snapshot.GpuName(), "");
    EXPECT_EQ(snapshot.SecondGpuName(), "Second Graphics");
}

TEST(HardwareSnapshot, DefaultsComeFromTheSystem) {
    WriterProcess writer(L"");
    ASSERT_TRUE(writer.Started());
    HardwareSnapshot snapshot;
    snapshot.Open();
    ASSERT_TRUE(WaitForName(snapshot));
    wchar_t processor[256] = {};
    DWORD size = sizeof(processor);
    ASSERT_EQ(RegGetValueW(HKEY_LOCAL_MACHINE, L"HARDWARE\\DESCRIPTION\\System\\CentralProcessor\\0",
                           L"ProcessorNameString", RRF_RT_REG_SZ, nullptr, processor, &size),
              ERROR_SUCCESS);
    char expected[256] = {};
    WideCharToMultiByte(CP_ACP, 0, processor, -1, expected, sizeof(expected), nullptr, nullptr);
    std::string name(expected);
    name.erase(0, name.find_first_not_of(' '));
    EXPECT_EQ(snapshot.CpuName(), name);
    EXPECT_FALSE(snapshot.GpuName().empty());
    EXPECT_EQ(snapshot.SecondGpuName(), "");
}

// Without a writer the program creates the section itself and sees zeros.
TEST(HardwareSnapshot, WithoutWriterTheNamesAreEmpty) {
    HardwareSnapshot snapshot;
    snapshot.Open();
    ASSERT_TRUE(snapshot.IsAvailable());
    EXPECT_EQ(snapshot.CpuName(), "");
    EXPECT_EQ(snapshot.GpuName(), "");
    EXPECT_EQ(snapshot.SecondGpuName(), "");
}

}  // namespace
