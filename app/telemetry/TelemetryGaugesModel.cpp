#include "TelemetryGaugesModel.h"

void TelemetryGaugesModel::SetGauge(TelemetryGauge gauge, const std::wstring& caption, const std::wstring& valueText,
                                    float value) {
    GaugeReading reading{caption, valueText, value};
    std::lock_guard<std::mutex> hold(m_lock);
    m_readings.at(static_cast<size_t>(gauge)) = std::move(reading);
}

std::optional<GaugeReading> TelemetryGaugesModel::Reading(TelemetryGauge gauge) const {
    std::lock_guard<std::mutex> hold(m_lock);
    return m_readings.at(static_cast<size_t>(gauge));
}
