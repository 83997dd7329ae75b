#include "SensorLibrary.h"

namespace {

constexpr WORD kOrdinalInitialise = 850;
constexpr WORD kOrdinalSensorCount = 156;
constexpr WORD kOrdinalRefresh = 263;
constexpr WORD kOrdinalSelectSensor = 678;
constexpr WORD kOrdinalSensorName = 952;
constexpr WORD kOrdinalQueryReading = 641;
constexpr WORD kOrdinalUnused398 = 398;
constexpr WORD kOrdinalUnused613 = 613;

template <typename Fn>
bool BindOrdinal(HMODULE module, WORD ordinal, Fn& target) {
    FARPROC proc = GetProcAddress(module, MAKEINTRESOURCEA(ordinal));
    // Through void(*)() so the compiler accepts the change of signature.
    target = reinterpret_cast<Fn>(reinterpret_cast<void (*)()>(proc));
    return target != nullptr;
}

}  // namespace

bool SensorLibrary::Bind() {
    if (!m_module) m_module = LoadLibraryA(m_fileName);
    if (!m_module) return m_bound = false;
    bool complete = BindOrdinal(m_module, kOrdinalInitialise, m_initialise);
    complete &= BindOrdinal(m_module, kOrdinalSensorCount, m_sensorCount);
    complete &= BindOrdinal(m_module, kOrdinalRefresh, m_refresh);
    complete &= BindOrdinal(m_module, kOrdinalSelectSensor, m_selectSensor);
    complete &= BindOrdinal(m_module, kOrdinalSensorName, m_sensorName);
    complete &= BindOrdinal(m_module, kOrdinalQueryReading, m_queryReading);
    complete &= BindOrdinal(m_module, kOrdinalUnused398, m_unused398);
    complete &= BindOrdinal(m_module, kOrdinalUnused613, m_unused613);
    return m_bound = complete;
}
