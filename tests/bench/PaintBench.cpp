// Repaint cost of the main window against its floors, inside one process:
//   - a full repaint with every cached surface valid against one BitBlt of
//     the 1500 x 840 client area to the window;
//   - a full repaint with every cached surface stale (each control draws
//     its content again) against the 16 ms frame of the animation timer.
// Each repaint is the window's own WM_PAINT (RedrawWindow with
// RDW_UPDATENOW), so it includes composing off-screen and presenting, as a
// user sees it. The composition alone (PaintManager::RenderFrame) is printed
// beside it against a memory-to-memory BitBlt.
//
//   PaintBench [repeats]     prints key=value lines, times in microseconds
//   PaintBench valid         2000 valid full repaints and nothing else, for perf
//   PaintBench profile       the stale composition's cost per control: each
//                            control alone marked stale (with its children),
//                            median of 9, costliest first
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <functional>
#include <memory>
#include <vector>

#include "CHardwareInfo.h"
#include "MControl.h"
#include "BenchClock.h"
#include "MDialog.h"
#include "MRender.h"
#include "Manager.h"
#include "PaintBenchWindow.h"
#include "PaintManager.h"

namespace {

using bench::Now;

double MedianUs(std::vector<double> seconds) { return bench::Median(std::move(seconds)) * 1e6; }

void Pump(DWORD milliseconds) {
    const DWORD start = GetTickCount();
    MSG message;
    do {
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        Sleep(1);
    } while (GetTickCount() - start < milliseconds);
}

// Marks the cached surface of every control in the tree as stale, areas
// included, the way a content change marks one.
void MarkStale(const std::vector<MControl*>& list) {
    for (MControl* control : list) {
        control->SetUpdate(0, 0);
        MarkStale(control->GetAreas());
        MarkStale(control->GetControls());
    }
}

size_t CountControls(const std::vector<MControl*>& list) {
    size_t count = 0;
    for (const MControl* control : list)
        count += 1 + CountControls(control->GetAreas()) + CountControls(control->GetControls());
    return count;
}

void Collect(const std::vector<MControl*>& list, std::vector<MControl*>& into) {
    for (MControl* control : list) {
        into.push_back(control);
        Collect(control->GetAreas(), into);
        Collect(control->GetControls(), into);
    }
}

// Times body repeats times, with prepare (untimed) before each run.
std::vector<double> Time(int repeats, const std::function<void()>& prepare, const std::function<void()>& body) {
    std::vector<double> times;
    for (int i = 0; i < repeats; ++i) {
        if (prepare) prepare();
        const double start = Now();
        body();
        times.push_back(Now() - start);
    }
    return times;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    const int repeats = argc > 1 ? std::max(5, _wtoi(argv[1])) : 60;
    std::unique_ptr<MDialog> dialog = paint_bench::CreateMainWindow();
    HWND window = dialog ? dialog->GetSafeHwnd() : nullptr;
    if (!window) {
        std::fprintf(stderr, "the main window was not created\n");
        return 2;
    }
    PaintManager* manager = dialog->GetPaintManager();
    manager->SetPaintPause(0);
    Pump(1500);  // first paint, images loaded, the start-up's own redraws done

    RECT client;
    GetClientRect(window, &client);
    const int width = client.right, height = client.bottom;
    const CRect clientRect(0, 0, width, height);
    const size_t controls = CountControls(manager->GetAreas()) + CountControls(manager->GetControls());

    auto repaint = [&] { RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW); };
    auto stale = [&] {
        MarkStale(manager->GetAreas());
        MarkStale(manager->GetControls());
        manager->SetBackColor(manager->GetBackColor(), manager->GetBorderColor());
        ValidateRect(window, nullptr);
    };
    auto compose = [&] {
        if (HBITMAP frame = manager->RenderFrame(clientRect, nullptr)) DeleteObject(frame);
    };

    // For a sampling profiler: only full repaints with valid surfaces.
    if (argc > 1 && std::wcscmp(argv[1], L"valid") == 0) {
        for (int i = 0; i < 2000; ++i) repaint();
        ExitProcess(0);
    }
    if (argc > 1 && std::wcscmp(argv[1], L"profile") == 0) {
        std::vector<MControl*> all;
        Collect(manager->GetAreas(), all);
        Collect(manager->GetControls(), all);
        compose();
        const double base = MedianUs(Time(9, nullptr, compose));
        struct Cost {
            double us;
            MControl* control;
        };
        std::vector<Cost> costs;
        for (MControl* control : all) {
            auto one = [control] {
                control->SetUpdate(0, 0);
                MarkStale(control->GetAreas());
            };
            costs.push_back({MedianUs(Time(9, one, compose)) - base, control});
        }
        std::sort(costs.begin(), costs.end(), [](const Cost& a, const Cost& b) { return a.us > b.us; });
        std::printf("compose_valid_us=%.0f\n", base);
        for (const Cost& cost : costs) {
            const CRect r = cost.control->GetRect();
            std::printf("id=%u rect=%ld,%ld,%ld,%ld visible=%d stale_extra_us=%.0f\n", cost.control->GetControlID(),
                        r.left, r.top, r.right, r.bottom, cost.control->IsVisible(), cost.us);
        }
        // The frame's own section, made anew for every paint.
        HDC screen = GetDC(window);
        const double sectionUs = MedianUs(Time(21, nullptr, [&] {
            unsigned char* pixels = nullptr;
            HBITMAP section = MRender::CreateARGB32Bitmap(screen, width, height, &pixels);
            HDC memory = CreateCompatibleDC(screen);
            HGDIOBJ previous = SelectObject(memory, section);
            SelectObject(memory, previous);
            DeleteDC(memory);
            DeleteObject(section);
        }));
        ReleaseDC(window, screen);
        std::printf("new_frame_section_us=%.0f\n", sectionUs);
        // Memory the cached surfaces hold after a paint of the shown page.
        double surfaceBytes = 0;
        for (MControl* control : all) {
            if (!control->GetMemDC()) continue;
            const CRect r = control->GetRect();
            const double bytes = 4.0 * r.Width() * r.Height();
            surfaceBytes += bytes;
            if (bytes >= 512 * 1024)
                std::printf("surface id=%u rect=%ld,%ld,%ld,%ld mb=%.2f\n", control->GetControlID(), r.left, r.top,
                            r.right, r.bottom, bytes / 1048576.0);
        }
        std::printf("surfaces_total_mb=%.2f\n", surfaceBytes / 1048576.0);
        std::fflush(stdout);
        ExitProcess(0);
    }

    // The floors: one BitBlt of the client area from a 32-bit section, to
    // the window and to another section.
    HDC windowDC = GetDC(window);
    unsigned char* bits = nullptr;
    HBITMAP source = MRender::CreateARGB32Bitmap(windowDC, width, height, &bits);
    HBITMAP target = MRender::CreateARGB32Bitmap(windowDC, width, height, &bits);
    HDC sourceDC = CreateCompatibleDC(windowDC);
    HDC targetDC = CreateCompatibleDC(windowDC);
    HGDIOBJ oldSource = SelectObject(sourceDC, source);
    HGDIOBJ oldTarget = SelectObject(targetDC, target);
    auto blitToWindow = [&] {
        BitBlt(windowDC, 0, 0, width, height, sourceDC, 0, 0, SRCCOPY);
        GdiFlush();
    };
    auto blitToMemory = [&] {
        BitBlt(targetDC, 0, 0, width, height, sourceDC, 0, 0, SRCCOPY);
        GdiFlush();
    };

    // One gauge's new value to the screen, as the telemetry refresh causes
    // it: the setter marks the gauge stale and asks for a redraw, the paint
    // draws the gauge again, composes its area and presents it.
    CHardwareInfo* gauge = nullptr;
    {
        std::vector<MControl*> all;
        Collect(manager->GetAreas(), all);
        Collect(manager->GetControls(), all);
        for (MControl* control : all) {
            auto* candidate = dynamic_cast<CHardwareInfo*>(control);
            if (candidate && candidate->IsVisible() && candidate->IsParentVisible()) {
                gauge = candidate;
                break;
            }
        }
    }
    float gaugeValue = 10.0f;
    auto gaugeToScreen = [&] {
        if (!gauge) return;
        gaugeValue = gaugeValue > 80.0f ? 10.0f : gaugeValue + 7.0f;
        gauge->SetHardwareInfoValue(gaugeValue);
        UpdateWindow(window);
        GdiFlush();
    };

    // Interleaved rounds, so that a drift of the machine's speed falls on
    // every figure alike.
    std::vector<double> valid, staleTimes, blit, composeValid, composeStale, blitMemory, gaugeTimes;
    const int rounds = 5;
    for (int round = 0; round < rounds; ++round) {
        const int n = std::max(1, repeats / rounds);
        repaint();
        auto add = [](std::vector<double>& to, const std::vector<double>& from) {
            to.insert(to.end(), from.begin(), from.end());
        };
        add(valid, Time(n, nullptr, repaint));
        add(blit, Time(n, nullptr, blitToWindow));
        add(staleTimes, Time(n, stale, repaint));
        compose();
        add(composeValid, Time(n, nullptr, compose));
        add(blitMemory, Time(n, nullptr, blitToMemory));
        add(composeStale, Time(n, stale, compose));
        repaint();
        add(gaugeTimes, Time(n, nullptr, gaugeToScreen));
        Pump(20);
    }

    SelectObject(sourceDC, oldSource);
    SelectObject(targetDC, oldTarget);
    DeleteDC(sourceDC);
    DeleteDC(targetDC);
    DeleteObject(source);
    DeleteObject(target);
    ReleaseDC(window, windowDC);

    std::printf("window=%dx%d controls=%zu repeats=%zu\n", width, height, controls, valid.size());
    std::printf("repaint_valid_us=%.0f\n", MedianUs(valid));
    std::printf("blit_window_us=%.0f\n", MedianUs(blit));
    std::printf("repaint_stale_us=%.0f\n", MedianUs(staleTimes));
    std::printf("compose_valid_us=%.0f\n", MedianUs(composeValid));
    std::printf("blit_memory_us=%.0f\n", MedianUs(blitMemory));
    std::printf("compose_stale_us=%.0f\n", MedianUs(composeStale));
    if (gauge) std::printf("gauge_to_screen_us=%.0f\n", MedianUs(gaugeTimes));
    std::fflush(stdout);
    // The program's own way out: its window and worker are not torn down here.
    ExitProcess(0);
}
