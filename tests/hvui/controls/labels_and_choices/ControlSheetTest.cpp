// Every control of this library part with the real skin, laid out as the
// main window uses them. Each must show something in its rectangle; with
// HVUI_CONTROLS1_SHEET=<file.bmp> the sheet is also saved for a person to look at.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "CArea.h"
#include "CImageButton.h"
#include "CSwitchButton.h"
#include "CTabCtrl5.h"
#include "CTextButton.h"
#include "ControlsTestSupport.h"
#include "MButton.h"
#include "MComboBox.h"
#include "MPicture.h"
#include "MRender.h"
#include "MText.h"
#include "PaintManager.h"
#include "TabCtrlEx.h"

using namespace controls_test;

namespace {

const auto* const kGdiplus = ::testing::AddGlobalTestEnvironment(new hvui_test::GdiplusEnvironment);

constexpr int kSheetWidth = 1100;
constexpr int kSheetHeight = 720;
constexpr uint32_t kSheetBackground = 0x0D0F13;

// The controls of the sheet, owned here, all on one manager.
struct Sheet {
    PaintManager manager;
    hvui_test::RecordingParent parent;
    std::vector<std::unique_ptr<MControl>> controls;

    template <class T>
    T* Add(std::unique_ptr<T> control) {
        T* raw = control.get();
        raw->SetManager(&manager);
        controls.push_back(std::move(control));
        return raw;
    }
    ~Sheet() {
        for (auto& control : controls) control->SetManager(nullptr);
    }
};

void Build(Sheet& s) {
    MObject* p = &s.parent;
    auto* back = s.Add(std::make_unique<MPicture>(p, 1, CRect(0, 0, kSheetWidth, kSheetHeight), 1, 1));
    back->SetImage(L"main_bkg.png", 1);
    back->SetShowMode(ShowStretch, 0);

    auto* nav = s.Add(std::make_unique<TabCtrlEx>(p, 2, CRect(20, 20, 255, 700), 1, 1));
    nav->AddItem(L"System", 0, L"tab_system_mode.png", nullptr);
    nav->AddItem(L"Light", 1, L"tab_light.png", nullptr);
    nav->SetSelectItem(0);

    auto* card = s.Add(std::make_unique<CArea>(p, 3, CRect(280, 20, 1080, 200), 1, 1));
    card->SetTransparent(0, 0, RGB(0x17, 0x1B, 0x22));
    card->SetFrame(1, Gdiplus::Color(0xFF262C36), 1);

    auto* caption = s.Add(std::make_unique<MText>(p, 4, CRect(300, 30, 700, 60), L"Performance mode", 1));
    caption->SetTextColor(Gdiplus::Color(0xFFF2F2F2));
    caption->SetFontWidth(20);
    caption->SetFontStyle(1);

    auto* modes = s.Add(std::make_unique<CTabCtrl5>(p, 5, CRect(300, 80, 900, 122), 1, 1));
    modes->AddItem(L"Quiet", 0, L"img_btn_permode1.png");
    modes->AddItem(L"Balanced", 1, L"img_btn_permode2.png");
    modes->AddItem(L"Performance", 2, L"img_btn_permode3.png");
    modes->SetSelectItem(1);

    auto* dial = s.Add(std::make_unique<MPicture>(p, 6, CRect(300, 220, 695, 615), 1, 1));
    dial->SetImage(L"img_permode2.png", 1);

    auto* combo = s.Add(std::make_unique<MComboBox>(p, 7, CRect(740, 230, 890, 265), 1, 1));
    combo->SetImage(L"img_combox.png", 4);
    combo->SetTextColor(Gdiplus::Color(0xFFFFFFFF));
    combo->AddItem(L"English", 1033, L"", Gdiplus::Color(0));
    combo->SelectData(1033);

    auto* label = s.Add(std::make_unique<MText>(p, 8, CRect(740, 290, 940, 322), L"Start with Windows", 1));
    label->SetTextColor(Gdiplus::Color(0xFFF2F2F2));
    for (int i = 0; i < 2; ++i) {
        auto* sw = s.Add(std::make_unique<CSwitchButton>(p, 9 + i, CRect(960 + 0 * i, 290 + 50 * i, 1040, 322 + 50 * i), 1, 1));
        sw->SetImage(L"img_btn_switch.png", 2);
        sw->SetCheck(i);
    }

    auto* ok = s.Add(std::make_unique<MButton>(p, 11, CRect(740, 420, 820, 456), L"OK", 1, 1));
    ok->SetImage(L"img_button.png", 4);
    ok->SetTextColor(Gdiplus::Color(0xFFFFFFFF));
    auto* off = s.Add(std::make_unique<MButton>(p, 12, CRect(840, 420, 920, 456), L"Cancel", 1, 0));
    off->SetImage(L"img_button.png", 4);

    auto* close = s.Add(std::make_unique<CImageButton>(p, 13, CRect(1050, 640, 1080, 670), L"", 1, 1));
    close->SetImage(L"sysbtn_close.png", 4);

    auto* reset = s.Add(std::make_unique<CTextButton>(p, 14, CRect(740, 480, 940, 510), L"Restore defaults", 1, 1));
    (void)reset;
}

}  // namespace

TEST(ControlSheet, EveryControlShowsItselfWithTheRealSkin) {
    Sheet sheet;
    Build(sheet);
    PixelSurface surface(kSheetWidth, kSheetHeight);
    surface.Fill(0xFF000000 | kSheetBackground);
    HDC& dc = surface.DC();
    const CRect all(0, 0, kSheetWidth, kSheetHeight);
    // The background picture alone first: each control must add to it.
    sheet.controls[0]->Draw(dc, all);
    PixelSurface backdrop(kSheetWidth, kSheetHeight);
    HDC& backdropDc = backdrop.DC();
    BitBlt(backdropDc, 0, 0, kSheetWidth, kSheetHeight, dc, 0, 0, SRCCOPY);
    for (size_t i = 1; i < sheet.controls.size(); ++i) sheet.controls[i]->Draw(dc, all);
    GdiFlush();

    for (size_t i = 1; i < sheet.controls.size(); ++i) {
        const CRect r = sheet.controls[i]->GetRect() & all;
        int changed = 0;
        for (int y = r.top; y < r.bottom; y += 2)
            for (int x = r.left; x < r.right; x += 2)
                if (!Near(surface.Rgb(x, y), backdrop.Rgb(x, y), 8)) ++changed;
        EXPECT_GT(changed, 10) << "control " << sheet.controls[i]->GetControlID() << " shows nothing";
    }

    wchar_t path[MAX_PATH];
    if (GetEnvironmentVariableW(L"HVUI_CONTROLS1_SHEET", path, MAX_PATH)) {
        EXPECT_TRUE(MRender::SaveBitmapToFile(surface.Bitmap(), path));
    }
}
