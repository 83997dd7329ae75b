// LightPage: the light page's controls as the device side sets and reads
// them: the light mode list, the lighting switch, the brightness and speed
// sliders, the colour preview and the R, G, B sliders. The main window
// implements it over its framework controls; LightPageModel stands in
// until those exist.
#pragma once

#include <cstdint>

struct RgbColour {
    uint8_t red = 0;
    uint8_t green = 0;
    uint8_t blue = 0;

    // The colour wheel's and the settings store's packing: R in the low byte.
    static RgbColour FromPacked(uint32_t packed) {
        return {static_cast<uint8_t>(packed & 0xFF), static_cast<uint8_t>((packed >> 8) & 0xFF),
                static_cast<uint8_t>((packed >> 16) & 0xFF)};
    }
    uint32_t Packed() const { return red | (green << 8) | (static_cast<uint32_t>(blue) << 16); }
    bool operator==(const RgbColour& other) const {
        return red == other.red && green == other.green && blue == other.blue;
    }
};

class LightPage {
public:
    // The list's modes are 1 to 7; mode 4 is the one with a chosen colour,
    // every other mode is animated and uses the speed.
    static constexpr int kLightModeCount = 7;
    static constexpr int kLightModeWithColour = 4;

    virtual ~LightPage() = default;

    virtual void SelectLightMode(int lightMode) = 0;
    virtual void SetLightSwitch(bool on) = 0;
    virtual bool LightSwitchOn() const = 0;
    virtual void SetBrightnessSlider(int position) = 0;
    virtual void SetSpeedSlider(int position) = 0;
    virtual void SetColourPreview(uint32_t packedColour) = 0;
    virtual void SetColourSliders(RgbColour colour) = 0;
    virtual RgbColour ColourSliders() const = 0;
    // The page's mode presentation: colour controls enabled only in mode 4,
    // speed slider shown only in the other modes.
    virtual void ApplyModePresentation(int lightMode) = 0;
};
