// The gallery's light and system controls: sliders, colour sliders, six
// gauges fed from a thread, the light mode list and the colour wheel, on a
// panel laid out like the program's pages, with the real skin.
//   hvui_gallery.exe --controls [seconds]
// With seconds the window closes by itself (for screenshots); without, Escape
// closes it.
#include "GalleryPartTwo.h"

#include <atomic>
#include <cmath>
#include <cstring>
#include <cstdlib>
#include <thread>

#include "CHardwareInfo.h"
#include "CHardwareInfo2.h"
#include "CirclePalette.h"
#include "LightCtrl.h"
#include "MDialog.h"
#include "MPanel.h"
#include "MSlider.h"
#include "MText.h"
#include "Manager.h"
#include "PaintManager.h"

namespace {

constexpr int kWidth = 1240;
constexpr int kHeight = 700;
constexpr unsigned kPanelId = 500;
constexpr unsigned kAnimationPeriodMs = 16;
constexpr DWORD kFeedPeriodMs = 500;
constexpr Gdiplus::ARGB kLabelColour = 0xFFC8C8C8;
constexpr unsigned kCodeCommitted = 2;
constexpr unsigned kCodeColourChanging = 27;
// The wheel finds a colour only in a ring it has painted: it is set once the
// window has shown.
constexpr UINT_PTR kFirstColourTimer = 1;
constexpr UINT kFirstColourDelayMs = 200;
// A blue in the lower left of the ring, in control coordinates.
constexpr int kFirstColourX = 30;
constexpr int kFirstColourY = 100;
constexpr double kTwoPi = 6.283185307179586;

enum : unsigned {
    kCpuFanId = 48, kGpuFanId = 49, kCpuId = 50, kGpuId = 51, kDiskId = 52, kMemoryId = 53,
    kLightListId = 60, kBrightnessId = 64, kSpeedId = 66, kWheelId = 71, kRedId = 75, kGreenId = 76, kBlueId = 77,
};

struct SliderSpec {
    unsigned id;
    const wchar_t* label;
    CRect rect;
    int imageCount;
    int maximum;
    int position;
    int showText;
};

// A reading that drifts smoothly between low and high.
float Wave(double t, double period, double phase, float low, float high) {
    const double s = 0.5 + 0.5 * std::sin(kTwoPi * t / period + phase);
    return low + static_cast<float>(s) * (high - low);
}

class ControlsDialog : public MDialog {
public:
    ~ControlsDialog() override { StopFeed(); }

    void InitUI(CRect client) override {
        SetBackMode(BackModeNineSlice, 36);
        LoadBKImage(L"main_bkg.png");
        m_paintManager.SetWindowMixSize(0, 0);
        m_panel = new MPanel(this, kPanelId, CRect(0, 0, client.right, client.bottom), 1);
        m_panel->SetManager(&m_paintManager);
        m_paintManager.AppendChild(1, m_panel);
        BuildGauges();
        BuildLightControls();
        StartFeed();
    }

    int OnTimer(unsigned id) override {
        if (id != kFirstColourTimer) return MDialog::OnTimer(id);
        KillTimer(kFirstColourTimer);
        if (!m_wheel) return 1;
        // Taken from the painted ring, so that the marker finds it there.
        const COLORREF colour = m_wheel->GetTableColor(kFirstColourX, kFirstColourY);
        m_wheel->SetSelectColor(colour);
        ShowColourOnSliders(colour);
        return 1;
    }

    LRESULT OnMessage(unsigned id, unsigned code, WPARAM, LPARAM) override {
        // The wheel and the R/G/B sliders follow each other, as on the light page.
        if (id == kWheelId && (code == kCodeColourChanging || code == kCodeCommitted) && m_wheel)
            ShowColourOnSliders(m_wheel->GetSelectColor());
        if (code == kCodeCommitted && (id == kRedId || id == kGreenId || id == kBlueId) && m_wheel)
            m_wheel->SetSelectColor(RGB(SliderValue(kRedId), SliderValue(kGreenId), SliderValue(kBlueId)));
        if (code != kCodeCommitted) return 0;
        CString text;
        if (id == kLightListId) text.Format(L"Light mode %d", m_list->GetCurLightMode());
        else if (id == kWheelId) text.Format(L"Colour #%06X", static_cast<unsigned>(m_wheel->GetSelectColor()));
        else if (MSlider* slider = Slider(id))
            text.Format(L"Slider %u at %d", id, slider->GetProgress());
        if (!text.IsEmpty()) SetMessage(text, CRect(), MsgInfo);
        return 0;
    }

    LRESULT OnWindowMessage(UINT msg, WPARAM wParam, LPARAM lParam) override {
        if (msg == WM_KEYDOWN && wParam == VK_ESCAPE) DoCancel();
        if (msg == WM_DESTROY) StopFeed();
        return MDialog::OnWindowMessage(msg, wParam, lParam);
    }

private:
    MSlider* Slider(unsigned id) const { return dynamic_cast<MSlider*>(m_panel->GetControl(id)); }
    int SliderValue(unsigned id) const {
        MSlider* slider = Slider(id);
        return slider ? slider->GetProgress() : 0;
    }
    void ShowColourOnSliders(COLORREF colour) {
        const struct {
            unsigned id;
            int value;
        } channels[] = {{kRedId, GetRValue(colour)}, {kGreenId, GetGValue(colour)}, {kBlueId, GetBValue(colour)}};
        for (const auto& channel : channels)
            if (MSlider* slider = Slider(channel.id)) slider->SetProgress(channel.value);
    }

    void Label(const wchar_t* text, CRect rect) {
        auto* label = dynamic_cast<MText*>(m_panel->CreateArea(L"MText", 0, rect, text, 1, 1));
        if (!label) return;
        label->SetFont(L"Segoe UI", 15, Gdiplus::FontStyleBold);
        label->SetTextColor(Gdiplus::Color(kLabelColour));
    }

    void BuildGauges() {
        Label(L"System", CRect(40, 30, 400, 60));
        const struct {
            unsigned id;
            CRect rect;
        } rings[] = {{kCpuId, CRect(40, 70, 383, 225)},
                     {kGpuId, CRect(410, 70, 753, 225)},
                     {kMemoryId, CRect(40, 240, 383, 395)},
                     {kDiskId, CRect(410, 240, 753, 395)}};
        for (const auto& ring : rings) {
            auto* gauge = dynamic_cast<CHardwareInfo*>(m_panel->CreateArea(L"CHardwareInfo", ring.id, ring.rect,
                                                                           L"", 1, 1));
            if (gauge) gauge->SetImage(L"img_systemmode_bkg.png", 1);
            m_rings[&ring - rings] = gauge;
        }
        const CRect fans[] = {CRect(40, 405, 440, 503), CRect(470, 405, 870, 503)};
        const unsigned fanIds[] = {kCpuFanId, kGpuFanId};
        for (int i = 0; i < 2; ++i) {
            m_fans[i] = dynamic_cast<CHardwareInfo2*>(m_panel->CreateArea(L"CHardwareInfo2", fanIds[i], fans[i], L"",
                                                                           1, 1));
            if (m_fans[i]) m_fans[i]->SetImage(L"img_fan.png", 1);
        }
    }

    void BuildLightControls() {
        Label(L"Colour", CRect(900, 30, 1200, 60));
        m_wheel = dynamic_cast<CirclePalette*>(
            m_panel->CreateControl(L"CirclePalette", kWheelId, CRect(960, 70, 1091, 201), L"", 1, 1));
        if (m_wheel) m_wheel->SetImage(L"img_circlepalette.png", 1);
        SetTimer(kFirstColourTimer, kFirstColourDelayMs, nullptr);
        const SliderSpec sliders[] = {
            {kRedId, L"R", CRect(930, 215, 1160, 251), 1, 255, 0, 0},
            {kGreenId, L"G", CRect(930, 255, 1160, 291), 1, 255, 128, 0},
            {kBlueId, L"B", CRect(930, 295, 1160, 331), 1, 255, 255, 0},
            {kBrightnessId, L"Brightness", CRect(1010, 375, 1200, 411), 2, 4, 4, 1},
            {kSpeedId, L"Speed", CRect(1010, 430, 1200, 466), 2, 9, 5, 1},
        };
        for (const SliderSpec& spec : sliders) {
            auto* slider = dynamic_cast<MSlider*>(m_panel->CreateControl(L"MSlider", spec.id, spec.rect, L"", 1, 1));
            if (!slider) continue;
            slider->SetImage(L"img_slider_back.png", spec.imageCount);
            slider->SetThumbImage(L"img_thumb.png");
            slider->SetShowText(spec.showText);
            slider->SetMaxProgress(spec.maximum);
            slider->SetProgress(spec.position);
            const int labelLeft = spec.showText ? 900 : 905;
            const int labelRight = spec.showText ? spec.rect.left - 5 : spec.rect.left;
            Label(spec.label, CRect(labelLeft, spec.rect.top + 8, labelRight, spec.rect.top + 32));
        }

        Label(L"Light mode", CRect(40, 515, 400, 545));
        m_list = dynamic_cast<LightCtrl*>(
            m_panel->CreateControl(L"LightCtrl", kLightListId, CRect(20, 550, 1220, 690), L"", 1, 1));
        if (!m_list) return;
        const wchar_t* names[] = {L"Rainbow", L"Breathing", L"Wave", L"Static", L"Colour cycle", L"Flash", L"Meteor"};
        for (int i = 0; i < 7; ++i) {
            CString image;
            image.Format(L"light_mode%d.png", i + 1);
            m_list->AddLight(names[i], i + 1, image);
        }
        m_list->SetCurLightMode(1);
        m_list->SetProgressBar(0);
        m_list->SetItemsPerPage(7);
    }

    // The program sets the gauges from its worker thread; so does this feed.
    void StartFeed() {
        m_feeding = true;
        m_feed = std::thread([this] { Feed(); });
    }

    void StopFeed() {
        m_feeding = false;
        if (m_feed.joinable()) m_feed.join();
    }

    void Feed() noexcept {
        const DWORD start = GetTickCount();
        while (m_feeding) {
            const double t = static_cast<double>(GetTickCount() - start) / 1000.0;
            const float cpuLoad = Wave(t, 7.0, 0.0, 8.0f, 92.0f);
            const float gpuLoad = Wave(t, 11.0, 1.0, 3.0f, 70.0f);
            const float memory = Wave(t, 17.0, 2.0, 38.0f, 61.0f);
            const float cpuFan = Wave(t, 9.0, 0.5, 30.0f, 80.0f);
            const float gpuFan = Wave(t, 13.0, 2.5, 20.0f, 65.0f);
            CString text;
            if (m_fans[0]) {
                text.Format(L"%dr/min(%d%%)", static_cast<int>(cpuFan * 48.0f), static_cast<int>(cpuFan));
                m_fans[0]->SetHardwareInfo(L"CPU", text);
                m_fans[0]->SetHardwareInfoValue(cpuFan);
            }
            if (m_rings[0]) {
                text.Format(L"%d\u00B0C", 38 + static_cast<int>(cpuLoad / 2.0f));
                m_rings[0]->SetHardwareInfo(L"Compact APU 8-Core", text);
                m_rings[0]->SetHardwareInfoValue(cpuLoad);
            }
            if (m_fans[1]) {
                text.Format(L"%dr/min(%d%%)", static_cast<int>(gpuFan * 40.0f), static_cast<int>(gpuFan));
                m_fans[1]->SetHardwareInfo(L"GPU", text);
                m_fans[1]->SetHardwareInfoValue(gpuFan);
            }
            if (m_rings[1]) {
                text.Format(L"%d\u00B0C", 35 + static_cast<int>(gpuLoad / 2.0f));
                m_rings[1]->SetHardwareInfo(L"Integrated Graphics", text);
                m_rings[1]->SetHardwareInfoValue(gpuLoad);
            }
            if (m_rings[2]) {
                text.Format(L"%0.1f / %0.1f GB", 16.0 * memory / 100.0, 16.0);
                m_rings[2]->SetHardwareInfo(L"Memory", text);
                m_rings[2]->SetHardwareInfoValue(memory);
            }
            if (m_rings[3]) {
                m_rings[3]->SetHardwareInfo(L"Disk C:", L"212 / 476 GB");
                m_rings[3]->SetHardwareInfoValue(44.6f);
            }
            Sleep(kFeedPeriodMs);
        }
    }

    MPanel* m_panel = nullptr;
    CHardwareInfo* m_rings[4] = {};
    CHardwareInfo2* m_fans[2] = {};
    CirclePalette* m_wheel = nullptr;
    LightCtrl* m_list = nullptr;
    std::atomic<bool> m_feeding{false};
    std::thread m_feed;
};

void PumpFor(DWORD milliseconds) {
    const DWORD start = GetTickCount();
    MSG message;
    while (GetTickCount() - start < milliseconds) {
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        Sleep(5);
    }
}

}  // namespace

bool RunControlsGallery(int argc, char** argv, int& result) {
    if (argc < 2 || std::strcmp(argv[1], "--controls") != 0) return false;
    Manager::SetInstance(GetModuleHandleW(nullptr));
    Manager::InitGdiplus();
    {
        ControlsDialog dialog;
        dialog.Create(nullptr, L"HVUI gallery: light and system controls", WS_POPUP, 0,
                      CRect(0, 0, kWidth, kHeight));
        dialog.SetMTimer(kAnimationPeriodMs);
        if (argc > 2) {
            dialog.ShowWindow(SW_SHOW);
            PumpFor(static_cast<DWORD>(std::atoi(argv[2])) * 1000);
            dialog.DestroyWindow();
        } else {
            dialog.ShowModal(SW_SHOW);
        }
    }
    Manager::UnInitGdiplus();
    result = 0;
    return true;
}
