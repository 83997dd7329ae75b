// Building the main window's controls once, and placing them on every size
// change. Only the background, the title-area buttons and the page
// containers follow the client size; the pages are laid out for the
// 1500 x 840 client area the program always creates.
#include "DeviceMainDlg.h"

#include "CArea.h"
#include "CHardwareInfo.h"
#include "CHardwareInfo2.h"
#include "CImageButton.h"
#include "CSwitchButton.h"
#include "CTabCtrl5.h"
#include "CTextButton.h"
#include "CirclePalette.h"
#include "LanguageTexts.h"
#include "LightCtrl.h"
#include "MComboBox.h"
#include "MPicture.h"
#include "MSlider.h"
#include "MTabLayout.h"
#include "MText.h"
#include "MainWindowIds.h"
#include "Manager.h"
#include "TabCtrlEx.h"

namespace {

namespace id = control_id;
namespace key = language::key;

constexpr int kFontSize = 16;
constexpr int kBold = 1;
constexpr unsigned kAlignLeft = 0;
constexpr unsigned kAlignCentre = 1;
constexpr unsigned kAlignRight = 2;
constexpr int kPushFrames = 4;
constexpr int kSwitchFrames = 2;
constexpr int kSingleFrame = 1;
constexpr int kBackgroundMargin = 36;
constexpr int kFirstLightMode = 1;
constexpr int kSecondFanGaugeShift = 439;
constexpr COLORREF kColourCoverColour = 0x3C3C3C;
constexpr int kColourCoverAlpha = 40;
// The colour rows R, G, B: first top, spacing and height.
constexpr int kColourRowTop = 370;
constexpr int kColourRowPitch = 40;
constexpr int kColourRowHeight = 36;

const CRect kNone(0, 0, 0, 0);

std::wstring Text(int textKey) { return language::GetText(textKey); }

// Frame controls are made on the dialog, page controls on their page; the
// rectangle always comes later from the layout.
template <typename Control, typename Host>
Control* MakeControl(Host& host, const wchar_t* className, unsigned controlId, const std::wstring& title = {}) {
    return dynamic_cast<Control*>(host.CreateControl(className, controlId, kNone, title.c_str(), 1, 1));
}

template <typename Control, typename Host>
Control* MakeArea(Host& host, const wchar_t* className, unsigned controlId, const std::wstring& title = {}) {
    return dynamic_cast<Control*>(host.CreateArea(className, controlId, kNone, title.c_str(), 1, 1));
}

template <typename Control>
Control* WithImage(Control* control, const wchar_t* image, int frames) {
    if (control) control->SetImage(image, frames);
    return control;
}

MText* StyledText(MText* text, unsigned alignment, bool bold) {
    if (!text) return nullptr;
    text->SetAlignment(alignment);
    if (bold) text->SetFontStyle(kBold);
    return text;
}

void Place(MControl* control, const CRect& rect) {
    if (control) control->SetRect(rect);
}

// The brightness and speed sliders show their value and set their minimum;
// the colour sliders hide the value and keep the default minimum of 0.
struct SliderSetup {
    int frames;
    bool valueText;
    int maximum;
    bool setMinimum;
    int position;
};

void SetUpSlider(MSlider* slider, const SliderSetup& setup) {
    if (!slider) return;
    slider->SetImage(L"img_slider_back.png", setup.frames);
    slider->SetThumbImage(L"img_thumb.png");
    if (!setup.valueText) slider->SetShowText(0);
    slider->SetMaxProgress(setup.maximum);
    if (setup.setMinimum) slider->SetMinProgress(0);
    slider->SetProgress(setup.position);
}

}  // namespace

// ---- building ------------------------------------------------------------------------------------------

void DeviceMainDlg::InitUI(CRect client) {
    BuildFrame();
    BuildSystemPage();
    BuildLightPage();
    BuildSettingsPage();
    UISize(client);
}

void DeviceMainDlg::BuildFrame() {
    m_background = WithImage(MakeArea<MPicture>(*this, L"MPicture", id::kBackground), L"main_bkg.png", kSingleFrame);
    if (m_background) {
        m_background->SetShowMode(ShowFrameMID, 4);
        m_background->SetShowModeMID(kBackgroundMargin, kBackgroundMargin, kBackgroundMargin, kBackgroundMargin);
    }

    struct TitleButton {
        CImageButton* DeviceMainDlg::* member;
        unsigned controlId;
        const wchar_t* image;
        int tooltipKey;
    };
    static constexpr TitleButton kTitleButtons[] = {
        {&DeviceMainDlg::m_closeButton, id::kCloseButton, L"sysbtn_close.png", key::kCloseTooltip},
        {&DeviceMainDlg::m_minimiseButton, id::kMinimiseButton, L"sysbtn_min.png", key::kMinimiseTooltip},
        {&DeviceMainDlg::m_settingsButton, id::kSettingsButton, L"sysbtn_set.png", key::kSettingsTooltip},
    };
    for (const TitleButton& button : kTitleButtons) {
        CImageButton* control = MakeControl<CImageButton>(*this, L"CImageButton", button.controlId);
        WithImage(control, button.image, kPushFrames);
        if (control) control->SetTooltip(Text(button.tooltipKey).c_str());
        this->*button.member = control;
    }

    m_languageSelector = MakeControl<MComboBox>(*this, L"MComboBox", id::kLanguageSelector);
    if (m_languageSelector) {
        m_languageSelector->SetFontWidth(kFontSize);
        m_languageSelector->SetImage(L"img_combox.png", kPushFrames);
        for (const language::SelectorItem& item : language::kSelectorItems)
            m_languageSelector->AddItem(item.text, item.language, nullptr, Gdiplus::Color(0));
        m_languageSelector->SelectData(Manager::GetLanguage());
    }

    m_pageBackground =
        WithImage(MakeArea<MPicture>(*this, L"MPicture", id::kPageBackground), L"img_perf_bkg.png", kSingleFrame);

    m_systemPage = MakeControl<MTabLayout>(*this, L"MTabLayout", id::kSystemPage);
    m_lightPage = MakeControl<MTabLayout>(*this, L"MTabLayout", id::kLightPage);
    m_settingsPage = MakeControl<MTabLayout>(*this, L"MTabLayout", id::kSettingsPage);
    if (m_systemPage) m_systemPage->SetVisible(1);
    if (m_lightPage) m_lightPage->SetVisible(0);
    if (m_settingsPage) m_settingsPage->SetVisible(0);

    m_navigation = MakeControl<TabCtrlEx>(*this, L"TabCtrlEx", id::kNavigation);
    if (m_navigation) {
        m_navigation->SetFontWidth(kFontSize);
        m_navigation->AddItem(Text(key::kNavigationSystem).c_str(), 1, L"tab_system_mode.png", m_systemPage);
        m_navigation->AddItem(Text(key::kNavigationLight).c_str(), 2, L"tab_light.png", m_lightPage);
        m_navigation->SetSelectItem(0);
    }
}

void DeviceMainDlg::BuildSystemPage() {
    if (!m_systemPage) return;
    MTabLayout& page = *m_systemPage;
    m_performanceSelector = MakeControl<CTabCtrl5>(page, L"CTabCtrl5", id::kPerformanceSelector);
    if (m_performanceSelector) {
        m_performanceSelector->SetFontWidth(kFontSize);
        m_performanceSelector->AddItem(Text(key::kPerformanceMode0).c_str(), 1, L"img_btn_permode1.png");
        m_performanceSelector->AddItem(Text(key::kPerformanceMode1).c_str(), 2, L"img_btn_permode2.png");
        m_performanceSelector->AddItem(Text(key::kPerformanceMode2).c_str(), 3, L"img_btn_permode3.png");
        m_performanceSelector->SetSelectItem(0);
    }
    m_modePicture =
        WithImage(MakeArea<MPicture>(page, L"MPicture", id::kModePicture), L"img_permode1.png", kSingleFrame);
    m_modeCaption = StyledText(MakeArea<MText>(page, L"MText", id::kModeCaption, Text(key::kModeCaption)),
                               kAlignCentre, true);
    m_modeCpuLabel = StyledText(MakeArea<MText>(page, L"MText", id::kModeCpuLabel, L"CPU"), kAlignRight, true);
    m_modeGpuLabel = StyledText(MakeArea<MText>(page, L"MText", id::kModeGpuLabel, L"GPU"), kAlignLeft, true);
    m_modeLowerLeftLabel = StyledText(
        MakeArea<MText>(page, L"MText", id::kModeLowerLeftLabel, Text(key::kModeLowerLeft)), kAlignRight, true);
    m_modeLowerRightLabel = StyledText(
        MakeArea<MText>(page, L"MText", id::kModeLowerRightLabel, Text(key::kModeLowerRight)), kAlignLeft, true);

    m_cpuFanGauge =
        WithImage(MakeArea<CHardwareInfo2>(page, L"CHardwareInfo2", id::kCpuFanGauge), L"img_fan.png", kSingleFrame);
    m_gpuFanGauge =
        WithImage(MakeArea<CHardwareInfo2>(page, L"CHardwareInfo2", id::kGpuFanGauge), L"img_fan.png", kSingleFrame);
    auto gauge = [&](unsigned controlId) {
        return WithImage(MakeArea<CHardwareInfo>(page, L"CHardwareInfo", controlId), L"img_systemmode_bkg.png",
                         kSingleFrame);
    };
    m_cpuGauge = gauge(id::kCpuGauge);
    m_gpuGauge = gauge(id::kGpuGauge);
    m_memoryGauge = gauge(id::kMemoryGauge);
    m_diskGauge = gauge(id::kDiskGauge);
}

void DeviceMainDlg::BuildLightPage() {
    if (!m_lightPage) return;
    MTabLayout& page = *m_lightPage;
    m_lightHeadingBackground = WithImage(MakeArea<MPicture>(page, L"MPicture", id::kLightHeadingBackground),
                                         L"img_area_lightmode.png", kSingleFrame);
    m_lightHeading =
        StyledText(MakeArea<MText>(page, L"MText", id::kLightHeading, Text(key::kNavigationLight)), kAlignCentre, false);
    m_machinePicture =
        WithImage(MakeArea<MPicture>(page, L"MPicture", id::kMachinePicture), L"img_device.png", kSingleFrame);
    m_lightingSwitch = WithImage(MakeControl<CSwitchButton>(page, L"CSwitchButton", id::kLightingSwitch),
                                 L"img_btn_switch.png", kSwitchFrames);

    m_lightModeList = MakeControl<LightCtrl>(page, L"LightCtrl", id::kLightModeList);
    if (m_lightModeList) {
        for (int mode = kFirstLightMode; mode < kFirstLightMode + LightPage::kLightModeCount; ++mode) {
            const std::wstring image = L"light_mode" + std::to_wstring(mode) + L".png";
            m_lightModeList->AddLight(Text(key::kLightMode1 + mode - kFirstLightMode).c_str(), mode, image.c_str());
        }
        m_lightModeList->SetCurLightMode(kFirstLightMode);
        m_lightModeList->SetProgressBar(0);
        m_lightModeList->SetItemsPerPage(LightPage::kLightModeCount);
    }

    m_brightnessBlockBackground = WithImage(MakeArea<MPicture>(page, L"MPicture", id::kBrightnessBlockBackground),
                                            L"img_area_light1.png", kSingleFrame);
    m_brightnessBlockHeading = StyledText(
        MakeArea<MText>(page, L"MText", id::kBrightnessBlockHeading, Text(key::kBrightnessBlockHeading)), kAlignCentre,
        false);
    m_brightnessLabel = MakeArea<MText>(page, L"MText", id::kBrightnessLabel, Text(key::kBrightnessLabel));
    m_brightnessSlider = MakeControl<MSlider>(page, L"MSlider", id::kBrightnessSlider);
    SetUpSlider(m_brightnessSlider, {kSwitchFrames, true, 4, true, 4});
    m_speedLabel = MakeArea<MText>(page, L"MText", id::kSpeedLabel, Text(key::kSpeedLabel));
    m_speedSlider = MakeControl<MSlider>(page, L"MSlider", id::kSpeedSlider);
    SetUpSlider(m_speedSlider, {kSwitchFrames, true, 9, true, 9});

    m_colourBlockBackground = WithImage(MakeArea<MPicture>(page, L"MPicture", id::kColourBlockBackground),
                                        L"img_area_light2.png", kSingleFrame);
    m_colourBlockHeading = StyledText(
        MakeArea<MText>(page, L"MText", id::kColourBlockHeading, Text(key::kColourBlockHeading)), kAlignCentre, false);
    m_colourPreviewLabel = MakeArea<MText>(page, L"MText", id::kColourPreviewLabel, Text(key::kColourPreviewLabel));
    m_colourPreview = MakeArea<CArea>(page, L"CArea", id::kColourPreview);
    m_colourWheel = WithImage(MakeControl<CirclePalette>(page, L"CirclePalette", id::kColourWheel),
                              L"img_circlepalette.png", kSingleFrame);
    m_redLabel = MakeArea<MText>(page, L"MText", id::kRedLabel, L"R");
    m_greenLabel = MakeArea<MText>(page, L"MText", id::kGreenLabel, L"G");
    m_blueLabel = MakeArea<MText>(page, L"MText", id::kBlueLabel, L"B");
    m_redSlider = MakeControl<MSlider>(page, L"MSlider", id::kRedSlider);
    SetUpSlider(m_redSlider, {kSingleFrame, false, 255, false, 255});
    m_greenSlider = MakeControl<MSlider>(page, L"MSlider", id::kGreenSlider);
    SetUpSlider(m_greenSlider, {kSingleFrame, false, 255, false, 225});
    m_blueSlider = MakeControl<MSlider>(page, L"MSlider", id::kBlueSlider);
    SetUpSlider(m_blueSlider, {kSingleFrame, false, 255, false, 0});

    // A translucent grey layer that tells the colour block is not in use.
    m_colourCover = MakeControl<CArea>(page, L"CArea", id::kColourCover);
    if (m_colourCover) {
        m_colourCover->SetTransparent(kColourCoverAlpha, kColourCoverAlpha, kColourCoverColour);
        m_colourCover->SetVisible(0);
    }
}

void DeviceMainDlg::BuildSettingsPage() {
    if (!m_settingsPage) return;
    MTabLayout& page = *m_settingsPage;
    m_settingsBackground =
        WithImage(MakeArea<MPicture>(page, L"MPicture", id::kSettingsBackground), L"light_set_bg.png", kSingleFrame);
    m_defaultsResetButton =
        MakeControl<CTextButton>(page, L"CTextButton", id::kDefaultsResetButton, Text(key::kDefaultsReset));
    if (m_defaultsResetButton) {
        m_defaultsResetButton->SetFontWidth(kFontSize);
        m_defaultsResetButton->SetAlignment(kAlignCentre, kAlignCentre);
    }
    m_updateLabel =
        StyledText(MakeArea<MText>(page, L"MText", id::kUpdateLabel, Text(key::kUpdateLabel)), kAlignCentre, false);
    m_updateButton = WithImage(MakeControl<CImageButton>(page, L"CImageButton", id::kUpdateButton),
                               L"img_btn_update.png", kPushFrames);
    m_autostartLabel = StyledText(MakeArea<MText>(page, L"MText", id::kAutostartLabel, Text(key::kAutostartLabel)),
                                  kAlignCentre, false);
    m_autostartSwitch = WithImage(MakeControl<CSwitchButton>(page, L"CSwitchButton", id::kAutostartSwitch),
                                  L"img_btn_switch.png", kSwitchFrames);
}

// ---- layout ---------------------------------------------------------------------------------------------------

void DeviceMainDlg::UISize(CRect client) {
    if (!GetControl(id::kCloseButton)) return;  // not built yet
    Manager::SetScaleValue(1.0f);
    LayOutFrame(client);
    LayOutSystemPage();
    LayOutLightPage();
    LayOutSettingsPage();
}

void DeviceMainDlg::LayOutFrame(CRect client) {
    const int right = client.right;
    const int bottom = client.bottom;
    Place(m_background, client);
    Place(m_closeButton, CRect(right - 60, 10, right - 30, 40));
    Place(m_minimiseButton, CRect(right - 110, 10, right - 80, 40));
    Place(m_settingsButton, CRect(right - 160, 10, right - 130, 40));
    Place(m_languageSelector, CRect(1180, 10, 1330, 45));
    Place(m_navigation, CRect(30, 110, 266, 803));
    const CRect pages(230, 100, right - 1, bottom - 1);
    Place(m_systemPage, pages);
    Place(m_lightPage, pages);
    Place(m_settingsPage, pages);
}

void DeviceMainDlg::LayOutSystemPage() {
    Place(m_pageBackground, CRect(0, 100, 1500, 788));
    Place(m_performanceSelector, CRect(400, 110, 960, 152));
    Place(m_modePicture, CRect(490, 210, 885, 605));
    Place(m_modeCaption, CRect(630, 180, 730, 210));
    Place(m_modeCpuLabel, CRect(390, 320, 490, 350));
    Place(m_modeGpuLabel, CRect(880, 320, 980, 350));
    Place(m_modeLowerLeftLabel, CRect(480, 580, 580, 610));
    Place(m_modeLowerRightLabel, CRect(790, 580, 890, 630));
    const CRect cpuFan(290, 715, 690, 813);
    Place(m_cpuFanGauge, cpuFan);
    Place(m_gpuFanGauge, CRect(cpuFan.left + kSecondFanGaugeShift, cpuFan.top, cpuFan.right + kSecondFanGaugeShift,
                               cpuFan.bottom));
    Place(m_cpuGauge, CRect(1120, 115, 1463, 270));
    Place(m_gpuGauge, CRect(1120, 290, 1463, 445));
    Place(m_memoryGauge, CRect(1120, 465, 1463, 620));
    Place(m_diskGauge, CRect(1120, 640, 1463, 795));
}

void DeviceMainDlg::LayOutLightPage() {
    const CRect heading(590, 110, 746, 152);
    Place(m_lightHeadingBackground, heading);
    Place(m_lightHeading, heading);
    if (m_machinePicture) {
        // Sized by its picture: a missing picture gives an empty rectangle.
        const CSize image = m_machinePicture->GetImageSize();
        Place(m_machinePicture, CRect(530, 165, 530 + image.cx, 165 + image.cy));
    }
    Place(m_lightingSwitch, CRect(640, 565, 720, 597));
    Place(m_lightModeList, CRect(270, 645, 1470, 785));
    Place(m_brightnessBlockBackground, CRect(1120, 540, 1455, 779));
    Place(m_brightnessBlockHeading, CRect(1180, 560, 1395, 595));
    Place(m_brightnessLabel, CRect(1140, 610, 1250, 666));
    Place(m_brightnessSlider, CRect(1230, 610, 1420, 646));
    Place(m_speedLabel, CRect(1140, 670, 1250, 726));
    Place(m_speedSlider, CRect(1230, 670, 1420, 706));
    Place(m_colourBlockBackground, CRect(1120, 110, 1456, 528));
    Place(m_colourBlockHeading, CRect(1180, 130, 1395, 165));
    Place(m_colourWheel, CRect(1240, 175, 1371, 306));
    Place(m_colourPreviewLabel, CRect(1240, 320, 1310, 352));
    Place(m_colourPreview, CRect(1320, 320, 1352, 352));
    MText* labels[] = {m_redLabel, m_greenLabel, m_blueLabel};
    MSlider* sliders[] = {m_redSlider, m_greenSlider, m_blueSlider};
    for (int row = 0; row < 3; ++row) {
        const int top = kColourRowTop + row * kColourRowPitch;
        Place(labels[row], CRect(1140, top, 1176, top + kColourRowHeight));
        Place(sliders[row], CRect(1190, top, 1420, top + kColourRowHeight));
    }
    Place(m_colourCover, CRect(1120, 110, 1445, 520));
}

// Also run by the settings button just before it shows the popup.
void DeviceMainDlg::LayOutSettingsPage() {
    const CRect popup(1190, 50, 1525, 240);
    Place(m_settingsPage, popup);
    Place(m_settingsBackground, popup);
    Place(m_defaultsResetButton, CRect(1240, 70, 1390, 115));
    Place(m_updateLabel, CRect(1220, 123, 1340, 163));
    Place(m_updateButton, CRect(1380, 125, 1412, 157));
    Place(m_autostartLabel, CRect(1220, 176, 1340, 216));
    Place(m_autostartSwitch, CRect(1340, 176, 1420, 208));
}
