#include "CThreadBasic.h"

#include <process.h>

namespace {

// System time in milliseconds: 100 ns units × 100 / 1,000,000.
unsigned long long NowMs() {
    FILETIME ft;
    GetSystemTimeAsFileTime(&ft);
    unsigned long long units = (static_cast<unsigned long long>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime;
    return units * 100 / 1000000;
}

}  // namespace

CThreadBasic::~CThreadBasic() {
    // The derived class stops the thread before its state goes. Should one
    // not have, the event the thread is still to set stays open: a leaked
    // handle is harmless, a closed one could be reused by the time it is set.
    if (m_stopEvent && WaitForSingleObject(m_stopEvent, 0) == WAIT_OBJECT_0) CloseHandle(m_stopEvent);
}

bool CThreadBasic::StartThread() {
    if (m_running != 0) return true;
    m_interval = kWorkerIntervalMs;
    m_loopMode = 1;
    m_startTick = GetTickCount();
    if (m_stopEvent) CloseHandle(m_stopEvent);
    m_stopEvent = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    m_running = 1;
    uintptr_t thread = _beginthreadex(nullptr, 0, &CThreadBasic::ThreadProc, this, 0, nullptr);
    if (thread == 0) {
        OutputDebugStringW(L"_beginthreadex failed: the worker does not run");
        m_running = 0;
        return false;
    }
    CloseHandle(reinterpret_cast<HANDLE>(thread));  // the handle is not kept
    return true;
}

bool CThreadBasic::StopThread(DWORD timeoutMs) {
    if (!m_stopEvent) return true;
    m_running = 0;
    return WaitForSingleObject(m_stopEvent, timeoutMs) == WAIT_OBJECT_0;
}

unsigned __stdcall CThreadBasic::ThreadProc(void* self) {
    auto* thread = static_cast<CThreadBasic*>(self);
    const unsigned exitCode = thread->m_startTick;
    thread->RunLoop();
    // Once the event is set the object may be destroyed: touch nothing after.
    SetEvent(thread->m_stopEvent);
    return exitCode;
}

// No exception may leave the thread: a failed iteration is logged and the
// loop goes on with the next one.
void CThreadBasic::RunBodyGuarded() noexcept {
    try {
        WorkerBody();
    } catch (...) {
        OutputDebugStringW(L"worker iteration failed with an exception");
    }
}

void CThreadBasic::RunLoop() {
    if (m_loopMode != 1) {
        RunBodyGuarded();
        return;
    }
    while (m_running != 0) {
        const unsigned long long started = NowMs();
        RunBodyGuarded();
        const unsigned long long elapsed = NowMs() - started;
        if (elapsed < m_interval) Sleep(static_cast<DWORD>(m_interval - elapsed));
    }
}
