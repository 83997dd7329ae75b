#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>
#include <mutex>
#include <thread>
#include <set>
#include <vector>

#include "CThreadBasic.h"
#include "CommandQueue.h"
#include "WorkerCommands.h"

namespace {

constexpr int kRefresh = 0;  // what the recorder writes for a telemetry refresh

// Records which work each iteration ran, in order.
class RecordingWork : public WorkerCommands {
public:
    std::vector<int> ran;
    void RunAutorunAndInventory() override { ran.push_back(command::kAutorunAndInventory); }
    void RunDeviceInitialisation() override { ran.push_back(command::kDeviceInitialisation); }
    void RunWritePerformanceMode() override { ran.push_back(command::kWritePerformanceMode); }
    void RunApplyLighting() override { ran.push_back(command::kApplyLighting); }
    void RunSoftwareCheck() override { ran.push_back(command::kSoftwareCheck); }
    void RunFirmwareCheck() override { ran.push_back(command::kFirmwareCheck); }
    void RunFirmwareUpdate() override { ran.push_back(command::kFirmwareUpdate); }
    void RunTelemetryRefresh() override { ran.push_back(kRefresh); }
};

std::vector<int> RunIterations(CommandQueue& queue, RecordingWork& work, int iterations) {
    for (int i = 0; i < iterations; ++i) RunWorkerIteration(queue, work);
    return work.ran;
}

}  // namespace

TEST(WorkerIteration, QueuedCommandsRunOnePerIterationBeforeAnyRefresh) {
    struct Case { std::vector<int> queued; int iterations; std::vector<int> ran; };
    const Case cases[] = {
        {{3, 4, 4}, 4, {3, 4, 4, kRefresh}},
        {{1, 2}, 3, {1, 2, kRefresh}},
        {{99, 3}, 3, {3, kRefresh}},          // an unknown code is consumed without effect
        {{20, 23, 25}, 3, {20, 23, 25}},
        {{}, 2, {kRefresh, kRefresh}},
        {{2, 2}, 2, {2, 2}},                  // no de-duplication
    };
    for (const Case& c : cases) {
        CommandQueue queue;
        RecordingWork work;
        for (int code : c.queued) queue.Push(code);
        EXPECT_EQ(RunIterations(queue, work, c.iterations), c.ran);
    }
}

TEST(WorkerIteration, UnknownCodeTakesAnIterationOfItsOwn) {
    CommandQueue queue;
    RecordingWork work;
    queue.Push(99);
    RunWorkerIteration(queue, work);
    EXPECT_TRUE(work.ran.empty());
    EXPECT_TRUE(queue.Empty());
}

TEST(CommandQueue, ConcurrentAppendsAndTakesLoseNothing) {
    CommandQueue queue;
    constexpr int kPerThread = 20000;
    std::atomic<long long> takenSum{0};
    std::atomic<int> taken{0};
    std::thread a([&] { for (int i = 0; i < kPerThread; ++i) queue.Push(1); });
    std::thread b([&] { for (int i = 0; i < kPerThread; ++i) queue.Push(2); });
    std::thread consumer([&] {
        while (taken < 2 * kPerThread) {
            if (auto code = queue.TryTake()) { takenSum += *code; ++taken; }
        }
    });
    a.join();
    b.join();
    consumer.join();
    EXPECT_EQ(takenSum.load(), 3LL * kPerThread);
    EXPECT_TRUE(queue.Empty());
}

namespace {

// Counts iterations and keeps their start times.
class CountingThread : public CThreadBasic {
public:
    explicit CountingThread(DWORD workMs = 0) : m_workMs(workMs) {}
    void WorkerBody() override {
        std::lock_guard<std::mutex> guard(m_lock);
        m_starts.push_back(GetTickCount());
        m_threads.insert(GetCurrentThreadId());
        if (m_workMs) Sleep(m_workMs);
    }
    std::vector<DWORD> Starts() {
        std::lock_guard<std::mutex> guard(m_lock);
        return m_starts;
    }
    // The threads that ran the body.
    std::set<DWORD> Threads() {
        std::lock_guard<std::mutex> guard(m_lock);
        return m_threads;
    }

private:
    DWORD m_workMs;
    std::mutex m_lock;
    std::vector<DWORD> m_starts;
    std::set<DWORD> m_threads;
};

}  // namespace

TEST(CThreadBasic, IdleLoopRunsAboutEvery60Ms) {
    CountingThread thread;
    ASSERT_TRUE(thread.StartThread());
    EXPECT_TRUE(thread.StartThread());  // already running: answers true, starts nothing
    Sleep(1200);
    ASSERT_TRUE(thread.StopThread(2000));
    EXPECT_EQ(thread.Threads().size(), 1u) << "a second start made a second thread";
    const std::vector<DWORD> starts = thread.Starts();
    // 1200 ms at one start per 60 ms: 20, with slack for a loaded machine;
    // a second thread would double the count.
    EXPECT_GE(starts.size(), 14u);
    EXPECT_LE(starts.size(), 22u);
    for (size_t i = 1; i < starts.size(); ++i) EXPECT_GE(starts[i] - starts[i - 1], 40u) << "iteration " << i;
    EXPECT_FALSE(thread.IsRunning());
}

TEST(CThreadBasic, LongIterationIsFollowedAtOnce) {
    CountingThread thread(100);
    ASSERT_TRUE(thread.StartThread());
    Sleep(650);
    ASSERT_TRUE(thread.StopThread(2000));
    const std::vector<DWORD> starts = thread.Starts();
    ASSERT_GE(starts.size(), 3u);
    for (size_t i = 1; i < starts.size(); ++i) {
        EXPECT_GE(starts[i] - starts[i - 1], 80u);  // tick granularity
        EXPECT_LE(starts[i] - starts[i - 1], 160u);  // no extra 60 ms pause
    }
}

TEST(CThreadBasic, StopSignalsAfterTheIterationInProgress) {
    CountingThread thread(200);
    ASSERT_TRUE(thread.StartThread());
    Sleep(50);
    const DWORD before = GetTickCount();
    ASSERT_TRUE(thread.StopThread(2000));
    EXPECT_GE(GetTickCount() - before, 100u);  // waited for the running body
    const size_t count = thread.Starts().size();
    Sleep(150);
    EXPECT_EQ(thread.Starts().size(), count);
}
