#include "CirclePalette.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <mutex>

#include "ImgResInfo.h"
#include "PaintManager.h"

using namespace Gdiplus;

namespace {

using Lock = std::lock_guard<CriticalSection>;

constexpr Gdiplus::ARGB kMarkerColour = 0xFFFFFFFF;
constexpr int kMarkerLeft = 100;
constexpr int kMarkerTop = 5;
constexpr int kMarkerSize = 10;
// A drag along the ring is followed only past this much movement.
constexpr int kRingDragSlackX = 5;
constexpr int kRingDragSlackY = 6;
// Two table entries closer than this count as the same colour.
constexpr long long kColourTolerance = 2;
constexpr double kThird = 1.0 / 3.0;
// SetSelectColor looks for its colour in the upper rows of the table only.
constexpr int kMarkerSearchRows = 200;
constexpr int kScaledUnit = 200;  // saturation and lightness are kept 0 to 200

// One channel of HSL to RGB: p and q as in the usual formulas.
double HueToChannel(double p, double q, double hue) {
    if (hue < 0.0) hue += 1.0;
    if (hue > 1.0) hue -= 1.0;
    if (6.0 * hue < 1.0) return p + (q - p) * 6.0 * hue;
    if (2.0 * hue < 1.0) return q;
    if (3.0 * hue < 2.0) return p + (q - p) * (2.0 * kThird - hue) * 6.0;
    return p;
}

BYTE ToByte(double component) { return static_cast<BYTE>(component * 255.0); }

}  // namespace

CirclePalette::CirclePalette(MObject* parent, unsigned id, CRect rect, int visible, int enabled)
    : MControlFont(parent, id, rect, L"", visible, enabled, 1),
      m_table(static_cast<size_t>(kTableWidth) * kTableHeight, 0) {
    PlaceMarkerAndSquare();
}

CirclePalette::~CirclePalette() {
    if (m_shadeDC) {
        SelectObject(m_shadeDC, m_shadePrevious);
        DeleteDC(m_shadeDC);
    }
}

// ---- conversions ----------------------------------------------------------------------

void CirclePalette::RGBToHSL(COLORREF colour, double& hue, double& saturation, double& lightness) {
    const double r = GetRValue(colour) / 255.0;
    const double g = GetGValue(colour) / 255.0;
    const double b = GetBValue(colour) / 255.0;
    const double high = std::max({r, g, b});
    const double low = std::min({r, g, b});
    const double delta = high - low;
    lightness = (high + low) / 2.0;
    if (delta == 0.0) {
        hue = 0.0;
        saturation = 0.0;
        return;
    }
    saturation = lightness < 0.5 ? delta / (high + low) : delta / (2.0 - high - low);
    const double dr = ((high - r) / 6.0 + delta / 2.0) / delta;
    const double dg = ((high - g) / 6.0 + delta / 2.0) / delta;
    const double db = ((high - b) / 6.0 + delta / 2.0) / delta;
    if (r == high) hue = db - dg;
    else if (g == high) hue = kThird + dr - db;
    else hue = 2.0 * kThird + dg - dr;
    if (hue < 0.0) hue += 1.0;
    if (hue > 1.0) hue -= 1.0;
}

COLORREF CirclePalette::HSLToRGB(double hue, double saturation, double lightness) {
    if (saturation == 0.0) {
        const BYTE grey = ToByte(lightness);
        return RGB(grey, grey, grey);
    }
    const double q = lightness < 0.5 ? lightness * (1.0 + saturation) : lightness + saturation - lightness * saturation;
    const double p = 2.0 * lightness - q;
    return RGB(ToByte(HueToChannel(p, q, hue + kThird)), ToByte(HueToChannel(p, q, hue)),
               ToByte(HueToChannel(p, q, hue - kThird)));
}

void CirclePalette::TakeHSL(COLORREF colour) {
    double h = 0.0, s = 0.0, l = 0.0;
    RGBToHSL(colour, h, s, l);
    m_hue = static_cast<int>(h * 360.0);
    m_saturation = static_cast<int>(s * kScaledUnit);
    m_lightness = static_cast<int>(l * kScaledUnit);
}

// ---- geometry ---------------------------------------------------------------------------

CPoint CirclePalette::Centre() const {
    return CPoint(m_rect.left + m_rect.Width() / 2, m_rect.top + m_rect.Height() / 2);
}

int CirclePalette::GetDistanse(CPoint point) const {
    const CPoint centre = Centre();
    const double dx = point.x - centre.x;
    const double dy = point.y - centre.y;
    return static_cast<int>(std::sqrt(dx * dx + dy * dy));
}

void CirclePalette::PlaceMarkerAndSquare() {
    m_marker = CRect(m_rect.left + kMarkerLeft, m_rect.top + kMarkerTop, m_rect.left + kMarkerLeft + kMarkerSize,
                     m_rect.top + kMarkerTop + kMarkerSize);
    m_square = CRect(m_rect.left + kSquareInset, m_rect.top + kSquareInset, m_rect.right - kSquareInset,
                     m_rect.bottom - kSquareInset);
}

void CirclePalette::SetControlRect(CRect rect) {
    MControlFont::SetControlRect(rect);
    PlaceMarkerAndSquare();
    UpdateBarData();
    UpdateControl(1, 0);
}

COLORREF CirclePalette::GetTableColor(int x, int y) const {
    if (x < 0 || y < 0 || x >= kTableWidth || y >= kTableHeight) return 0;
    return m_table[static_cast<size_t>(x) * kTableHeight + y];
}

// ---- the picture and the shade bitmap ---------------------------------------------------------

int CirclePalette::SetImage(const wchar_t* name, int count) {
    if (!m_manager || !name) return 0;
    ImgResInfo* info = m_manager->AddImgResInfo(name, count);
    if (!info || !info->image) return 0;
    // Unlike the base, no repaint: the wheel is painted when it is shown.
    Lock lock(m_stateLock);
    m_image = info->image;
    m_frameWidth = info->frameWidth;
    m_imageHeight = info->height;
    m_frameCount = info->frameCount;
    m_imagePath = name;
    return 1;
}

int CirclePalette::SetImage(unsigned resourceId, CString resourceType, int count) {
    if (!m_manager) return 0;
    ImgResInfo* info = m_manager->AddImgResInfo(resourceId, resourceType, count, 1);
    if (!info || !info->image) return 0;
    Lock lock(m_stateLock);
    m_image = info->image;
    m_frameWidth = info->frameWidth;
    m_imageHeight = info->height;
    m_frameCount = info->frameCount;
    return 1;
}

void CirclePalette::InitControl(PaintManager* manager) {
    HDC reference = manager ? manager->GetPaintDC() : nullptr;
    if (!m_shadeDC && !CreateShadeBitmap(reference)) return;
    UpdateBarData();
}

bool CirclePalette::CreateShadeBitmap(HDC reference) {
    // A 32-bit DIB whatever the screen depth: the square is written pixel by
    // pixel and must not depend on the display's format.
    HDC dc = CreateCompatibleDC(reference);
    if (!dc) return false;
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = kShadeWidth;
    info.bmiHeader.biHeight = -kShadeHeight;  // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!bitmap) {
        OutputDebugStringW(L"CirclePalette: CreateDIBSection failed\n");
        DeleteDC(dc);
        return false;
    }
    m_shadeBitmap.Reset(bitmap);
    m_shadeDC = dc;
    m_shadePrevious = SelectObject(dc, bitmap);
    m_shadeBits = static_cast<unsigned char*>(bits);
    return true;
}

void CirclePalette::UpdateBarData() {
    if (!m_shadeBits) return;
    GdiFlush();
    const double hue = m_hue / 360.0;
    const int stride = kShadeWidth * 4;
    for (int y = 0; y < kShadeHeight; ++y) {
        // The inner divisions are integer ones, as the square always showed.
        const double lightness = (kScaledUnit - kScaledUnit * y / (kShadeHeight - 1)) / double(kScaledUnit);
        unsigned char* row = m_shadeBits + static_cast<size_t>(y) * stride;
        for (int x = 0; x < kShadeColumns; ++x) {
            const double saturation = (kScaledUnit * x / (kShadeColumns - 1)) / double(kScaledUnit);
            const COLORREF colour = HSLToRGB(hue, saturation, lightness);
            unsigned char* pixel = row + x * 4;
            pixel[0] = GetBValue(colour);
            pixel[1] = GetGValue(colour);
            pixel[2] = GetRValue(colour);
            pixel[3] = 0xFF;
        }
    }
}

// ---- selection ------------------------------------------------------------------------------------

void CirclePalette::SetSelectColor(COLORREF colour) {
    m_selectColour = colour;
    // The last column that holds the colour places the marker.
    for (int x = 0; x < kTableWidth; ++x) {
        for (int y = 0; y < kMarkerSearchRows; ++y) {
            const long long difference = static_cast<long long>(GetTableColor(x, y)) - static_cast<long long>(colour);
            if (std::llabs(difference) >= kColourTolerance) continue;
            m_marker = CRect(m_rect.left + x - kMarkerHalf, m_rect.top + y - kMarkerHalf,
                             m_rect.left + x + kMarkerHalf, m_rect.top + y + kMarkerHalf);
            break;
        }
    }
    TakeHSL(colour);
    UpdateBarData();
    UpdateControl(1, 0);
}

void CirclePalette::MoveThumbPos(int x, int y) {
    const CPoint point(x, y);
    if (GetDistanse(point) > kRingRadius) return;
    m_lastRingPoint = point;
    const CRect candidate(x - kMarkerHalf, y - kMarkerHalf, x + kMarkerHalf, y + kMarkerHalf);
    if (candidate == m_marker) return;
    m_marker = candidate;
    // The colour is read at the point being handled, which is where the
    // marker now sits (the pointer may already have moved on).
    const int cx = x - m_rect.left;
    const int cy = y - m_rect.top;
    if (cx >= 0 && cy >= 0 && cx < kTableWidth && cy < kTableHeight) m_selectColour = GetTableColor(cx, cy);
    TakeHSL(m_selectColour);
    UpdateBarData();
    UpdateControl(1, 0);
    SendMessageW(kCodeColourChanging, 0, static_cast<LPARAM>(m_selectColour));
}

// ---- input ------------------------------------------------------------------------------------------

int CirclePalette::OnControlMouseMove(unsigned flags, CPoint point) {
    if (!m_enabled) return 1;
    if (!(flags & MK_LBUTTON) || !m_rect.PtInRect(point)) return 1;
    if (InSquare(point)) {
        m_lastSquarePoint = point;
        SendMessageW(kCodeColourChanging, 0, 0);
        UpdateControl(1, 0);
        return 1;
    }
    const int dx = std::abs(point.x - m_lastRingPoint.x);
    const int dy = std::abs(point.y - m_lastRingPoint.y);
    if (dx <= kRingDragSlackX && dy < kRingDragSlackY) return 1;
    MoveThumbPos(point.x, point.y);
    return 1;
}

int CirclePalette::OnControlLButtonDown(unsigned, CPoint point) {
    if (!m_enabled || InSquare(point)) return 1;
    m_state = 2;
    MoveThumbPos(point.x, point.y);
    return 1;
}

int CirclePalette::OnControlLButtonUp(unsigned, CPoint point) {
    if (!m_enabled) return 1;
    if (InSquare(point)) {
        m_lastSquarePoint = point;
        // The square as painted, marker included; the hue stays the square's.
        if (HDC surface = GetMemDC()) {
            GdiFlush();
            const COLORREF picked = GetPixel(surface, point.x - m_rect.left, point.y - m_rect.top);
            if (picked != CLR_INVALID) m_selectColour = picked;
        }
    } else {
        m_state = m_marker.PtInRect(point) ? 1 : 0;
    }
    SendMessageW(kCodeCommitted, 0, 0);
    UpdateControl(1, 0);
    return 1;
}

// ---- painting ----------------------------------------------------------------------------------------

void CirclePalette::DrawControl(HDC& dc, CRect) {
    if (PrepareMemDC(dc)) PaintContent(GetMemDC());
    PresentMemDC(dc);
}

void CirclePalette::PaintContent(HDC dc) {
    {
        const ImageFrame ring = GetImageFrame();
        Graphics graphics(dc);
        if (ring.image) {
            const int x = (m_rect.Width() - ring.frameWidth) / 2;
            const int y = (m_rect.Height() - ring.height) / 2;
            graphics.DrawImage(ring.image, Rect(x, y, ring.frameWidth, ring.height), 0, 0, ring.frameWidth,
                               ring.height, UnitPixel);
        }
    }
    // Captured again for as long as the probe pixels read black: the ring
    // must have been painted over a real background once.
    if (GetTableColor(0, 0) == 0 && GetTableColor(10, 10) == 0) CaptureTable();
    PaintSquare(dc);
    Graphics graphics(dc);
    graphics.SetSmoothingMode(SmoothingModeHighQuality);
    Pen marker(Color(kMarkerColour), 1.0f);
    graphics.DrawEllipse(&marker, m_marker.left - m_rect.left, m_marker.top - m_rect.top, m_marker.Width(),
                         m_marker.Height());
}

void CirclePalette::CaptureTable() {
    const int width = std::min(m_rect.Width(), kTableWidth);
    const int height = std::min(m_rect.Height(), kTableHeight);
    if (width <= 0 || height <= 0) return;
    // Read through a DIB copy: the surface's own bitmap stays selected.
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HDC copyDC = CreateCompatibleDC(GetMemDC());
    GdiObject<HBITMAP> copy(CreateDIBSection(copyDC, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!copyDC || !copy) {
        if (copyDC) DeleteDC(copyDC);
        return;
    }
    HGDIOBJ previous = SelectObject(copyDC, copy.Get());
    BitBlt(copyDC, 0, 0, width, height, GetMemDC(), 0, 0, SRCCOPY);
    GdiFlush();
    const auto* pixels = static_cast<const DWORD*>(bits);
    for (int x = 0; x < width; ++x) {
        for (int y = 0; y < height; ++y) {
            const DWORD pixel = pixels[y * width + x];
            m_table[static_cast<size_t>(x) * kTableHeight + y] =
                RGB((pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF);
        }
    }
    SelectObject(copyDC, previous);
    DeleteDC(copyDC);
}

void CirclePalette::PaintSquare(HDC dc) {
    if (!m_shadeDC || m_square.IsRectEmpty()) return;
    const int previousMode = SetStretchBltMode(dc, HALFTONE);
    POINT origin;
    SetBrushOrgEx(dc, 0, 0, &origin);
    StretchBlt(dc, m_square.left - m_rect.left, m_square.top - m_rect.top, m_square.Width(), m_square.Height(),
               m_shadeDC, 0, 0, kShadeShownColumns, kShadeHeight, SRCCOPY);
    SetBrushOrgEx(dc, origin.x, origin.y, nullptr);
    SetStretchBltMode(dc, previousMode);
}
