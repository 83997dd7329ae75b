// What the main window does when a control reports a committed action
// (code 2). Handlers run on the UI thread and leave slow or device work to
// the worker, except the defaults reset, which writes the firmware and the
// lighting device itself. Every change is stored at once: the program may
// end at any moment through ExitProcess.
#include "DeviceMainDlg.h"

#include "AutostartTask.h"
#include "CArea.h"
#include "CImageButton.h"
#include "CSwitchButton.h"
#include "CTabCtrl5.h"
#include "CUIMessageBox.h"
#include "CirclePalette.h"
#include "LanguageTexts.h"
#include "LightCtrl.h"
#include "MComboBox.h"
#include "MSlider.h"
#include "MTabLayout.h"
#include "MainWindowIds.h"
#include "Manager.h"
#include "SettingsStore.h"

namespace {

namespace id = control_id;

constexpr unsigned kCodeCommitted = 2;
// Sliders and the colour wheel answer 1: the notification was taken.
constexpr LRESULT kTaken = 1;

int SliderPosition(const MSlider* slider) { return slider ? slider->GetProgress() : 0; }

}  // namespace

LRESULT DeviceMainDlg::OnMessage(unsigned controlId, unsigned code, WPARAM, LPARAM) {
    if (code != kCodeCommitted) return 0;
    switch (controlId) {
    case id::kCloseButton: ShowWindow(SW_HIDE); return 0;  // keeps running in the tray
    case id::kMinimiseButton: OnMinimize(); return 0;
    case id::kSettingsButton: ToggleSettingsPage(); return 0;
    case id::kNavigation: OnNavigation(); return 0;
    case id::kPerformanceSelector: OnPerformanceModeChange(); return 0;
    case id::kLightingSwitch: OnLightingSwitchChange(); return 0;
    case id::kLightModeList: OnLightModeChange(); return 0;
    case id::kBrightnessSlider: OnBrightnessChange(); return kTaken;
    case id::kSpeedSlider: OnSpeedChange(); return kTaken;
    case id::kColourWheel: OnColourFromWheel(); return kTaken;
    case id::kRedSlider:
    case id::kGreenSlider:
    case id::kBlueSlider: OnColourFromSliders(); return kTaken;
    case id::kLanguageSelector: OnLanguageChange(); return 0;
    case id::kDefaultsResetButton: OnDefaultsReset(); return 0;
    case id::kUpdateButton: QueueCommand(command::kSoftwareCheck); return 0;
    case id::kAutostartSwitch: OnAutostartSwitchChange(); return 0;
    default: return 0;
    }
}

void DeviceMainDlg::RepaintNow() { ::UpdateWindow(GetSafeHwnd()); }

void DeviceMainDlg::ToggleSettingsPage() {
    if (!m_settingsPage) return;
    if (m_settingsPage->IsVisible()) {
        m_settingsPage->SetVisible(0);
        return;
    }
    LayOutSettingsPage();
    m_settingsPage->SetVisible(1);
    RepaintNow();
}

// The column switches the pages itself; an open settings popup would cover
// the page the user asked for.
void DeviceMainDlg::OnNavigation() {
    if (m_settingsPage && m_settingsPage->IsVisible()) m_settingsPage->SetVisible(0);
}

void DeviceMainDlg::OnPerformanceModeChange() {
    const int mode = m_performanceSelector ? m_performanceSelector->GetSelectItem() : -1;
    if (mode >= 0 && mode <= 2) {
        m_performanceView.ShowModePicture(mode);
        settings::WriteInteger(settings::kPerfMode, mode);
    }
    m_performanceMode = mode;
    // A click on the selected tab writes the mode again: the firmware may
    // have been changed behind the program's back.
    QueueCommand(command::kWritePerformanceMode);
}

void DeviceMainDlg::OnLightModeChange() {
    const int mode = m_lightModeList ? m_lightModeList->GetCurLightMode() : 0;
    m_lighting.Change([&](LightingValues& values) { values.lightMode = mode; });
    m_lightControls.ApplyModePresentation(mode);
    if (m_lightPage) m_lightPage->UpdateControl(1, 1);
    settings::WriteInteger(settings::kLightMode, mode);
    QueueCommand(command::kApplyLighting);
}

void DeviceMainDlg::OnLightingSwitchChange() {
    const int on = m_lightingSwitch ? m_lightingSwitch->GetCheck() : 0;
    m_lighting.Change([&](LightingValues& values) { values.onOff = on; });
    if (on) {
        m_lightControls.ApplyModePresentation(m_lighting.Values().lightMode);
        if (m_lightPage) m_lightPage->UpdateControl(1, 1);
    } else {
        m_lightControls.ApplySwitchOffPresentation();
    }
    settings::WriteText(settings::kLightOnOff, on ? L"1" : L"0");
    QueueCommand(command::kApplyLighting);
}

void DeviceMainDlg::OnBrightnessChange() {
    const int brightness = SliderPosition(m_brightnessSlider);
    m_lighting.Change([&](LightingValues& values) { values.brightness = brightness; });
    settings::WriteInteger(settings::kLightBrightness, brightness);
    QueueCommand(command::kApplyLighting);
}

void DeviceMainDlg::OnSpeedChange() {
    const int speed = SliderPosition(m_speedSlider);
    m_lighting.Change([&](LightingValues& values) { values.speed = speed; });
    settings::WriteInteger(settings::kLightSpeed, speed);
    QueueCommand(command::kApplyLighting);
}

// The wheel and the sliders always show the same colour: the wheel's choice
// moves the sliders (quietly: setting a position does not notify).
void DeviceMainDlg::OnColourFromWheel() {
    if (!m_colourWheel) return;
    const RgbColour colour = RgbColour::FromPacked(m_colourWheel->GetSelectColor());
    m_lightControls.SetColourSliders(colour);
    ShowAndStoreColour(colour.Packed());
}

void DeviceMainDlg::OnColourFromSliders() { ShowAndStoreColour(m_lightControls.ColourSliders().Packed()); }

void DeviceMainDlg::ShowAndStoreColour(uint32_t colour) {
    m_lightControls.SetColourPreview(colour);
    m_lighting.Change([&](LightingValues& values) { values.colour = colour; });
    settings::WriteText(settings::kLightColor, std::to_wstring(colour));
    QueueCommand(command::kApplyLighting);
}

void DeviceMainDlg::OnLanguageChange() {
    if (!m_languageSelector) return;
    const int language = static_cast<int>(m_languageSelector->GetCurData());
    if (language == Manager::GetLanguage()) return;
    settings::StoreLanguageId(language);
    Manager::SetLanguage(language);
    MainWindowTextControls texts(*this);
    language::ApplyTexts(texts);
}

void DeviceMainDlg::OnAutostartSwitchChange() {
    if (!m_autostartSwitch) return;
    if (m_autostartSwitch->GetCheck())
        autostart::CreateTask();
    else
        autostart::DeleteTask();
}

// Asks first; only the second button keeps everything. A box closed by the
// system (answer 0) resets too.
void DeviceMainDlg::OnDefaultsReset() {
    const std::wstring question = language::GetText(language::key::kResetQuestion);
    const std::wstring title = language::GetText(language::key::kResetQuestionTitle);
    const unsigned answer = CUIMessageBox::ShowMessageBox(GetSafeHwnd(), question.c_str(), title.c_str(),
                                                          CUIMessageBox::kStyleTwoButtons);
    if (answer == CUIMessageBox::kAnswerSecond) return;
    ResetDeviceDefaults();
}
