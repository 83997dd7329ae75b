#include "LightingReport.h"

LightingReport::LightingReport(uint8_t command, uint8_t first, uint8_t second, uint8_t third) {
    m_bytes[0] = device::kReportId;
    m_bytes[1] = device::kReportMarker1;
    m_bytes[2] = device::kReportMarker2;
    m_bytes[3] = command;
    m_bytes[4] = first;
    m_bytes[5] = second;
    m_bytes[6] = third;
}

LightingReport LightingReport::ModeAndColour(int lightMode, uint8_t red, uint8_t green, uint8_t blue) {
    return LightingReport(DeviceModeCode(lightMode), red, green, blue);
}

LightingReport LightingReport::State(bool on, int speed, int brightness) {
    return LightingReport(device::kStateCommand, on ? 1 : 0, static_cast<uint8_t>(speed),
                          static_cast<uint8_t>(brightness));
}

uint8_t LightingReport::DeviceModeCode(int lightMode) {
    // Indexed by light mode; the firmware's codes follow no pattern.
    static constexpr uint8_t kCodes[] = {0x00, 0x07, 0x02, 0x03, 0x14, 0x01, 0x04, 0x08};
    constexpr int kModeCount = static_cast<int>(sizeof(kCodes));
    return lightMode > 0 && lightMode < kModeCount ? kCodes[lightMode] : 0x00;
}
