#include "MRender.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

#include <shellapi.h>

#include "GdiObject.h"
#include "MemorySurface.h"
#include "Msimg32.h"

using namespace Gdiplus;

namespace {

constexpr float kPi = 3.1415926f;
constexpr INT kNoWrapMeasureTrailing = 0x1800;  // StringFormatFlagsNoWrap | MeasureTrailingSpaces
constexpr int kMaxGradientBandsLog2 = 6;

struct HandleCloser {
    void operator()(HANDLE handle) const {
        if (handle != INVALID_HANDLE_VALUE) CloseHandle(handle);
    }
};
using FileHandle = std::unique_ptr<void, HandleCloser>;

struct ReleaseInterface {
    void operator()(IUnknown* object) const { object->Release(); }
};

// Drops an image whose decoding GDI+ reported as failed.
Image* KeepIfOk(Image* image) {
    if (image && image->GetLastStatus() == Ok) return image;
    delete image;
    return nullptr;
}

bool HasFraction(REAL value) { return value != std::floor(value); }

BYTE ConstantAlphaOf(double value) { return static_cast<BYTE>(static_cast<int>(value) & 0xFF); }

void BlendStrip(HDC dst, int x, int y, int w, int h, HDC src, int sx, int sy, BYTE alpha) {
    const msimg32::AlphaBlendProc alphaBlend = msimg32::AlphaBlend();
    if (!alphaBlend) {
        ::BitBlt(dst, x, y, w, h, src, sx, sy, SRCCOPY);
        return;
    }
    const BLENDFUNCTION blend = {AC_SRC_OVER, 0, alpha, 0};
    alphaBlend(dst, x, y, w, h, src, sx, sy, w, h, blend);
}

// The linear opacity ramp shared by both transitions: the first step is
// 255 × (100 − a) / 100, the last approaches 255 × (100 − b) / 100.
struct Ramp {
    double first;
    double last;
    bool falling;
    double step;

    Ramp(int a, int b, int count) {
        first = static_cast<int>(255.0 - std::min(a, b) * 255.0 / 100.0);
        last = static_cast<int>((100.0 - std::max(a, b)) * 255.0 / 100.0);
        falling = a < b;
        step = count > 0 ? (first - last) / count : 0.0;
    }
    BYTE At(int i) const { return ConstantAlphaOf(falling ? first - i * step : i * step + last); }
};

COLORREF Mix(COLORREF a, COLORREF b, int alpha) {
    auto channel = [alpha](int x, int y) { return (x * alpha + y * (255 - alpha)) / 255; };
    return RGB(channel(GetRValue(a), GetRValue(b)), channel(GetGValue(a), GetGValue(b)),
               channel(GetBValue(a), GetBValue(b)));
}

COLORREF Interpolate(COLORREF from, COLORREF to, int index, int count) {
    auto channel = [index, count](int a, int b) { return a + (b - a) * index / std::max(count - 1, 1); };
    return RGB(channel(GetRValue(from), GetRValue(to)), channel(GetGValue(from), GetGValue(to)),
               channel(GetBValue(from), GetBValue(to)));
}

int GradientBandsLog2(int steps) {
    int k = 1;
    for (int limit = 4; k < kMaxGradientBandsLog2 && steps >= limit; limit *= 2) ++k;
    return k;
}

void FillGradient(HDC dc, const RECT& rect, COLORREF from, COLORREF to, bool vertical, int steps) {
    if (const msimg32::GradientFillProc gradientFill = msimg32::GradientFill()) {
        TRIVERTEX vertices[2] = {
            {rect.left, rect.top, static_cast<COLOR16>(GetRValue(from) << 8),
             static_cast<COLOR16>(GetGValue(from) << 8), static_cast<COLOR16>(GetBValue(from) << 8), 0},
            {rect.right, rect.bottom, static_cast<COLOR16>(GetRValue(to) << 8),
             static_cast<COLOR16>(GetGValue(to) << 8), static_cast<COLOR16>(GetBValue(to) << 8), 0},
        };
        GRADIENT_RECT mesh = {0, 1};
        if (gradientFill(dc, vertices, 2, &mesh, 1, vertical ? GRADIENT_FILL_RECT_V : GRADIENT_FILL_RECT_H)) return;
    }
    const int bands = 1 << GradientBandsLog2(steps);
    const int length = vertical ? rect.bottom - rect.top : rect.right - rect.left;
    for (int i = 0; i < bands; ++i) {
        const int begin = length * i / bands;
        const int end = length * (i + 1) / bands;
        RECT band = rect;
        if (vertical) {
            band.top = rect.top + begin;
            band.bottom = rect.top + end;
        } else {
            band.left = rect.left + begin;
            band.right = rect.left + end;
        }
        HDC target = dc;
        MRender::FillSolidRect(target, &band, Interpolate(from, to, i, bands));
    }
}

}  // namespace

// ---- loading ---------------------------------------------------------------

Image* MRender::LoadImageFromFile(CString path) {
    if (path.IsEmpty()) return nullptr;
    return KeepIfOk(Image::FromFile(path));
}

Image* MRender::LoadImageFromFileEx(CString path, int width, int height) {
    std::unique_ptr<Image> loaded(LoadImageFromFile(path));
    if (!loaded) return nullptr;
    if (width == 0 && height == 0) {
        width = static_cast<int>(loaded->GetWidth());
        height = static_cast<int>(loaded->GetHeight());
    }
    return KeepIfOk(loaded->GetThumbnailImage(static_cast<UINT>(width), static_cast<UINT>(height), nullptr, nullptr));
}

Image* MRender::LoadImageFromIDResource(unsigned id, CString type, HINSTANCE module) {
    HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(id), type);
    if (!found) return nullptr;
    const DWORD size = SizeofResource(module, found);
    HGLOBAL loaded = LoadResource(module, found);
    const void* bytes = loaded ? LockResource(loaded) : nullptr;
    if (!bytes || size == 0) return nullptr;

    // GDI+ decodes lazily from the stream, so the copy must live as long as
    // the image: the stream owns the block and frees it with its last reference.
    HGLOBAL block = GlobalAlloc(GMEM_FIXED, size);
    if (!block) return nullptr;
    memcpy(block, bytes, size);
    IStream* rawStream = nullptr;
    if (FAILED(CreateStreamOnHGlobal(block, TRUE, &rawStream))) {
        GlobalFree(block);
        return nullptr;
    }
    std::unique_ptr<IStream, ReleaseInterface> stream(rawStream);
    return KeepIfOk(Image::FromStream(stream.get()));
}

HICON MRender::LoadIconFromFile(CString path) {
    // Files that carry icons (icon files, programs) give their first icon;
    // the shell's association is only asked for the rest. Shells without an
    // icon-file handler would otherwise answer a generic document icon.
    HICON own = nullptr;
    if (ExtractIconExW(path, 0, &own, nullptr, 1) > 0 && own) return own;
    SHFILEINFOW info = {};
    if (!SHGetFileInfoW(path, 0, &info, sizeof(info), SHGFI_ICON)) return nullptr;
    return info.hIcon;
}

// ---- GDI+ drawing ----------------------------------------------------------

void MRender::DrawImageFrame(Graphics& graphics, Image* image, const CRect& dest, int sx, int sy, int sw, int sh,
                             int border) {
    DrawImageFrameMID(graphics, image, dest, sx, sy, sw, sh, border, border, border, border);
}

void MRender::DrawImageFrameMID(Graphics& graphics, Image* image, const CRect& d, int sx, int sy, int sw, int sh,
                                int l, int t, int r, int b) {
    if (!image) return;
    // A stretched piece is interpolated from pixels beyond its own source
    // rectangle too: they must be its own edge pixels, not transparency.
    ImageAttributes edges;
    edges.SetWrapMode(WrapModeTileFlipXY);
    auto piece = [&](CRect at, int px, int py, int pw, int ph) {
        graphics.DrawImage(image, Rect(at.left, at.top, at.Width(), at.Height()), px, py, pw, ph, UnitPixel,
                           &edges);
    };
    // Even so a scaled piece may leave its first row or column empty (Wine
    // does), which shows as a line at the seam. Stretched pieces are drawn
    // first, one pixel longer toward each neighbour inside the destination,
    // and the pieces drawn after them cover the overlap.
    auto longer = [&](CRect at, bool across, bool down) {
        if (across) at = CRect(std::max(d.left, at.left - 1), at.top, std::min(d.right, at.right + 1), at.bottom);
        if (down) at = CRect(at.left, std::max(d.top, at.top - 1), at.right, std::min(d.bottom, at.bottom + 1));
        return at;
    };
    const int middleW = sw - l - r;
    const int middleH = sh - t - b;
    // The stretched pieces of a nine-slice picture are drawn as runs of
    // their source pixels: resampling them costs a whole-window background
    // tens of milliseconds and only blurs what is meant to be flat.
    const InterpolationMode quality = graphics.GetInterpolationMode();
    const PixelOffsetMode offset = graphics.GetPixelOffsetMode();
    graphics.SetInterpolationMode(InterpolationModeNearestNeighbor);
    graphics.SetPixelOffsetMode(PixelOffsetModeHalf);
    piece(longer(CRect(d.left + l, d.top + t, d.right - r, d.bottom - b), true, true), sx + l, sy + t, middleW, middleH);
    piece(longer(CRect(d.left + l, d.top, d.right - r, d.top + t), true, false), sx + l, sy, middleW, t);
    piece(longer(CRect(d.left + l, d.bottom - b, d.right - r, d.bottom), true, false), sx + l, sy + sh - b, middleW, b);
    piece(longer(CRect(d.left, d.top + t, d.left + l, d.bottom - b), false, true), sx, sy + t, l, middleH);
    piece(longer(CRect(d.right - r, d.top + t, d.right, d.bottom - b), false, true), sx + sw - r, sy + t, r, middleH);
    graphics.SetInterpolationMode(quality);
    graphics.SetPixelOffsetMode(offset);
    // Corners keep their size.
    piece(CRect(d.left, d.top, d.left + l, d.top + t), sx, sy, l, t);
    piece(CRect(d.right - r, d.top, d.right, d.top + t), sx + sw - r, sy, r, t);
    piece(CRect(d.left, d.bottom - b, d.left + l, d.bottom), sx, sy + sh - b, l, b);
    piece(CRect(d.right - r, d.bottom - b, d.right, d.bottom), sx + sw - r, sy + sh - b, r, b);
}

void MRender::AddRoundedRectangle(GraphicsPath& path, float x, float y, float w, float h, float r) {
    if (r <= 0.0f) {
        path.AddRectangle(RectF(x, y, w, h));
        return;
    }
    const float d = 2.0f * r;
    path.AddArc(x, y, d, d, 180.0f, 90.0f);
    path.AddArc(x + w - d, y, d, d, 270.0f, 90.0f);
    path.AddArc(x + w - d, y + h - d, d, d, 0.0f, 90.0f);
    path.AddArc(x, y + h - d, d, d, 90.0f, 90.0f);
    path.CloseFigure();
}

void MRender::DrawRoundRectange(Graphics& graphics, float x, float y, float w, float h, float r, Color fill) {
    GraphicsPath path;
    AddRoundedRectangle(path, x, y, w, h, r);
    SolidBrush brush(fill);
    graphics.FillPath(&brush, &path);
}

void MRender::DrawRoundRectange(Graphics& graphics, float x, float y, float w, float h, float r, Color pen,
                                float penWidth, Color fill) {
    GraphicsPath path;
    AddRoundedRectangle(path, x, y, w, h, r);
    SolidBrush brush(fill);
    graphics.FillPath(&brush, &path);
    if (penWidth != 0.0f) {
        Pen outline(pen, penWidth);
        graphics.DrawPath(&outline, &path);
    }
}

void MRender::DrawRoundRectange(Graphics& graphics, float x, float y, float w, float h, float k, Color pen,
                                float penWidth, bool filled, Color fill) {
    float rx = w / k * 0.5f;
    float ry = h / k * 0.5f;
    // Very unequal radii look like a lens; fall back to round corners.
    if (std::fabs(rx - ry) > 10.0f) rx = ry = std::min(rx, ry);
    const float dx = 2.0f * rx;
    const float dy = 2.0f * ry;
    GraphicsPath path;
    path.AddArc(x, y, dx, dy, 180.0f, 90.0f);
    path.AddArc(x + w - dx, y, dx, dy, 270.0f, 90.0f);
    path.AddArc(x + w - dx, y + h - dy, dx, dy, 0.0f, 90.0f);
    path.AddArc(x, y + h - dy, dx, dy, 90.0f, 90.0f);
    path.CloseFigure();
    if (filled) {
        SolidBrush brush(fill);
        graphics.FillPath(&brush, &path);
    }
    Pen outline(pen, penWidth);
    graphics.DrawPath(&outline, &path);
}

void MRender::RotatePoint(PointF& point, float degrees, const PointF& centre) {
    const float radians = degrees * kPi / 180.0f;
    const float dx = point.X - centre.X;
    const float dy = point.Y - centre.Y;
    point.X = centre.X + dx * std::cos(radians) - dy * std::sin(radians);
    point.Y = centre.Y + dx * std::sin(radians) + dy * std::cos(radians);
}

// The outline bounds of the text laid out from the origin.
static RectF TextPathBounds(const Font& font, const StringFormat& format, const CString& text) {
    FontFamily family;
    font.GetFamily(&family);
    GraphicsPath path;
    path.AddString(text, text.GetLength(), &family, font.GetStyle(), font.GetSize(), PointF(0.0f, 0.0f), &format);
    RectF bounds;
    path.GetBounds(&bounds);
    return bounds;
}

Size MRender::GetTextBounds(const Font& font, const StringFormat& format, const CString& text) {
    const RectF bounds = TextPathBounds(font, format, text);
    const REAL lineHeight = font.GetHeight(0.0f);
    const int height = static_cast<int>(lineHeight + (HasFraction(lineHeight) ? 4.0f : 1.0f));
    return Size(static_cast<INT>(std::ceil(bounds.Width)), height);
}

Size MRender::GetTextBounds(const Font& font, const CString& text) {
    StringFormat format(kNoWrapMeasureTrailing);
    format.SetAlignment(StringAlignmentNear);
    return GetTextBounds(font, format, text);
}

Size MRender::GetTextBounds(const Font& font, const StringFormat& format, int /*flags*/, const CString& text) {
    const RectF bounds = TextPathBounds(font, format, text);
    const REAL lineHeight = font.GetHeight(0.0f);
    const int byLine = static_cast<int>(lineHeight + (HasFraction(lineHeight) ? 2.0f : 1.0f));
    const int byPath = static_cast<int>(bounds.Height + (HasFraction(bounds.Height) ? 2.0f : 1.0f)) + 5;
    return Size(static_cast<INT>(std::ceil(bounds.Width)), std::max(byLine, byPath));
}

// ---- GDI drawing -------------------------------------------------------------

BOOL MRender::BitBlt(HDC dst, int x, int y, int w, int h, HDC src, int sx, int sy) {
    return ::BitBlt(dst, x, y, w, h, src, sx, sy, SRCCOPY);
}

BOOL MRender::BitBlt(HDC dst, int x, int y, int w, int h, HDC src, int sx, int sy, DWORD rop) {
    return ::BitBlt(dst, x, y, w, h, src, sx, sy, rop);
}

HDC MRender::CreateCompatibleDC(HDC dc) { return ::CreateCompatibleDC(dc); }

HBITMAP MRender::CreateCompatibleBitmap(HDC dc, int w, int h) { return ::CreateCompatibleBitmap(dc, w, h); }

namespace {

HBITMAP CreateDib32(HDC dc, int w, int signedHeight, unsigned char** bits) {
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = w;
    info.bmiHeader.biHeight = signedHeight;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* pixels = nullptr;
    HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &pixels, nullptr, 0);
    if (bits) *bits = static_cast<unsigned char*>(pixels);
    return bitmap;
}

}  // namespace

HBITMAP MRender::CreateARGB32Bitmap(HDC dc, int w, int h, unsigned char** bits) {
    return CreateDib32(dc, w, h, bits);
}

HBITMAP MRender::CreateRGBA32Bitmap(HDC dc, int w, int h, unsigned char** bits) {
    return CreateDib32(dc, w, -h, bits);
}

void MRender::FillSolidRect(HDC& dc, int x, int y, int w, int h, COLORREF colour) {
    const RECT rect = {x, y, x + w, y + h};
    FillSolidRect(dc, &rect, colour);
}

void MRender::FillSolidRect(HDC& dc, const RECT* rect, COLORREF colour) {
    if (!rect) return;
    // An empty opaque text output is GDI's cheapest solid fill.
    const COLORREF previous = ::SetBkColor(dc, colour);
    ::ExtTextOutW(dc, 0, 0, ETO_OPAQUE, rect, nullptr, 0, nullptr);
    ::SetBkColor(dc, previous);
}

void MRender::DrawColor(HDC dc, const RECT& rect, unsigned long colour) {
    if ((colour >> 24) == 0) return;
    Graphics graphics(dc);
    SolidBrush brush{Color(static_cast<ARGB>(colour))};
    graphics.FillRectangle(&brush, static_cast<INT>(rect.left), static_cast<INT>(rect.top),
                           static_cast<INT>(rect.right - rect.left), static_cast<INT>(rect.bottom - rect.top));
}

void MRender::DrawTextW(HDC dc, CRect& rect, const wchar_t* text, COLORREF colour, HFONT font, unsigned format) {
    if (!text) return;
    const int previousMode = ::SetBkMode(dc, TRANSPARENT);
    const COLORREF previousColour = ::SetTextColor(dc, colour);
    HGDIOBJ previousFont = font ? ::SelectObject(dc, font) : nullptr;
    ::DrawTextW(dc, text, -1, &rect, format);
    if (previousFont) ::SelectObject(dc, previousFont);
    ::SetTextColor(dc, previousColour);
    ::SetBkMode(dc, previousMode);
}

int MRender::DrawVerticalTransition(HDC& dst, HDC& src, const CRect& dstRect, const CRect& srcRect, int top,
                                    int bottom) {
    const int rows = dstRect.Height();
    const Ramp ramp(top, bottom, rows);
    int alpha = 255;
    for (int i = 0; i < rows; ++i) {
        alpha = ramp.At(i);
        BlendStrip(dst, dstRect.left, dstRect.top + i, dstRect.Width(), 1, src, srcRect.left, srcRect.top + i,
                   static_cast<BYTE>(alpha));
    }
    return alpha;
}

int MRender::DrawHorizontalTransition(HDC& dst, HDC& src, const CRect& dstRect, const CRect& srcRect, int left,
                                      int right) {
    const int columns = dstRect.Width();
    const Ramp ramp(left, right, columns);
    int alpha = 255;
    for (int i = 0; i < columns; ++i) {
        alpha = ramp.At(i);
        BlendStrip(dst, dstRect.left + i, dstRect.top, 1, dstRect.Height(), src, srcRect.left + i, srcRect.top,
                   static_cast<BYTE>(alpha));
    }
    return alpha;
}

void MRender::DrawRightBottomTransition(HDC& dst, HDC& src, CRect rect, int size, COLORREF colour) {
    if (size <= 0) return;
    // The fade square ends size pixels before the right and bottom edges; its
    // pixels go from the source at the square's near corner to colour at a
    // distance of size.
    const int x0 = rect.right - 2 * size;
    const int y0 = rect.bottom - 2 * size;
    for (int j = 0; j < size; ++j) {
        for (int i = 0; i < size; ++i) {
            const double distance = std::min<double>(size, std::sqrt(double(i) * i + double(j) * j));
            const int alpha = static_cast<int>(255.0 - 255.0 * distance / size);
            const COLORREF source = ::GetPixel(src, x0 + i, y0 + j);
            ::SetPixelV(dst, x0 + i, y0 + j, Mix(source, colour, alpha));
        }
    }
}

void MRender::DrawGradient(HDC dc, const RECT& rect, unsigned long from, unsigned long to, bool vertical,
                           int steps) {
    const int meanAlpha = static_cast<int>(((from >> 24) + (to >> 24)) / 2);
    if (meanAlpha == 0) return;
    const COLORREF fromColour = from & 0xFFFFFF;
    const COLORREF toColour = to & 0xFFFFFF;
    if (meanAlpha >= 255) {
        FillGradient(dc, rect, fromColour, toColour, vertical, steps);
        return;
    }
    const CRect area(rect);
    MemorySurface surface;
    if (!surface.Create(dc, area.Width(), area.Height())) return;
    FillGradient(surface.GetDC(), CRect(0, 0, area.Width(), area.Height()), fromColour, toColour, vertical, steps);
    BlendStrip(dc, area.left, area.top, area.Width(), area.Height(), surface.GetDC(), 0, 0,
               static_cast<BYTE>(meanAlpha));
}

void MRender::DrawRectangle() {}

// ---- geometry ------------------------------------------------------------------

CRect MRender::GetImageRect(int w, int h, CRect area) {
    const int areaW = area.Width();
    const int areaH = area.Height();
    if (w > areaW && h > areaH) {
        if (static_cast<double>(w) / h > static_cast<double>(areaW) / areaH) {
            h = areaW * h / w;
            w = areaW;
        } else {
            w = areaH * w / h;
            h = areaH;
        }
    } else if (w > areaW && h < areaH) {
        h = areaW * h / w;
        w = areaW;
    } else if (w < areaW && h > areaH) {
        w = areaH * w / h;
        h = areaH;
    }
    const int left = area.left + (areaW - w) / 2;
    const int top = area.top + (areaH - h) / 2;
    return CRect(left, top, left + w, top + h);
}

CPoint MRender::GetOriginPoint(int areaW, int areaH, int itemW, int itemH, unsigned hAlign, unsigned vAlign) {
    CPoint origin;
    if (hAlign == 1) origin.x = (areaW - itemW) / 2;
    else if (hAlign == 2) origin.x = areaW - itemW;
    if (vAlign == 4) origin.y = (areaH - itemH) / 2;
    else if (vAlign == 8) origin.y = areaH - itemH;
    return origin;
}

CPoint MRender::GetOriginPoint(CRect area, int itemW, int itemH, unsigned hAlign, unsigned vAlign) {
    CPoint origin = GetOriginPoint(area.Width(), area.Height(), itemW, itemH, hAlign, vAlign);
    origin.Offset(area.left, area.top + 2);
    return origin;
}

void MRender::CheckAlphaColor(unsigned long& colour) {
    // Pure black reads as "transparent" in the layered paint; nudge it.
    if ((colour & 0xFFFFFF) == 0) colour += 1;
}

namespace {

WORD BmpBitsForDisplay() {
    HDC screen = GetDC(nullptr);
    const int depth = GetDeviceCaps(screen, BITSPIXEL) * GetDeviceCaps(screen, PLANES);
    ReleaseDC(nullptr, screen);
    if (depth <= 1) return 1;
    if (depth <= 4) return 4;
    if (depth <= 8) return 8;
    return 24;
}

bool WriteAll(HANDLE file, const void* data, DWORD size) {
    DWORD written = 0;
    return WriteFile(file, data, size, &written, nullptr) && written == size;
}

}  // namespace

int MRender::SaveBitmapToFile(HBITMAP bitmap, CString path) {
    BITMAP described = {};
    if (!bitmap || !GetObjectW(bitmap, sizeof(described), &described)) return 0;
    const WORD bits = BmpBitsForDisplay();
    const DWORD paletteEntries = bits <= 8 ? (1u << bits) : 0;
    const DWORD rowBytes = ((static_cast<DWORD>(described.bmWidth) * bits + 31) / 32) * 4;
    const DWORD imageBytes = rowBytes * static_cast<DWORD>(described.bmHeight);

    std::vector<BYTE> header(sizeof(BITMAPINFOHEADER) + paletteEntries * sizeof(RGBQUAD));
    auto* info = reinterpret_cast<BITMAPINFO*>(header.data());
    info->bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info->bmiHeader.biWidth = described.bmWidth;
    info->bmiHeader.biHeight = described.bmHeight;
    info->bmiHeader.biPlanes = 1;
    info->bmiHeader.biBitCount = bits;
    info->bmiHeader.biCompression = BI_RGB;
    info->bmiHeader.biSizeImage = imageBytes;
    info->bmiHeader.biClrUsed = paletteEntries;

    std::vector<BYTE> pixels(imageBytes);
    HDC screen = GetDC(nullptr);
    const int rows = GetDIBits(screen, bitmap, 0, static_cast<UINT>(described.bmHeight), pixels.data(), info,
                               DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    if (rows == 0) return 0;

    BITMAPFILEHEADER file = {};
    file.bfType = 0x4D42;  // "BM"
    file.bfOffBits = static_cast<DWORD>(sizeof(BITMAPFILEHEADER) + header.size());
    file.bfSize = file.bfOffBits + imageBytes;

    FileHandle out(CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (out.get() == INVALID_HANDLE_VALUE) return 0;
    const bool ok = WriteAll(out.get(), &file, sizeof(file)) &&
                    WriteAll(out.get(), header.data(), static_cast<DWORD>(header.size())) &&
                    WriteAll(out.get(), pixels.data(), imageBytes);
    return ok ? 1 : 0;
}
