// PaintManager: window timers for controls, the multimedia animation timer
// and the status overlay with its three timers.
#include "PaintManager.h"

#include <algorithm>
#include <mutex>

#include "MControl.h"

namespace {

using Lock = std::lock_guard<CriticalSection>;

constexpr unsigned kOverlayHoldMs = 3000;
constexpr unsigned kOverlayFadeMs = 50;
constexpr unsigned kProgressStepMs = 10;
constexpr int kOverlayFadeStep = 10;
constexpr int kOverlayFadeEnd = 20;
constexpr int kProgressStep = 2;
constexpr int kProgressJumpBelow = 6;
constexpr int kProgressKeepsFadeFrom = 5;
constexpr int kOverlayBandTop = 60;
constexpr int kOverlayBandBottom = 2;

bool IsManagerTimer(unsigned id) {
    return id == PaintManager::kOverlayHoldTimer || id == PaintManager::kOverlayFadeTimer ||
           id == PaintManager::kProgressTimer;
}

}  // namespace

// ---- window timers of controls ---------------------------------------------------------------

unsigned PaintManager::NextControlTimerId() {
    // Ids run from 17 up and wrap to 0 after 239. An id still held by a record
    // or serving the overlay is skipped: two timers sharing one id would
    // steal each other's ticks.
    for (unsigned tries = 0; tries < kControlTimerIdLimit; ++tries) {
        const unsigned id = (m_timerIdCounter + 1) % kControlTimerIdLimit;
        m_timerIdCounter = id;
        const bool held = std::any_of(m_timerRecords.begin(), m_timerRecords.end(),
                                      [id](const std::unique_ptr<TimerRecord>& r) { return r->id == id; });
        if (!held && !IsManagerTimer(id)) return id;
    }
    return kControlTimerIdLimit;  // every id is taken
}

int PaintManager::SetTimer(MControl* control, unsigned key, unsigned elapse) {
    if (!control || !IsWindowLive()) return 0;
    Lock lock(m_timerLock);
    for (const auto& record : m_timerRecords) {
        if (record->control != control || record->window != m_paintWnd || record->key != key) continue;
        if (!record->killed) return 0;
        if (!::SetTimer(m_paintWnd, record->id, elapse, nullptr)) return 0;
        record->killed = 0;
        return 1;
    }
    const unsigned id = NextControlTimerId();
    if (id >= kControlTimerIdLimit) return 0;
    if (!::SetTimer(m_paintWnd, id, elapse, nullptr)) {
        OutputDebugStringW(L"HVUI: SetTimer for a control failed\n");
        return 0;
    }
    m_timerRecords.push_back(std::make_unique<TimerRecord>(TimerRecord{m_paintWnd, key, id, 0, control}));
    return 1;
}

int PaintManager::KillTimer(MControl* control, unsigned key) {
    Lock lock(m_timerLock);
    for (const auto& record : m_timerRecords) {
        if (record->control != control || record->window != m_paintWnd || record->key != key || record->killed)
            continue;
        if (::IsWindow(record->window)) ::KillTimer(record->window, record->id);
        record->killed = 1;
        return 1;
    }
    return 0;
}

void PaintManager::KillTimer(MControl* control) {
    Lock lock(m_timerLock);
    auto doomed = [control](const std::unique_ptr<TimerRecord>& record) {
        if (record->control != control) return false;
        if (!record->killed && ::IsWindow(record->window)) ::KillTimer(record->window, record->id);
        return true;
    };
    m_timerRecords.erase(std::remove_if(m_timerRecords.begin(), m_timerRecords.end(), doomed), m_timerRecords.end());
}

void PaintManager::ClearTimers() {
    Lock lock(m_timerLock);
    for (const auto& record : m_timerRecords) {
        if (!record->killed && ::IsWindow(record->window)) ::KillTimer(record->window, record->id);
    }
    m_timerRecords.clear();
}

unsigned PaintManager::GetTimerID(MControl* control, unsigned key) {
    Lock lock(m_timerLock);
    for (const auto& record : m_timerRecords) {
        if (record->control == control && record->key == key) return record->id;
    }
    return 0;
}

void PaintManager::OnTimerMessage(unsigned id) {
    if (id == kCaretTimer) {
        OnCaretTimer();
        return;
    }
    if (IsManagerTimer(id)) {
        OnOverlayTimer(id);
        return;
    }
    // The controls tick after the lock is let go: a tick may set or kill
    // timers of its own, or fault. A control deleted meanwhile waits in the
    // graveyard until this message is done.
    std::vector<MControl*> due;
    {
        Lock lock(m_timerLock);
        for (const auto& record : m_timerRecords) {
            if (record->id == id && record->window == m_paintWnd && !record->killed) due.push_back(record->control);
        }
    }
    for (MControl* control : due) control->OnTimer();
}

// ---- the animation timer -----------------------------------------------------------------------

void PaintManager::SetMTimer(unsigned periodMs) { m_mTimerId = HVTimer::SetTimer(periodMs, CString(), 0); }

void PaintManager::KillMTimer(unsigned id) {
    HVTimer::KillTimer(id);
    if (id == m_mTimerId) m_mTimerId = 0;
}

void PaintManager::KillMTimer() {
    HVTimer::KillTimer();
    m_mTimerId = 0;
}

void PaintManager::OnMTimer(unsigned id) {
    if (!id || id != m_mTimerId) return;
    Lock tick(m_tickLock);
    std::vector<MControl*> animated;
    {
        // Not held while the controls run: their redraw requests take list
        // locks that the UI thread may hold while it adds an animation.
        Lock lock(m_animationLock);
        animated = m_animated;
    }
    for (MControl* control : animated) control->OnTimer();
}

// ---- status overlay -----------------------------------------------------------------------------

void PaintManager::SetMessage(CString text, CRect box, MsgLevel level) {
    if (!IsWindowLive()) return;
    ::KillTimer(m_paintWnd, kOverlayHoldTimer);
    ::KillTimer(m_paintWnd, kOverlayFadeTimer);
    m_overlayAlpha = 255;
    m_overlayText = text;
    m_overlayLevel = level;
    m_overlayBox = box;
    m_progress = 0;
    InvalidateRect(m_overlayBox, 0);
    ::SetTimer(m_paintWnd, kOverlayHoldTimer, kOverlayHoldMs, nullptr);
}

void PaintManager::SetProgress(int percent, CString text, CRect box) {
    if (!IsWindowLive() || percent == m_progressTarget) return;
    if (percent < kProgressKeepsFadeFrom) ::KillTimer(m_paintWnd, kOverlayFadeTimer);
    m_overlayAlpha = 255;
    m_overlayText = text;
    m_progressTarget = percent;
    if (box.IsRectEmpty()) {
        CRect client;
        GetClientRect(client);
        box = CRect(client.left, client.bottom - kOverlayBandTop, client.right, client.bottom - kOverlayBandBottom);
    }
    m_overlayBox = box;
    if (m_progressTarget - m_progress < kProgressJumpBelow) {
        m_progress = m_progressTarget;
        InvalidateRect(m_overlayBox, 0);
        if (m_progress > 99) ::SetTimer(m_paintWnd, kOverlayFadeTimer, kOverlayFadeMs, nullptr);
        return;
    }
    ::SetTimer(m_paintWnd, kProgressTimer, kProgressStepMs, nullptr);
}

void PaintManager::OnOverlayTimer(unsigned id) {
    switch (id) {
    case kProgressTimer:
        m_progress += kProgressStep;
        // Never beyond the target: the bar would show more than was reached.
        if (m_progress >= m_progressTarget) {
            m_progress = m_progressTarget;
            ::KillTimer(m_paintWnd, kProgressTimer);
        }
        InvalidateRect(m_overlayBox, 0);
        if (m_progress >= 100) ::SetTimer(m_paintWnd, kOverlayFadeTimer, kOverlayFadeMs, nullptr);
        break;
    case kOverlayHoldTimer:
        ::KillTimer(m_paintWnd, kOverlayHoldTimer);
        ::SetTimer(m_paintWnd, kOverlayFadeTimer, kOverlayFadeMs, nullptr);
        break;
    case kOverlayFadeTimer:
        m_overlayAlpha -= kOverlayFadeStep;
        if (m_overlayAlpha < kOverlayFadeEnd) {
            m_overlayAlpha = 0;
            m_progress = 0;
            ::KillTimer(m_paintWnd, kOverlayFadeTimer);
            Invalidate();
        }
        InvalidateRect(m_overlayBox, 0);
        break;
    default: break;
    }
}
