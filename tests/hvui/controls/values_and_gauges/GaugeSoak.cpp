// Soak run of the six gauges of the system page, kept out of the CI suite:
//   hvui_controls2_gauge_soak.exe [seconds]   (default 600)
// A second thread feeds every gauge once a second, as the telemetry refresh
// does, while the UI thread paints them in a real window through the paint
// manager's redraw requests. At the end it prints the GDI objects before and
// after, the frames whose caption and value text did not belong to one
// reading, and how long one update and the repaint it causes take.
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <thread>
#include <vector>

#include "CHardwareInfo.h"
#include "CHardwareInfo2.h"
#include "ControlsTestSupport.h"

using namespace controls_test;
using Clock = std::chrono::steady_clock;

namespace {

constexpr int kWidth = 1200;
constexpr int kHeight = 520;
constexpr uint32_t kBackground = 0xFF101418;
const wchar_t kWindowClass[] = L"HvuiGaugeSoak";

// Sends redraw requests on to the manager, as the dialog does.
class ManagerParent : public MObject {
public:
    explicit ManagerParent(PaintManager& manager) : m_manager(manager) {}
    LRESULT OnControlUpdate(CRect rect, int code, MControl* control) override {
        return m_manager.OnControlUpdate(rect, code, control);
    }

private:
    PaintManager& m_manager;
};

struct Soak {
    PaintManager manager;
    ManagerParent parent{manager};
    std::vector<std::unique_ptr<MControlFont>> gauges;
    PixelSurface frame{kWidth, kHeight};
    // Caption and value boxes of each gauge for readings A and B.
    std::vector<std::vector<std::vector<uint32_t>>> references;
    long long frames = 0;
    long long torn = 0;
    double paintSeconds = 0.0;
    long long paints = 0;

    static CRect Place(size_t i) {
        if (i < 4) return CRect(0, static_cast<int>(i) * 125, 343, static_cast<int>(i) * 125 + 120);
        return CRect(400, static_cast<int>(i - 4) * 110, 880, static_cast<int>(i - 4) * 110 + 98);
    }
    static CRect TextBoxes(size_t i) {
        const CRect r = Place(i);
        return i < 4 ? CRect(r.left + 140, r.top + 25, r.right, r.bottom) : CRect(r.left + 100, r.top + 10, r.right, r.top + 40);
    }
    static void Feed(MControlFont* gauge, size_t i, int k) {
        const wchar_t* caption = k ? L"Reading B" : L"Reading A";
        const wchar_t* text = k ? L"B 61\u00B0C" : L"A 47\u00B0C";
        const float value = static_cast<float>((k * 37 + static_cast<int>(i) * 11) % 101);
        if (i < 4) {
            auto* ring = static_cast<CHardwareInfo*>(gauge);
            ring->SetHardwareInfo(caption, text);
            ring->SetHardwareInfoValue(value);
        } else {
            auto* fan = static_cast<CHardwareInfo2*>(gauge);
            fan->SetHardwareInfo(caption, text);
            fan->SetHardwareInfoValue(value + 2.0f);
        }
    }
    std::vector<uint32_t> Boxes(size_t i) {
        const CRect box = TextBoxes(i);
        std::vector<uint32_t> pixels;
        for (int y = box.top; y < box.bottom; ++y)
            for (int x = box.left; x < box.right; ++x) pixels.push_back(frame.Rgb(x, y));
        return pixels;
    }
    void Create() {
        for (size_t i = 0; i < 6; ++i) {
            MControlFont* gauge = i < 4 ? static_cast<MControlFont*>(new CHardwareInfo(&parent, 50 + i, Place(i), 1, 1))
                                        : new CHardwareInfo2(&parent, 48 + i - 4, Place(i), 1, 1);
            gauge->SetManager(&manager);
            gauge->SetImage(i < 4 ? L"img_systemmode_bkg.png" : L"img_fan.png", 1);
            gauges.emplace_back(gauge);
        }
        references.resize(6);
        for (int k = 0; k < 2; ++k) {
            for (size_t i = 0; i < 6; ++i) Feed(gauges[i].get(), i, k);
            PaintAll();
            for (size_t i = 0; i < 6; ++i) references[i].push_back(Boxes(i));
        }
        for (size_t i = 0; i < 6; ++i) Feed(gauges[i].get(), i, 0);
    }
    void PaintAll() {
        frame.Fill(kBackground);
        HDC& dc = frame.DC();
        for (auto& gauge : gauges) {
            const bool stale = !gauge->GetUpdate();
            const auto start = Clock::now();
            gauge->Draw(dc, CRect(0, 0, kWidth, kHeight));
            GdiFlush();
            if (!stale) continue;
            ++paints;
            paintSeconds += std::chrono::duration<double>(Clock::now() - start).count();
        }
    }
    void CheckFrame() {
        ++frames;
        for (size_t i = 0; i < 6; ++i) {
            const auto seen = Boxes(i);
            if (seen != references[i][0] && seen != references[i][1]) ++torn;
        }
    }
};

Soak* g_soak = nullptr;

LRESULT CALLBACK SoakProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    if (message == WM_PAINT && g_soak) {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(window, &paint);
        g_soak->PaintAll();
        g_soak->CheckFrame();
        BitBlt(dc, 0, 0, kWidth, kHeight, g_soak->frame.DC(), 0, 0, SRCCOPY);
        EndPaint(window, &paint);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

HWND CreateSoakWindow() {
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = SoakProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = kWindowClass;
    RegisterClassW(&windowClass);
    return CreateWindowExW(0, kWindowClass, L"gauge soak", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, kWidth + 20,
                           kHeight + 40, nullptr, nullptr, windowClass.hInstance, nullptr);
}

}  // namespace

int main(int argc, char** argv) {
    const int seconds = argc > 1 ? std::atoi(argv[1]) : 600;
    Manager::SetInstance(GetModuleHandleW(nullptr));
    Manager::InitGdiplus();
    int status = 0;
    {
        HWND window = CreateSoakWindow();
        Soak soak;
        soak.manager.Init(window, nullptr);
        soak.Create();
        g_soak = &soak;
        hvui_test::PumpMessages(500);
        const int gdiBefore = hvui_test::CountGdiObjects();

        std::atomic<bool> stop{false};
        std::atomic<long long> updates{0};
        std::atomic<double> updateSeconds{0.0};
        std::thread worker([&] {
            for (int k = 1; !stop; k ^= 1) {
                const auto start = Clock::now();
                for (size_t i = 0; i < 6; ++i) Soak::Feed(soak.gauges[i].get(), i, k);
                updateSeconds = updateSeconds + std::chrono::duration<double>(Clock::now() - start).count();
                updates += 6;
                for (int wait = 0; wait < 100 && !stop; ++wait) Sleep(10);
            }
        });
        const DWORD start = GetTickCount();
        while (GetTickCount() - start < static_cast<DWORD>(seconds) * 1000u) hvui_test::PumpMessages(100);
        stop = true;
        worker.join();
        hvui_test::PumpMessages(300);
        const int gdiAfter = hvui_test::CountGdiObjects();
        g_soak = nullptr;

        std::printf("seconds %d, frames %lld, gauge repaints %lld, torn gauge texts %lld\n", seconds, soak.frames,
                    soak.paints, soak.torn);
        std::printf("GDI objects before %d, after %d\n", gdiBefore, gdiAfter);
        std::printf("one gauge update (both setters) %.1f us, one gauge repaint %.2f ms\n",
                    updates ? 1e6 * updateSeconds / static_cast<double>(updates) : 0.0,
                    soak.paints ? 1e3 * soak.paintSeconds / static_cast<double>(soak.paints) : 0.0);
        status = soak.torn == 0 && gdiAfter == gdiBefore ? 0 : 1;
        DestroyWindow(window);
    }
    Manager::UnInitGdiplus();
    return status;
}
