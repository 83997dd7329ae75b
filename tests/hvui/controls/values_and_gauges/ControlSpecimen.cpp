// Specimen sheet of the controls with the program's skin pictures, for a
// look by eye (not a test):  hvui_controls2_specimen.exe [out.bmp]
#include <cstdio>

#include "CHardwareInfo.h"
#include "CHardwareInfo2.h"
#include "CirclePalette.h"
#include "ControlsTestSupport.h"
#include "LightCtrl.h"
#include "MRender.h"
#include "MProgress.h"
#include "MSlider.h"

using namespace controls_test;

int main(int argc, char** argv) {
    Manager::SetInstance(GetModuleHandleW(nullptr));
    Manager::InitGdiplus();
    int status = 1;
    {
        PaintManager manager;
        hvui_test::RecordingParent parent;
        PixelSurface sheet(1500, 700);
        sheet.Fill(0xFF050505);
        HDC& dc = sheet.DC();
        const CRect all(0, 0, 1500, 700);

        const float values[] = {0.0f, 1.0f, 50.0f, 100.0f};
        for (int i = 0; i < 4; ++i) {
            CHardwareInfo ring(&parent, 50, CRect(10 + 360 * i, 10, 353 + 360 * i, 165), 1, 1);
            ring.SetManager(&manager);
            ring.SetImage(L"img_systemmode_bkg.png", 1);
            CString text;
            text.Format(L"%d\u00B0C", 40 + i * 7);
            ring.SetHardwareInfo(L"Compact APU 8-Core", text);
            ring.SetHardwareInfoValue(values[i]);
            ring.Draw(dc, all);
        }
        for (int i = 0; i < 2; ++i) {
            CHardwareInfo2 fan(&parent, 48, CRect(10 + 440 * i, 180, 410 + 440 * i, 278), 1, 1);
            fan.SetManager(&manager);
            fan.SetImage(L"img_fan.png", 1);
            fan.SetHardwareInfo(i ? L"GPU" : L"CPU", i ? L"1800r/min(38%)" : L"2400r/min(55%)");
            fan.SetHardwareInfoValue(i ? 38.0f : 55.0f);
            fan.Draw(dc, all);
        }
        LightCtrl list(&parent, 60, CRect(10, 300, 1210, 440), 1, 1);
        list.SetManager(&manager);
        const wchar_t* names[] = {L"Rainbow", L"Breathing", L"Wave", L"Static", L"Colour cycle", L"Flash", L"Meteor"};
        for (int i = 0; i < 7; ++i) {
            CString image;
            image.Format(L"light_mode%d.png", i + 1);
            list.AddLight(names[i], i + 1, image);
        }
        list.SetCurLightMode(1);
        list.SetProgressBar(0);
        list.SetItemsPerPage(7);
        list.Draw(dc, all);

        const int positions[] = {4, 2, 200};
        for (int i = 0; i < 3; ++i) {
            MSlider slider(&parent, 64, CRect(10, 470 + 50 * i, 200 + 40 * i, 506 + 50 * i), 1, 1);
            slider.SetManager(&manager);
            slider.SetImage(L"img_slider_back.png", i < 2 ? 2 : 1);
            slider.SetThumbImage(L"img_thumb.png");
            slider.SetMaxProgress(i < 2 ? 4 + 5 * i : 255);
            slider.SetProgress(positions[i]);
            slider.Draw(dc, all);
        }
        MProgress bar(&parent, 33, CRect(10, 640, 500, 660), 1, 1);
        bar.SetManager(&manager);
        bar.SetProgress(62);
        bar.Draw(dc, all);

        CirclePalette wheel(&parent, 71, CRect(600, 470, 731, 601), 1, 1);
        wheel.SetManager(&manager);
        wheel.SetImage(L"img_circlepalette.png", 1);
        wheel.Draw(dc, all);
        wheel.SetSelectColor(RGB(0, 128, 255));
        wheel.Draw(dc, all);

        const CString out = argc > 1 ? CString(std::wstring(argv[1], argv[1] + strlen(argv[1])))
                                     : Manager::GetAppPath() + L"controls2-specimen.bmp";
        status = MRender::SaveBitmapToFile(sheet.Bitmap(), out) ? 0 : 1;
        std::printf("%ls: %s\n", out.GetString(), status ? "not written" : "written");
    }
    Manager::UnInitGdiplus();
    return status;
}
