#include "MainWindowControls.h"

#include "CArea.h"
#include "CHardwareInfo.h"
#include "CHardwareInfo2.h"
#include "CImageButton.h"
#include "CSwitchButton.h"
#include "CTabCtrl5.h"
#include "CTextButton.h"
#include "CirclePalette.h"
#include "LightCtrl.h"
#include "MComboBox.h"
#include "MPicture.h"
#include "MSlider.h"
#include "MTabLayout.h"
#include "MText.h"
#include "MainWindowIds.h"
#include "TabCtrlEx.h"

namespace {

constexpr int kColourByteMask = 0xFF;

void EnableControl(MControl* control, int enabled) {
    if (control) control->SetEnabled(enabled);
}

void ShowControl(MControl* control, int visible) {
    if (control) control->SetVisible(visible);
}

void SetSliderPosition(MSlider* slider, int position) {
    if (slider) slider->SetProgress(position);
}

uint8_t SliderByte(const MSlider* slider) {
    return slider ? static_cast<uint8_t>(slider->GetProgress() & kColourByteMask) : 0;
}

}  // namespace

MControl* MainWindowControl(const DeviceMainDef& c, int id) {
    using namespace control_id;
    switch (id) {
    case kBackground: return c.m_background;
    case kCloseButton: return c.m_closeButton;
    case kMinimiseButton: return c.m_minimiseButton;
    case kSettingsButton: return c.m_settingsButton;
    case kNavigation: return c.m_navigation;
    case kSystemPage: return c.m_systemPage;
    case kLightPage: return c.m_lightPage;
    case kSettingsPage: return c.m_settingsPage;
    case kPageBackground: return c.m_pageBackground;
    case kLanguageSelector: return c.m_languageSelector;
    case kPerformanceSelector: return c.m_performanceSelector;
    case kModeCaption: return c.m_modeCaption;
    case kModeCpuLabel: return c.m_modeCpuLabel;
    case kModeGpuLabel: return c.m_modeGpuLabel;
    case kModeLowerLeftLabel: return c.m_modeLowerLeftLabel;
    case kModeLowerRightLabel: return c.m_modeLowerRightLabel;
    case kModePicture: return c.m_modePicture;
    case kCpuFanGauge: return c.m_cpuFanGauge;
    case kGpuFanGauge: return c.m_gpuFanGauge;
    case kCpuGauge: return c.m_cpuGauge;
    case kGpuGauge: return c.m_gpuGauge;
    case kDiskGauge: return c.m_diskGauge;
    case kMemoryGauge: return c.m_memoryGauge;
    case kLightHeadingBackground: return c.m_lightHeadingBackground;
    case kMachinePicture: return c.m_machinePicture;
    case kLightHeading: return c.m_lightHeading;
    case kLightingSwitch: return c.m_lightingSwitch;
    case kLightModeList: return c.m_lightModeList;
    case kBrightnessBlockBackground: return c.m_brightnessBlockBackground;
    case kBrightnessBlockHeading: return c.m_brightnessBlockHeading;
    case kBrightnessLabel: return c.m_brightnessLabel;
    case kBrightnessSlider: return c.m_brightnessSlider;
    case kSpeedLabel: return c.m_speedLabel;
    case kSpeedSlider: return c.m_speedSlider;
    case kColourBlockBackground: return c.m_colourBlockBackground;
    case kColourBlockHeading: return c.m_colourBlockHeading;
    case kColourPreviewLabel: return c.m_colourPreviewLabel;
    case kColourPreview: return c.m_colourPreview;
    case kColourWheel: return c.m_colourWheel;
    case kRedLabel: return c.m_redLabel;
    case kGreenLabel: return c.m_greenLabel;
    case kBlueLabel: return c.m_blueLabel;
    case kRedSlider: return c.m_redSlider;
    case kGreenSlider: return c.m_greenSlider;
    case kBlueSlider: return c.m_blueSlider;
    case kColourCover: return c.m_colourCover;
    case kSettingsBackground: return c.m_settingsBackground;
    case kDefaultsResetButton: return c.m_defaultsResetButton;
    case kUpdateLabel: return c.m_updateLabel;
    case kUpdateButton: return c.m_updateButton;
    case kAutostartLabel: return c.m_autostartLabel;
    case kAutostartSwitch: return c.m_autostartSwitch;
    default: return nullptr;
    }
}

// ---- light page ------------------------------------------------------------------------------

void LightPageControls::SelectLightMode(int lightMode) {
    if (m_controls.m_lightModeList) m_controls.m_lightModeList->SetCurLightMode(lightMode);
}

void LightPageControls::SetLightSwitch(bool on) {
    if (m_controls.m_lightingSwitch) m_controls.m_lightingSwitch->SetCheck(on ? 1 : 0);
}

bool LightPageControls::LightSwitchOn() const {
    return m_controls.m_lightingSwitch && m_controls.m_lightingSwitch->GetCheck() != 0;
}

void LightPageControls::SetBrightnessSlider(int position) {
    SetSliderPosition(m_controls.m_brightnessSlider, position);
}

void LightPageControls::SetSpeedSlider(int position) { SetSliderPosition(m_controls.m_speedSlider, position); }

void LightPageControls::SetColourPreview(uint32_t packedColour) {
    if (m_controls.m_colourPreview) m_controls.m_colourPreview->SetTransparent(0, 0, packedColour);
}

void LightPageControls::SetColourSliders(RgbColour colour) {
    SetSliderPosition(m_controls.m_redSlider, colour.red);
    SetSliderPosition(m_controls.m_greenSlider, colour.green);
    SetSliderPosition(m_controls.m_blueSlider, colour.blue);
}

RgbColour LightPageControls::ColourSliders() const {
    return {SliderByte(m_controls.m_redSlider), SliderByte(m_controls.m_greenSlider),
            SliderByte(m_controls.m_blueSlider)};
}

void LightPageControls::EnableColourControls(int enabled) {
    EnableControl(m_controls.m_colourPreview, enabled);
    EnableControl(m_controls.m_colourWheel, enabled);
    EnableControl(m_controls.m_redSlider, enabled);
    EnableControl(m_controls.m_greenSlider, enabled);
    EnableControl(m_controls.m_blueSlider, enabled);
}

void LightPageControls::ApplyModePresentation(int lightMode) {
    const int withColour = lightMode == LightPage::kLightModeWithColour ? 1 : 0;
    EnableColourControls(withColour);
    ShowControl(m_controls.m_colourCover, !withColour);
    ShowControl(m_controls.m_speedLabel, !withColour);
    ShowControl(m_controls.m_speedSlider, !withColour);
}

void LightPageControls::ApplySwitchOffPresentation() {
    EnableColourControls(0);
    ShowControl(m_controls.m_colourCover, 1);
}

// ---- performance selector -----------------------------------------------------------------------

void PerformanceModeControls::ShowPerformanceMode(int mode) {
    if (m_controls.m_performanceSelector) m_controls.m_performanceSelector->SetSelectItem(mode);
    ShowModePicture(mode);
}

void PerformanceModeControls::ShowModePicture(int mode) {
    if (mode < 0 || mode > 2 || !m_controls.m_modePicture) return;
    m_controls.m_modePicture->SetImage(PerformanceModeView::PictureFor(mode), 1);
}

// ---- gauges ----------------------------------------------------------------------------------------

void SystemPageGauges::SetGauge(TelemetryGauge gauge, const std::wstring& caption, const std::wstring& valueText,
                                float value) {
    m_last.SetGauge(gauge, caption, valueText, value);
    const CString captionText(caption.c_str());
    const CString valueLine(valueText.c_str());
    auto feed = [&](auto* control) {
        if (!control) return;
        control->SetHardwareInfo(captionText, valueLine);
        control->SetHardwareInfoValue(value);
    };
    switch (gauge) {
    case TelemetryGauge::CpuFan: feed(m_controls.m_cpuFanGauge); break;
    case TelemetryGauge::GpuFan: feed(m_controls.m_gpuFanGauge); break;
    case TelemetryGauge::Cpu: feed(m_controls.m_cpuGauge); break;
    case TelemetryGauge::Gpu: feed(m_controls.m_gpuGauge); break;
    case TelemetryGauge::Memory: feed(m_controls.m_memoryGauge); break;
    case TelemetryGauge::Disk: feed(m_controls.m_diskGauge); break;
    }
}

// ---- language change ---------------------------------------------------------------------------------

void MainWindowTextControls::SetTooltip(int controlId, const std::wstring& text) {
    if (MControl* control = MainWindowControl(m_controls, controlId)) control->SetTooltip(text.c_str());
}

void MainWindowTextControls::SetItemText(int controlId, int item, const std::wstring& text) {
    const CString caption(text.c_str());
    switch (controlId) {
    case control_id::kNavigation:
        if (m_controls.m_navigation) m_controls.m_navigation->SetItemText(item, caption);
        break;
    case control_id::kPerformanceSelector:
        if (m_controls.m_performanceSelector) m_controls.m_performanceSelector->SetItemText(item, caption);
        break;
    case control_id::kLightModeList:
        if (m_controls.m_lightModeList) m_controls.m_lightModeList->SetItemText(item, caption);
        break;
    default: break;
    }
}

void MainWindowTextControls::SetTitle(int controlId, const std::wstring& text) {
    if (auto* control = dynamic_cast<MControlFont*>(MainWindowControl(m_controls, controlId)))
        control->SetTitle(text.c_str());
}

void MainWindowTextControls::Redraw(int controlId) {
    if (MControl* control = MainWindowControl(m_controls, controlId)) control->UpdateControl(1, 0);
}
