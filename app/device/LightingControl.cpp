#include "LightingControl.h"

#include <windows.h>

#include <string>

#include "DeviceConstants.h"
#include "HidDeviceManager.h"
#include "LightingReport.h"
#include "SettingsStore.h"

LightingValues LightingControl::Values() const {
    std::lock_guard<std::mutex> guard(m_valuesLock);
    return m_values;
}

void LightingControl::SetValues(const LightingValues& values) {
    std::lock_guard<std::mutex> guard(m_valuesLock);
    m_values = values;
}

void LightingControl::RestoreFromSettings() {
    LightingValues values;
    values.lightMode = settings::ReadIntegerOr(settings::kLightMode, kDefaults.lightMode);
    values.onOff = settings::ReadIntegerOr(settings::kLightOnOff, kDefaults.onOff);
    values.brightness = settings::ReadIntegerOr(settings::kLightBrightness, kDefaults.brightness);
    values.speed = settings::ReadIntegerOr(settings::kLightSpeed, kDefaults.speed);
    values.colour = static_cast<uint32_t>(
        settings::ReadIntegerOr(settings::kLightColor, static_cast<int>(kDefaults.colour)));
    SetValues(values);
    ShowValues(values);
}

void LightingControl::ShowValues(const LightingValues& values) {
    m_page->SelectLightMode(values.lightMode);
    m_page->SetLightSwitch(values.onOff != 0);
    m_page->SetBrightnessSlider(values.brightness);
    m_page->SetSpeedSlider(values.speed);
    m_page->SetColourPreview(values.colour);
    m_page->SetColourSliders(RgbColour::FromPacked(values.colour));
    m_page->ApplyModePresentation(values.lightMode);
}

void LightingControl::Apply() { SendReports(Values(), m_page->ColourSliders(), m_page->LightSwitchOn()); }

void LightingControl::SendReports(const LightingValues& values, RgbColour colour, bool on) {
    m_devices.Write(LightingReport::ModeAndColour(values.lightMode, colour.red, colour.green, colour.blue));
    // The controller takes the two reports of one change 10 ms apart.
    Sleep(device::kReportGapMs);
    m_devices.Write(LightingReport::State(on, values.speed, values.brightness));
}

void LightingControl::ResetToDefaults() {
    const LightingValues values = kDefaults;
    SetValues(values);
    m_page->SelectLightMode(values.lightMode);
    settings::WriteInteger(settings::kLightMode, values.lightMode);
    m_page->SetBrightnessSlider(values.brightness);
    settings::WriteInteger(settings::kLightBrightness, values.brightness);
    m_page->SetSpeedSlider(values.speed);
    settings::WriteInteger(settings::kLightSpeed, values.speed);
    m_page->SetColourPreview(values.colour);
    settings::WriteText(settings::kLightColor, std::to_wstring(values.colour));
    m_page->SetColourSliders(RgbColour::FromPacked(values.colour));
    m_page->ApplyModePresentation(values.lightMode);
    m_page->SetLightSwitch(true);
    settings::WriteInteger(settings::kLightOnOff, values.onOff);
    SendReports(values, RgbColour::FromPacked(values.colour), true);
}
