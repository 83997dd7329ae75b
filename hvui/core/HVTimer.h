// HVTimer: periodic multimedia timers owned by one object.
//
// Each object keeps its own entries {id, name, application flag}; the
// system calls back on its timer thread, and the object hears OnMTimer there.
// The first timer of the process raises the system timer resolution, and it
// is lowered again when the last timer object goes. A process-wide registry
// of live objects lets a callback that races with a destructor see that its
// object is gone.
//
// Killing a timer waits for a tick of this object that is being delivered,
// so a caller must not hold a lock that OnMTimer takes.
#pragma once

#include <windows.h>

#include <vector>

#include "CString.h"
#include "CriticalSection.h"
#include "HvuiExport.h"

class HVUI_API HVTimer {
public:
    // Requested resolution in milliseconds, clamped to what the system offers.
    static unsigned m_uAccuracy;
    // 1 while the system timer resolution is raised by us.
    static int m_bIsTmierOK;

    HVTimer();
    virtual ~HVTimer();
    HVTimer(const HVTimer&) = delete;
    HVTimer& operator=(const HVTimer&) = delete;

    // ---- virtual operations, in slot order -------------------------------------
    // Application timers also hear their name; nothing by default.
    virtual void OnMTimer(unsigned id, CString name);
    virtual void OnMTimer(unsigned id) = 0;

    // Starts a periodic timer; the entry is kept even when the system refuses
    // (id 0), and the id is answered.
    unsigned SetTimer(unsigned periodMs, CString name, int application);
    // Stop the first matching timer; answer how many entries are left.
    int KillTimer(unsigned id);
    int KillTimer(CString name);
    void KillTimer();
    CString GetTimerName(unsigned id);
    int IsAppTimer(unsigned id);
    int GetTimerIsRun(unsigned id);
    int GetTimerIsRun(CString name);
    int GetTimerCount();

    // The live object that owns id, or null.
    static HVTimer* GetFSTimer(unsigned id);
    static void CALLBACK TimerCallProc(UINT id, UINT message, DWORD_PTR user, DWORD_PTR, DWORD_PTR) noexcept;

private:
    struct Entry {
        unsigned id;
        CString name;
        int application;
    };
    static void RaiseResolution();
    static void LowerResolution();
    void Deliver(unsigned id);

    std::vector<Entry> m_timers;
    // Held while a tick is delivered and while the entries change, so that a
    // timer that is killed has no tick in flight afterwards.
    CriticalSection m_lock;
};
