// Control identifiers of the main window: its frame, the system page, the
// light page and the settings page. The framework hands them back in every
// notification; the window keeps its own references to the controls.
#pragma once

namespace control_id {

// Frame, created on the dialog.
inline constexpr int kBackground = 30;
inline constexpr int kCloseButton = 33;
inline constexpr int kMinimiseButton = 34;
inline constexpr int kSettingsButton = 35;
inline constexpr int kNavigation = 36;
inline constexpr int kSystemPage = 37;
inline constexpr int kLightPage = 38;
inline constexpr int kSettingsPage = 39;
inline constexpr int kPageBackground = 40;
inline constexpr int kLanguageSelector = 86;

// System page.
inline constexpr int kPerformanceSelector = 41;
inline constexpr int kModeCaption = 42;
inline constexpr int kModeCpuLabel = 43;
inline constexpr int kModeGpuLabel = 44;
inline constexpr int kModeLowerLeftLabel = 45;
inline constexpr int kModeLowerRightLabel = 46;
inline constexpr int kModePicture = 47;
inline constexpr int kCpuFanGauge = 48;
inline constexpr int kGpuFanGauge = 49;
inline constexpr int kCpuGauge = 50;
inline constexpr int kGpuGauge = 51;
inline constexpr int kDiskGauge = 52;    // created after the memory gauge,
inline constexpr int kMemoryGauge = 53;  // yet numbered before it

// Light page.
inline constexpr int kLightHeadingBackground = 54;
inline constexpr int kMachinePicture = 55;
inline constexpr int kLightHeading = 56;
inline constexpr int kLightingSwitch = 57;
inline constexpr int kLightModeList = 60;
inline constexpr int kBrightnessBlockBackground = 61;
inline constexpr int kBrightnessBlockHeading = 62;
inline constexpr int kBrightnessLabel = 63;
inline constexpr int kBrightnessSlider = 64;
inline constexpr int kSpeedLabel = 65;
inline constexpr int kSpeedSlider = 66;
inline constexpr int kColourBlockBackground = 67;
inline constexpr int kColourBlockHeading = 68;
inline constexpr int kColourPreviewLabel = 69;
inline constexpr int kColourPreview = 70;
inline constexpr int kColourWheel = 71;
inline constexpr int kRedLabel = 72;
inline constexpr int kGreenLabel = 73;
inline constexpr int kBlueLabel = 74;
inline constexpr int kRedSlider = 75;
inline constexpr int kGreenSlider = 76;
inline constexpr int kBlueSlider = 77;
inline constexpr int kColourCover = 78;

// Settings page.
inline constexpr int kDefaultsResetButton = 88;
inline constexpr int kUpdateLabel = 90;
inline constexpr int kUpdateButton = 91;
inline constexpr int kAutostartLabel = 93;
inline constexpr int kAutostartSwitch = 94;
inline constexpr int kSettingsBackground = 95;

}  // namespace control_id
