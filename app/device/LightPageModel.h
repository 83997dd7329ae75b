// LightPageModel: the light page's control values without any controls,
// starting as the page is built (mode 1, switch off, brightness 4, speed 9,
// sliders 255/225/0, no preview colour, colour controls enabled, speed shown).
#pragma once

#include <optional>

#include "LightPage.h"

class LightPageModel : public LightPage {
public:
    void SelectLightMode(int lightMode) override { m_lightMode = lightMode; }
    void SetLightSwitch(bool on) override { m_switchOn = on; }
    bool LightSwitchOn() const override { return m_switchOn; }
    void SetBrightnessSlider(int position) override { m_brightness = position; }
    void SetSpeedSlider(int position) override { m_speed = position; }
    void SetColourPreview(uint32_t packedColour) override { m_preview = packedColour; }
    void SetColourSliders(RgbColour colour) override { m_sliders = colour; }
    RgbColour ColourSliders() const override { return m_sliders; }
    void ApplyModePresentation(int lightMode) override {
        m_colourControlsEnabled = lightMode == kLightModeWithColour;
        m_speedSliderVisible = lightMode != kLightModeWithColour;
    }

    int SelectedLightMode() const { return m_lightMode; }
    int BrightnessSlider() const { return m_brightness; }
    int SpeedSlider() const { return m_speed; }
    std::optional<uint32_t> ColourPreview() const { return m_preview; }
    bool ColourControlsEnabled() const { return m_colourControlsEnabled; }
    bool SpeedSliderVisible() const { return m_speedSliderVisible; }

private:
    int m_lightMode = 1;
    bool m_switchOn = false;
    int m_brightness = 4;
    int m_speed = 9;
    std::optional<uint32_t> m_preview;
    RgbColour m_sliders{255, 225, 0};
    bool m_colourControlsEnabled = true;
    bool m_speedSliderVisible = true;
};
