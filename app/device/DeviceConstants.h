// Fixed values of the device-control subsystem: the firmware's port
// dialogue, the lighting controller's identity and wire format, and the
// device-interface names used by the presence check.
#pragma once

#include <cstdint>

namespace device {

// Firmware performance-mode dialogue over legacy I/O ports.
inline constexpr uint16_t kCmosIndexPort = 0x70;
inline constexpr uint16_t kCmosDataPort = 0x71;
inline constexpr uint16_t kSmiCommandPort = 0xB2;
inline constexpr uint8_t kSmiCommand = 0xED;
inline constexpr uint8_t kRequestIndex = 0x6B;   // CMOS index of the request byte
inline constexpr uint8_t kModeIndex = 0x6C;      // CMOS index of the mode byte
inline constexpr uint8_t kRequestPublishMode = 0xBB;
inline constexpr uint8_t kRequestApplyMode = 0xBC;
inline constexpr uint8_t kModeByteBase = 0xB0;   // written: 0xB0 + mode
inline constexpr uint8_t kLegacyModeByteBase = 0xA0;  // also accepted on reading
inline constexpr int kPerformanceModeCount = 3;
inline constexpr int kDefaultPerformanceMode = 1;

// The lighting controller.
inline constexpr unsigned short kLightingVendorId = 0x1A2C;
inline constexpr unsigned short kLightingProductId = 0xB008;
inline constexpr unsigned short kLightingOutputReportLength = 65;
inline constexpr wchar_t kLightingInterfacePattern[] = L"VID_1A2C&PID_B008&MI_00";

// Top-level collections that identify the lighting interface on arrival.
inline constexpr unsigned short kVendorUsagePage = 0xFF01;
inline constexpr unsigned short kAlternateVendorUsagePage = 0xFF06;
inline constexpr unsigned short kVendorUsage = 1;

// Lighting report layout.
inline constexpr size_t kReportLength = 65;
inline constexpr uint8_t kReportId = 0x00;
inline constexpr uint8_t kReportMarker1 = 0x07;
inline constexpr uint8_t kReportMarker2 = 0xFF;
inline constexpr uint8_t kStateCommand = 0xFD;
inline constexpr unsigned kReportGapMs = 10;  // between the two reports of one change

}  // namespace device
