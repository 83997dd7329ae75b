// The HVUI gallery: a framework dialog with the real skin, tiles and a
// scrolled panel. See README.md.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <vector>

#include "GalleryPartTwo.h"
#include "GallerySupport.h"
#include "GallerySpecimens.h"
#include "GalleryWindow.h"
#include "GdiplusFwd.h"
#include "MControlFont.h"
#include "MDialog.h"
#include "MPanel.h"
#include "MRender.h"
#include "Manager.h"
#include "PaintManager.h"

using namespace Gdiplus;

namespace {

constexpr int kGalleryWidth = 980;
constexpr int kGalleryHeight = 620;
constexpr int kMeasureWidth = 1500;
constexpr int kMeasureHeight = 840;
constexpr int kMeasureRuns = 40;
constexpr unsigned kAnimationPeriodMs = 16;
constexpr unsigned kCodeCommitted = 2;

// A tile: a rounded card with a title that lights up under the pointer and
// darkens while pressed; a release inside it commits (code 2).
class Tile : public MControlFont {
public:
    Tile(MObject* parent, unsigned id, CRect rect, const wchar_t* title, ARGB colour)
        : MControlFont(parent, id, rect, title, 1, 1, 1), m_colour(colour) {
        SetTrackInside(1);
        SetCursorEx(L"hand");
    }

    void DrawControl(HDC& dc, CRect) override {
        if (PrepareMemDC(dc)) PaintCard(GetMemDC());
        PresentMemDC(dc);
    }

protected:
    int OnControlMouseMove(unsigned, CPoint point) override {
        const bool hot = m_rect.PtInRect(point);
        if (hot != m_hot) {
            m_hot = hot;
            UpdateControl(1, 0);
        }
        return hot ? 1 : 0;
    }
    int OnControlLButtonDown(unsigned, CPoint) override {
        m_pressed = true;
        UpdateControl(1, 0);
        return 1;
    }
    int OnControlLButtonUp(unsigned, CPoint point) override {
        m_pressed = false;
        m_hot = m_rect.PtInRect(point);
        UpdateControl(1, 0);
        if (m_hot) SendMessageW(kCodeCommitted, 0, 0);
        return 1;
    }

private:
    void PaintCard(HDC surface) {
        Graphics graphics(surface);
        graphics.SetSmoothingMode(SmoothingModeAntiAlias);
        const ARGB alpha = m_pressed ? 0xFF000000 : m_hot ? 0xF0000000 : 0xB0000000;
        const ARGB fill = (m_colour & 0xFFFFFF) | alpha;
        const float w = static_cast<float>(m_rect.Width()) - 1.0f;
        const float h = static_cast<float>(m_rect.Height()) - 1.0f;
        MRender::DrawRoundRectange(graphics, 0.0f, 0.0f, w, h, 8.0f, Color(m_hot ? 0xFFFFFFFF : 0x60FFFFFF), 1.0f,
                                   Color(m_pressed ? (fill & 0xFF7F7F7F) : fill));
        FontFamily family(L"Segoe UI");
        Font font(family.GetLastStatus() == Ok ? &family : FontFamily::GenericSansSerif(), 15.0f, FontStyleBold,
                  UnitPixel);
        StringFormat format;
        format.SetAlignment(StringAlignmentCenter);
        format.SetLineAlignment(StringAlignmentCenter);
        graphics.SetTextRenderingHint(TextRenderingHintAntiAlias);
        WithTextBrush([&](SolidBrush& brush) {
            graphics.DrawString(m_title, m_title.GetLength(), &font, RectF(0, 0, w, h), &format, &brush);
        });
    }

    ARGB m_colour;
    bool m_hot = false;
    bool m_pressed = false;
};

class GalleryDialog : public MDialog {
public:
    explicit GalleryDialog(int tilesPerRow) : m_tilesPerRow(tilesPerRow) {}

    void InitUI(CRect client) override {
        SetBackMode(BackModeNineSlice, 36);
        LoadBKImage(L"main_bkg.png");
        m_paintManager.SetWindowMixSize(0, 0);
        const ARGB colours[] = {0xFF2E7DDB, 0xFFDB6B2E, 0xFF3BAA5C, 0xFF9B4FD1, 0xFFD1B84F};
        const int columns = m_tilesPerRow;
        const int tileWidth = (client.Width() - 40) / columns - 10;
        int id = 100;
        for (int row = 0; row < 2; ++row) {
            for (int column = 0; column < columns; ++column, ++id) {
                wchar_t title[32];
                swprintf(title, 32, L"Tile %d", id - 99);
                const int x = 20 + column * (tileWidth + 10);
                auto* tile = new Tile(this, id, CRect(x, 30 + row * 90, x + tileWidth, 100 + row * 90), title,
                                      colours[(id - 100) % 5]);
                wchar_t tip[64];
                swprintf(tip, 64, L"Tile %d: press and drag away to see capture", id - 99);
                tile->SetTooltip(tip);
                Add(tile);
            }
        }
        BuildPanel(client);
    }

    LRESULT OnMessage(unsigned id, unsigned code, WPARAM, LPARAM) override {
        if (code != kCodeCommitted) return 0;
        wchar_t text[64];
        swprintf(text, 64, L"Tile %u clicked", id - 99);
        SetMessage(text, CRect(), MsgInfo);
        return 0;
    }

    // Escape closes the gallery; it has no frame to close it with.
    LRESULT OnWindowMessage(UINT msg, WPARAM wParam, LPARAM lParam) override {
        if (msg == WM_KEYDOWN && wParam == VK_ESCAPE) DoCancel();
        return MDialog::OnWindowMessage(msg, wParam, lParam);
    }

    MPanel* GetPanel() const { return m_panel; }
    std::vector<MControl*> AllTiles() const { return m_all; }

private:
    template <class T>
    T* Add(T* control) {
        control->SetManager(&m_paintManager);
        m_paintManager.AppendChild(1, control);
        m_all.push_back(control);
        return control;
    }

    void BuildPanel(const CRect& client) {
        const CRect area(20, 220, client.right - 20, client.bottom - 30);
        m_panel = Add(new MPanel(this, 50, area, 1));
        const int rows = 12;
        for (int i = 0; i < rows; ++i) {
            wchar_t title[48];
            swprintf(title, 48, L"Panel row %d (scroll with the wheel)", i + 1);
            const int top = area.top + 10 + i * 60;
            auto* row = new Tile(m_panel, static_cast<unsigned>(200 + i),
                                 CRect(area.left + 10, top, area.right - 20, top + 50), title,
                                 i % 2 ? 0xFF34495E : 0xFF16A085);
            row->SetManager(&m_paintManager);
            m_panel->AppendChild(1, row);
            m_all.push_back(row);
        }
        m_panel->SetVirtualHeight(rows * 60 + 20);
    }

    int m_tilesPerRow;
    MPanel* m_panel = nullptr;
    std::vector<MControl*> m_all;
};

using gallery::Pump;

double Milliseconds(LARGE_INTEGER from, LARGE_INTEGER to) {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(to.QuadPart - from.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

template <class Step>
double Median(Step step) {
    std::vector<double> times;
    for (int i = 0; i < kMeasureRuns; ++i) {
        LARGE_INTEGER from, to;
        QueryPerformanceCounter(&from);
        step();
        GdiFlush();
        QueryPerformanceCounter(&to);
        times.push_back(Milliseconds(from, to));
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

int Measure() {
    GalleryDialog dialog(8);
    dialog.Create(nullptr, L"HVUI measure", WS_POPUP, 0, CRect(0, 0, kMeasureWidth, kMeasureHeight));
    dialog.ShowWindow(SW_SHOWNOACTIVATE);
    HWND window = dialog.GetSafeHwnd();
    PaintManager* manager = dialog.GetPaintManager();
    manager->SetPaintPause(0);
    Pump(300);
    const std::vector<MControl*> all = dialog.AllTiles();

    const double stale = Median([&] {
        for (MControl* control : all) control->SetUpdate(0, 0);
        InvalidateRect(window, nullptr, FALSE);
        UpdateWindow(window);
    });
    const double valid = Median([&] {
        InvalidateRect(window, nullptr, FALSE);
        UpdateWindow(window);
    });
    HDC windowDC = GetDC(window);
    HDC memory = CreateCompatibleDC(windowDC);
    HBITMAP surface = CreateCompatibleBitmap(windowDC, kMeasureWidth, kMeasureHeight);
    HGDIOBJ previous = SelectObject(memory, surface);
    const double floor = Median([&] { BitBlt(windowDC, 0, 0, kMeasureWidth, kMeasureHeight, memory, 0, 0, SRCCOPY); });
    SelectObject(memory, previous);
    DeleteObject(surface);
    // The same from a 32-bit section, the kind of surface a paint presents.
    unsigned char* bits = nullptr;
    HBITMAP section = MRender::CreateARGB32Bitmap(windowDC, kMeasureWidth, kMeasureHeight, &bits);
    previous = SelectObject(memory, section);
    const double sectionFloor =
        Median([&] { BitBlt(windowDC, 0, 0, kMeasureWidth, kMeasureHeight, memory, 0, 0, SRCCOPY); });
    SelectObject(memory, previous);
    DeleteObject(section);
    DeleteDC(memory);
    ReleaseDC(window, windowDC);

    std::printf("full repaint %d x %d, %zu controls, median of %d runs, no pause after painting\n", kMeasureWidth,
                kMeasureHeight, all.size(), kMeasureRuns);
    std::printf("  all cached surfaces stale: %.2f ms\n", stale);
    std::printf("  all cached surfaces valid: %.2f ms\n", valid);
    std::printf("  one BitBlt of a compatible surface: %.2f ms (floor)\n", floor);
    std::printf("  one BitBlt of a 32-bit section: %.2f ms\n", sectionFloor);
    std::fflush(stdout);
    dialog.DestroyWindow();
    return 0;
}

// Moves the real pointer and posts what the user would do.
void Demo(GalleryDialog& dialog, int seconds) {
    HWND window = dialog.GetSafeHwnd();
    auto move = [&](int x, int y, WPARAM flags) {
        POINT screen = {x, y};
        ClientToScreen(window, &screen);
        if (!(flags & MK_LBUTTON)) SetCursorPos(screen.x, screen.y);
        PostMessageW(window, WM_MOUSEMOVE, flags, MAKELPARAM(x, y));
        Pump(150);
    };
    Pump(400);
    // Click the second tile: a status message appears.
    move(290, 60, 0);
    PostMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(290, 60));
    PostMessageW(window, WM_LBUTTONUP, 0, MAKELPARAM(290, 60));
    Pump(200);
    // Scroll the panel by two rows.
    move(400, 300, 0);
    POINT wheel = {400, 300};
    ClientToScreen(window, &wheel);
    PostMessageW(window, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-2 * WHEEL_DELTA)),
                 MAKELPARAM(wheel.x, wheel.y));
    Pump(200);
    // Hover the third tile of the second row and rest there for its tooltip.
    move(330, 155, 0);
    move(332, 156, 0);
    Pump(static_cast<DWORD>(seconds) * 1000);
}

}  // namespace

int main(int argc, char** argv) {
    if (int controls = 0; RunControlsGallery(argc, argv, controls)) return controls;
    if (int window = 0; gallery::RunWindowGallery(argc, argv, window)) return window;
    if (int sheet = 0; gallery::RunSpecimenSheet(argc, argv, sheet)) return sheet;
    Manager::SetInstance(GetModuleHandleW(nullptr));
    Manager::InitGdiplus();
    OleInitialize(nullptr);
    int result = 0;
    if (argc > 1 && std::strcmp(argv[1], "--measure") == 0) {
        result = Measure();
    } else {
        GalleryDialog dialog(5);
        dialog.Create(nullptr, L"HVUI gallery", WS_POPUP, 0, CRect(40, 40, 40 + kGalleryWidth, 40 + kGalleryHeight));
        dialog.SetMTimer(kAnimationPeriodMs);
        if (argc > 2 && std::strcmp(argv[1], "--demo") == 0) {
            dialog.ShowWindow(SW_SHOW);
            Demo(dialog, std::atoi(argv[2]));
            dialog.DestroyWindow();
        } else {
            dialog.ShowModal(SW_SHOW);
        }
    }
    OleUninitialize();
    Manager::UnInitGdiplus();
    return result;
}
