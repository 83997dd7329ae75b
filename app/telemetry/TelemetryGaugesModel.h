// TelemetryGaugesModel: the last reading handed to each gauge, kept until
// the system page's controls exist to take them. The worker writes, any
// thread may read.
#pragma once

#include <array>
#include <mutex>
#include <optional>

#include "GaugeReadings.h"
#include "TelemetryGauges.h"

class TelemetryGaugesModel : public TelemetryGauges {
public:
    void SetGauge(TelemetryGauge gauge, const std::wstring& caption, const std::wstring& valueText,
                  float value) override;

    // Empty until the refresh has fed the gauge once.
    std::optional<GaugeReading> Reading(TelemetryGauge gauge) const;

private:
    static constexpr size_t kGaugeCount = 6;

    mutable std::mutex m_lock;
    std::array<std::optional<GaugeReading>, kGaugeCount> m_readings;
};
