// What the user sees of the main window and the message box, composed
// off-screen and held against reference pictures (tests/app/shell/reference).
// The live values are pinned first (worker stopped, fixed gauge readings,
// fixed stored settings), so a picture changes only when painting does.
// A second check composes only a changed control's area, the way a redraw
// request paints it, and holds that area against a full composition.
#include <gtest/gtest.h>

#include <windows.h>

#include <functional>
#include <string>
#include <thread>

#include "CHardwareInfo.h"
#include "CHardwareInfo2.h"
#include "CUIMessageBox.h"
#include "DeviceMainDlg.h"
#include "MSlider.h"
#include "MTabLayout.h"
#include "MainWindowIds.h"
#include "Manager.h"
#include "ModalDialogDriver.h"
#include "ReferenceImage.h"
#include "ScopedSimFolder.h"
#include "SettingsStore.h"
#include "TabCtrlEx.h"

namespace {

namespace id = control_id;
using reference_image::Picture;

[[maybe_unused]] const ::testing::Environment* const kUi =
    ::testing::AddGlobalTestEnvironment(new modal_test::UiEnvironment);

// The pointer is parked outside the window, so no control shows its hover
// state in a picture.
constexpr RECT kWindowRect = {100, 100, 1600, 940};
constexpr POINT kPointerAway = {5, 5};
constexpr unsigned kCommitted = 2;

std::wstring ReferencePath(const std::wstring& name) {
    return reference_image::PathOf(TARVENHOLM_REFERENCE_DIR, name);
}

// Compares picture with the stored reference name (or writes it when asked).
void ExpectMatchesReference(const Picture& picture, const std::wstring& name) {
    ASSERT_FALSE(picture.pixels.empty()) << "nothing was composed";
    const std::wstring path = ReferencePath(name);
    if (reference_image::WriteRequested()) {
        ASSERT_TRUE(reference_image::Save(picture, path));
        return;
    }
    const Picture expected = reference_image::Load(path);
    ASSERT_FALSE(expected.pixels.empty()) << "no reference picture " << std::string(name.begin(), name.end())
                                          << ".png (TARVENHOLM_WRITE_REFERENCES=1 writes it)";
    ASSERT_EQ(expected.width, picture.width);
    ASSERT_EQ(expected.height, picture.height);
    const auto difference =
        reference_image::Compare(expected, picture, CRect(0, 0, picture.width, picture.height));
    if (difference.count) reference_image::Save(picture, name + L"-actual.png");
    EXPECT_EQ(difference.count, 0) << "first at " << difference.x << "," << difference.y << ": expected "
                                   << std::hex << difference.expected << ", got " << difference.actual
                                   << std::dec << " (the picture is in bin/" << std::string(name.begin(), name.end())
                                   << "-actual.png)";
}

class ReferenceImagesTest : public ::testing::Test {
protected:
    void SetUp() override {
        SetEnvironmentVariableW(L"TARVENHOLM_UPDATE_URL", L"http://127.0.0.1:9/");
        m_sim.Write(L"lighting.ini", "[device]\r\npresent=1\r\nrelease=0x0105\r\n");
        m_sim.Write(L"firmware.ini", "[firmware]\r\nmode=0\r\n");
        // The pages show what the store holds: pin every value they read.
        settings::WriteText(settings::kAutoRunTask, L"1");
        settings::WriteInteger(settings::kPerfMode, 1);
        settings::WriteInteger(settings::kLightMode, 2);
        settings::WriteInteger(settings::kLightOnOff, 1);
        settings::WriteInteger(settings::kLightBrightness, 3);
        settings::WriteInteger(settings::kLightSpeed, 2);
        settings::WriteInteger(settings::kLightColor, 0x3080F0);
        Manager::SetLanguage(1033);
        SetCursorPos(kPointerAway.x, kPointerAway.y);
        ASSERT_NE(m_window.Create(nullptr, L"reference images", WS_POPUP | WS_VISIBLE, 0, kWindowRect), nullptr);
        ASSERT_TRUE(modal_test::WaitUntil([&] { return !m_sim.Lines(L"ports.log").empty(); }, 5000));
        Sleep(300);
        ASSERT_TRUE(m_window.StopThread(5000)) << "the worker would change the gauges under the pictures";
        PinGauges();
        Pump();
    }
    void TearDown() override {
        EXPECT_TRUE(m_window.StopThread(5000));
        m_window.DestroyWindow();
        SetEnvironmentVariableW(L"TARVENHOLM_UPDATE_URL", nullptr);
    }

    void PinGauges() {
        m_window.m_cpuGauge->SetHardwareInfo(L"Test CPU 8 cores", L"54.0 \u2103");
        m_window.m_cpuGauge->SetHardwareInfoValue(37.0f);
        m_window.m_gpuGauge->SetHardwareInfo(L"Test GPU", L"48.0 \u2103");
        m_window.m_gpuGauge->SetHardwareInfoValue(12.0f);
        m_window.m_memoryGauge->SetHardwareInfo(L"16 GB", L"6.2 GB");
        m_window.m_memoryGauge->SetMemoryUsed(9.8f, 6.2f);
        m_window.m_diskGauge->SetHardwareInfo(L"512 GB", L"211 GB");
        m_window.m_diskGauge->SetHardwareInfoValue(41.0f);
        m_window.m_cpuFanGauge->SetHardwareInfo(L"CPU", L"2100 RPM");
        m_window.m_cpuFanGauge->SetHardwareInfoValue(45.0f);
        m_window.m_gpuFanGauge->SetHardwareInfo(L"GPU", L"1500 RPM");
        m_window.m_gpuFanGauge->SetHardwareInfoValue(30.0f);
    }

    void Pump() {
        const DWORD start = GetTickCount();
        MSG message;
        while (GetTickCount() - start < 300) {
            while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
            Sleep(5);
        }
    }

    PaintManager& Manager() { return *m_window.GetPaintManager(); }
    CRect Client() {
        int width = 0, height = 0;
        Manager().GetClientSize(width, height);
        return CRect(0, 0, width, height);
    }
    Picture Full() { return reference_image::Compose(Manager(), Client()); }

    // Changes something, lets its redraw request arrive, then composes only
    // the control's area and holds it against a full composition.
    void ExpectPartialMatchesFull(MControl* control, const std::function<void()>& change, const char* what) {
        change();
        const CRect area = control->GetRect();
        const Picture partial = reference_image::Compose(Manager(), area);
        const Picture full = Full();
        ASSERT_FALSE(partial.pixels.empty());
        const auto difference = reference_image::Compare(full, partial, area);
        EXPECT_EQ(difference.count, 0) << what << ": first at " << difference.x << "," << difference.y << std::hex
                                       << " full " << difference.expected << ", partial " << difference.actual;
    }

    LRESULT Notify(unsigned controlId) { return m_window.OnMessage(controlId, kCommitted, 0, 0); }

    ScopedSimFolder m_sim;
    DeviceMainDlg m_window;
};

TEST_F(ReferenceImagesTest, PagesOfTheMainWindow) {
    ExpectMatchesReference(Full(), L"main-system");

    m_window.m_navigation->SetSelectItem(1);
    Notify(id::kNavigation);
    Pump();
    ExpectMatchesReference(Full(), L"main-light");

    m_window.m_navigation->SetSelectItem(0);
    Notify(id::kNavigation);
    Notify(id::kSettingsButton);
    Pump();
    ASSERT_TRUE(m_window.m_settingsPage->IsVisible());
    ExpectMatchesReference(Full(), L"main-settings");
}

TEST_F(ReferenceImagesTest, AChangedControlComposedAloneLooksAsInTheWholeWindow) {
    Full();  // every surface valid
    ExpectPartialMatchesFull(m_window.m_cpuGauge, [&] { m_window.m_cpuGauge->SetHardwareInfoValue(81.0f); }, "ring gauge");
    ExpectPartialMatchesFull(m_window.m_gpuFanGauge, [&] { m_window.m_gpuFanGauge->SetHardwareInfoValue(90.0f); },
                             "bar gauge");
    // A surface made stale without a redraw request of its own size: the
    // paint of a corner must still give it what lies under all of it.
    const Picture before = Full();
    CHardwareInfo* gauge = m_window.m_diskGauge;
    gauge->SetUpdate(0, 0);
    const CRect gaugeRect = gauge->GetRect();
    reference_image::Compose(Manager(), CRect(gaugeRect.left, gaugeRect.top, gaugeRect.left + 8, gaugeRect.top + 8));
    const auto corner = reference_image::Compare(before, Full(), gaugeRect);
    EXPECT_EQ(corner.count, 0) << "stale gauge painted from a corner: first at " << corner.x << "," << corner.y;

    m_window.m_navigation->SetSelectItem(1);
    Notify(id::kNavigation);
    Full();
    ExpectPartialMatchesFull(m_window.m_brightnessSlider, [&] { m_window.m_brightnessSlider->SetProgress(1); },
                             "slider");
}

TEST(ReferenceImagesMessageBox, TwoButtonBox) {
    modal_test::OwnerWindow owner(RECT{40, 30, 1040, 730});
    SetCursorPos(kPointerAway.x, kPointerAway.y);
    Picture picture;
    std::thread driver([&] {
        HWND box = modal_test::WaitForWindow(CUIMessageBox::kWindowName);
        if (!box) return;
        Sleep(400);  // built and painted; its thread waits in the modal loop
        auto* dialog = dynamic_cast<MDialog*>(reinterpret_cast<MWindow*>(GetWindowLongPtrW(box, GWLP_USERDATA)));
        if (dialog) {
            int width = 0, height = 0;
            dialog->GetPaintManager()->GetClientSize(width, height);
            picture = reference_image::Compose(*dialog->GetPaintManager(), CRect(0, 0, width, height));
        }
        PostMessageW(box, WM_CLOSE, 0, 0);
    });
    CUIMessageBox::ShowMessageBox(owner.Handle(), L"A newer firmware is available.\nInstall it now?", L"Update",
                                  CUIMessageBox::kStyleTwoButtons);
    driver.join();
    ExpectMatchesReference(picture, L"message-box");
}

}  // namespace
