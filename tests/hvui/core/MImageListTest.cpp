#include <gtest/gtest.h>

#include "HvuiTestSupport.h"
#include "MImageList.h"

using namespace hvui_test;
using namespace Gdiplus;

namespace {

std::wstring TempImage(const wchar_t* name, int width, int height, const std::vector<ARGB>& bands) {
    wchar_t folder[MAX_PATH];
    GetTempPathW(MAX_PATH, folder);
    const std::wstring path = std::wstring(folder) + name;
    EXPECT_TRUE(WriteBandsPng(path, width, height, bands));
    return path;
}

}  // namespace

TEST(MImageList, InsertsAppendsAndRejectsBadIndexes) {
    const std::wstring a = TempImage(L"hvui-list-a.png", 20, 5, {0xFFFF0000});
    MImageList list;
    EXPECT_EQ(list.AddImage(a.c_str(), 10, 2), 0);
    EXPECT_EQ(list.AddImage(L"Z:\\missing.png", 11, 1), 1);  // kept, without an image
    EXPECT_EQ(list.InsertImage(0, a.c_str(), 12, 4), -1);    // inserted before index 0
    struct Case {
        int index;
        const wchar_t* path;
    };
    const Case rejected[] = {{3, a.c_str()}, {-2, a.c_str()}, {0, nullptr}};
    for (const Case& c : rejected) EXPECT_EQ(list.InsertImage(c.index, c.path, 99, 1), -1) << c.index;
    EXPECT_EQ(list.GetImageCount(), 3);

    EXPECT_EQ(list.GetItemImageData(0)->id, 12);
    EXPECT_EQ(list.GetItemImageData(0)->frameWidth, 5);
    EXPECT_EQ(list.GetImageDataByID(10)->frameWidth, 10);
    EXPECT_EQ(list.GetImageDataByID(11)->image, nullptr);
    EXPECT_STREQ(list.GetImagePathByID(11), L"Z:\\missing.png");
    EXPECT_STREQ(list.GetImagePath(1), a.c_str());
    EXPECT_EQ(list.GetItemImageData(3), nullptr);
    EXPECT_EQ(list.GetImageDataByID(42), nullptr);
    EXPECT_STREQ(list.GetImagePath(-1), L"");

    list.SetDrawImgSize(16, 18);
    EXPECT_EQ(list.GetIconSize(), CSize(16, 18));
    list.DelAllImages();
    EXPECT_EQ(list.GetImageCount(), 0);
    DeleteFileW(a.c_str());
}

TEST(MImageList, DrawsTheRequestedFrameAndClampsToTheLast) {
    // GDI+ is started for the whole program by ImageCacheTest.cpp.
    {
        const std::wstring strip = TempImage(L"hvui-list-strip.png", 30, 10, {0xFFFF0000, 0xFF00FF00, 0xFF0000FF});
        MImageList list;
        ASSERT_EQ(list.AddImage(strip.c_str(), 1, 3), 0);
        struct Case {
            int state;
            uint32_t rgb;
        };
        const Case cases[] = {{0, 0xFF0000}, {1, 0x00FF00}, {2, 0x0000FF}, {7, 0x0000FF}};
        for (const Case& c : cases) {
            PixelSurface surface(20, 20);
            surface.Fill(0xFF000000);
            {
                Graphics graphics(surface.DC());
                list.DrawItemIcon(graphics, CRect(0, 0, 20, 20), 0, c.state);
            }
            EXPECT_EQ(surface.Rgb(10, 10), c.rgb) << "state " << c.state;
        }
        PixelSurface first(20, 20);
        {
            Graphics graphics(first.DC());
            list.DrawItemIcon(graphics, CRect(0, 0, 20, 20), 0);
        }
        EXPECT_EQ(first.Rgb(10, 10), 0xFF0000u);
        DeleteFileW(strip.c_str());
    }
}
