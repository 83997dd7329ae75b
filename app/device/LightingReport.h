// LightingReport: one 65-byte output report of the lighting controller.
//   byte 0      report ID 0x00
//   bytes 1, 2  0x07 0xFF
//   byte 3      command: a device mode code, or 0xFD for the state report
//   bytes 4..6  parameters (R G B, or on/off speed brightness)
//   bytes 7..64 zero
#pragma once

#include <array>
#include <cstdint>

#include "DeviceConstants.h"

class LightingReport {
public:
    using Bytes = std::array<uint8_t, device::kReportLength>;

    // Light mode 1..7 and the colour sliders' positions.
    static LightingReport ModeAndColour(int lightMode, uint8_t red, uint8_t green, uint8_t blue);
    // Switch state, speed 0..9 and brightness 0..4, each sent as one byte.
    static LightingReport State(bool on, int speed, int brightness);

    // 1->0x07 2->0x02 3->0x03 4->0x14 5->0x01 6->0x04 7->0x08, else 0x00.
    static uint8_t DeviceModeCode(int lightMode);

    const Bytes& Data() const { return m_bytes; }

private:
    LightingReport(uint8_t command, uint8_t first, uint8_t second, uint8_t third);
    Bytes m_bytes{};
};
