// The test prefix must render text in the framework's default face: GDI+
// draws nothing at all with a family it cannot find.
#include <gtest/gtest.h>

#include <windows.h>
#include <gdiplus.h>

#include <memory>

namespace {

class GdiplusSession {
public:
    GdiplusSession() { Gdiplus::GdiplusStartup(&m_token, &m_input, nullptr); }
    ~GdiplusSession() { Gdiplus::GdiplusShutdown(m_token); }

private:
    Gdiplus::GdiplusStartupInput m_input;
    ULONG_PTR m_token = 0;
};

// Pixels brighter than mid-grey after drawing white text on black.
int CountLitPixels(const wchar_t* face, const wchar_t* text, int style = Gdiplus::FontStyleRegular) {
    Gdiplus::FontFamily family(face);
    if (family.GetLastStatus() != Gdiplus::Ok) return -1;
    Gdiplus::Font font(&family, 16.0f, style, Gdiplus::UnitPixel);
    Gdiplus::Bitmap bitmap(240, 40, PixelFormat32bppARGB);
    {
        Gdiplus::Graphics graphics(&bitmap);
        graphics.Clear(Gdiplus::Color(255, 0, 0, 0));
        Gdiplus::SolidBrush white(Gdiplus::Color(255, 255, 255, 255));
        graphics.DrawString(text, -1, &font, Gdiplus::PointF(4, 8), &white);
    }
    int lit = 0;
    for (UINT y = 0; y < bitmap.GetHeight(); ++y) {
        for (UINT x = 0; x < bitmap.GetWidth(); ++x) {
            Gdiplus::Color colour;
            bitmap.GetPixel(x, y, &colour);
            if (colour.GetR() > 128) ++lit;
        }
    }
    return lit;
}

}  // namespace

TEST(FontRender, DefaultFaceDrawsLatinAndCjkText) {
    GdiplusSession gdiplus;
    struct Case { const wchar_t* face; const wchar_t* text; };
    const Case cases[] = {
        {L"Segoe UI", L"Tarvenholm 45\u00B0C"},
        {L"Arial", L"Performance"},
    };
    for (const Case& c : cases) {
        const int lit = CountLitPixels(c.face, c.text);
        EXPECT_GT(lit, 40) << "face index " << (&c - cases);
    }
}

// A missing glyph draws the same box for every character; real glyphs differ.
// Bold goes through other faces than regular, so both are checked.
TEST(FontRender, CjkGlyphsComeThroughTheFontLink) {
    GdiplusSession gdiplus;
    for (int style : {Gdiplus::FontStyleRegular, Gdiplus::FontStyleBold}) {
        const int control = CountLitPixels(L"Segoe UI", L"\u63A7", style);  // "control"
        const int middle = CountLitPixels(L"Segoe UI", L"\u4E2D", style);   // "middle"
        const int one = CountLitPixels(L"Segoe UI", L"\u4E00", style);      // "one": a single stroke
        EXPECT_GT(control, 20) << "style " << style;
        EXPECT_GT(control, one) << "style " << style;
        EXPECT_NE(control, middle) << "style " << style;
    }
}
