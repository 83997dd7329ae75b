// The platform must be able to open what the build drew: every skin picture
// decodes with GDI+ (as the framework loads them), the tray icon file loads
// at the tray's sizes, and the program carries icon 107 up to 256 pixels.
#include <windows.h>
#include <gdiplus.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

constexpr wchar_t kTrayIcon[] = L"Quillane.ico";
constexpr int kProgramIconId = 107;

std::wstring ProgramFolder() {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path);
    return folder.substr(0, folder.find_last_of(L'\\') + 1);
}

std::wstring SkinFolder() { return ProgramFolder() + L"skins\\theme1\\"; }

std::vector<std::wstring> SkinPictures() {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW found{};
    HANDLE search = FindFirstFileW((SkinFolder() + L"*.png").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
        names.emplace_back(found.cFileName);
    } while (FindNextFileW(search, &found));
    FindClose(search);
    return names;
}

struct IconDeleter {
    void operator()(HICON icon) const { DestroyIcon(icon); }
};
using UniqueIcon = std::unique_ptr<std::remove_pointer_t<HICON>, IconDeleter>;

struct ModuleDeleter {
    void operator()(HMODULE module) const { FreeLibrary(module); }
};
using UniqueModule = std::unique_ptr<std::remove_pointer_t<HMODULE>, ModuleDeleter>;

SIZE IconSize(HICON icon) {
    ICONINFO info{};
    SIZE size{0, 0};
    if (!GetIconInfo(icon, &info)) return size;
    BITMAP bitmap{};
    if (GetObjectW(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof bitmap, &bitmap)) {
        size.cx = bitmap.bmWidth;
        size.cy = info.hbmColor ? bitmap.bmHeight : bitmap.bmHeight / 2;
    }
    if (info.hbmColor) DeleteObject(info.hbmColor);
    if (info.hbmMask) DeleteObject(info.hbmMask);
    return size;
}

class GdiplusSession {
public:
    GdiplusSession() {
        Gdiplus::GdiplusStartupInput input;
        ok_ = Gdiplus::GdiplusStartup(&token_, &input, nullptr) == Gdiplus::Ok;
    }
    ~GdiplusSession() {
        if (ok_) Gdiplus::GdiplusShutdown(token_);
    }
    GdiplusSession(const GdiplusSession&) = delete;
    GdiplusSession& operator=(const GdiplusSession&) = delete;
    bool ok() const { return ok_; }

private:
    ULONG_PTR token_ = 0;
    bool ok_ = false;
};

TEST(SkinLoad, EveryPictureDecodes) {
    GdiplusSession gdiplus;
    ASSERT_TRUE(gdiplus.ok());
    const std::vector<std::wstring> names = SkinPictures();
    ASSERT_GE(names.size(), 40u) << "skin folder " << std::string(SkinFolder().begin(), SkinFolder().end());
    for (const std::wstring& name : names) {
        SCOPED_TRACE(std::string(name.begin(), name.end()));
        Gdiplus::Bitmap picture((SkinFolder() + name).c_str());
        ASSERT_EQ(picture.GetLastStatus(), Gdiplus::Ok);
        EXPECT_GT(picture.GetWidth(), 0u);
        EXPECT_GT(picture.GetHeight(), 0u);
    }
}

TEST(SkinLoad, TrayIconLoadsAtTraySizes) {
    const std::wstring path = SkinFolder() + kTrayIcon;
    for (int size : {16, 20, 24, 32}) {
        UniqueIcon icon(static_cast<HICON>(LoadImageW(nullptr, path.c_str(), IMAGE_ICON, size, size, LR_LOADFROMFILE)));
        ASSERT_NE(icon, nullptr) << "size " << size;
        const SIZE got = IconSize(icon.get());
        EXPECT_EQ(got.cx, size);
        EXPECT_EQ(got.cy, size);
    }
}

TEST(SkinLoad, ProgramCarriesIcon107UpTo256) {
    UniqueModule program(LoadLibraryExW((ProgramFolder() + L"Tarvenholm.exe").c_str(), nullptr,
                                        LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE));
    ASSERT_NE(program, nullptr);
    for (int size : {16, 32, 48, 256}) {
        UniqueIcon icon(static_cast<HICON>(
            LoadImageW(program.get(), MAKEINTRESOURCEW(kProgramIconId), IMAGE_ICON, size, size, 0)));
        ASSERT_NE(icon, nullptr) << "size " << size;
        EXPECT_EQ(IconSize(icon.get()).cx, size);
    }
}

}  // namespace
