// The paint manager of a live dialog: the picture it paints, redraw
// requests, control timers, the animation timer and the status overlay.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <set>

#include "DialogTestSupport.h"

using namespace hvui_test;

namespace {

const auto* const kGdiplus = ::testing::AddGlobalTestEnvironment(new GdiplusEnvironment);

// The client area as the window shows it now.
class WindowPicture {
public:
    explicit WindowPicture(HWND window, int width, int height) : m_surface(width, height) {
        UpdateWindow(window);
        HDC dc = GetDC(window);
        BitBlt(m_surface.DC(), 0, 0, width, height, dc, 0, 0, SRCCOPY);
        ReleaseDC(window, dc);
    }
    uint32_t Rgb(int x, int y) { return m_surface.Rgb(x, y); }

private:
    PixelSurface m_surface;
};

// COLORREF 0x00BBGGRR as the 0x00RRGGBB a pixel reads back as.
uint32_t PixelOf(COLORREF colour) {
    return (GetRValue(colour) << 16) | (GetGValue(colour) << 8) | GetBValue(colour);
}

class PaintManagerTest : public DialogSuite {
protected:
    void TearDown() override {
        manager()->SetBackColor(0x050505, 0xE6FF49);
        manager()->SetLayeredWindow(0);
        DialogSuite::TearDown();
    }
};

TEST_F(PaintManagerTest, WithoutABackgroundImageAOnePixelBorderFramesTheBackgroundColour) {
    const COLORREF background = RGB(10, 20, 30);
    const COLORREF border = RGB(200, 100, 50);
    manager()->SetBackColor(background, border);
    WindowPicture picture(window(), kWidth, kHeight);
    struct Point {
        int x, y;
        COLORREF expected;
    };
    const Point points[] = {{0, 0, border},           {kWidth - 1, 150, border}, {200, kHeight - 1, border},
                            {0, 150, border},         {1, 1, background},        {kWidth - 2, kHeight - 2, background},
                            {200, 150, background}};
    for (const Point& p : points) {
        const uint32_t rgb = picture.Rgb(p.x, p.y);
        // Alpha 254 over black leaves each channel at most one step darker.
        EXPECT_NEAR(RedOf(rgb), RedOf(PixelOf(p.expected)), 1) << p.x << "," << p.y;
        EXPECT_NEAR(GreenOf(rgb), GreenOf(PixelOf(p.expected)), 1) << p.x << "," << p.y;
        EXPECT_NEAR(BlueOf(rgb), BlueOf(PixelOf(p.expected)), 1) << p.x << "," << p.y;
    }
}

TEST_F(PaintManagerTest, ControlsArePaintedInListOrderOverTheBackground) {
    dialog->Add(new ProbeControl(dialog, 10, CRect(20, 20, 120, 120), RGB(255, 0, 0)));
    dialog->Add(new ProbeControl(dialog, 11, CRect(60, 60, 160, 160), RGB(0, 0, 255)));
    InvalidateRect(window(), nullptr, FALSE);
    WindowPicture picture(window(), kWidth, kHeight);
    EXPECT_EQ(picture.Rgb(30, 30), 0xFF0000u);
    EXPECT_EQ(picture.Rgb(100, 100), 0x0000FFu);  // the later one is on top
    EXPECT_EQ(picture.Rgb(150, 150), 0x0000FFu);
}

TEST_F(PaintManagerTest, AChangeRefreshesTheUnionWithLaterOverlappingSiblings) {
    auto* below = dialog->Add(new ProbeControl(dialog, 10, CRect(0, 0, 50, 50)));
    auto* changed = dialog->Add(new ProbeControl(dialog, 11, CRect(20, 20, 100, 100)));
    auto* above = dialog->Add(new ProbeControl(dialog, 12, CRect(80, 80, 150, 150)));
    auto* apart = dialog->Add(new ProbeControl(dialog, 13, CRect(300, 200, 350, 250)));
    InvalidateRect(window(), nullptr, FALSE);
    UpdateWindow(window());
    for (ProbeControl* c : {below, changed, above, apart}) ASSERT_EQ(c->GetUpdate(), 1);

    changed->SetColour(RGB(0, 255, 0));
    RECT dirty;
    GetUpdateRect(window(), &dirty, FALSE);
    EXPECT_EQ(CRect(dirty), CRect(20, 20, 150, 150));
    EXPECT_EQ(changed->GetUpdate(), 0);
    EXPECT_EQ(above->GetUpdate(), 0);
    EXPECT_EQ(below->GetUpdate(), 1);  // under the change: its picture still holds
    EXPECT_EQ(apart->GetUpdate(), 1);

    const int repaintsBelow = below->repaints;
    UpdateWindow(window());
    EXPECT_EQ(below->repaints, repaintsBelow);
    EXPECT_EQ(changed->GetUpdate(), 1);
    EXPECT_EQ(above->GetUpdate(), 1);
}

// A control that writes GDI text, which leaves alpha 0 in a 32-bit section.
class GdiTextControl : public ProbeControl {
public:
    using ProbeControl::ProbeControl;
    void DrawControl(HDC& dc, CRect) override {
        RECT r = m_rect;
        HBRUSH white = CreateSolidBrush(RGB(255, 255, 255));
        FillRect(dc, &r, white);  // GDI fills write alpha 0 as well
        DeleteObject(white);
    }
};

TEST_F(PaintManagerTest, InLayeredModeGdiPaintingIsShownOpaque) {
    dialog->Add(new GdiTextControl(dialog, 10, CRect(20, 20, 80, 80)));
    manager()->SetLayeredWindow(1);
    unsigned char* bits = nullptr;
    // The frame the layered window is updated from.
    HBITMAP section = manager()->RenderFrame(CRect(0, 0, kWidth, kHeight), &bits);
    ASSERT_NE(section, nullptr);
    ASSERT_NE(bits, nullptr);
    auto argb = [&](int x, int y) {
        return reinterpret_cast<uint32_t*>(bits)[static_cast<size_t>(kHeight - 1 - y) * kWidth + x];
    };
    EXPECT_EQ(argb(50, 50), 0xFFFFFFFFu);           // GDI white, made opaque
    EXPECT_NE(argb(200, 200) >> 24, 0u);            // the background is not see-through
    DeleteObject(section);
}

// Counts its timer ticks.
class TickingControl : public ProbeControl {
public:
    using ProbeControl::ProbeControl;
    int OnControlTimer() override {
        ++ticks;
        threads.insert(GetCurrentThreadId());
        return 1;
    }
    std::atomic<int> ticks{0};
    std::set<DWORD> threads;
};

TEST_F(PaintManagerTest, ControlTimerIdsStartAt17SkipTheOverlayTimersAndWrapAfter239) {
    auto* control = dialog->Add(new ProbeControl(dialog, 10, CRect(0, 0, 10, 10)));
    std::vector<unsigned> ids;
    for (unsigned key = 0; key < 230; ++key) {
        ASSERT_EQ(manager()->SetTimer(control, key, 100000), 1) << key;
        ids.push_back(manager()->GetTimerID(control, key));
    }
    EXPECT_EQ(ids.front(), 17u);
    EXPECT_EQ(ids[48], 65u);
    EXPECT_EQ(ids[49], 67u);  // 66 serves the overlay
    std::vector<unsigned> sorted = ids;
    std::sort(sorted.begin(), sorted.end());
    EXPECT_EQ(std::adjacent_find(sorted.begin(), sorted.end()), sorted.end()) << "an id was given twice";
    for (unsigned id : {66u, 88u, 99u}) EXPECT_EQ(std::count(ids.begin(), ids.end(), id), 0) << id;
    EXPECT_EQ(ids[220], 0u);  // 17..239 without the three overlay ids, then 0
    EXPECT_EQ(ids[221], 1u);
    manager()->KillTimer(control);
    EXPECT_EQ(manager()->GetTimerID(control, 0), 0u);
}

TEST_F(PaintManagerTest, ARunningKeyIsNotArmedTwiceAndAKilledOneReArmsItsId) {
    auto* control = dialog->Add(new TickingControl(dialog, 10, CRect(0, 0, 10, 10)));
    control->SetRunTimer(1);
    ASSERT_EQ(manager()->SetTimer(control, 5, 10), 1);
    const unsigned id = manager()->GetTimerID(control, 5);
    EXPECT_EQ(manager()->SetTimer(control, 5, 10), 0);
    PumpDialog(*dialog, 100);
    EXPECT_GT(control->ticks.load(), 0);

    EXPECT_EQ(manager()->KillTimer(control, 5), 1);
    EXPECT_EQ(manager()->KillTimer(control, 5), 0);
    PumpDialog(*dialog, 20);
    const int ticksAfterKill = control->ticks;
    PumpDialog(*dialog, 100);
    EXPECT_EQ(control->ticks.load(), ticksAfterKill);

    EXPECT_EQ(manager()->SetTimer(control, 5, 10), 1);
    EXPECT_EQ(manager()->GetTimerID(control, 5), id);
    // WM_TIMER comes only when the queue is idle: a loaded machine may take
    // longer than a few periods to deliver the first tick.
    for (int i = 0; i < 20 && control->ticks.load() <= ticksAfterKill; ++i) PumpDialog(*dialog, 50);
    EXPECT_GT(control->ticks.load(), ticksAfterKill);
}

TEST_F(PaintManagerTest, ADeletedControlLeavesNoTimerBehind) {
    auto* control = dialog->Add(new TickingControl(dialog, 10, CRect(0, 0, 10, 10)));
    ASSERT_EQ(manager()->SetTimer(control, 1, 10), 1);
    const unsigned id = manager()->GetTimerID(control, 1);
    ASSERT_NE(id, 0u);
    manager()->AddMTimer(control);
    manager()->RemoveControl(control);
    // The window timer is gone (a second kill fails), and neither the timer
    // records nor the animation list still name the control.
    EXPECT_FALSE(::KillTimer(manager()->GetPaintWnd(), id));
    EXPECT_EQ(manager()->GetTimerID(control, 1), 0u);
    EXPECT_EQ(manager()->DeleteFSTimer(control), 0);
    PumpDialog(*dialog, 60);
}

TEST_F(PaintManagerTest, TheAnimationTimerTicksListedControlsOnItsOwnThread) {
    auto* animated = dialog->Add(new TickingControl(dialog, 10, CRect(0, 0, 10, 10)));
    auto* idle = dialog->Add(new TickingControl(dialog, 11, CRect(20, 0, 30, 10)));
    manager()->AddMTimer(animated);
    dialog->SetMTimer(16);
    ASSERT_NE(manager()->GetMTimerID(), 0u);
    EXPECT_EQ(HVTimer::m_bIsTmierOK, 1);
    Sleep(200);
    manager()->KillMTimer();
    const int ticks = animated->ticks;
    EXPECT_GE(ticks, 5);
    EXPECT_EQ(idle->ticks.load(), 0);
    EXPECT_EQ(animated->threads.count(GetCurrentThreadId()), 0u);
    Sleep(60);
    EXPECT_EQ(animated->ticks.load(), ticks);  // killed means no more ticks
    EXPECT_EQ(manager()->DeleteFSTimer(animated), 1);
    EXPECT_EQ(manager()->DeleteFSTimer(animated), 0);
}

// Asks for a redraw on every tick, as an animation does.
class AnimatedControl : public ProbeControl {
public:
    using ProbeControl::ProbeControl;
    int OnControlTimer() override {
        ++ticks;
        UpdateControl(1, 0);
        return 1;
    }
    std::atomic<int> ticks{0};
};

// Starts and stops animations from a key handler, inside key routing.
class AnimationStarter : public ProbeControl {
public:
    using ProbeControl::ProbeControl;
    int OnControlKeyDown(unsigned, unsigned, unsigned) override {
        for (int i = 0; i < 200; ++i) {
            GetManager()->AddMTimer(this);
            GetManager()->DeleteFSTimer(this);
        }
        return 1;
    }
};

TEST_F(PaintManagerTest, TheAnimationTimerRunsOnlyWhileSomethingAnimatesAndTheWindowIsShown) {
    auto* animated = dialog->Add(new TickingControl(dialog, 10, CRect(0, 0, 10, 10)));
    dialog->SetMTimer(16);
    EXPECT_EQ(manager()->GetMTimerID(), 0u) << "nothing animates";
    manager()->AddMTimer(animated);
    PumpDialog(*dialog, 20);  // started from the message loop
    EXPECT_NE(manager()->GetMTimerID(), 0u);

    dialog->ShowWindow(SW_HIDE);
    PumpDialog(*dialog, 20);
    EXPECT_EQ(manager()->GetMTimerID(), 0u) << "hidden";
    const int hiddenTicks = animated->ticks;
    Sleep(100);
    EXPECT_EQ(animated->ticks.load(), hiddenTicks);

    dialog->ShowWindow(SW_SHOWNOACTIVATE);
    PumpDialog(*dialog, 20);
    EXPECT_NE(manager()->GetMTimerID(), 0u) << "shown again";
    Sleep(100);
    EXPECT_GT(animated->ticks.load(), hiddenTicks);

    EXPECT_EQ(manager()->DeleteFSTimer(animated), 1);
    PumpDialog(*dialog, 20);
    EXPECT_EQ(manager()->GetMTimerID(), 0u) << "the last animation ended";
    manager()->KillMTimer();
}

// Paints as the user sees them: when each one happened.
class TimedProbe : public ProbeControl {
public:
    using ProbeControl::ProbeControl;
    void DrawControl(HDC& dc, CRect clip) override {
        paints.push_back(GetTickCount());
        ProbeControl::DrawControl(dc, clip);
    }
    std::vector<DWORD> paints;
};

TEST_F(PaintManagerTest, QueuedPaintsAreSpacedByTheIntervalWithoutBlockingTheWindow) {
    constexpr DWORD kInterval = 100;
    auto* probe = dialog->Add(new TimedProbe(dialog, 10, CRect(0, 0, 50, 50)));
    manager()->SetPaintPause(kInterval);
    PumpDialog(*dialog, 2 * kInterval);
    probe->paints.clear();

    // An animation's worth of redraw requests, one every 5 ms; no single
    // turn of the message loop may wait for the next allowed paint.
    DWORD longestTurn = 0;
    const DWORD start = GetTickCount();
    for (int i = 0; GetTickCount() - start < 500; ++i) {
        probe->SetColour(i % 2 ? RGB(0, 0, 255) : RGB(0, 255, 0));
        const DWORD before = GetTickCount();
        PumpDialog(*dialog);
        longestTurn = std::max(longestTurn, GetTickCount() - before);
        Sleep(5);
    }
    probe->SetColour(RGB(0, 0, 255));
    PumpDialog(*dialog, 2 * kInterval);  // the last request is painted too
    manager()->SetPaintPause(0);

    EXPECT_LT(longestTurn, kInterval * 2 / 3);  // a paint that waited would take the whole interval
    ASSERT_GE(probe->paints.size(), 3u);
    EXPECT_LE(probe->paints.size(), 500 / kInterval + 3);
    for (size_t i = 1; i < probe->paints.size(); ++i)
        EXPECT_GE(probe->paints[i] - probe->paints[i - 1], kInterval - 16) << "paint " << i;  // tick granularity
    EXPECT_EQ(WindowPicture(window(), kWidth, kHeight).Rgb(10, 10), 0x0000FFu);

    // A paint asked for with UpdateWindow is on the screen when it returns.
    manager()->SetPaintPause(kInterval);
    probe->SetColour(RGB(255, 0, 0));
    UpdateWindow(window());
    const size_t painted = probe->paints.size();
    probe->SetColour(RGB(0, 255, 0));
    UpdateWindow(window());
    manager()->SetPaintPause(0);
    EXPECT_EQ(probe->paints.size(), painted + 1);
}

TEST_F(PaintManagerTest, AnimationsStartedDuringRoutingDoNotBlockTheTimerThread) {
    std::vector<AnimatedControl*> animated;
    for (unsigned i = 0; i < 8; ++i) {
        animated.push_back(dialog->Add(new AnimatedControl(dialog, 10 + i, CRect(10 * i, 0, 10 * i + 40, 40))));
        manager()->AddMTimer(animated.back());
    }
    dialog->Add(new AnimationStarter(dialog, 30, CRect(300, 200, 350, 250)));
    dialog->SetMTimer(1);
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < 800) PostKey('S');  // a lock-order fault hangs here
    manager()->KillMTimer();
    EXPECT_GT(animated.front()->ticks.load(), 10);
}

TEST_F(PaintManagerTest, AFullProgressBarStartsFadingAfter50ms) {
    manager()->SetProgress(96, L"Downloading", CRect(10, 200, 210, 260));
    PumpDialog(*dialog, 800);
    ASSERT_EQ(manager()->GetProgress(), 96);
    EXPECT_EQ(manager()->GetOverlayAlpha(), 255);
    manager()->SetProgress(100, L"Downloading", CRect(10, 200, 210, 260));
    EXPECT_EQ(manager()->GetProgress(), 100);
    EXPECT_EQ(manager()->GetOverlayAlpha(), 255);
    PumpDialog(*dialog, 150);
    const int alpha = manager()->GetOverlayAlpha();
    EXPECT_LT(alpha, 255);
    EXPECT_GT(alpha, 100);
    PumpDialog(*dialog, 1600);
    EXPECT_EQ(manager()->GetOverlayAlpha(), 0);
    EXPECT_EQ(manager()->GetProgress(), 0);
}

TEST_F(PaintManagerTest, ProgressClimbsInStepsToItsTarget) {
    manager()->SetProgress(4, L"", CRect(10, 200, 210, 260));  // a small step jumps
    EXPECT_EQ(manager()->GetProgress(), 4);
    manager()->SetProgress(41, L"", CRect(10, 200, 210, 260));
    EXPECT_EQ(manager()->GetProgress(), 4);
    PumpDialog(*dialog, 600);
    EXPECT_EQ(manager()->GetProgress(), 41);  // never beyond the target
}

TEST_F(PaintManagerTest, AMessageStaysFor3SecondsThenFadesOutIn24Steps) {
    dialog->SetMessage(L"Saved", CRect(), MsgInfo);
    const CRect box = manager()->GetOverlayBox();
    EXPECT_EQ(box, CRect(100, kHeight - 60, 300, kHeight - 2));
    {
        unsigned char* bits = nullptr;
        HBITMAP frame = manager()->RenderFrame(CRect(0, 0, kWidth, kHeight), &bits);
        ASSERT_NE(frame, nullptr);
        // The inner box of the overlay, below its text.
        const uint32_t pixel =
            reinterpret_cast<uint32_t*>(bits)[static_cast<size_t>(kHeight - 1 - (box.bottom - 4)) * kWidth + box.right - 4];
        EXPECT_EQ(pixel & 0xFFFFFF, 0xFEFEFEu);
        DeleteObject(frame);
    }
    PumpDialog(*dialog, 2800);
    EXPECT_EQ(manager()->GetOverlayAlpha(), 255);
    PumpDialog(*dialog, 500);
    EXPECT_LT(manager()->GetOverlayAlpha(), 255);
    EXPECT_GT(manager()->GetOverlayAlpha(), 0);
    PumpDialog(*dialog, 1500);
    EXPECT_EQ(manager()->GetOverlayAlpha(), 0);
}

TEST_F(PaintManagerTest, SizeLimitsGoIntoTheMinMaxAnswer) {
    manager()->SetWindowMixSize(300, 200);
    manager()->SetWindowMaxSize(0, 0);
    MINMAXINFO info = {};
    info.ptMaxTrackSize = {5000, 5000};
    SendMessageW(window(), WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
    EXPECT_EQ(info.ptMinTrackSize.x, 300);
    EXPECT_EQ(info.ptMinTrackSize.y, 200);
    EXPECT_EQ(info.ptMaxTrackSize.x, 5000);
    RECT work;
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    EXPECT_EQ(info.ptMaxSize.x, work.right - work.left);
    EXPECT_EQ(info.ptMaxPosition.y, work.top);
    manager()->SetWindowMixSize(1282, 682);
}

TEST_F(PaintManagerTest, TheBalloonLaysItselfOutByTypeAndStaysOnlyForType4) {
    struct Case {
        int type;
        CRect expected;  // for text of 100 × 20 at (500, 400), line height 20
    };
    const Case cases[] = {{1, CRect(500, 380, 640, 420)}, {2, CRect(360, 373, 500, 413)},
                          {3, CRect(475, 400, 615, 450)}, {4, CRect(435, 360, 565, 400)},
                          {5, CRect(500, 390, 640, 335)}, {9, CRect()}};
    for (const Case& c : cases) EXPECT_EQ(MAirBladder::LayoutRect(c.type, 500, 400, 100, 20, 20), c.expected);

    ASSERT_EQ(dialog->SetAirBladderMsg(L"Fan speed", POINT{0, 100}, AirBladderRight), 0);
    ASSERT_EQ(dialog->SetAirBladderMsg(L"Fan speed", POINT{300, 100}, AirBladderAbove), 1);
    MAirBladder* balloon = manager()->GetAirBladder();
    ASSERT_NE(balloon, nullptr);
    EXPECT_TRUE(balloon->IsWindowVisible());
    EXPECT_EQ(manager()->ShowAirBladder(0, AirBladderModeLeftEdge), 0);  // not its mode
    EXPECT_TRUE(balloon->IsWindowVisible());
    EXPECT_EQ(manager()->ShowAirBladder(0, AirBladderModeDialog), 1);
    EXPECT_FALSE(balloon->IsWindowVisible());
}

}  // namespace

// Hears the move and size messages the paint manager sends it.
class PositionDialog : public TestDialog {
public:
    LRESULT OnWindowMessage(UINT msg, WPARAM wParam, LPARAM lParam) override {
        if (msg == WM_MOVE) moves.push_back(CPoint(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))));
        if (msg == WM_SIZE) sizes.push_back(CPoint(LOWORD(lParam), HIWORD(lParam)));
        return TestDialog::OnWindowMessage(msg, wParam, lParam);
    }
    std::vector<CPoint> moves;
    std::vector<CPoint> sizes;
};

TEST(PaintManagerHandlersTest, TheHandlerSetAnswersAsTheDispatcherWouldAndPostNcDestroyReleasesTheData) {
    Manager::SetInstance(GetModuleHandleW(nullptr));
    PositionDialog dialog;
    ASSERT_NE(dialog.Create(nullptr, L"handlers", WS_POPUP, 0, CRect(30, 40, 230, 140)), nullptr);
    PaintManager* manager = dialog.GetPaintManager();
    EXPECT_EQ(manager->OnCreate(nullptr), 1);
    EXPECT_EQ(manager->OnSize(SIZE_RESTORED, 200, 100), 1);
    EXPECT_EQ(manager->OnMouseHover(0, 0), 1);
    EXPECT_EQ(manager->OnNcCalcSize(0, nullptr), 1);
    EXPECT_EQ(manager->OnWindowPosChanging(nullptr), 1);
    EXPECT_EQ(manager->OnNcPaint(), 1);
    EXPECT_EQ(manager->OnDestroy(), 1);

    // A window that forwards the change it heard gets its move and size again.
    dialog.moves.clear();
    dialog.sizes.clear();
    WINDOWPOS position = {dialog.GetSafeHwnd(), nullptr, 30, 40, 200, 100, SWP_NOZORDER};
    EXPECT_EQ(manager->OnWindowPosChanged(&position), 1);
    ASSERT_FALSE(dialog.moves.empty());
    EXPECT_EQ(dialog.moves.back(), CPoint(30, 40));
    ASSERT_FALSE(dialog.sizes.empty());
    EXPECT_EQ(dialog.sizes.back(), CPoint(200, 100));

    ASSERT_EQ(manager->IsInitialised(), 1);
    manager->PostNcDestroy();
    EXPECT_EQ(manager->IsInitialised(), 0);
    dialog.DestroyWindow();
}
