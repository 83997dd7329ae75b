// MRender: the static drawing and loading helpers every control shares.
// Images come back as GDI+ objects the caller owns (delete them); bitmaps and
// DCs come back as GDI handles the caller owns. Nothing here keeps state
// beyond the two MSIMG32 entry points it looks up once.
#pragma once

#include "CPoint.h"
#include "CRect.h"
#include "CString.h"
#include "GdiplusFwd.h"
#include "HvuiExport.h"

class HVUI_API MRender {
public:
    MRender() = delete;

    // Loading. Every loader answers null on any failure.
    static Gdiplus::Image* LoadImageFromFile(CString path);
    static Gdiplus::Image* LoadImageFromFileEx(CString path, int width, int height);
    static Gdiplus::Image* LoadImageFromIDResource(unsigned id, CString type, HINSTANCE module);
    static HICON LoadIconFromFile(CString path);

    // GDI+ drawing. Errors stay in the graphics object's last status.
    static void DrawImageFrame(Gdiplus::Graphics& graphics, Gdiplus::Image* image, const CRect& dest, int sx,
                               int sy, int sw, int sh, int border);
    static void DrawImageFrameMID(Gdiplus::Graphics& graphics, Gdiplus::Image* image, const CRect& dest, int sx,
                                  int sy, int sw, int sh, int left, int top, int right, int bottom);
    static void DrawRoundRectange(Gdiplus::Graphics& graphics, float x, float y, float w, float h, float r,
                                  Gdiplus::Color fill);
    static void DrawRoundRectange(Gdiplus::Graphics& graphics, float x, float y, float w, float h, float r,
                                  Gdiplus::Color pen, float penWidth, Gdiplus::Color fill);
    static void DrawRoundRectange(Gdiplus::Graphics& graphics, float x, float y, float w, float h, float k,
                                  Gdiplus::Color pen, float penWidth, bool filled, Gdiplus::Color fill);
    static void AddRoundedRectangle(Gdiplus::GraphicsPath& path, float x, float y, float w, float h, float r);
    static void RotatePoint(Gdiplus::PointF& point, float degrees, const Gdiplus::PointF& centre);
    static Gdiplus::Size GetTextBounds(const Gdiplus::Font& font, const Gdiplus::StringFormat& format,
                                       const CString& text);
    static Gdiplus::Size GetTextBounds(const Gdiplus::Font& font, const CString& text);
    static Gdiplus::Size GetTextBounds(const Gdiplus::Font& font, const Gdiplus::StringFormat& format, int flags,
                                       const CString& text);

    // GDI drawing.
    static BOOL BitBlt(HDC dst, int x, int y, int w, int h, HDC src, int sx, int sy);
    static BOOL BitBlt(HDC dst, int x, int y, int w, int h, HDC src, int sx, int sy, DWORD rop);
    static HDC CreateCompatibleDC(HDC dc);
    static HBITMAP CreateCompatibleBitmap(HDC dc, int w, int h);
    static HBITMAP CreateARGB32Bitmap(HDC dc, int w, int h, unsigned char** bits);
    static HBITMAP CreateRGBA32Bitmap(HDC dc, int w, int h, unsigned char** bits);
    static void FillSolidRect(HDC& dc, int x, int y, int w, int h, COLORREF colour);
    static void FillSolidRect(HDC& dc, const RECT* rect, COLORREF colour);
    // colour is ARGB; alpha 0 draws nothing.
    static void DrawColor(HDC dc, const RECT& rect, unsigned long colour);
    static void DrawTextW(HDC dc, CRect& rect, const wchar_t* text, COLORREF colour, HFONT font, unsigned format);
    // Answer the opacity of the last row (column); 255 for an empty rectangle.
    static int DrawVerticalTransition(HDC& dst, HDC& src, const CRect& dstRect, const CRect& srcRect,
                                      int topPercent, int bottomPercent);
    static int DrawHorizontalTransition(HDC& dst, HDC& src, const CRect& dstRect, const CRect& srcRect,
                                        int leftPercent, int rightPercent);
    static void DrawRightBottomTransition(HDC& dst, HDC& src, CRect rect, int size, COLORREF colour);
    // from and to are ARGB in the COLORREF byte order (0xAABBGGRR).
    static void DrawGradient(HDC dc, const RECT& rect, unsigned long from, unsigned long to, bool vertical,
                             int steps);
    static void DrawRectangle();

    // Geometry.
    static CRect GetImageRect(int imageWidth, int imageHeight, CRect area);
    static CPoint GetOriginPoint(int areaW, int areaH, int itemW, int itemH, unsigned hAlign, unsigned vAlign);
    static CPoint GetOriginPoint(CRect area, int itemW, int itemH, unsigned hAlign, unsigned vAlign);
    static void CheckAlphaColor(unsigned long& colour);
    static int SaveBitmapToFile(HBITMAP bitmap, CString path);
};
