#include <gtest/gtest.h>

#include <fstream>
#include <memory>

#include "HvuiTestSupport.h"
#include "MControlFont.h"
#include "PaintManager.h"

using namespace hvui_test;
using namespace Gdiplus;

namespace {

const auto* const kGdiplus = ::testing::AddGlobalTestEnvironment(new GdiplusEnvironment);

constexpr ARGB kRed = 0xFFFF0000;
constexpr ARGB kBlue = 0xFF0000FF;

// Writes a skin image of the given size into the program's skin folder.
std::wstring WriteSkin(const wchar_t* name, int width, int height) {
    const std::wstring path = SkinPath(name);
    MakeFoldersFor(path);
    EXPECT_TRUE(WriteBandsPng(path, width, height, {kRed, kBlue}));
    return path;
}

// The library's font resource copied to a file.
std::wstring WriteLibraryFont(const std::wstring& path) {
    HINSTANCE library = Manager::GetLibraryInstance();
    HRSRC found = FindResourceW(library, MAKEINTRESOURCEW(106), L"TTF");
    const char* bytes = static_cast<const char*>(LockResource(LoadResource(library, found)));
    MakeFoldersFor(path);
    std::ofstream out(std::string(path.begin(), path.end()), std::ios::binary);
    out.write(bytes, SizeofResource(library, found));
    return path;
}

std::wstring FamilyName(FontFamily* family) {
    wchar_t name[LF_FACESIZE] = {};
    family->GetFamilyName(name);
    return name;
}

class CacheWindow {
public:
    CacheWindow() {
        window = CreateWindowExW(0, L"STATIC", L"cache", WS_POPUP, 0, 0, 100, 100, nullptr, nullptr, nullptr,
                                 nullptr);
    }
    ~CacheWindow() { DestroyWindow(window); }
    HWND window;
};

}  // namespace

TEST(ImageCache, TheFirstRequesterDecidesTheFrameCount) {
    WriteSkin(L"hvui-test\\strip80.png", 80, 10);
    PaintManager manager;
    ImgResInfo* first = manager.AddImgResInfo(L"hvui-test\\strip80.png", 4);
    ImgResInfo* second = manager.AddImgResInfo(L"hvui-test\\strip80.png", 2);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(second, first);
    EXPECT_EQ(first->frameWidth, 20);
    EXPECT_EQ(first->frameCount, 4);
    EXPECT_EQ(first->height, 10);
    EXPECT_STREQ(first->name, L"hvui-test\\strip80.png");
}

TEST(ImageCache, NamesWithSubFoldersResolveInsideTheSkinFolder) {
    WriteSkin(L"hvui-test\\sub\\nested.png", 30, 6);
    PaintManager manager;
    ImgResInfo* entry = manager.AddImgResInfo(L"hvui-test\\sub\\nested.png", 3);
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(entry->frameWidth, 10);
    // No fallback to the skin folder's top level.
    EXPECT_EQ(manager.AddImgResInfo(L"nested.png", 3), nullptr);
}

TEST(ImageCache, AMissingFileIsNotRemembered) {
    const std::wstring path = SkinPath(L"hvui-test\\late.png");
    DeleteFileW(path.c_str());
    PaintManager manager;
    EXPECT_EQ(manager.AddImgResInfo(L"hvui-test\\late.png", 1), nullptr);
    WriteSkin(L"hvui-test\\late.png", 8, 8);
    EXPECT_NE(manager.AddImgResInfo(L"hvui-test\\late.png", 1), nullptr);
}

TEST(ImageCache, ResourceEntriesComeFromTheRightModule) {
    PaintManager manager;
    ImgResInfo* vertical = manager.AddImgResInfo(102, L"PNG", 3, 0);
    ASSERT_NE(vertical, nullptr);
    EXPECT_EQ(vertical->frameWidth, 4);
    EXPECT_EQ(vertical->height, 72);
    EXPECT_EQ(vertical->resourceId, 102u);
    EXPECT_EQ(manager.AddImgResInfo(102, L"PNG", 1, 0), vertical);
    // The program module (this test) has no PNG 102.
    EXPECT_EQ(manager.AddImgResInfo(102, L"PNG", 3, 1), nullptr);
}

TEST(ImageCache, AFrameCountBelowOneIsOneFrame) {
    WriteSkin(L"hvui-test\\zero.png", 12, 4);
    PaintManager manager;
    ImgResInfo* entry = manager.AddImgResInfo(L"hvui-test\\zero.png", 0);
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(entry->frameWidth, 12);
}

TEST(FontTable, InstalledFacesAreCreatedOnceAndUnknownFacesGiveNull) {
    PaintManager manager;
    FontFamily* first = manager.FindTempFont(L"Segoe UI");
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(manager.FindTempFont(L"Segoe UI"), first);
    EXPECT_EQ(manager.FindTempFont(L"No Such Face At All"), nullptr);
    EXPECT_EQ(manager.FindTempFont(nullptr), nullptr);
}

TEST(FontTable, PrivateFontsFromTheLibraryAndFromFilesReplaceByName) {
    PaintManager manager;
    FontFamily* fromResource = manager.AddTempFont(L"Semi", 106u);
    ASSERT_NE(fromResource, nullptr);
    EXPECT_NE(FamilyName(fromResource).find(L"Open Sans"), std::wstring::npos);
    EXPECT_EQ(manager.FindTempFont(L"Semi"), fromResource);

    wchar_t folder[MAX_PATH];
    GetTempPathW(MAX_PATH, folder);
    const std::wstring path = WriteLibraryFont(std::wstring(folder) + L"hvui-font-copy.ttf");
    FontFamily* fromFile = manager.AddTempFont(L"Semi", path.c_str());
    ASSERT_NE(fromFile, nullptr);
    EXPECT_EQ(manager.FindTempFont(L"Semi"), fromFile);
    EXPECT_EQ(manager.AddTempFont(L"Broken", L"Z:\\no\\such\\font.ttf"), nullptr);
    EXPECT_EQ(manager.AddTempFont(L"Broken", 999u), nullptr);
    manager.ClearTempFont();
    EXPECT_NE(manager.FindTempFont(L"Semi"), fromFile);  // gone: unknown face now
}

TEST(FontTable, InitTakesArialFromTheProgramsFontFolder) {
    const std::wstring path = Manager::GetAppPath().Str() + L"font\\Arial.ttf";
    WriteLibraryFont(path);
    CacheWindow host;
    {
        PaintManager manager;
        manager.Init(host.window, nullptr);
        EXPECT_EQ(manager.GetScrollVID(), 102u);
        EXPECT_EQ(manager.GetScrollHID(), 101u);
        FontFamily* arial = manager.FindTempFont(L"Arial");
        ASSERT_NE(arial, nullptr);
        // The file holds Open Sans Semibold, so the installed Arial was not used.
        EXPECT_NE(FamilyName(arial).find(L"Open Sans"), std::wstring::npos);
        manager.DestroyData();
        EXPECT_EQ(manager.IsInitialised(), 0);
    }
    DeleteFileW(path.c_str());
}

TEST(FontTable, ControlsGetAClonedFamilyOnlyThroughAManager) {
    PaintManager manager;
    RecordingParent parent;
    ProbeControl control(&parent, 7, CRect(0, 0, 10, 10));
    EXPECT_EQ(control.GetFontFamily(L"Segoe UI"), nullptr);
    control.SetManager(&manager);
    FontFamily* clone = control.GetFontFamily(L"Segoe UI");
    ASSERT_NE(clone, nullptr);
    EXPECT_NE(clone, manager.FindTempFont(L"Segoe UI"));
    EXPECT_EQ(FamilyName(clone), FamilyName(manager.FindTempFont(L"Segoe UI")));
    EXPECT_EQ(control.GetFontFamily(L"No Such Face At All"), nullptr);
}

TEST(ControlImages, SetImageTakesTheCachedStripAndAsksForARepaint) {
    WriteSkin(L"hvui-test\\button.png", 40, 12);
    PaintManager manager;
    RecordingParent parent;
    ProbeControl control(&parent, 7, CRect(0, 0, 10, 10));
    EXPECT_EQ(control.SetImage(L"hvui-test\\button.png", 4), 0);  // no manager yet
    control.SetManager(&manager);
    ASSERT_EQ(control.SetImage(L"hvui-test\\button.png", 4), 1);
    EXPECT_EQ(control.GetImageSize(), CSize(10, 12));
    EXPECT_STREQ(control.GetImagePath(), L"hvui-test\\button.png");
    ASSERT_EQ(parent.updates.size(), 1u);
    EXPECT_EQ(parent.updates[0].code, 1);

    Image* before = control.GetImage();
    EXPECT_EQ(control.SetImage(L"hvui-test\\missing.png", 4), 0);
    EXPECT_EQ(control.GetImage(), before);  // the previous image stays
    EXPECT_EQ(parent.updates.size(), 1u);
}
