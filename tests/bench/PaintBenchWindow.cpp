// PaintBench measures the program's own main window, built and shown the
// way the program's start-up does it (without the single-instance guard and
// the modal loop, which PaintBench's pump replaces).
#include "PaintBenchWindow.h"

#include <objbase.h>
#include <ole2.h>
#include <gdiplus.h>

#include "DeviceMainDlg.h"
#include "Manager.h"

namespace {
constexpr DWORD kMainWindowStyle = 0x96020000;  // popup, visible, clip siblings/children, minimise box
constexpr int kEnglish = 1033;
}  // namespace

namespace paint_bench {

std::unique_ptr<MDialog> CreateMainWindow() {
    static ULONG_PTR gdiplusToken = 0;
    Gdiplus::GdiplusStartupInput input;
    Gdiplus::GdiplusStartup(&gdiplusToken, &input, nullptr);
    Manager::SetLanguage(kEnglish);
    Manager::SetInstance(GetModuleHandleW(nullptr));
    CoInitialize(nullptr);
    OleInitialize(nullptr);
    auto window = std::make_unique<DeviceMainDlg>();
    window->Create(nullptr, L"Tarvenholm", kMainWindowStyle & ~WS_VISIBLE, 0, CRect(0, 0, 1500, 840));
    window->CenterWindow(nullptr);
    window->ShowWindow(SW_SHOWNORMAL);
    return window;
}

}  // namespace paint_bench
