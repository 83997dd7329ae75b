// ReferenceImage: a window picture composed off-screen, compared pixel for
// pixel with a PNG kept beside the tests. The pictures guard how a paint is
// done: caching, clipping and blending may change, what the user sees may
// not.
//
// Only the colour channels are compared: the windows compared here are not
// layered, so the screen never shows the alpha the composition leaves.
// Setting TARVENHOLM_WRITE_REFERENCES=1 writes the current picture as the
// new reference instead of comparing (to be looked at before committing).
#pragma once

#include <windows.h>
#include <gdiplus.h>

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "CRect.h"
#include "PaintManager.h"

namespace reference_image {

struct Picture {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels;  // 0x00RRGGBB, top row first

    uint32_t At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};

// The frame the paint manager composes for update, read into a picture of
// the whole client area (outside update the frame holds no promise).
inline Picture Compose(PaintManager& manager, const CRect& update) {
    Picture picture;
    unsigned char* bits = nullptr;
    HBITMAP frame = manager.RenderFrame(update, &bits);
    if (!frame || !bits) return picture;
    BITMAP info = {};
    GetObjectW(frame, sizeof(info), &info);
    picture.width = info.bmWidth;
    picture.height = info.bmHeight;
    picture.pixels.resize(static_cast<size_t>(picture.width) * picture.height);
    const auto* source = reinterpret_cast<const uint32_t*>(bits);
    for (int y = 0; y < picture.height; ++y) {
        // The frame is a bottom-up section.
        const uint32_t* row = source + static_cast<size_t>(picture.height - 1 - y) * picture.width;
        for (int x = 0; x < picture.width; ++x) picture.pixels[static_cast<size_t>(y) * picture.width + x] = row[x] & 0xFFFFFF;
    }
    DeleteObject(frame);
    return picture;
}

inline bool PngEncoder(CLSID& clsid) {
    UINT count = 0, bytes = 0;
    if (Gdiplus::GetImageEncodersSize(&count, &bytes) != Gdiplus::Ok || bytes == 0) return false;
    std::vector<unsigned char> buffer(bytes);
    auto* encoders = reinterpret_cast<Gdiplus::ImageCodecInfo*>(buffer.data());
    if (Gdiplus::GetImageEncoders(count, bytes, encoders) != Gdiplus::Ok) return false;
    for (UINT i = 0; i < count; ++i) {
        if (std::wstring(encoders[i].MimeType) == L"image/png") {
            clsid = encoders[i].Clsid;
            return true;
        }
    }
    return false;
}

inline bool Save(const Picture& picture, const std::wstring& path) {
    CLSID png;
    if (!PngEncoder(png) || picture.pixels.empty()) return false;
    std::vector<uint32_t> opaque(picture.pixels);
    for (uint32_t& pixel : opaque) pixel |= 0xFF000000u;
    Gdiplus::Bitmap bitmap(picture.width, picture.height, picture.width * 4, PixelFormat32bppARGB,
                           reinterpret_cast<BYTE*>(opaque.data()));
    return bitmap.Save(path.c_str(), &png, nullptr) == Gdiplus::Ok;
}

inline Picture Load(const std::wstring& path) {
    Picture picture;
    std::unique_ptr<Gdiplus::Bitmap> bitmap(Gdiplus::Bitmap::FromFile(path.c_str()));
    if (!bitmap || bitmap->GetLastStatus() != Gdiplus::Ok) return picture;
    const int width = static_cast<int>(bitmap->GetWidth());
    const int height = static_cast<int>(bitmap->GetHeight());
    Gdiplus::Rect all(0, 0, width, height);
    Gdiplus::BitmapData data;
    if (bitmap->LockBits(&all, Gdiplus::ImageLockModeRead, PixelFormat32bppARGB, &data) != Gdiplus::Ok) return picture;
    picture.width = width;
    picture.height = height;
    picture.pixels.resize(static_cast<size_t>(width) * height);
    for (int y = 0; y < height; ++y) {
        const auto* row = reinterpret_cast<const uint32_t*>(static_cast<const unsigned char*>(data.Scan0) + y * data.Stride);
        for (int x = 0; x < width; ++x) picture.pixels[static_cast<size_t>(y) * width + x] = row[x] & 0xFFFFFF;
    }
    bitmap->UnlockBits(&data);
    return picture;
}

// Where the reference pictures live: the source folder, reached through
// the drive Wine maps the Unix root to.
inline std::wstring PathOf(const char* folder, const std::wstring& name) {
    std::wstring path;
    for (const char* c = folder; *c; ++c) path += *c == '/' ? L'\\' : static_cast<wchar_t>(*c);
    return L"Z:" + path + L"\\" + name + L".png";
}

inline bool WriteRequested() {
    const char* value = std::getenv("TARVENHOLM_WRITE_REFERENCES");
    return value && *value == '1';
}

// Pixels of area that differ, and the first of them.
struct Difference {
    long count = 0;
    int x = -1, y = -1;
    uint32_t expected = 0, actual = 0;
};

inline Difference Compare(const Picture& expected, const Picture& actual, const CRect& area) {
    Difference difference;
    for (int y = area.top; y < area.bottom; ++y) {
        for (int x = area.left; x < area.right; ++x) {
            if (expected.At(x, y) == actual.At(x, y)) continue;
            if (difference.count++ == 0) {
                difference.x = x;
                difference.y = y;
                difference.expected = expected.At(x, y);
                difference.actual = actual.At(x, y);
            }
        }
    }
    return difference;
}

}  // namespace reference_image
