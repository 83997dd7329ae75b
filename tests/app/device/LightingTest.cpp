// Lighting reports byte for byte, the device search over the simulated HID
// bus, and the main window's device initialisation. Reports are read from
// the stand-in controller's journal hid.log.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>

#include "DeviceMainDlg.h"
#include "HidDeviceManager.h"
#include "LightPageModel.h"
#include "LightingControl.h"
#include "LightingReport.h"
#include "PerformanceModePorts.h"
#include "ScopedSimFolder.h"
#include "SettingsStore.h"

namespace {

std::string HexLine(const unsigned char* data, size_t length) {
    std::string line;
    char pair[4];
    for (size_t i = 0; i < length; ++i) {
        std::snprintf(pair, sizeof(pair), i ? " %02X" : "%02X", data[i]);
        line += pair;
    }
    return line;
}

// The journal's form of a report: bytes 1..6 given, the rest zero.
std::string ReportLine(std::initializer_list<int> bytes1to6) {
    std::vector<unsigned char> report(65, 0);
    size_t i = 1;
    for (int value : bytes1to6) report[i++] = static_cast<unsigned char>(value);
    return HexLine(report.data(), report.size());
}

const wchar_t* const kLightingValues[] = {settings::kLightMode, settings::kLightOnOff, settings::kLightBrightness,
                                          settings::kLightSpeed, settings::kLightColor, settings::kPerfMode};

void ClearLightingSettings() {
    settings::ReadInteger(settings::kLightMode);  // creates the key, which WriteText never does
    for (const wchar_t* name : kLightingValues)
        RegDeleteKeyValueW(HKEY_CURRENT_USER, settings::KeyPath().c_str(), name);
}

TEST(LightingReport, DeviceModeCodes) {
    const struct {
        int lightMode;
        uint8_t code;
    } cases[] = {{1, 0x07}, {2, 0x02}, {3, 0x03}, {4, 0x14}, {5, 0x01}, {6, 0x04}, {7, 0x08},
                 {0, 0x00}, {8, 0x00}, {9, 0x00}, {-1, 0x00}};
    for (const auto& c : cases) EXPECT_EQ(LightingReport::DeviceModeCode(c.lightMode), c.code) << c.lightMode;
}

TEST(LightingReport, BothReportsByteForByte) {
    const auto colour = LightingReport::ModeAndColour(4, 255, 0, 0).Data();
    EXPECT_EQ(HexLine(colour.data(), colour.size()), ReportLine({0x07, 0xFF, 0x14, 0xFF, 0x00, 0x00}));
    const auto state = LightingReport::State(false, 3, 2).Data();
    EXPECT_EQ(HexLine(state.data(), state.size()), ReportLine({0x07, 0xFF, 0xFD, 0x00, 0x03, 0x02}));
    const auto on = LightingReport::State(true, 9, 4).Data();
    EXPECT_EQ(HexLine(on.data(), on.size()), ReportLine({0x07, 0xFF, 0xFD, 0x01, 0x09, 0x04}));
}

class LightingDeviceTest : public ::testing::Test {
protected:
    void SetUp() override { ClearLightingSettings(); }
    void TearDown() override {
        HidDeviceManager::Get().Close();
        ClearLightingSettings();
    }
    void Plug(bool present, const char* release = "0x0105") {
        m_sim.Write(L"lighting.ini", std::string("[device]\r\npresent=") + (present ? "1" : "0") +
                                         "\r\nrelease=" + release + "\r\n");
    }
    std::vector<std::string> Reports() const { return m_sim.Lines(L"hid.log"); }

    ScopedSimFolder m_sim;
    HidDeviceManager& m_devices = HidDeviceManager::Get();
};

// Of the controller's two interfaces only MI_00 has the 65-byte report;
// the stand-in refuses reports on MI_01, so a journalled write shows that
// MI_00 was kept.
TEST_F(LightingDeviceTest, OpensTheInterfaceWithTheLightingReport) {
    Plug(true, "0x0231");
    m_devices.Open();
    ASSERT_TRUE(m_devices.IsOpened());
    EXPECT_EQ(m_devices.ReleaseNumber(), 0x0231);
    EXPECT_TRUE(m_devices.Write(LightingReport::State(true, 1, 2)));
    EXPECT_EQ(Reports(), std::vector<std::string>{ReportLine({0x07, 0xFF, 0xFD, 0x01, 0x01, 0x02})});
}

TEST_F(LightingDeviceTest, AbsentDeviceIsNotOpenedAndGetsNothing) {
    Plug(false);
    m_devices.Open();
    EXPECT_FALSE(m_devices.IsOpened());
    EXPECT_FALSE(m_devices.Write(LightingReport::State(true, 1, 2)));
    EXPECT_TRUE(Reports().empty());
}

TEST_F(LightingDeviceTest, ReopeningForgetsAnUnpluggedDevice) {
    Plug(true);
    m_devices.Open();
    ASSERT_TRUE(m_devices.IsOpened());
    Plug(false);
    m_devices.Open();
    EXPECT_FALSE(m_devices.IsOpened());
    EXPECT_EQ(m_devices.ReleaseNumber(), 0);
}

TEST_F(LightingDeviceTest, ApplySendsModeAndColourThenStateTenMillisecondsLater) {
    Plug(true);
    m_devices.Open();
    LightPageModel page;
    LightingControl lighting(page, m_devices);
    lighting.Change([](LightingValues& values) {
        values.lightMode = 4;
        values.speed = 3;
        values.brightness = 2;
    });
    page.SetColourSliders({255, 0, 0});
    page.SetLightSwitch(false);

    // The journal's times show the gap between the two reports themselves,
    // not merely that Apply took 10 ms somewhere.
    SetEnvironmentVariableW(L"TARVENHOLM_SIM_JOURNAL_TIMES", L"1");
    lighting.Apply();
    SetEnvironmentVariableW(L"TARVENHOLM_SIM_JOURNAL_TIMES", nullptr);
    std::vector<std::string> reports;
    std::vector<unsigned long long> times;
    for (const std::string& line : Reports()) {
        const size_t at = line.rfind(" @");
        ASSERT_NE(at, std::string::npos) << line;
        reports.push_back(line.substr(0, at));
        times.push_back(std::stoull(line.substr(at + 2)));
    }
    EXPECT_EQ(reports, (std::vector<std::string>{ReportLine({0x07, 0xFF, 0x14, 0xFF, 0x00, 0x00}),
                                                 ReportLine({0x07, 0xFF, 0xFD, 0x00, 0x03, 0x02})}));
    ASSERT_EQ(times.size(), 2u);
    EXPECT_GE(times[1] - times[0], 10u) << "the state report followed the mode report too soon";
}

TEST_F(LightingDeviceTest, ApplyWithoutDeviceChangesNothing) {
    Plug(false);
    m_devices.Open();
    LightPageModel page;
    LightingControl lighting(page, m_devices);
    lighting.Apply();
    EXPECT_TRUE(Reports().empty());
    EXPECT_EQ(page.SelectedLightMode(), 1);
}

TEST_F(LightingDeviceTest, ResetStoresShowsAndSendsTheDefaults) {
    Plug(true);
    m_devices.Open();
    LightPageModel page;
    LightingControl lighting(page, m_devices);
    lighting.ResetToDefaults();

    EXPECT_EQ(Reports(), (std::vector<std::string>{ReportLine({0x07, 0xFF, 0x14, 0x00, 0x80, 0xFF}),
                                                   ReportLine({0x07, 0xFF, 0xFD, 0x01, 0x09, 0x04})}));
    EXPECT_EQ(page.SelectedLightMode(), 4);
    EXPECT_TRUE(page.LightSwitchOn());
    EXPECT_EQ(page.BrightnessSlider(), 4);
    EXPECT_EQ(page.SpeedSlider(), 9);
    EXPECT_EQ(page.ColourPreview(), 0xFF8000u);
    EXPECT_TRUE(page.ColourSliders() == (RgbColour{0, 128, 255}));
    EXPECT_EQ(settings::ReadInteger(settings::kLightMode), 4);
    EXPECT_EQ(settings::ReadInteger(settings::kLightOnOff), 1);
    EXPECT_EQ(settings::ReadInteger(settings::kLightBrightness), 4);
    EXPECT_EQ(settings::ReadInteger(settings::kLightSpeed), 9);
    EXPECT_EQ(settings::ReadInteger(settings::kLightColor), 16744448);

    // Then only the colour changes: the page's other values go out with it.
    page.SetColourSliders({10, 20, 30});
    lighting.Apply();
    const auto reports = Reports();
    ASSERT_EQ(reports.size(), 4u);
    EXPECT_EQ(reports[2], ReportLine({0x07, 0xFF, 0x14, 10, 20, 30}));
    EXPECT_EQ(reports[3], ReportLine({0x07, 0xFF, 0xFD, 0x01, 0x09, 0x04}));
}

TEST_F(LightingDeviceTest, RestoreTakesStoredValuesOrDefaults) {
    LightPageModel page;
    LightingControl lighting(page, m_devices);
    lighting.RestoreFromSettings();
    EXPECT_EQ(page.SelectedLightMode(), 4);
    EXPECT_TRUE(page.LightSwitchOn());
    EXPECT_EQ(page.BrightnessSlider(), 4);
    EXPECT_EQ(page.SpeedSlider(), 9);
    EXPECT_TRUE(page.ColourSliders() == (RgbColour{0x00, 0x80, 0xFF}));
    EXPECT_TRUE(page.ColourControlsEnabled());
    EXPECT_FALSE(page.SpeedSliderVisible());

    settings::WriteText(settings::kLightMode, L"2");
    settings::WriteText(settings::kLightOnOff, L"0");
    settings::WriteText(settings::kLightSpeed, L"3");
    settings::WriteText(settings::kLightColor, std::to_wstring(0x30201));  // R 1, G 2, B 3
    lighting.RestoreFromSettings();
    EXPECT_EQ(page.SelectedLightMode(), 2);
    EXPECT_FALSE(page.LightSwitchOn());
    EXPECT_EQ(page.SpeedSlider(), 3);
    EXPECT_EQ(page.ColourPreview(), 0x30201u);
    EXPECT_TRUE(page.ColourSliders() == (RgbColour{1, 2, 3}));
    EXPECT_FALSE(page.ColourControlsEnabled());
    EXPECT_TRUE(page.SpeedSliderVisible());
}

TEST_F(LightingDeviceTest, StoredModeOutsideTheListSendsModeCodeZero) {
    Plug(true);
    m_devices.Open();
    settings::WriteText(settings::kLightMode, L"9");
    LightPageModel page;
    LightingControl lighting(page, m_devices);
    lighting.RestoreFromSettings();
    lighting.Apply();
    ASSERT_FALSE(Reports().empty());
    EXPECT_EQ(Reports()[0], ReportLine({0x07, 0xFF, 0x00, 0x00, 0x80, 0xFF}));
}

// Command 2 through the main window: with the device there it reads the
// firmware's mode and restores the page; without it, it stops at once.
TEST_F(LightingDeviceTest, DeviceInitialisationNeedsTheDevice) {
    PerformanceModePorts::Initialise();
    m_sim.Write(L"firmware.ini", "[firmware]\r\nmode=2\r\n");
    settings::WriteText(settings::kLightSpeed, L"6");

    Plug(false);
    DeviceMainDlg absent;
    absent.RunDeviceInitialisation();
    EXPECT_EQ(absent.PerformanceMode(), 0);
    EXPECT_EQ(absent.Lighting().Values().speed, 5);  // the window's initial value
    EXPECT_TRUE(m_sim.Lines(L"ports.log").empty());

    Plug(true);
    DeviceMainDlg present;
    present.RunDeviceInitialisation();
    EXPECT_EQ(present.PerformanceMode(), 2);
    EXPECT_EQ(present.Lighting().Values().speed, 6);
    EXPECT_EQ(present.Lighting().Values().lightMode, 4);
    EXPECT_EQ(m_sim.Lines(L"ports.log").size(), 5u);
    EXPECT_TRUE(Reports().empty());  // nothing is sent during initialisation
}

// The device half of the defaults reset: the mode-1 write, then the
// lighting defaults, all on the calling (UI) thread.
TEST_F(LightingDeviceTest, DefaultsResetWritesModeOneThenTheLightingDefaults) {
    PerformanceModePorts::Initialise();
    Plug(true);
    m_devices.Open();
    DeviceMainDlg window;
    window.SetPerformanceMode(2);
    window.ResetDeviceDefaults();
    EXPECT_EQ(window.PerformanceMode(), 1);
    EXPECT_EQ(settings::ReadInteger(settings::kPerfMode), 1);
    EXPECT_EQ(m_sim.Lines(L"ports.log"),
              (std::vector<std::string>{"W 0070 6B", "W 0071 BC", "W 0070 6C", "W 0071 B1", "W 00B2 ED"}));
    EXPECT_EQ(Reports(), (std::vector<std::string>{ReportLine({0x07, 0xFF, 0x14, 0x00, 0x80, 0xFF}),
                                                   ReportLine({0x07, 0xFF, 0xFD, 0x01, 0x09, 0x04})}));
}

}  // namespace
