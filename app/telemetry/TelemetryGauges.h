// TelemetryGauges: the six gauges of the system page as the telemetry
// refresh sees them. The main window implements it over its controls; each
// call becomes the gauge's SetHardwareInfo (caption, value text) followed by
// its SetHardwareInfoValue (value).
#pragma once

#include <string>

// The gauges in the order the refresh feeds them.
enum class TelemetryGauge { CpuFan, Cpu, GpuFan, Gpu, Memory, Disk };

class TelemetryGauges {
public:
    virtual ~TelemetryGauges() = default;
    // Called on the worker thread; the setters request their own redraw.
    virtual void SetGauge(TelemetryGauge gauge, const std::wstring& caption, const std::wstring& valueText,
                          float value) = 0;
};
