// LightingControl: the main window's lighting values and what the device
// side does with them: restoring the light page from the settings store
// (device initialisation), sending the two reports for the page's state
// (apply lighting) and the lighting half of the defaults reset.
//
// It owns the stored values; the page and the device manager are borrowed.
// The UI thread's handlers change the values while the worker's commands
// read them, so the values are only reached through a copy under a lock.
#pragma once

#include <cstdint>
#include <mutex>

#include "LightPage.h"

class HidDeviceManager;

struct LightingValues {
    int lightMode = 4;
    int onOff = 0;
    int brightness = 5;
    int speed = 5;
    uint32_t colour = 0xFF8000;  // R + 256 G + 65536 B
};

class LightingControl {
public:
    // What the settings store falls back to, and what the reset restores.
    static constexpr LightingValues kDefaults = {4, 1, 4, 9, 0xFF8000};

    LightingControl(LightPage& page, HidDeviceManager& devices) : m_page(&page), m_devices(devices) {}

    LightingValues Values() const;
    void SetValues(const LightingValues& values);
    // Changes some values in one step, e.g. the speed slider's handler:
    // lighting.Change([&](LightingValues& v) { v.speed = position; });
    template <typename Edit>
    void Change(Edit&& change) {
        std::lock_guard<std::mutex> guard(m_valuesLock);
        change(m_values);
    }

    // The page is replaced once the framework's controls exist.
    void SetPage(LightPage& page) { m_page = &page; }

    // Takes each value from the settings store, or its default when absent,
    // and puts them all on the page. Sends nothing.
    void RestoreFromSettings();

    // The mode-and-colour report from the stored mode and the colour sliders,
    // 10 ms, then the state report from the switch, stored speed and
    // brightness. Either report is skipped when no device is opened.
    void Apply();

    // Stores and shows the defaults and sends them, as Apply would.
    void ResetToDefaults();

private:
    void ShowValues(const LightingValues& values);
    void SendReports(const LightingValues& values, RgbColour colour, bool on);

    LightPage* m_page;
    HidDeviceManager& m_devices;
    mutable std::mutex m_valuesLock;
    LightingValues m_values;
};
