#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <memory>

#include "HvuiTestSupport.h"
#include "MRender.h"

using namespace hvui_test;
using namespace Gdiplus;

namespace {

const auto* const kGdiplus = ::testing::AddGlobalTestEnvironment(new GdiplusEnvironment);

constexpr ARGB kRed = 0xFFFF0000;
constexpr ARGB kGreen = 0xFF00FF00;
constexpr ARGB kBlue = 0xFF0000FF;
constexpr ARGB kWhite = 0xFFFFFFFF;

// A 24 x 24 nine-slice source with 8-pixel borders: red corners, green top
// and bottom edges, blue left and right edges, white centre.
std::unique_ptr<Bitmap> MakeNineSliceSource() {
    auto image = std::make_unique<Bitmap>(24, 24, PixelFormat32bppARGB);
    for (int y = 0; y < 24; ++y) {
        for (int x = 0; x < 24; ++x) {
            const bool midX = x >= 8 && x < 16;
            const bool midY = y >= 8 && y < 16;
            ARGB colour = kRed;
            if (midX && midY) colour = kWhite;
            else if (midX) colour = kGreen;
            else if (midY) colour = kBlue;
            image->SetPixel(x, y, Color(colour));
        }
    }
    return image;
}

std::wstring TempFile(const wchar_t* name) {
    wchar_t folder[MAX_PATH];
    GetTempPathW(MAX_PATH, folder);
    return std::wstring(folder) + name;
}

// A 16 x 16 icon file of one 32-bit image filled with colour (0xAARRGGBB).
std::wstring WriteIconFile(const wchar_t* name, uint32_t colour) {
    const std::wstring path = TempFile(name);
    constexpr int kSide = 16;
    constexpr uint32_t kMaskRowBytes = 4;  // 16 bits padded to 32
    const uint32_t imageBytes = 40 + kSide * kSide * 4 + kSide * kMaskRowBytes;
    std::ofstream out(std::string(path.begin(), path.end()), std::ios::binary);
    auto put16 = [&](uint16_t v) { out.write(reinterpret_cast<const char*>(&v), 2); };
    auto put32 = [&](uint32_t v) { out.write(reinterpret_cast<const char*>(&v), 4); };
    put16(0), put16(1), put16(1);                           // ICONDIR: one icon
    out.put(kSide), out.put(kSide), out.put(0), out.put(0);  // ICONDIRENTRY
    put16(1), put16(32), put32(imageBytes), put32(6 + 16);
    put32(40), put32(kSide), put32(kSide * 2), put16(1), put16(32);  // BITMAPINFOHEADER
    for (int i = 0; i < 6; ++i) put32(0);
    for (int i = 0; i < kSide * kSide; ++i) put32(colour);
    for (int i = 0; i < kSide; ++i) put32(0);  // AND mask: every pixel opaque
    return path;
}

}  // namespace

TEST(MRenderDrawColor, AlphaZeroDrawsNothingOtherAlphasBlend) {
    PixelSurface surface(10, 10);
    surface.Fill(kRed);
    const RECT all = {0, 0, 10, 10};
    MRender::DrawColor(surface.DC(), all, 0x0000FF00);
    EXPECT_EQ(surface.Rgb(5, 5), 0xFF0000u);

    MRender::DrawColor(surface.DC(), RECT{0, 0, 5, 10}, kGreen);
    EXPECT_EQ(surface.Rgb(2, 5), 0x00FF00u);
    EXPECT_EQ(surface.Rgb(7, 5), 0xFF0000u);  // outside the rectangle

    MRender::DrawColor(surface.DC(), RECT{5, 0, 10, 10}, 0x800000FF);
    EXPECT_NEAR(RedOf(surface.Rgb(7, 5)), 127, 2);
    EXPECT_NEAR(BlueOf(surface.Rgb(7, 5)), 128, 2);
}

TEST(MRenderFillSolidRect, FillsWithTheColorrefOnly) {
    PixelSurface surface(10, 10);
    surface.Fill(kWhite);
    MRender::FillSolidRect(surface.DC(), 2, 2, 3, 3, RGB(10, 20, 30));
    EXPECT_EQ(surface.Rgb(3, 3), 0x0A141Eu);
    EXPECT_EQ(surface.Rgb(5, 5), 0xFFFFFFu);
    EXPECT_EQ(GetBkColor(surface.DC()), RGB(255, 255, 255));  // restored
}

TEST(MRenderNineSlice, KeepsCornersAndStretchesEdgesToTheDestination) {
    const auto source = MakeNineSliceSource();
    PixelSurface surface(100, 40);
    surface.Fill(0xFF000000);
    {
        Graphics graphics(surface.DC());
        graphics.SetInterpolationMode(InterpolationModeNearestNeighbor);
        graphics.SetPixelOffsetMode(PixelOffsetModeHalf);
        MRender::DrawImageFrame(graphics, source.get(), CRect(0, 0, 100, 40), 0, 0, 24, 24, 8);
    }
    struct Probe {
        int x, y;
        uint32_t rgb;
        const char* what;
    };
    const Probe probes[] = {
        {3, 3, 0xFF0000, "top-left corner"},       {96, 36, 0xFF0000, "bottom-right corner"},
        {8, 3, 0x00FF00, "top edge starts at 8"},  {91, 3, 0x00FF00, "top edge is 84 long"},
        {92, 3, 0xFF0000, "top-right corner at 92"}, {50, 36, 0x00FF00, "bottom edge"},
        {3, 8, 0x0000FF, "left edge starts at 8"}, {3, 31, 0x0000FF, "left edge is 24 long"},
        {3, 32, 0xFF0000, "bottom-left at 32"},    {96, 20, 0x0000FF, "right edge"},
        {50, 20, 0xFFFFFF, "centre"},
    };
    for (const Probe& p : probes) EXPECT_EQ(surface.Rgb(p.x, p.y), p.rgb) << p.what;
}

// An opaque picture nine-sliced to a size that is not a whole multiple of its
// centre leaves no pixel uncovered, seen as the window behind it in a layered
// window. Sizes and border are those of the update dialog's background.
TEST(MRenderNineSlice, AnOpaquePictureCoversEveryPixelOfATransparentSurface) {
    Bitmap source(500, 230, PixelFormat32bppARGB);
    for (int y = 0; y < 230; ++y) {
        for (int x = 0; x < 500; ++x) {
            const bool edge = x == 0 || y == 0 || x == 499 || y == 229;
            source.SetPixel(x, y, Color(edge ? 0xFF464646 : 0xFF1E1E1E));
        }
    }
    PixelSurface surface(543, 252);
    surface.Fill(0);
    {
        Graphics graphics(surface.DC());
        graphics.SetPixelOffsetMode(PixelOffsetModeHalf);
        MRender::DrawImageFrame(graphics, &source, CRect(0, 0, 543, 252), 0, 0, 500, 230, 16);
    }
    int holes = 0;
    CPoint first(-1, -1);
    for (int y = 0; y < 252; ++y) {
        for (int x = 0; x < 543; ++x) {
            if ((surface.Argb(x, y) >> 24) == 0xFF) continue;
            if (!holes++) first = CPoint(x, y);
        }
    }
    EXPECT_EQ(holes, 0) << "first at " << first.x << ", " << first.y;
    EXPECT_EQ(surface.Rgb(16, 100), 0x1E1E1Eu);
    EXPECT_EQ(surface.Rgb(0, 100), 0x464646u);
    EXPECT_EQ(surface.Rgb(542, 251), 0x464646u);
}

TEST(MRenderTransitions, VerticalOpacityFallsRowByRow) {
    PixelSurface source(10, 10);
    PixelSurface target(10, 10);
    source.Fill(kWhite);
    target.Fill(0xFF000000);
    const CRect rect(0, 0, 10, 10);
    const int last = MRender::DrawVerticalTransition(target.DC(), source.DC(), rect, rect, 0, 100);
    EXPECT_EQ(last, 25);
    const int expected[] = {255, 229, 204, 178, 153, 127, 102, 76, 51, 25};
    for (int row = 0; row < 10; ++row) EXPECT_NEAR(RedOf(target.Rgb(4, row)), expected[row], 1) << "row " << row;
}

TEST(MRenderTransitions, HorizontalOpacityRisesWhenTheLeftIsMoreTransparent) {
    PixelSurface source(10, 4);
    PixelSurface target(10, 4);
    source.Fill(kWhite);
    target.Fill(0xFF000000);
    const CRect rect(0, 0, 10, 4);
    EXPECT_EQ(MRender::DrawHorizontalTransition(target.DC(), source.DC(), rect, rect, 100, 0), 229);
    EXPECT_NEAR(RedOf(target.Rgb(0, 2)), 0, 1);
    EXPECT_NEAR(RedOf(target.Rgb(1, 2)), 25, 1);
    EXPECT_NEAR(RedOf(target.Rgb(9, 2)), 229, 1);
}

TEST(MRenderTransitions, EmptyRectangleAnswers255AndDrawsNothing) {
    PixelSurface source(4, 4);
    PixelSurface target(4, 4);
    source.Fill(kWhite);
    target.Fill(0xFF000000);
    EXPECT_EQ(MRender::DrawVerticalTransition(target.DC(), source.DC(), CRect(0, 0, 4, 0), CRect(), 0, 100), 255);
    EXPECT_EQ(target.Rgb(1, 1), 0u);
}

TEST(MRenderGradient, RunsFromTheFirstColourToTheSecond) {
    PixelSurface surface(20, 64);
    surface.Fill(0xFF000000);
    // ARGB in COLORREF byte order: red to blue, opaque.
    MRender::DrawGradient(surface.DC(), RECT{0, 0, 20, 64}, 0xFF0000FF, 0xFFFF0000, true, 64);
    EXPECT_GT(RedOf(surface.Rgb(10, 0)), 240);
    EXPECT_LT(BlueOf(surface.Rgb(10, 0)), 15);
    EXPECT_GT(BlueOf(surface.Rgb(10, 63)), 240);
    EXPECT_LT(RedOf(surface.Rgb(10, 63)), 15);

    PixelSurface untouched(4, 4);
    untouched.Fill(kGreen);
    MRender::DrawGradient(untouched.DC(), RECT{0, 0, 4, 4}, 0x000000FF, 0x00FF0000, true, 8);
    EXPECT_EQ(untouched.Rgb(2, 2), 0x00FF00u);
}

TEST(MRenderGeometry, ImageRectFitsAndCentres) {
    struct Case {
        int w, h;
        CRect area;
        CRect expected;
    };
    const Case cases[] = {
        {200, 80, CRect(0, 0, 100, 100), CRect(0, 30, 100, 70)},
        {200, 100, CRect(0, 0, 100, 100), CRect(-50, 0, 150, 100)},  // one side equal: kept
        {50, 50, CRect(0, 0, 100, 100), CRect(25, 25, 75, 75)},
        {80, 200, CRect(0, 0, 100, 100), CRect(30, 0, 70, 100)},
        {300, 200, CRect(0, 0, 100, 100), CRect(0, 17, 100, 83)},
        {200, 300, CRect(0, 0, 100, 100), CRect(17, 0, 83, 100)},
        {50, 50, CRect(10, 20, 110, 120), CRect(35, 45, 85, 95)},
    };
    for (const Case& c : cases) {
        const CRect r = MRender::GetImageRect(c.w, c.h, c.area);
        EXPECT_EQ(r, c.expected) << c.w << "x" << c.h << " -> " << r.left << "," << r.top << "," << r.right << ","
                                 << r.bottom;
    }
}

TEST(MRenderGeometry, OriginPointsFollowTheAlignmentCodes) {
    struct Case {
        unsigned h, v;
        CPoint expected;
    };
    const Case cases[] = {
        {0, 0, CPoint(0, 0)}, {1, 4, CPoint(40, 15)}, {2, 8, CPoint(80, 30)}, {7, 3, CPoint(0, 0)},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(MRender::GetOriginPoint(100, 40, 20, 10, c.h, c.v), c.expected) << c.h << "/" << c.v;
        const CPoint shifted = MRender::GetOriginPoint(CRect(5, 6, 105, 46), 20, 10, c.h, c.v);
        EXPECT_EQ(shifted, CPoint(c.expected.x + 5, c.expected.y + 6 + 2));
    }
}

TEST(MRenderGeometry, CheckAlphaColorNudgesOnlyBlack) {
    struct Case {
        unsigned long in, out;
    };
    const Case cases[] = {{0, 1}, {0xFF000000, 0xFF000001}, {0x10, 0x10}, {0x80FFFFFF, 0x80FFFFFF}};
    for (const Case& c : cases) {
        unsigned long colour = c.in;
        MRender::CheckAlphaColor(colour);
        EXPECT_EQ(colour, c.out);
    }
}

TEST(MRenderGeometry, RotatePointTurnsAboutTheCentre) {
    PointF point(20.0f, 10.0f);
    MRender::RotatePoint(point, 90.0f, PointF(10.0f, 10.0f));
    EXPECT_NEAR(point.X, 10.0f, 1e-3);
    EXPECT_NEAR(point.Y, 20.0f, 1e-3);
}

TEST(MRenderLoading, LibraryResourcesHaveTheirSizesAndMissingIdsGiveNull) {
    HINSTANCE library = Manager::GetLibraryInstance();
    std::unique_ptr<Image> horizontal(MRender::LoadImageFromIDResource(101, L"PNG", library));
    std::unique_ptr<Image> vertical(MRender::LoadImageFromIDResource(102, L"PNG", library));
    ASSERT_TRUE(horizontal && vertical);
    EXPECT_EQ(horizontal->GetWidth(), 22u);
    EXPECT_EQ(horizontal->GetHeight(), 20u);
    EXPECT_EQ(vertical->GetWidth(), 12u);
    EXPECT_EQ(vertical->GetHeight(), 72u);

    EXPECT_EQ(MRender::LoadImageFromIDResource(999, L"PNG", library), nullptr);
    EXPECT_EQ(MRender::LoadImageFromIDResource(101, L"GIF", library), nullptr);
    EXPECT_EQ(MRender::LoadImageFromIDResource(101, L"PNG", GetModuleHandleW(nullptr)), nullptr);

    HRSRC font = FindResourceW(library, MAKEINTRESOURCEW(106), L"TTF");
    ASSERT_NE(font, nullptr);
    EXPECT_EQ(SizeofResource(library, font), 221328u);
}

TEST(MRenderLoading, FilesLoadThumbnailsScaleAndMissingFilesGiveNull) {
    const std::wstring path = TempFile(L"hvui-render-bands.png");
    ASSERT_TRUE(WriteBandsPng(path, 40, 20, {kRed, kBlue}));
    std::unique_ptr<Image> full(MRender::LoadImageFromFile(path.c_str()));
    ASSERT_TRUE(full);
    EXPECT_EQ(full->GetWidth(), 40u);
    std::unique_ptr<Image> thumb(MRender::LoadImageFromFileEx(path.c_str(), 8, 4));
    ASSERT_TRUE(thumb);
    EXPECT_EQ(thumb->GetWidth(), 8u);
    EXPECT_EQ(thumb->GetHeight(), 4u);
    std::unique_ptr<Image> same(MRender::LoadImageFromFileEx(path.c_str(), 0, 0));
    ASSERT_TRUE(same);
    EXPECT_EQ(same->GetWidth(), 40u);
    EXPECT_EQ(same->GetHeight(), 20u);

    EXPECT_EQ(MRender::LoadImageFromFile(L"Z:\\no\\such\\image.png"), nullptr);
    EXPECT_EQ(MRender::LoadImageFromFileEx(L"Z:\\no\\such\\image.png", 4, 4), nullptr);
    EXPECT_EQ(MRender::LoadImageFromFile(L""), nullptr);
    DeleteFileW(path.c_str());
}

TEST(MRenderLoading, IconFilesGiveTheirOwnIcon) {
    const std::wstring path = WriteIconFile(L"hvui-render-icon.ico", 0xFF00FF00);
    HICON icon = MRender::LoadIconFromFile(path.c_str());
    ASSERT_NE(icon, nullptr);
    PixelSurface surface(32, 32);
    surface.Fill(0xFF000000);
    DrawIconEx(surface.DC(), 0, 0, icon, 32, 32, 0, nullptr, DI_NORMAL);
    EXPECT_EQ(surface.Rgb(16, 16), 0x00FF00u);
    DestroyIcon(icon);
    DeleteFileW(path.c_str());
}

TEST(MRenderTransitions, TheCornerFadesFromTheSourceToTheColour) {
    PixelSurface source(16, 16);
    PixelSurface target(16, 16);
    source.Fill(kWhite);
    target.Fill(kBlue);
    MRender::DrawRightBottomTransition(target.DC(), source.DC(), CRect(0, 0, 16, 16), 4, RGB(0, 0, 0));
    EXPECT_EQ(target.Rgb(8, 8), 0xFFFFFFu);   // the square's near corner: all source
    EXPECT_EQ(target.Rgb(11, 11), 0u);        // a full size away: all colour
    EXPECT_NEAR(RedOf(target.Rgb(10, 8)), 127, 1);  // halfway
    EXPECT_EQ(target.Rgb(13, 13), 0x0000FFu);  // outside the square: untouched
    EXPECT_EQ(target.Rgb(7, 7), 0x0000FFu);
}

TEST(MRenderSaveBitmap, WritesABmpThatLoadsBackWithItsPixels) {
    PixelSurface surface(13, 7);  // odd width: rows need padding
    surface.Fill(0xFF0000FF);
    MRender::FillSolidRect(surface.DC(), 0, 0, 6, 7, RGB(255, 0, 0));
    const std::wstring path = TempFile(L"hvui-render-save.bmp");
    ASSERT_EQ(MRender::SaveBitmapToFile(surface.Bitmap(), path.c_str()), 1);

    std::ifstream file(std::string(path.begin(), path.end()), std::ios::binary);
    char magic[2] = {};
    file.read(magic, 2);
    EXPECT_EQ(magic[0], 'B');
    EXPECT_EQ(magic[1], 'M');
    file.close();

    std::unique_ptr<Bitmap> loaded(Bitmap::FromFile(path.c_str()));
    ASSERT_TRUE(loaded && loaded->GetLastStatus() == Ok);
    EXPECT_EQ(loaded->GetWidth(), 13u);
    EXPECT_EQ(loaded->GetHeight(), 7u);
    Color left;
    Color right;
    loaded->GetPixel(2, 3, &left);
    loaded->GetPixel(10, 3, &right);
    EXPECT_EQ(left.GetValue() & 0xFFFFFF, 0xFF0000u);
    EXPECT_EQ(right.GetValue() & 0xFFFFFF, 0x0000FFu);
    loaded.reset();
    DeleteFileW(path.c_str());

    EXPECT_EQ(MRender::SaveBitmapToFile(nullptr, path.c_str()), 0);
}

TEST(MRenderText, DrawsTextAndMeasuresItsBounds) {
    PixelSurface surface(120, 40);
    surface.Fill(0xFF000000);
    CRect rect(0, 0, 120, 40);
    HFONT font = CreateFontW(-24, 0, 0, 0, FW_BOLD, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, L"Segoe UI");
    MRender::DrawTextW(surface.DC(), rect, nullptr, RGB(255, 255, 255), font, DT_LEFT);
    EXPECT_EQ(surface.Rgb(10, 20), 0u);
    MRender::DrawTextW(surface.DC(), rect, L"HHHH", RGB(255, 255, 255), font, DT_LEFT | DT_TOP);
    int lit = 0;
    for (int x = 0; x < 120; ++x)
        for (int y = 0; y < 40; ++y) lit += surface.Rgb(x, y) != 0;
    EXPECT_GT(lit, 40);
    DeleteObject(font);

    FontFamily family(L"Segoe UI");
    ASSERT_EQ(family.GetLastStatus(), Ok);
    const Font textFont(&family, 20.0f, FontStyleRegular, UnitPixel);
    const Size narrow = MRender::GetTextBounds(textFont, L"i");
    const Size wide = MRender::GetTextBounds(textFont, L"WWWW");
    EXPECT_GT(wide.Width, narrow.Width);
    EXPECT_GT(narrow.Width, 0);
    const REAL line = textFont.GetHeight(0.0f);
    const int expectedHeight = static_cast<int>(line + (line != static_cast<int>(line) ? 4.0f : 1.0f));
    EXPECT_EQ(wide.Height, expectedHeight);
    EXPECT_EQ(MRender::GetTextBounds(textFont, L"").Width, 0);
}

TEST(MRenderShapes, RoundRectangleFillsInsideAndLeavesTheCornersAlone) {
    PixelSurface surface(40, 40);
    surface.Fill(0xFF000000);
    {
        Graphics graphics(surface.DC());
        MRender::DrawRoundRectange(graphics, 0.0f, 0.0f, 40.0f, 40.0f, 12.0f, Color(kGreen));
    }
    EXPECT_EQ(surface.Rgb(20, 20), 0x00FF00u);
    EXPECT_EQ(surface.Rgb(0, 0), 0u);
    EXPECT_EQ(surface.Rgb(39, 39), 0u);
}
