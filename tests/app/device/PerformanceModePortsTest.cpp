// The firmware dialogue as it reaches the ports, read from the stand-in
// port library's journal.
#include <gtest/gtest.h>

#include <thread>

#include "PerformanceModePorts.h"
#include "ScopedSimFolder.h"

namespace {

using Lines = std::vector<std::string>;

Lines WriteSequence(const char* modeByte);

const Lines kReadSequence = {"W 0070 6B", "W 0071 BB", "W 00B2 ED", "W 0070 6C"};

Lines WriteSequence(const char* modeByte) {
    return {"W 0070 6B", "W 0071 BC", "W 0070 6C", std::string("W 0071 ") + modeByte, "W 00B2 ED"};
}

// Runs first in this program: nothing may reach the ports before the port
// library has been initialised. A sequence asked for early waits for the
// initialise call and then runs whole.
TEST(PerformanceModePorts, NothingReachesThePortsBeforeInitialise) {
    if (PerformanceModePorts::IsInitialised()) GTEST_SKIP() << "initialised by an earlier test";
    ScopedSimFolder sim;
    std::thread early([] { PerformanceModePorts::WriteMode(2); });
    Sleep(300);
    EXPECT_TRUE(sim.Lines(L"ports.log").empty());
    PerformanceModePorts::Initialise();
    early.join();
    EXPECT_EQ(sim.Lines(L"ports.log"), WriteSequence("B2"));
}

class PerformanceModePortsTest : public ::testing::Test {
protected:
    void SetUp() override { PerformanceModePorts::Initialise(); }
    ScopedSimFolder m_sim;
};

TEST_F(PerformanceModePortsTest, WritesEachModeInTheFirmwaresOrder) {
    const struct {
        int mode;
        const char* modeByte;
    } cases[] = {{0, "B0"}, {1, "B1"}, {2, "B2"}};
    for (const auto& c : cases) {
        ScopedSimFolder sim;
        PerformanceModePorts::WriteMode(c.mode);
        EXPECT_EQ(sim.Lines(L"ports.log"), WriteSequence(c.modeByte)) << "mode " << c.mode;
    }
}

TEST_F(PerformanceModePortsTest, ModeOutsideTheRangeTouchesNoPort) {
    for (int mode : {-1, 3, 0xB1}) PerformanceModePorts::WriteMode(mode);
    EXPECT_TRUE(m_sim.Lines(L"ports.log").empty());
}

TEST_F(PerformanceModePortsTest, DefaultsWriteIsModeOneEvenWhenActive) {
    m_sim.Write(L"firmware.ini", "[firmware]\r\nmode=1\r\n");
    PerformanceModePorts::WriteDefaults();
    EXPECT_EQ(m_sim.Lines(L"ports.log"), WriteSequence("B1"));
}

TEST_F(PerformanceModePortsTest, ReadMapsBothEncodingsAndKeepsOddBytesOut) {
    const struct {
        const char* published;
        std::optional<int> mode;
        const char* journalled;
    } cases[] = {
        {"0xB0", 0, "B0"}, {"0xA0", 0, "A0"}, {"0xB1", 1, "B1"}, {"0xA1", 1, "A1"}, {"0xB2", 2, "B2"},
        {"0xA2", 2, "A2"}, {"0xB3", std::nullopt, "B3"}, {"0x00", std::nullopt, "00"},
        {"0xFF", std::nullopt, "FF"}, {"0xA3", std::nullopt, "A3"},
    };
    for (const auto& c : cases) {
        ScopedSimFolder sim;
        sim.Write(L"firmware.ini", std::string("[firmware]\r\npublish=") + c.published + "\r\n");
        EXPECT_EQ(PerformanceModePorts::ReadMode(), c.mode) << c.published;
        Lines expected = kReadSequence;
        expected.push_back(std::string("R 0071 ") + c.journalled);
        EXPECT_EQ(sim.Lines(L"ports.log"), expected) << c.published;
    }
}

TEST_F(PerformanceModePortsTest, WrittenModeIsWhatTheFirmwareReportsLater) {
    PerformanceModePorts::WriteMode(2);
    EXPECT_EQ(PerformanceModePorts::ReadMode(), 2);
    PerformanceModePorts::WriteMode(0);
    EXPECT_EQ(PerformanceModePorts::ReadMode(), 0);
}

// The UI thread's defaults write against the worker's mode writes: every
// five-line group of the journal must be one whole sequence.
TEST_F(PerformanceModePortsTest, ConcurrentSequencesNeverInterleave) {
    constexpr int kRounds = 300;
    std::thread worker([] {
        for (int i = 0; i < kRounds; ++i) PerformanceModePorts::WriteMode(i % 2 ? 2 : 0);
    });
    for (int i = 0; i < kRounds; ++i) PerformanceModePorts::WriteDefaults();
    worker.join();

    const Lines lines = m_sim.Lines(L"ports.log");
    ASSERT_EQ(lines.size(), 2u * kRounds * 5);
    int counts[3] = {};
    for (size_t start = 0; start < lines.size(); start += 5) {
        const Lines group(lines.begin() + static_cast<long>(start), lines.begin() + static_cast<long>(start) + 5);
        bool matched = false;
        for (int mode = 0; mode < 3 && !matched; ++mode) {
            const char modeByte[] = {'B', static_cast<char>('0' + mode), 0};
            if (group == WriteSequence(modeByte)) {
                ++counts[mode];
                matched = true;
            }
        }
        ASSERT_TRUE(matched) << "sequence broken at line " << start;
    }
    EXPECT_EQ(counts[1], kRounds);
    EXPECT_EQ(counts[0] + counts[2], kRounds);
}

}  // namespace
