// CThreadBasic: the worker thread base of the main window. The thread runs
// the virtual WorkerBody in a timed loop, each iteration starting at most
// every `interval` ms, until `running` drops to 0; then it signals the stop
// event and ends with the start tick as its exit code.
#pragma once

#include <windows.h>

#include <atomic>

class CThreadBasic {
public:
    static constexpr unsigned kWorkerIntervalMs = 60;

    CThreadBasic() = default;
    virtual ~CThreadBasic();
    CThreadBasic(const CThreadBasic&) = delete;
    CThreadBasic& operator=(const CThreadBasic&) = delete;

    // One iteration of work.
    virtual void WorkerBody() = 0;

    // Starts the looping thread with the 60 ms interval; does nothing while
    // it already runs. False when the thread could not be created.
    bool StartThread();

    // Asks the loop to end after the iteration in progress and waits for the
    // stop event; true when the thread has stopped within the timeout. On
    // false the thread still runs and still uses the object.
    [[nodiscard]] bool StopThread(DWORD timeoutMs);

    bool IsRunning() const { return m_running != 0; }

private:
    static unsigned __stdcall ThreadProc(void* self);
    void RunLoop();
    void RunBodyGuarded() noexcept;

    HANDLE m_stopEvent = nullptr;
    std::atomic<LONG> m_running{0};
    int m_loopMode = 0;
    unsigned m_interval = 1;
    unsigned m_startTick = 0;
};
