// Until the program's main window is on the framework, PaintBench measures a
// stand-in with the main window's frame and system page pictures from the
// real skin at their places.
#include "PaintBenchWindow.h"

#include <gdiplus.h>

#include "CHardwareInfo.h"
#include "CHardwareInfo2.h"
#include "MPanel.h"
#include "MPicture.h"
#include "Manager.h"

namespace {

class SkinWindow : public MDialog {
public:
    void InitUI(CRect client) override {
        auto* background = static_cast<MPicture*>(CreateArea(L"MPicture", 30, client, nullptr, 1, 1));
        background->SetImage(L"main_bkg.png", 1);
        background->SetShowMode(ShowFrameMID, 4);
        background->SetShowModeMID(36, 36, 36, 36);
        Picture(40, L"img_perf_bkg.png", CRect(0, 100, 1500, 788));
        // The gauges exist only on a page container, as on the system page.
        auto* page = static_cast<MPanel*>(CreateControl(L"MTabLayout", 37, CRect(230, 100, 1499, 839), nullptr, 1, 1));
        static_cast<MPicture*>(page->CreateArea(L"MPicture", 47, CRect(490, 210, 885, 605), nullptr, 1, 1))
            ->SetImage(L"img_permode1.png", 1);
        const CRect gauges[] = {{1120, 115, 1463, 270}, {1120, 290, 1463, 445}, {1120, 465, 1463, 620},
                                {1120, 640, 1463, 795}};
        unsigned id = 50;
        for (const CRect& rect : gauges) {
            auto* gauge = static_cast<CHardwareInfo*>(page->CreateArea(L"CHardwareInfo", id++, rect, nullptr, 1, 1));
            gauge->SetImage(L"img_systemmode_bkg.png", 1);
            gauge->SetHardwareInfo(L"CPU", L"45\u00B0C");
            gauge->SetHardwareInfoValue(45);
        }
        for (int i = 0; i < 2; ++i) {
            auto* fan = static_cast<CHardwareInfo2*>(
                page->CreateArea(L"CHardwareInfo2", 48 + i, CRect(290 + 439 * i, 715, 690 + 439 * i, 813), nullptr, 1, 1));
            fan->SetImage(L"img_fan.png", 1);
            fan->SetHardwareInfo(L"CPU Fan", L"2600r/min(50%)");
            fan->SetHardwareInfoValue(50);
        }
    }

private:
    void Picture(unsigned id, const wchar_t* image, CRect rect) {
        static_cast<MPicture*>(CreateArea(L"MPicture", id, rect, nullptr, 1, 1))->SetImage(image, 1);
    }
};

}  // namespace

namespace paint_bench {

std::unique_ptr<MDialog> CreateMainWindow() {
    static ULONG_PTR gdiplusToken = 0;
    Gdiplus::GdiplusStartupInput input;
    Gdiplus::GdiplusStartup(&gdiplusToken, &input, nullptr);
    Manager::SetInstance(GetModuleHandleW(nullptr));
    auto window = std::make_unique<SkinWindow>();
    window->Create(nullptr, L"Tarvenholm", 0x96020000, 0, CRect(0, 0, 1500, 840));
    window->CenterWindow(nullptr);
    window->ShowWindow(SW_SHOWNORMAL);
    return window;
}

}  // namespace paint_bench
