// DeviceMainDef: one reference per control of the main window, all null
// until the window builds its controls. The controls belong to the
// framework's control tree and go with the native window; nothing here owns
// them.
#pragma once

class CArea;
class CHardwareInfo;
class CHardwareInfo2;
class CImageButton;
class CirclePalette;
class CSwitchButton;
class CTabCtrl5;
class CTextButton;
class LightCtrl;
class MComboBox;
class MPicture;
class MSlider;
class MTabLayout;
class MText;
class TabCtrlEx;

class DeviceMainDef {
public:
    DeviceMainDef() = default;

    // Frame.
    MPicture* m_background = nullptr;
    CImageButton* m_closeButton = nullptr;
    CImageButton* m_minimiseButton = nullptr;
    CImageButton* m_settingsButton = nullptr;
    TabCtrlEx* m_navigation = nullptr;
    MTabLayout* m_systemPage = nullptr;
    MTabLayout* m_lightPage = nullptr;
    MTabLayout* m_settingsPage = nullptr;
    MPicture* m_pageBackground = nullptr;
    MComboBox* m_languageSelector = nullptr;

    // System page.
    CTabCtrl5* m_performanceSelector = nullptr;
    MText* m_modeCaption = nullptr;
    MText* m_modeCpuLabel = nullptr;
    MText* m_modeGpuLabel = nullptr;
    MText* m_modeLowerLeftLabel = nullptr;
    MText* m_modeLowerRightLabel = nullptr;
    MPicture* m_modePicture = nullptr;
    CHardwareInfo2* m_cpuFanGauge = nullptr;
    CHardwareInfo2* m_gpuFanGauge = nullptr;
    CHardwareInfo* m_cpuGauge = nullptr;
    CHardwareInfo* m_gpuGauge = nullptr;
    CHardwareInfo* m_memoryGauge = nullptr;
    CHardwareInfo* m_diskGauge = nullptr;

    // Light page.
    MPicture* m_lightHeadingBackground = nullptr;
    MText* m_lightHeading = nullptr;
    MPicture* m_machinePicture = nullptr;
    CSwitchButton* m_lightingSwitch = nullptr;
    LightCtrl* m_lightModeList = nullptr;
    MPicture* m_brightnessBlockBackground = nullptr;
    MText* m_brightnessBlockHeading = nullptr;
    MText* m_brightnessLabel = nullptr;
    MSlider* m_brightnessSlider = nullptr;
    MText* m_speedLabel = nullptr;
    MSlider* m_speedSlider = nullptr;
    MPicture* m_colourBlockBackground = nullptr;
    MText* m_colourBlockHeading = nullptr;
    MText* m_colourPreviewLabel = nullptr;
    CArea* m_colourPreview = nullptr;
    CirclePalette* m_colourWheel = nullptr;
    MText* m_redLabel = nullptr;
    MText* m_greenLabel = nullptr;
    MText* m_blueLabel = nullptr;
    MSlider* m_redSlider = nullptr;
    MSlider* m_greenSlider = nullptr;
    MSlider* m_blueSlider = nullptr;
    CArea* m_colourCover = nullptr;

    // Settings page.
    MPicture* m_settingsBackground = nullptr;
    CTextButton* m_defaultsResetButton = nullptr;
    MText* m_updateLabel = nullptr;
    CImageButton* m_updateButton = nullptr;
    MText* m_autostartLabel = nullptr;
    CSwitchButton* m_autostartSwitch = nullptr;
};
