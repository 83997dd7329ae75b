#include "HVTimer.h"

#include <algorithm>
#include <mutex>

#include <mmsystem.h>

namespace {

using Lock = std::lock_guard<CriticalSection>;

// The registry of live timer objects. Leaked on purpose: callbacks may still
// look it up while static objects of the process are being destroyed.
struct Registry {
    CriticalSection lock;
    std::vector<HVTimer*> objects;
};

Registry& TheRegistry() {
    static Registry* registry = new Registry;
    return *registry;
}

bool IsRegistered(const Registry& registry, HVTimer* timer) {
    return std::find(registry.objects.begin(), registry.objects.end(), timer) != registry.objects.end();
}

}  // namespace

unsigned HVTimer::m_uAccuracy = 1;
int HVTimer::m_bIsTmierOK = 0;

HVTimer::HVTimer() {
    Registry& registry = TheRegistry();
    Lock lock(registry.lock);
    registry.objects.push_back(this);
}

HVTimer::~HVTimer() {
    KillTimer();
    Registry& registry = TheRegistry();
    Lock lock(registry.lock);
    registry.objects.erase(std::remove(registry.objects.begin(), registry.objects.end(), this),
                           registry.objects.end());
    // The resolution was raised for the process; the last object gives it back.
    if (registry.objects.empty()) LowerResolution();
}

void HVTimer::OnMTimer(unsigned, CString) {}

void HVTimer::RaiseResolution() {
    Registry& registry = TheRegistry();
    Lock lock(registry.lock);
    if (m_bIsTmierOK) return;
    TIMECAPS caps = {};
    if (timeGetDevCaps(&caps, sizeof(caps)) != TIMERR_NOERROR) {
        OutputDebugStringW(L"HVUI: timeGetDevCaps failed\n");
        return;
    }
    m_uAccuracy = std::min(std::max(m_uAccuracy, caps.wPeriodMin), caps.wPeriodMax);
    if (timeBeginPeriod(m_uAccuracy) == TIMERR_NOERROR) m_bIsTmierOK = 1;
}

void HVTimer::LowerResolution() {
    if (!m_bIsTmierOK) return;
    timeEndPeriod(m_uAccuracy);
    m_bIsTmierOK = 0;
}

unsigned HVTimer::SetTimer(unsigned periodMs, CString name, int application) {
    RaiseResolution();
    Lock lock(m_lock);
    const unsigned id = timeSetEvent(periodMs, m_uAccuracy, &HVTimer::TimerCallProc,
                                     reinterpret_cast<DWORD_PTR>(this), TIME_PERIODIC | TIME_CALLBACK_FUNCTION);
    if (!id) OutputDebugStringW(L"HVUI: timeSetEvent failed\n");
    m_timers.push_back({id, name, application ? 1 : 0});
    return id;
}

int HVTimer::KillTimer(unsigned id) {
    Lock lock(m_lock);
    auto it = std::find_if(m_timers.begin(), m_timers.end(), [id](const Entry& e) { return e.id == id; });
    if (it != m_timers.end()) {
        if (it->id) timeKillEvent(it->id);
        m_timers.erase(it);
    }
    return static_cast<int>(m_timers.size());
}

int HVTimer::KillTimer(CString name) {
    Lock lock(m_lock);
    auto it = std::find_if(m_timers.begin(), m_timers.end(), [&name](const Entry& e) { return e.name == name; });
    if (it != m_timers.end()) {
        if (it->id) timeKillEvent(it->id);
        m_timers.erase(it);
    }
    return static_cast<int>(m_timers.size());
}

void HVTimer::KillTimer() {
    Lock lock(m_lock);
    for (const Entry& entry : m_timers) {
        if (entry.id) timeKillEvent(entry.id);
    }
    m_timers.clear();
}

CString HVTimer::GetTimerName(unsigned id) {
    Lock lock(m_lock);
    for (const Entry& entry : m_timers) {
        if (entry.id == id) return entry.name;
    }
    return CString();
}

int HVTimer::IsAppTimer(unsigned id) {
    Lock lock(m_lock);
    for (const Entry& entry : m_timers) {
        if (entry.id == id) return entry.application;
    }
    return 0;
}

int HVTimer::GetTimerIsRun(unsigned id) {
    Lock lock(m_lock);
    return std::any_of(m_timers.begin(), m_timers.end(), [id](const Entry& e) { return e.id == id; }) ? 1 : 0;
}

int HVTimer::GetTimerIsRun(CString name) {
    Lock lock(m_lock);
    return std::any_of(m_timers.begin(), m_timers.end(), [&name](const Entry& e) { return e.name == name; }) ? 1
                                                                                                            : 0;
}

int HVTimer::GetTimerCount() {
    Lock lock(m_lock);
    return static_cast<int>(m_timers.size());
}

HVTimer* HVTimer::GetFSTimer(unsigned id) {
    Registry& registry = TheRegistry();
    Lock lock(registry.lock);
    for (HVTimer* timer : registry.objects) {
        if (id && timer->GetTimerIsRun(id)) return timer;
    }
    return nullptr;
}

void HVTimer::Deliver(unsigned id) {
    // Entries are only ever removed under this lock, so a tick that finds
    // its id here is not racing with a kill.
    if (!GetTimerIsRun(id)) return;
    OnMTimer(id);
    if (IsAppTimer(id)) OnMTimer(id, GetTimerName(id));
}

void CALLBACK HVTimer::TimerCallProc(UINT id, UINT, DWORD_PTR user, DWORD_PTR, DWORD_PTR) noexcept {
    auto* timer = reinterpret_cast<HVTimer*>(user);
    if (!timer) return;
    try {
        std::unique_lock<CriticalSection> delivering;
        {
            Registry& registry = TheRegistry();
            Lock lock(registry.lock);
            if (!IsRegistered(registry, timer)) return;
            delivering = std::unique_lock<CriticalSection>(timer->m_lock);
        }
        timer->Deliver(id);
    } catch (...) {
        OutputDebugStringW(L"HVUI: exception stopped at the multimedia timer callback\n");
    }
}
