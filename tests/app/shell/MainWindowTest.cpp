// The main window in one process: its layout for any client size, the
// presentation rules of the light page, and what the handlers store, show
// and send. The window is real (framework dialog, worker, simulated device);
// notifications are handed in as the framework hands them, after the
// control has been put in the state a user's action leaves it in.
#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>
#include <cwchar>
#include <string>
#include <thread>
#include <vector>

#include "CArea.h"
#include "CImageButton.h"
#include "CSwitchButton.h"
#include "CTabCtrl5.h"
#include "CUIMessageBox.h"
#include "CHardwareInfo.h"
#include "CHardwareInfo2.h"
#include "CirclePalette.h"
#include "DeviceMainDlg.h"
#include "LightCtrl.h"
#include "MComboBox.h"
#include "MPicture.h"
#include "MSlider.h"
#include "MTabLayout.h"
#include "MText.h"
#include "MainWindowIds.h"
#include "Manager.h"
#include "ModalDialogDriver.h"
#include "ScopedSimFolder.h"
#include "SettingsStore.h"
#include "TabCtrlEx.h"

namespace {

namespace id = control_id;
constexpr unsigned kCommitted = 2;
constexpr RECT kClient = {0, 0, 1500, 840};

bool SameRect(const CRect& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

std::string Narrow(const std::wstring& text) { return std::string(text.begin(), text.end()); }

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        // Loopback with nothing listening: the firmware check after the
        // device initialisation fails at once instead of going out.
        SetEnvironmentVariableW(L"TARVENHOLM_UPDATE_URL", L"http://127.0.0.1:9/");
        m_sim.Write(L"lighting.ini", "[device]\r\npresent=1\r\nrelease=0x0105\r\n");
        m_sim.Write(L"firmware.ini", "[firmware]\r\nmode=0\r\n");
        settings::WriteText(settings::kAutoRunTask, L"1");  // no task creation here
        Manager::SetLanguage(1033);
        ASSERT_NE(m_window.Create(nullptr, L"main window test", WS_POPUP | WS_VISIBLE, 0, kClient), nullptr);
        // Device initialisation done: the page shows what the store holds.
        ASSERT_TRUE(modal_test::WaitUntil([&] { return !m_sim.Lines(L"ports.log").empty(); }, 5000));
        Sleep(300);
    }
    void TearDown() override {
        EXPECT_TRUE(m_window.StopThread(5000));
        m_window.DestroyWindow();
        SetEnvironmentVariableW(L"TARVENHOLM_UPDATE_URL", nullptr);
    }

    LRESULT Notify(unsigned controlId) { return m_window.OnMessage(controlId, kCommitted, 0, 0); }

    // Waits for the worker to send one more pair of lighting reports.
    std::vector<std::string> ReportsAfter(size_t before) {
        modal_test::WaitUntil([&] { return m_sim.Lines(L"hid.log").size() >= before + 2; }, 3000);
        return m_sim.Lines(L"hid.log");
    }

    // Answers the next message box with the given button (0: the system's
    // close command) from another thread while the handler waits in it.
    std::thread AnswerMessageBox(int button) {
        return std::thread([button] {
            HWND box = modal_test::WaitForWindow(CUIMessageBox::kWindowName);
            if (!box) return;
            Sleep(200);
            if (button == 0) {
                PostMessageW(box, WM_SYSCOMMAND, SC_CLOSE, 0);
            } else {
                const POINT at = button == 1 ? POINT{150, 188} : POINT{350, 188};
                modal_test::ClickAt(box, at);
            }
        });
    }

    ScopedSimFolder m_sim;
    DeviceMainDlg m_window;
};

TEST_F(MainWindowTest, BuildsOnceAndFollowsTheClientSize) {
    EXPECT_TRUE(SameRect(m_window.m_closeButton->GetRect(), {1440, 10, 1470, 40}));
    EXPECT_TRUE(m_window.m_systemPage->IsVisible());
    EXPECT_FALSE(m_window.m_lightPage->IsVisible());
    EXPECT_FALSE(m_window.m_settingsPage->IsVisible());
    EXPECT_EQ(m_window.m_navigation->GetSelectItem(), 0);
    EXPECT_EQ(m_window.m_languageSelector->GetCurData(), 1033);

    m_window.UISize(CRect(0, 0, 1600, 900));
    EXPECT_TRUE(SameRect(m_window.m_closeButton->GetRect(), {1540, 10, 1570, 40}));
    EXPECT_TRUE(SameRect(m_window.m_minimiseButton->GetRect(), {1490, 10, 1520, 40}));
    EXPECT_TRUE(SameRect(m_window.m_background->GetRect(), {0, 0, 1600, 900}));
    EXPECT_TRUE(SameRect(m_window.m_systemPage->GetRect(), {230, 100, 1599, 899}));
    // The pages are laid out for 1500 x 840 and stay where they are.
    EXPECT_TRUE(SameRect(m_window.m_cpuGauge->GetRect(), {1120, 115, 1463, 270}));
    EXPECT_TRUE(SameRect(m_window.m_gpuFanGauge->GetRect(), {729, 715, 1129, 813}));
    EXPECT_TRUE(SameRect(m_window.m_settingsPage->GetRect(), {1190, 50, 1525, 240}));
    const CRect machine = m_window.m_machinePicture->GetRect();
    EXPECT_EQ(machine.left, 530);
    EXPECT_GT(machine.Width(), 0);  // sized by its picture
}

TEST_F(MainWindowTest, PresentationFollowsModeAndSwitch) {
    struct Case {
        int mode;
        int switchOn;
        bool colourEnabled, coverVisible, speedVisible;
    };
    const Case cases[] = {
        {4, 1, true, false, false},
        {4, 1, true, false, false},  // the same mode twice changes nothing
        {2, 1, false, true, true},
        {2, 0, false, true, true},
        {4, 0, false, true, false},  // switch off keeps the speed hidden
    };
    for (const Case& c : cases) {
        m_window.m_lightModeList->SetCurLightMode(c.mode);
        Notify(id::kLightModeList);
        m_window.m_lightingSwitch->SetCheck(c.switchOn);
        Notify(id::kLightingSwitch);
        const std::string where = "mode " + std::to_string(c.mode) + " switch " + std::to_string(c.switchOn);
        for (MControl* colour : std::vector<MControl*>{m_window.m_colourPreview, m_window.m_colourWheel,
                                                       m_window.m_redSlider, m_window.m_greenSlider,
                                                       m_window.m_blueSlider})
            EXPECT_EQ(colour->IsEnabled() != 0, c.colourEnabled) << where;
        EXPECT_EQ(m_window.m_colourCover->IsVisible() != 0, c.coverVisible) << where;
        EXPECT_EQ(m_window.m_speedSlider->IsVisible() != 0, c.speedVisible) << where;
        EXPECT_EQ(m_window.m_speedLabel->IsVisible() != 0, c.speedVisible) << where;
        EXPECT_EQ(settings::ReadInteger(settings::kLightMode), c.mode);
        EXPECT_EQ(settings::ReadInteger(settings::kLightOnOff), c.switchOn);
    }
    // Mode 4 chosen while the switch is off: the colour can be chosen again.
    m_window.m_lightModeList->SetCurLightMode(4);
    Notify(id::kLightModeList);
    EXPECT_TRUE(m_window.m_colourWheel->IsEnabled());
    EXPECT_FALSE(m_window.m_colourCover->IsVisible());
}

TEST_F(MainWindowTest, ColourFromSlidersAndWheelAgree) {
    m_window.m_redSlider->SetProgress(200);
    m_window.m_greenSlider->SetProgress(128);
    m_window.m_blueSlider->SetProgress(255);
    EXPECT_EQ(Notify(id::kRedSlider), 1);
    EXPECT_EQ(settings::ReadInteger(settings::kLightColor), 16744648);
    EXPECT_EQ(m_window.Lighting().Values().colour, 16744648u);

    m_window.m_colourWheel->SetSelectColor(RGB(10, 20, 30));
    const COLORREF chosen = m_window.m_colourWheel->GetSelectColor();
    EXPECT_EQ(Notify(id::kColourWheel), 1);
    EXPECT_EQ(m_window.m_redSlider->GetProgress(), GetRValue(chosen));
    EXPECT_EQ(m_window.m_greenSlider->GetProgress(), GetGValue(chosen));
    EXPECT_EQ(m_window.m_blueSlider->GetProgress(), GetBValue(chosen));
    EXPECT_EQ(m_window.Lighting().Values().colour, static_cast<uint32_t>(chosen & 0xFFFFFF));
}

TEST_F(MainWindowTest, OnlyCommittedActionsOfKnownControlsAreHandled) {
    m_window.m_performanceSelector->SetSelectItem(2);
    EXPECT_EQ(m_window.OnMessage(id::kPerformanceSelector, 1, 0, 0), 0);  // pressed, not committed
    EXPECT_EQ(m_window.PerformanceMode(), 0);
    EXPECT_EQ(m_window.OnMessage(999, kCommitted, 0, 0), 0);
    EXPECT_EQ(Notify(id::kPerformanceSelector), 0);
    EXPECT_EQ(m_window.PerformanceMode(), 2);
    EXPECT_EQ(settings::ReadInteger(settings::kPerfMode), 2);
    EXPECT_EQ(Narrow(m_window.m_modePicture->GetImagePath().GetString()).find("img_permode3.png") !=
                  std::string::npos,
              true);
}

TEST_F(MainWindowTest, LanguageChangeRenewsTextsOnlyForAnotherLanguage) {
    // The current language: nothing is stored and no text is renewed. The
    // store and a caption are given other values, so that a handler that
    // went on anyway would be seen.
    Manager::SetLanguage(1033);
    settings::StoreLanguageId(2052);
    m_window.m_modeCaption->SetTitle(L"untouched");
    m_window.m_languageSelector->SelectData(1033);
    Notify(id::kLanguageSelector);
    EXPECT_EQ(Manager::GetLanguage(), 1033);
    EXPECT_EQ(settings::LoadLanguageId(), 2052);
    EXPECT_EQ(std::wstring(m_window.m_modeCaption->GetTitle().GetString()), L"untouched");

    m_window.m_languageSelector->SelectData(1031);
    Notify(id::kLanguageSelector);
    EXPECT_EQ(Manager::GetLanguage(), 1031);
    EXPECT_EQ(settings::LoadLanguageId(), 1031);
    const std::wstring german = language::GetText(language::key::kModeCaption);
    EXPECT_FALSE(german.empty());
    EXPECT_EQ(std::wstring(m_window.m_modeCaption->GetTitle().GetString()), german);
    EXPECT_EQ(std::wstring(m_window.m_modeCpuLabel->GetTitle().GetString()), L"CPU");  // fixed labels stay
    Manager::SetLanguage(1033);
}

struct WindowSearch {
    const wchar_t* name;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectNamedWindow(HWND window, LPARAM data) {
    auto* search = reinterpret_cast<WindowSearch*>(data);
    wchar_t text[64] = {};
    GetWindowTextW(window, text, 64);
    if (IsWindowVisible(window) && wcscmp(text, search->name) == 0) search->found.push_back(window);
    return TRUE;
}

// Visible top-level windows titled name.
std::vector<HWND> VisibleWindowsNamed(const wchar_t* name) {
    WindowSearch search{name, {}};
    EnumWindows(&CollectNamedWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// Two firmware results back to back, as two device arrivals give: the
// offer's nested loop dispatches the second while the first is on screen,
// and must not put a second offer (or later a second progress dialog) on it.
TEST_F(MainWindowTest, SecondUpdateResultWhileTheOfferIsOpenIsIgnored) {
    std::atomic<size_t> mostBoxes{0};
    std::atomic<bool> answered{false};
    std::thread user([&] {
        if (!modal_test::WaitForWindow(CUIMessageBox::kWindowName)) return;
        Sleep(500);  // the second result has long been dispatched by now
        mostBoxes = VisibleWindowsNamed(CUIMessageBox::kWindowName).size();
        for (int i = 0; i < 5; ++i) {
            const std::vector<HWND> boxes = VisibleWindowsNamed(CUIMessageBox::kWindowName);
            if (boxes.empty()) break;
            modal_test::ClickAt(boxes.front(), POINT{350, 188});  // the second button: no update
            Sleep(300);
        }
        answered = true;
    });
    PostMessageW(m_window.GetSafeHwnd(), 0x69C, 2, 1);
    PostMessageW(m_window.GetSafeHwnd(), 0x69C, 2, 1);
    const DWORD start = GetTickCount();
    while (!answered && GetTickCount() - start < 15000) {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
        Sleep(10);
    }
    user.join();
    EXPECT_EQ(mostBoxes.load(), 1u);
    // Ignored, not deferred: no offer follows once the first is answered.
    EXPECT_EQ(modal_test::WaitForWindow(CUIMessageBox::kWindowName, 500), nullptr);
}

// After sleep the controller shows its firmware's default look: the resume
// reopens it (command 2, the mode read) and sends the stored lighting
// (command 4, the mode-and-colour and the state report). Other power events
// change nothing; every one is answered TRUE.
TEST_F(MainWindowTest, ResumeFromSleepSendsTheLightingAgain) {
    // What the light page is restored from at the resume.
    settings::WriteInteger(settings::kLightMode, 4);
    settings::WriteInteger(settings::kLightOnOff, 1);
    settings::WriteInteger(settings::kLightSpeed, 9);
    settings::WriteInteger(settings::kLightColor, 16744448);
    const size_t portsBefore = m_sim.Lines(L"ports.log").size();
    const size_t reportsBefore = m_sim.Lines(L"hid.log").size();
    EXPECT_EQ(SendMessageW(m_window.GetSafeHwnd(), WM_POWERBROADCAST, PBT_APMSUSPEND, 0), TRUE);
    Sleep(500);
    EXPECT_EQ(m_sim.Lines(L"hid.log").size(), reportsBefore) << "suspend sent reports";

    EXPECT_EQ(SendMessageW(m_window.GetSafeHwnd(), WM_POWERBROADCAST, PBT_APMRESUMEAUTOMATIC, 0), TRUE);
    const auto reports = ReportsAfter(reportsBefore);
    ASSERT_GE(reports.size(), reportsBefore + 2);
    EXPECT_EQ(reports[reportsBefore].substr(0, 17), "00 07 FF 14 00 80");      // mode 4, R 0, G 128
    EXPECT_EQ(reports[reportsBefore + 1].substr(0, 17), "00 07 FF FD 01 09");  // on, speed 9
    const auto ports = m_sim.Lines(L"ports.log");
    ASSERT_GT(ports.size(), portsBefore) << "no device initialisation (mode read) after the resume";
}

TEST_F(MainWindowTest, DefaultsResetAsksAndOnlyTheSecondButtonKeepsEverything) {
    m_window.m_lightModeList->SetCurLightMode(2);
    Notify(id::kLightModeList);
    m_window.m_brightnessSlider->SetProgress(1);
    Notify(id::kBrightnessSlider);
    m_window.m_speedSlider->SetProgress(3);
    Notify(id::kSpeedSlider);

    std::thread keep = AnswerMessageBox(2);
    Notify(id::kDefaultsResetButton);
    keep.join();
    EXPECT_EQ(settings::ReadInteger(settings::kLightMode), 2);
    EXPECT_EQ(settings::ReadInteger(settings::kLightBrightness), 1);
    EXPECT_EQ(m_window.m_speedSlider->GetProgress(), 3);

    // Closed by the system (answer 0): the reset goes ahead.
    std::thread closeBox = AnswerMessageBox(0);
    Notify(id::kDefaultsResetButton);
    closeBox.join();
    EXPECT_EQ(settings::ReadInteger(settings::kPerfMode), 1);
    EXPECT_EQ(settings::ReadInteger(settings::kLightMode), 4);
    EXPECT_EQ(settings::ReadInteger(settings::kLightBrightness), 4);
    EXPECT_EQ(settings::ReadInteger(settings::kLightSpeed), 9);
    EXPECT_EQ(settings::ReadInteger(settings::kLightOnOff), 1);
    EXPECT_EQ(settings::ReadInteger(settings::kLightColor), 16744448);
    EXPECT_EQ(m_window.m_performanceSelector->GetSelectItem(), 1);
    EXPECT_EQ(m_window.m_redSlider->GetProgress(), 0);
    EXPECT_EQ(m_window.m_greenSlider->GetProgress(), 128);
    EXPECT_EQ(m_window.m_blueSlider->GetProgress(), 255);
    EXPECT_TRUE(m_window.m_colourWheel->IsEnabled());

    // A later colour change sends the reset's mode, brightness and speed.
    const size_t before = m_sim.Lines(L"hid.log").size();
    m_window.m_redSlider->SetProgress(200);
    Notify(id::kRedSlider);
    const auto reports = ReportsAfter(before);
    ASSERT_GE(reports.size(), before + 2);
    EXPECT_EQ(reports[before].substr(0, 17), "00 07 FF 14 C8 80");  // mode 4, R 200, G 128
    EXPECT_EQ(reports[before + 1].substr(0, 17), "00 07 FF FD 01 09");  // on, speed 9
    EXPECT_EQ(reports[before + 1].substr(18, 2), "04");                 // brightness 4
}

}  // namespace
