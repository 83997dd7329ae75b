// HardwareReading: what a hardware gauge shows (caption, value text, percent),
// kept together so that a paint always sees one consistent reading while the
// worker thread replaces it (internal to the two gauge classes).
#pragma once

#include <mutex>

#include "CString.h"
#include "CriticalSection.h"

struct HardwareReading {
    CString caption;
    CString valueText;
    float value = 0.0f;
};

// The reading behind a lock. Every setter answers whether anything changed,
// so that the gauge asks for a repaint only then.
class GuardedHardwareReading {
public:
    bool SetTexts(const CString& caption, const CString& valueText) {
        std::lock_guard<CriticalSection> lock(m_lock);
        if (m_reading.caption == caption && m_reading.valueText == valueText) return false;
        m_reading.caption = caption;
        m_reading.valueText = valueText;
        return true;
    }
    bool SetValue(float value) {
        std::lock_guard<CriticalSection> lock(m_lock);
        if (m_reading.value == value) return false;
        m_reading.value = value;
        return true;
    }
    HardwareReading Get() const {
        std::lock_guard<CriticalSection> lock(m_lock);
        return m_reading;
    }

private:
    mutable CriticalSection m_lock;
    HardwareReading m_reading;
};
