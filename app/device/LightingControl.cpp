#include "LightingControl.h"

#include <windows.h>

#include <string>

#include "DeviceConstants.h"
#include "HidDeviceManager.h"
#include "LightingReport.h"
#include "SettingsStore.h"

void LightingControl::RestoreFromSettings() {
    m_values.lightMode = settings::ReadIntegerOr(settings::kLightMode, kDefaults.lightMode);
    m_values.onOff = settings::ReadIntegerOr(settings::kLightOnOff, kDefaults.onOff);
    m_values.brightness = settings::ReadIntegerOr(settings::kLightBrightness, kDefaults.brightness);
    m_values.speed = settings::ReadIntegerOr(settings::kLightSpeed, kDefaults.speed);
    m_values.colour = static_cast<uint32_t>(
        settings::ReadIntegerOr(settings::kLightColor, static_cast<int>(kDefaults.colour)));
    ShowValues();
}

void LightingControl::ShowValues() {
    m_page->SelectLightMode(m_values.lightMode);
    m_page->SetLightSwitch(m_values.onOff != 0);
    m_page->SetBrightnessSlider(m_values.brightness);
    m_page->SetSpeedSlider(m_values.speed);
    m_page->SetColourPreview(m_values.colour);
    m_page->SetColourSliders(RgbColour::FromPacked(m_values.colour));
    m_page->ApplyModePresentation(m_values.lightMode);
}

void LightingControl::Apply() { SendReports(m_page->ColourSliders(), m_page->LightSwitchOn()); }

void LightingControl::SendReports(RgbColour colour, bool on) {
    m_devices.Write(LightingReport::ModeAndColour(m_values.lightMode, colour.red, colour.green, colour.blue));
    // The controller takes the two reports of one change 10 ms apart.
    Sleep(device::kReportGapMs);
    m_devices.Write(LightingReport::State(on, m_values.speed, m_values.brightness));
}

void LightingControl::ResetToDefaults() {
    m_values = kDefaults;
    m_page->SelectLightMode(m_values.lightMode);
    settings::WriteInteger(settings::kLightMode, m_values.lightMode);
    m_page->SetBrightnessSlider(m_values.brightness);
    settings::WriteInteger(settings::kLightBrightness, m_values.brightness);
    m_page->SetSpeedSlider(m_values.speed);
    settings::WriteInteger(settings::kLightSpeed, m_values.speed);
    m_page->SetColourPreview(m_values.colour);
    settings::WriteText(settings::kLightColor, std::to_wstring(m_values.colour));
    m_page->SetColourSliders(RgbColour::FromPacked(m_values.colour));
    m_page->SetLightSwitch(true);
    settings::WriteInteger(settings::kLightOnOff, m_values.onOff);
    SendReports(RgbColour::FromPacked(m_values.colour), true);
}
