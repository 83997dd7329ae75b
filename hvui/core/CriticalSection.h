// CriticalSection: a re-entrant lock owned by the object that holds it. It
// meets the BasicLockable requirements, so std::lock_guard takes it.
#pragma once

#include <windows.h>

#include <mutex>

class CriticalSection {
public:
    CriticalSection() { InitializeCriticalSection(&m_section); }
    ~CriticalSection() { DeleteCriticalSection(&m_section); }
    CriticalSection(const CriticalSection&) = delete;
    CriticalSection& operator=(const CriticalSection&) = delete;

    void lock() { EnterCriticalSection(&m_section); }
    void unlock() { LeaveCriticalSection(&m_section); }
    bool try_lock() { return TryEnterCriticalSection(&m_section) != FALSE; }

private:
    CRITICAL_SECTION m_section;
};

// A copy of `list` taken under `lock`. Walks that call out of the framework
// (a control's paint, input handlers, notifications to the application) go
// over the copy, so that a call that faults or blocks in a modal loop never
// leaves the list's lock held for the other threads.
template <class List>
List CopyUnderLock(const List& list, CriticalSection& lock) {
    std::lock_guard<CriticalSection> guard(lock);
    return list;
}
