// The gallery's main window: the frame, the navigation column with its two
// pages and the settings popup, built from the framework's controls at the
// places the program puts them, with the texts of a language file.
//   hvui_gallery.exe --window [--test-skin] [--lang LCID] [--scene system|light|settings] [--seconds N]
// The scene drives the window into a state worth a picture: "system" opens
// the language selector, "light" switches to the light page by a click on
// its tab, "settings" opens the settings popup. With seconds the window
// closes by itself (for screenshots); without, Escape or its close button.
#include "GalleryWindow.h"

#include <cstdio>

#include "CArea.h"
#include "CComboBoxWnd.h"
#include "CHardwareInfo.h"
#include "CHardwareInfo2.h"
#include "CImageButton.h"
#include "CSwitchButton.h"
#include "CTabCtrl5.h"
#include "CTextButton.h"
#include "CirclePalette.h"
#include "GallerySupport.h"
#include "GalleryTestSkin.h"
#include "LightCtrl.h"
#include "MComboBox.h"
#include "MDialog.h"
#include "MPicture.h"
#include "MSlider.h"
#include "MTabLayout.h"
#include "MText.h"
#include "TabCtrlEx.h"

namespace gallery {
namespace {

constexpr int kWidth = 1500;
constexpr int kHeight = 840;
constexpr unsigned kAnimationPeriodMs = 16;
constexpr unsigned kCodeCommitted = 2;
constexpr int kBold = 1;
constexpr int kFontSize = 16;
constexpr COLORREF kScreen = RGB(0, 0, 0);

enum : unsigned {
    kBackgroundId = 30, kCloseId = 33, kMinimiseId = 34, kSettingsId = 35, kNavigationId = 36,
    kSystemPageId = 37, kLightPageId = 38, kSettingsPageId = 39, kPageBackgroundId = 40, kLanguageId = 86,
};

struct Language {
    const wchar_t* name;
    long lcid;
};
const Language kLanguages[] = {
    {L"English", 1033}, {L"\u7B80\u4F53\u4E2D\u6587", 2052}, {L"Deutsch", 1031}, {L"\u65E5\u672C\u8A9E", 1041},
    {L"Fran\u00E7ais", 1036}, {L"Italiano", 1040}, {L"Espa\u00F1ol", 1034}, {L"\u7E41\u4F53\u4E2D\u6587", 1028},
    {L"Nederlands", 1043}, {L"j\u0119zyk polski", 1045},
};

// A text of the page tables: key (or fixed text), rectangle, alignment.
struct Caption {
    unsigned id;
    int key;  // 0: the fixed text
    const wchar_t* fixed;
    CRect rect;
    unsigned alignment;
    int style;
};

class WindowGallery : public MDialog {
public:
    void InitUI(CRect client) override {
        // Under the rounded corners of the background picture.
        SetBackColor(kScreen, kScreen);
        BuildFrame(client);
        BuildSystemPage();
        BuildLightPage();
        BuildSettingsPage();
    }

    LRESULT OnMessage(unsigned id, unsigned code, WPARAM wParam, LPARAM) override {
        if (code != kCodeCommitted) return 0;
        if (id == kSettingsId) ToggleSettings();
        if (id == kCloseId) DoCancel();
        if (id == 41 && m_modePicture) ShowMode(static_cast<int>(wParam));
        if (id == 60 && m_lights) ShowLightMode(m_lights->GetCurLightMode());
        return 0;
    }

    LRESULT OnWindowMessage(UINT msg, WPARAM wParam, LPARAM lParam) override {
        if (msg == WM_KEYDOWN && wParam == VK_ESCAPE) DoCancel();
        return MDialog::OnWindowMessage(msg, wParam, lParam);
    }

    MComboBox* LanguageSelector() const { return m_language; }
    TabCtrlEx* Navigation() const { return m_navigation; }
    void ToggleSettings() {
        if (m_settingsPage) m_settingsPage->SetVisible(!m_settingsPage->IsVisible());
    }
    MControl* Find(MPanel* page, unsigned id) const { return page ? page->GetControl(id) : nullptr; }
    MTabLayout* LightPage() const { return m_lightPage; }
    MTabLayout* SettingsPage() const { return m_settingsPage; }

    // Light mode 4 is the one with a chosen colour: the colour block is
    // usable, the speed is not; every other mode the other way round.
    void ShowLightMode(int mode) {
        const bool colour = mode == 4;
        for (unsigned id : {70u, 71u, 75u, 76u, 77u})
            if (MControl* c = Find(m_lightPage, id)) c->SetEnabled(colour ? 1 : 0);
        if (MControl* cover = Find(m_lightPage, 78)) cover->SetVisible(colour ? 0 : 1);
        for (unsigned id : {65u, 66u})
            if (MControl* c = Find(m_lightPage, id)) c->SetVisible(colour ? 0 : 1);
    }

private:
    static CString Image(const wchar_t* name) { return SkinImage(name); }

    MTabLayout* Page(unsigned id, CRect rect, bool visible) {
        auto* page = Make<MTabLayout>(*this, L"MTabLayout", id, rect);
        if (page && !visible) page->SetVisible(0);
        return page;
    }

    template <class T>
    T* Picture(T* picture, const wchar_t* image) {
        if (picture) picture->SetImage(Image(image), 1);
        return picture;
    }

    void Captions(MPanel& page, const Caption* captions, size_t count) {
        for (size_t i = 0; i < count; ++i) {
            const Caption& c = captions[i];
            const CString text = c.key ? Text(c.key) : CString(c.fixed);
            auto* label = Make<MText>(page, L"MText", c.id, c.rect, text, true);
            if (!label) continue;
            label->SetAlignment(c.alignment);
            label->SetFontStyle(c.style);
        }
    }

    void BuildFrame(CRect client) {
        if (auto* back = Picture(Make<MPicture>(*this, L"MPicture", kBackgroundId, client, L"", true), L"main_bkg.png"))
            back->SetShowModeMID(36, 36, 36, 36);
        const struct {
            unsigned id;
            const wchar_t* image;
            int tip;
            int right;
        } buttons[] = {{kCloseId, L"sysbtn_close.png", 1, 30}, {kMinimiseId, L"sysbtn_min.png", 2, 80},
                       {kSettingsId, L"sysbtn_set.png", 10, 130}};
        for (const auto& b : buttons) {
            const CRect rect(client.right - b.right - 30, 10, client.right - b.right, 40);
            if (auto* button = Make<CImageButton>(*this, L"CImageButton", b.id, rect)) {
                button->SetImage(Image(b.image), 4);
                button->SetTooltip(Text(b.tip));
            }
        }
        BuildLanguageSelector();
        Picture(Make<MPicture>(*this, L"MPicture", kPageBackgroundId, CRect(0, 100, 1500, 788), L"", true),
                L"img_perf_bkg.png");
        const CRect pages(230, 100, client.right - 1, client.bottom - 1);
        m_systemPage = Page(kSystemPageId, pages, true);
        m_lightPage = Page(kLightPageId, pages, false);
        m_settingsPage = Page(kSettingsPageId, CRect(1190, 50, 1525, 240), false);
        m_navigation = Make<TabCtrlEx>(*this, L"TabCtrlEx", kNavigationId, CRect(30, 110, 266, 803));
        if (!m_navigation) return;
        m_navigation->SetFontWidth(kFontSize);
        m_navigation->AddItem(Text(60), 1, Image(L"tab_system_mode.png"), m_systemPage);
        m_navigation->AddItem(Text(61), 2, Image(L"tab_light.png"), m_lightPage);
        m_navigation->SetSelectItem(0);
    }

    void BuildLanguageSelector() {
        m_language = Make<MComboBox>(*this, L"MComboBox", kLanguageId, CRect(1180, 10, 1330, 45));
        if (!m_language) return;
        m_language->SetFontWidth(kFontSize);
        m_language->SetImage(Image(L"img_combox.png"), 4);
        for (const Language& l : kLanguages) m_language->AddItem(l.name, l.lcid, L"", Gdiplus::Color(0));
        m_language->SelectData(Manager::GetLanguage());
    }

    void BuildSystemPage() {
        if (!m_systemPage) return;
        MTabLayout& page = *m_systemPage;
        if (auto* modes = Make<CTabCtrl5>(page, L"CTabCtrl5", 41, CRect(400, 110, 960, 152))) {
            modes->SetFontWidth(kFontSize);
            modes->AddItem(Text(63), 1, Image(L"img_btn_permode1.png"));
            modes->AddItem(Text(64), 2, Image(L"img_btn_permode2.png"));
            modes->AddItem(Text(65), 3, Image(L"img_btn_permode3.png"));
            modes->SetSelectItem(0);
        }
        m_modePicture = Picture(Make<MPicture>(page, L"MPicture", 47, CRect(490, 210, 885, 605), L"", true),
                                L"img_permode1.png");
        const Caption captions[] = {
            {42, 66, nullptr, CRect(630, 180, 730, 210), 1, kBold}, {43, 0, L"CPU", CRect(390, 320, 490, 350), 2, kBold},
            {44, 0, L"GPU", CRect(880, 320, 980, 350), 0, kBold},   {45, 67, nullptr, CRect(480, 580, 580, 610), 2, kBold},
            {46, 68, nullptr, CRect(790, 580, 890, 630), 0, kBold},
        };
        Captions(page, captions, sizeof captions / sizeof captions[0]);
        BuildGauges(page);
    }

    void BuildGauges(MTabLayout& page) {
        const struct {
            unsigned id;
            const wchar_t* caption;
            const wchar_t* value;
            float level;
        } fans[] = {{48, L"CPU", L"2450r/min(51%)", 51.0f}, {49, L"GPU", L"1780r/min(37%)", 37.0f}};
        for (int i = 0; i < 2; ++i) {
            // The second fan gauge is the first moved 439 pixels to the right.
            const CRect rect(290 + 439 * i, 715, 690 + 439 * i, 813);
            if (auto* fan = Picture(Make<CHardwareInfo2>(page, L"CHardwareInfo2", fans[i].id, rect, L"", true),
                                    L"img_fan.png")) {
                fan->SetHardwareInfo(fans[i].caption, fans[i].value);
                fan->SetHardwareInfoValue(fans[i].level);
            }
        }
        const struct {
            unsigned id;
            int top;
            const wchar_t* caption;
            const wchar_t* value;
            float level;
        } rings[] = {{50, 115, L"Compact APU 8-Core", L"61\u00B0C", 34.0f},
                     {51, 290, L"Integrated Graphics", L"54\u00B0C", 18.0f},
                     {53, 465, L"Memory", L"7.4 / 16.0 GB", 46.0f},
                     {52, 640, L"Disk C:", L"212 / 476 GB", 44.0f}};
        for (const auto& r : rings) {
            auto* ring = Picture(Make<CHardwareInfo>(page, L"CHardwareInfo", r.id, CRect(1120, r.top, 1463, r.top + 155),
                                                     L"", true),
                                 L"img_systemmode_bkg.png");
            if (!ring) continue;
            ring->SetHardwareInfo(r.caption, r.value);
            ring->SetHardwareInfoValue(r.level);
        }
    }

    void BuildLightPage() {
        if (!m_lightPage) return;
        MTabLayout& page = *m_lightPage;
        Picture(Make<MPicture>(page, L"MPicture", 54, CRect(590, 110, 746, 152), L"", true), L"img_area_lightmode.png");
        if (auto* heading = Make<MText>(page, L"MText", 56, CRect(590, 110, 746, 152), Text(61), true))
            heading->SetAlignment(1);
        if (auto* machine = Picture(Make<MPicture>(page, L"MPicture", 55, CRect(), L"", true), L"img_device.png")) {
            const CSize size = machine->GetImageSize();
            machine->SetRect(CRect(530, 165, 530 + size.cx, 165 + size.cy));
        }
        if (auto* light = Make<CSwitchButton>(page, L"CSwitchButton", 57, CRect(640, 565, 720, 597))) {
            light->SetImage(Image(L"img_btn_switch.png"), 2);
            light->SetCheck(1);
        }
        BuildLightList(page);
        Picture(Make<MPicture>(page, L"MPicture", 61, CRect(1120, 540, 1455, 779), L"", true), L"img_area_light1.png");
        Picture(Make<MPicture>(page, L"MPicture", 67, CRect(1120, 110, 1456, 528), L"", true), L"img_area_light2.png");
        const Caption captions[] = {
            {62, 84, nullptr, CRect(1180, 560, 1395, 595), 1, 0}, {63, 85, nullptr, CRect(1140, 610, 1250, 666), 0, 0},
            {65, 86, nullptr, CRect(1140, 670, 1250, 726), 0, 0}, {68, 87, nullptr, CRect(1180, 130, 1395, 165), 1, 0},
            {69, 88, nullptr, CRect(1240, 320, 1310, 352), 0, 0}, {72, 0, L"R", CRect(1140, 370, 1176, 406), 0, 0},
            {73, 0, L"G", CRect(1140, 410, 1176, 446), 0, 0},     {74, 0, L"B", CRect(1140, 450, 1176, 486), 0, 0},
        };
        Captions(page, captions, sizeof captions / sizeof captions[0]);
        BuildColourBlock(page);
    }

    void BuildLightList(MTabLayout& page) {
        m_lights = Make<LightCtrl>(page, L"LightCtrl", 60, CRect(270, 645, 1470, 785));
        if (!m_lights) return;
        for (int i = 0; i < 7; ++i) {
            CString image;
            image.Format(L"light_mode%d.png", i + 1);
            m_lights->AddLight(Text(70 + i), i + 1, image);
        }
        m_lights->SetCurLightMode(1);
        m_lights->SetProgressBar(0);
        m_lights->SetItemsPerPage(7);
    }

    void BuildColourBlock(MTabLayout& page) {
        const struct {
            unsigned id;
            CRect rect;
            int frames;
            int maximum;
            int position;
            int showText;
        } sliders[] = {{64, CRect(1230, 610, 1420, 646), 2, 4, 4, 1},  {66, CRect(1230, 670, 1420, 706), 2, 9, 9, 1},
                       {75, CRect(1190, 370, 1420, 406), 1, 255, 255, 0}, {76, CRect(1190, 410, 1420, 446), 1, 255, 225, 0},
                       {77, CRect(1190, 450, 1420, 486), 1, 255, 0, 0}};
        for (const auto& s : sliders) {
            auto* slider = Make<MSlider>(page, L"MSlider", s.id, s.rect);
            if (!slider) continue;
            slider->SetImage(L"img_slider_back.png", s.frames);
            slider->SetThumbImage(L"img_thumb.png");
            if (!s.showText) slider->SetShowText(0);
            slider->SetMaxProgress(s.maximum);
            slider->SetProgress(s.position);
        }
        if (auto* preview = Make<CArea>(page, L"CArea", 70, CRect(1320, 320, 1352, 352), L"", true))
            preview->SetTransparent(0, 0, RGB(255, 225, 0));
        if (auto* wheel = Make<CirclePalette>(page, L"CirclePalette", 71, CRect(1240, 175, 1371, 306)))
            wheel->SetImage(L"img_circlepalette.png", 1);
        if (auto* cover = Make<CArea>(page, L"CArea", 78, CRect(1120, 110, 1445, 520))) {
            cover->SetTransparent(40, 40, 0x3C3C3C);
            cover->SetVisible(0);
        }
    }

    void BuildSettingsPage() {
        if (!m_settingsPage) return;
        MTabLayout& page = *m_settingsPage;
        Picture(Make<MPicture>(page, L"MPicture", 95, CRect(1190, 50, 1525, 240), L"", true), L"light_set_bg.png");
        if (auto* reset = Make<CTextButton>(page, L"CTextButton", 88, CRect(1240, 70, 1390, 115), Text(101))) {
            reset->SetFontWidth(kFontSize);
            reset->SetAlignment(1, 1);
        }
        const Caption captions[] = {{90, 102, nullptr, CRect(1220, 123, 1340, 163), 1, 0},
                                    {93, 103, nullptr, CRect(1220, 176, 1340, 216), 1, 0}};
        Captions(page, captions, 2);
        if (auto* update = Make<CImageButton>(page, L"CImageButton", 91, CRect(1380, 125, 1412, 157)))
            update->SetImage(Image(L"img_btn_update.png"), 4);
        if (auto* autostart = Make<CSwitchButton>(page, L"CSwitchButton", 94, CRect(1340, 176, 1420, 208)))
            autostart->SetImage(Image(L"img_btn_switch.png"), 2);
    }

    void ShowMode(int mode) {
        wchar_t name[32];
        swprintf(name, 32, L"img_permode%d.png", mode + 1);
        m_modePicture->SetImage(Image(name), 1);
    }

    MComboBox* m_language = nullptr;
    TabCtrlEx* m_navigation = nullptr;
    MTabLayout* m_systemPage = nullptr;
    MTabLayout* m_lightPage = nullptr;
    MTabLayout* m_settingsPage = nullptr;
    MPicture* m_modePicture = nullptr;
    LightCtrl* m_lights = nullptr;
};

// The language selector open, a row under the pointer, the minimise button
// lit: the frame's controls in use.
void SystemScene(WindowGallery& window) {
    Click(window.GetSafeHwnd(), window.LanguageSelector()->GetRect().CenterPoint());
    Pump(400);
    if (CComboBoxWnd* popup = window.LanguageSelector()->GetPopup())
        PostMessageW(popup->GetSafeHwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(40, 6 + 30 * 2 + 15));
    // After the click, whose pointer move left every other control normal.
    Hover(window.GetControl(kMinimiseId));
}

// The light page chosen by a click on its tab, in a mode without a chosen
// colour: the colour block disabled under its cover.
void LightScene(WindowGallery& window) {
    const CRect nav = window.Navigation()->GetRect();
    Click(window.GetSafeHwnd(), CPoint(nav.left + 100, nav.top + 374 + 137));
    Pump(300);
    window.ShowLightMode(1);
}

// The settings popup opened by a click on its button, the pointer on the
// update button.
void SettingsScene(WindowGallery& window) {
    Click(window.GetSafeHwnd(), window.GetControl(kSettingsId)->GetRect().CenterPoint());
    Pump(300);
    Hover(window.Find(window.SettingsPage(), 91));
}

void PlayScene(WindowGallery& window, const char* name) {
    const struct {
        const char* name;
        void (*play)(WindowGallery&);
    } scenes[] = {{"system", SystemScene}, {"light", LightScene}, {"settings", SettingsScene}};
    for (const auto& scene : scenes)
        if (std::strcmp(scene.name, name) == 0) scene.play(window);
}

}  // namespace

bool RunWindowGallery(int argc, char** argv, int& result) {
    if (!Flag(argc, argv, "--window")) return false;
    Manager::SetInstance(GetModuleHandleW(nullptr));
    Manager::InitGdiplus();
    Manager::SetLanguage(std::atoi(Option(argc, argv, "--lang", "1033")));
    UseTestSkin(Flag(argc, argv, "--test-skin"));
    result = WriteTestSkin() ? 0 : 1;
    {
        WindowGallery window;
        window.Create(nullptr, L"HVUI gallery: main window", WS_POPUP, 0, CRect(0, 0, kWidth, kHeight));
        window.SetMTimer(kAnimationPeriodMs);
        const int seconds = std::atoi(Option(argc, argv, "--seconds", "0"));
        window.ShowWindow(SW_SHOW);
        Pump(300);
        PlayScene(window, Option(argc, argv, "--scene", ""));
        if (seconds > 0) {
            Pump(static_cast<DWORD>(seconds) * 1000);
            window.DestroyWindow();
        } else {
            window.ShowModal(SW_SHOW);
        }
    }
    Manager::UnInitGdiplus();
    return true;
}

}  // namespace gallery
