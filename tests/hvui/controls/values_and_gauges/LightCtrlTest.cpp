#include <gtest/gtest.h>

#include "ControlsTestSupport.h"
#include "LightCtrl.h"

using namespace controls_test;
using namespace Gdiplus;

namespace {

const auto* const kGdiplus = ::testing::AddGlobalTestEnvironment(new hvui_test::GdiplusEnvironment);

constexpr uint32_t kBackground = 0xFF182028;
constexpr ARGB kNormal = 0xFF606060;
constexpr ARGB kHover = 0xFFE0E020;
constexpr ARGB kSelected = 0xFF20E020;
constexpr ARGB kUnused = 0xFFFF00FF;

// A tile strip of four 102 × 102 frames.
const wchar_t* TileImage() {
    return WriteSkinPng(L"controls2\\tile.png", 408, 102, [](int x, int) {
        const ARGB frames[] = {kNormal, kHover, kSelected, kUnused};
        return frames[x / 102];
    });
}

struct LightList : ::testing::Test {
    static constexpr int kLeft = 20;
    static constexpr int kTop = 30;
    // A row of the paging strip along the control's bottom edge, where a
    // press grabs the thumb.
    static constexpr int kPagingStrip = kTop + 140 - 3;
    RepaintingParent parent;
    PaintManager manager;
    LightCtrl list{&parent, 60, CRect(kLeft, kTop, kLeft + 1200, kTop + 140), 1, 1};
    void SetUp() override {
        list.SetManager(&manager);
        TileImage();
    }
    void AddTiles(int count) {
        for (int i = 0; i < count; ++i) {
            CString caption;
            caption.Format(L"Mode %d", i + 1);
            list.AddLight(caption, i + 1, L"controls2\\tile.png");
        }
    }
    // The middle of the image part of tile index, in dialog coordinates.
    CPoint OnTile(int index) {
        const CRect tile = list.GetItemRect(index);
        return CPoint(kLeft + tile.left + 51, kTop + 30);
    }
};

TEST_F(LightList, WithoutThePagingBarTilesSitSideBySideWhateverTheWidth) {
    AddTiles(7);
    list.SetProgressBar(0);
    list.SetItemsPerPage(7);
    for (int width : {1200, 500}) {
        list.SetRect(CRect(kLeft, kTop, kLeft + width, kTop + 140));
        list.OnScroll(0, 1, CPoint(kLeft + 10, kTop + 10));  // no paging: the wheel leaves the row
        for (int i = 0; i < 7; ++i) EXPECT_EQ(list.GetItemRect(i), CRect(122 * i, 0, 122 * i + 122, 102));
    }
}

TEST_F(LightList, WheelStepsPageTheRowWithThePagingBarOn) {
    AddTiles(10);
    list.SetProgressBar(1);
    list.SetItemsPerPage(4);
    const CPoint inside(kLeft + 300, kTop + 50);
    for (int step = 1; step <= 6; ++step) {
        list.OnScroll(0, 1, inside);
        EXPECT_NEAR(list.GetScrollPosition(), 0.1f * step, 1e-5f);
    }
    EXPECT_NEAR(list.GetViewOffset(), 3.6f, 1e-4f);
    EXPECT_EQ(list.GetViewStartIndex(), 3);
    EXPECT_EQ(list.GetItemRect(3).left, -79);
    EXPECT_EQ(list.GetItemRect(4).left, 42);
    for (int step = 0; step < 10; ++step) list.OnScroll(0, 0, inside);
    EXPECT_EQ(list.GetScrollPosition(), 0.0f);
    EXPECT_EQ(list.GetItemRect(0).left, 0);
}

TEST_F(LightList, PressingOneTileAndReleasingOnAnotherSelectsThePressedOne) {
    AddTiles(7);
    list.SetProgressBar(0);
    list.OnMouseMove(0, OnTile(2));
    list.OnLButtonDown(MK_LBUTTON, OnTile(2));
    list.OnMouseMove(MK_LBUTTON, OnTile(5));
    EXPECT_EQ(list.GetHoverItem(), 5);
    list.OnLButtonUp(0, OnTile(5));
    EXPECT_EQ(list.GetSelectItem(), 2);
    ASSERT_EQ(parent.notifications.size(), 1u);
    EXPECT_EQ(parent.notifications[0].id, 60u);
    EXPECT_EQ(parent.notifications[0].code, 2u);
    EXPECT_EQ(parent.notifications[0].lParam, 2);
    EXPECT_EQ(list.GetCurLightMode(), 3);
}

TEST_F(LightList, ReleasingInEmptySpaceSelectsWithoutANotification) {
    AddTiles(7);
    list.SetProgressBar(0);
    const CPoint below(kLeft + 61, kTop + 120);  // under tile 0, outside every tile
    list.OnMouseMove(0, OnTile(1));
    list.OnLButtonDown(MK_LBUTTON, OnTile(1));
    list.OnMouseMove(MK_LBUTTON, below);
    list.OnLButtonUp(0, below);
    EXPECT_EQ(list.GetSelectItem(), 1);
    EXPECT_TRUE(parent.notifications.empty());
    // Past the last tile, likewise.
    list.OnMouseMove(0, OnTile(4));
    list.OnLButtonDown(MK_LBUTTON, OnTile(4));
    list.OnMouseMove(MK_LBUTTON, CPoint(kLeft + 1000, kTop + 50));
    list.OnLButtonUp(0, CPoint(kLeft + 1000, kTop + 50));
    EXPECT_EQ(list.GetSelectItem(), 4);
    EXPECT_TRUE(parent.notifications.empty());
}

TEST_F(LightList, ModesAndCaptionsAreLookedUpByIndexAndMode) {
    AddTiles(7);
    list.SetCurLightMode(4);
    EXPECT_EQ(list.GetSelectItem(), 3);
    EXPECT_EQ(list.GetCurLightMode(), 4);
    list.SetCurLightMode(12);  // no tile has it
    EXPECT_EQ(list.GetSelectItem(), -1);
    EXPECT_EQ(list.GetCurLightMode(), 0);
    struct Case {
        int index;
        int set;
        int mode;
    };
    const Case cases[] = {{0, 1, 1}, {6, 1, 7}, {7, 0, 0}, {-1, 0, 0}};
    for (const Case& c : cases) {
        EXPECT_EQ(list.SetItemText(c.index, L"Renamed"), c.set) << c.index;
        EXPECT_EQ(list.GetItemText(c.index) == L"Renamed", c.set == 1) << c.index;
        EXPECT_EQ(list.GetLightMode(c.index), c.mode) << c.index;
    }
    list.ClearList();
    EXPECT_EQ(list.GetItemCount(), 0);
    EXPECT_EQ(list.GetSelectItem(), -1);
}

TEST_F(LightList, PagingSettingsKeepTheirLimits) {
    AddTiles(10);
    list.SetItemsPerPage(0);
    EXPECT_EQ(list.GetItemsPerPage(), 4);
    struct Case {
        int start;
        int stored;
        float position;
    };
    const Case cases[] = {{3, 3, 0.5f}, {9, 6, 1.0f}, {-2, 0, 0.0f}, {6, 6, 1.0f}};
    for (const Case& c : cases) {
        list.SetViewStartIndex(c.start);
        EXPECT_EQ(list.GetViewStartIndex(), c.stored) << c.start;
        EXPECT_FLOAT_EQ(list.GetScrollPosition(), c.position) << c.start;
    }
    list.SetItemsPerPage(12);  // everything on one page
    list.SetViewStartIndex(2);
    EXPECT_EQ(list.GetViewStartIndex(), 0);
    EXPECT_EQ(list.GetScrollPosition(), 0.0f);
}

TEST_F(LightList, DraggingThePagingThumbScrollsTheRow) {
    AddTiles(10);
    list.SetProgressBar(1);
    list.OnLButtonDown(MK_LBUTTON, CPoint(kLeft + 600, kPagingStrip));
    EXPECT_EQ(list.IsDragging(), 1);
    EXPECT_FLOAT_EQ(list.GetScrollPosition(), 0.5f);
    list.OnMouseMove(MK_LBUTTON, CPoint(kLeft + 1500, kPagingStrip));  // past the right end
    EXPECT_FLOAT_EQ(list.GetScrollPosition(), 1.0f);
    EXPECT_EQ(list.GetViewStartIndex(), 6);
    list.OnLButtonUp(0, CPoint(kLeft + 1500, kPagingStrip));
    EXPECT_EQ(list.IsDragging(), 0);
    EXPECT_TRUE(parent.notifications.empty());
}

TEST_F(LightList, DragMovesFromTheDialogWindowKeepPagingOutsideTheControl) {
    AddTiles(10);
    list.SetProgressBar(1);
    list.OnLButtonDown(MK_LBUTTON, CPoint(kLeft + 100, kPagingStrip));
    // The dialog holds the capture: its moves arrive as window messages.
    list.OnWindowMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(kLeft + 900, 600));
    EXPECT_FLOAT_EQ(list.GetScrollPosition(), 0.75f);
    list.OnLButtonUp(0, CPoint(kLeft + 900, 600));
    parent.updates.clear();
    list.OnWindowMessage(WM_MOUSEMOVE, 0, MAKELPARAM(kLeft + 300, kPagingStrip));  // the drag has ended
    EXPECT_FLOAT_EQ(list.GetScrollPosition(), 0.75f);
}

TEST_F(LightList, LosingTheMouseToAnotherWindowEndsTheDrag) {
    AddTiles(10);
    list.SetProgressBar(1);
    list.OnLButtonDown(MK_LBUTTON, CPoint(kLeft + 100, kPagingStrip));
    ASSERT_EQ(list.IsDragging(), 1);
    const float before = list.GetScrollPosition();
    list.OnWindowMessage(WM_CAPTURECHANGED, 0, reinterpret_cast<LPARAM>(GetDesktopWindow()));
    EXPECT_EQ(list.IsDragging(), 0);
    list.OnWindowMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(kLeft + 900, kPagingStrip));
    EXPECT_FLOAT_EQ(list.GetScrollPosition(), before);
}

TEST_F(LightList, ChildNotificationsGoOnToTheParent) {
    struct Case {
        unsigned id, code;
        bool redraw;
    };
    // A scroll bar (child 1 or 2) that moved also repaints the list.
    const Case cases[] = {{1, 8, true}, {2, 8, true}, {7, 8, false}, {1, 2, false}};
    for (const Case& c : cases) {
        parent.updates.clear();
        parent.notifications.clear();
        list.OnBaseMessage(c.id, c.code, 5, 6);
        ASSERT_EQ(parent.notifications.size(), 1u);
        EXPECT_EQ(parent.notifications[0].id, c.id);
        EXPECT_EQ(parent.notifications[0].code, c.code);
        EXPECT_EQ(parent.notifications[0].lParam, 6);
        EXPECT_EQ(parent.updates.empty(), !c.redraw) << c.id << "/" << c.code;
    }
}

TEST_F(LightList, TilesShowTheirFrameForHoverAndSelection) {
    AddTiles(4);
    list.AddLight(L"Lost", 9, L"controls2\\no-such-tile.png");
    list.SetProgressBar(0);
    list.SetCurLightMode(2);
    list.OnMouseMove(0, OnTile(2));
    PixelSurface surface(1240, 200);
    Render(list, surface, kBackground);
    auto tilePixel = [&](int index) { return surface.Rgb(kLeft + 122 * index + 50, kTop + 20); };
    EXPECT_TRUE(Near(tilePixel(0), Rgb(kNormal), 4));
    EXPECT_TRUE(Near(tilePixel(1), Rgb(kSelected), 4));
    EXPECT_TRUE(Near(tilePixel(2), Rgb(kHover), 4));
    // The missing picture keeps the tile's place and shows only the caption.
    EXPECT_EQ(list.GetItemRect(4), CRect(488, 0, 610, 102));
    EXPECT_TRUE(Near(tilePixel(4), Rgb(kBackground), 2));
    EXPECT_GT(CountInk(surface, kLeft + 488, kTop + 52, 102, 50, Rgb(kBackground), 40), 20);
    EXPECT_TRUE(Near(surface.Rgb(kLeft + 112, kTop + 20), Rgb(kBackground), 2));  // between frame and next tile
}

TEST_F(LightList, ThePagingStripDrawsItsThumbOverBlack) {
    AddTiles(10);
    list.SetProgressBar(1);
    list.SetViewStartIndex(6);
    PixelSurface surface(1240, 200);
    Render(list, surface, kBackground);
    // The program's thumb picture, 60 pixels wide, at the right end.
    const int strip = kTop + 140 - 4;
    EXPECT_GT(Distance(surface.Rgb(kLeft + 1170, strip), 0), 20);
    EXPECT_EQ(surface.Rgb(kLeft + 100, strip), 0u);  // the strip takes no background
    EXPECT_TRUE(Near(surface.Rgb(kLeft + 100, kTop + 120), Rgb(kBackground), 2));
}

TEST_F(LightList, TheProgramsTilesLoadAsFourFrameStrips) {
    for (int i = 1; i <= 7; ++i) {
        CString name;
        name.Format(L"light_mode%d.png", i);
        list.AddLight(L"", i, name);
    }
    list.SetProgressBar(0);
    list.SetCurLightMode(1);
    PixelSurface surface(1240, 200);
    Render(list, surface, 0xFF000000);
    for (int i = 0; i < 7; ++i)
        EXPECT_GT(CountInk(surface, kLeft + 122 * i, kTop, 102, 102, 0), 1000) << "tile " << i;
}

}  // namespace
