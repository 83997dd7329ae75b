// Multimedia timers: ticks on the system's timer thread, the application
// timer's named tick, the entries a kill leaves, the process registry.
#include <gtest/gtest.h>

#include <atomic>
#include <mutex>
#include <set>

#include "DialogTestSupport.h"
#include "HVTimer.h"

using namespace hvui_test;

namespace {

class CountingTimer : public HVTimer {
public:
    void OnMTimer(unsigned id) override {
        ++ticks;
        lastId = id;
        std::lock_guard<std::mutex> lock(mutex);
        threads.insert(GetCurrentThreadId());
    }
    void OnMTimer(unsigned, CString name) override {
        std::lock_guard<std::mutex> lock(mutex);
        names.insert(name.Str());
    }
    std::atomic<int> ticks{0};
    std::atomic<unsigned> lastId{0};
    std::mutex mutex;
    std::set<DWORD> threads;
    std::set<std::wstring> names;
};

TEST(HVTimerTest, TimersTickOnTheTimerThreadAndApplicationTimersHearTheirName) {
    CountingTimer timer;
    const unsigned plain = timer.SetTimer(10, L"plain", 0);
    const unsigned named = timer.SetTimer(15, L"fan", 1);
    ASSERT_NE(plain, 0u);
    ASSERT_NE(named, 0u);
    EXPECT_EQ(HVTimer::m_bIsTmierOK, 1);
    EXPECT_EQ(HVTimer::GetFSTimer(named), &timer);
    EXPECT_EQ(timer.GetTimerName(named), CString(L"fan"));
    EXPECT_EQ(timer.IsAppTimer(named), 1);
    EXPECT_EQ(timer.IsAppTimer(plain), 0);
    Sleep(150);
    EXPECT_GE(timer.ticks.load(), 5);
    {
        std::lock_guard<std::mutex> lock(timer.mutex);
        EXPECT_EQ(timer.threads.count(GetCurrentThreadId()), 0u);
        EXPECT_EQ(timer.names, std::set<std::wstring>{L"fan"});
    }

    EXPECT_EQ(timer.KillTimer(CString(L"fan")), 1);  // one entry left
    EXPECT_EQ(timer.GetTimerIsRun(CString(L"fan")), 0);
    EXPECT_EQ(timer.KillTimer(12345u), 1);             // no such id: nothing changes
    EXPECT_EQ(timer.KillTimer(plain), 0);
    const int ticks = timer.ticks;
    Sleep(50);
    EXPECT_EQ(timer.ticks.load(), ticks);
    EXPECT_EQ(HVTimer::GetFSTimer(plain), nullptr);
}

TEST(HVTimerTest, TheResolutionIsGivenBackWhenTheLastTimerObjectGoes) {
    {
        CountingTimer timer;
        timer.SetTimer(20, L"", 0);
        EXPECT_EQ(HVTimer::m_bIsTmierOK, 1);
        CountingTimer second;
        second.SetTimer(20, L"", 0);
    }
    EXPECT_EQ(HVTimer::m_bIsTmierOK, 0);
}

TEST(HVTimerTest, ADestroyedTimerGetsNoMoreTicks) {
    // Many short-lived objects with fast timers: once an object's destructor
    // has begun, no tick may reach it (a late one would also crash or call a
    // pure virtual function).
    struct WatchedTimer : CountingTimer {
        std::atomic<bool>* dying = nullptr;
        std::atomic<int>* lateTicks = nullptr;
        void OnMTimer(unsigned id) override {
            if (dying->load()) ++*lateTicks;
            CountingTimer::OnMTimer(id);
        }
    };
    std::atomic<int> lateTicks{0};
    int ticked = 0;
    for (int i = 0; i < 50; ++i) {
        std::atomic<bool> dying{false};
        auto timer = std::make_unique<WatchedTimer>();
        timer->dying = &dying;
        timer->lateTicks = &lateTicks;
        timer->SetTimer(1, L"", 1);
        Sleep(3);
        if (timer->ticks > 0) ++ticked;
        // What the destructor does first; a tick after it is a late one.
        timer->KillTimer();
        dying = true;
        Sleep(2);
    }
    EXPECT_GT(ticked, 0) << "the timers never ticked: the test saw nothing";
    EXPECT_EQ(lateTicks.load(), 0);
}

}  // namespace
