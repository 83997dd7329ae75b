// The main window's controls as the rest of the program sees them: the light
// page for the lighting side, the performance selector and its picture, the
// six gauges for the telemetry refresh, and the texts a language change
// renews. Each adapter reaches its controls through DeviceMainDef and does
// nothing for a control that has not been built, so the device side can run
// before the window exists (and in tests, without one).
#pragma once

#include <string>

#include "DeviceMainDef.h"
#include "LanguageTexts.h"
#include "LightPage.h"
#include "PerformanceModeView.h"
#include "TelemetryGauges.h"
#include "TelemetryGaugesModel.h"

class MControl;

// The control of the main window with identifier `id`, or null.
MControl* MainWindowControl(const DeviceMainDef& controls, int id);

class LightPageControls : public LightPage {
public:
    explicit LightPageControls(const DeviceMainDef& controls) : m_controls(controls) {}

    void SelectLightMode(int lightMode) override;
    void SetLightSwitch(bool on) override;
    bool LightSwitchOn() const override;
    void SetBrightnessSlider(int position) override;
    void SetSpeedSlider(int position) override;
    void SetColourPreview(uint32_t packedColour) override;
    void SetColourSliders(RgbColour colour) override;
    RgbColour ColourSliders() const override;
    // Mode 4 is the one mode with a chosen colour: its colour controls are
    // usable and the speed is hidden; every other mode is animated.
    void ApplyModePresentation(int lightMode) override;
    // The lighting switched off: no colour can be chosen; the speed keeps
    // whatever the mode gave it.
    void ApplySwitchOffPresentation();

private:
    void EnableColourControls(int enabled);

    const DeviceMainDef& m_controls;
};

class PerformanceModeControls : public PerformanceModeView {
public:
    explicit PerformanceModeControls(const DeviceMainDef& controls) : m_controls(controls) {}
    void ShowPerformanceMode(int mode) override;
    // The picture of mode 0..2; other values leave it as it is.
    void ShowModePicture(int mode);

private:
    const DeviceMainDef& m_controls;
};

// Feeds the gauges and remembers what each was given last.
class SystemPageGauges : public TelemetryGauges {
public:
    explicit SystemPageGauges(const DeviceMainDef& controls) : m_controls(controls) {}
    void SetGauge(TelemetryGauge gauge, const std::wstring& caption, const std::wstring& valueText,
                  float value) override;
    const TelemetryGaugesModel& LastReadings() const { return m_last; }

private:
    const DeviceMainDef& m_controls;
    TelemetryGaugesModel m_last;
};

class MainWindowTextControls : public language::MainWindowTexts {
public:
    explicit MainWindowTextControls(const DeviceMainDef& controls) : m_controls(controls) {}
    void SetTooltip(int controlId, const std::wstring& text) override;
    void SetItemText(int controlId, int item, const std::wstring& text) override;
    void SetTitle(int controlId, const std::wstring& text) override;
    void Redraw(int controlId) override;

private:
    const DeviceMainDef& m_controls;
};
