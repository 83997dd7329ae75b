#include "MAirBladder.h"

#include <algorithm>

#include "MRender.h"
#include "Manager.h"
#include "MemorySurface.h"

using namespace Gdiplus;

namespace {

const wchar_t kTitle[] = L"AirBladder Window";
const wchar_t kBackgroundImage[] = L"img_tip_bk.png";
const wchar_t kArrowLeftImage[] = L"img_tip_arrow_left.png";
const wchar_t kArrowRightImage[] = L"img_tip_arrow_right.png";
const wchar_t kArrowTopImage[] = L"img_tip_arrow_top.png";
constexpr ARGB kTextColour = 0xFF202020;
constexpr int kArrowOffset = 12;

std::unique_ptr<Image> LoadSkinImage(const wchar_t* name) {
    return std::unique_ptr<Image>(MRender::LoadImageFromFile(Manager::GetSkinFile(name)));
}

int CountLines(const CString& text) {
    return 1 + static_cast<int>(std::count(text.Str().begin(), text.Str().end(), L'\n'));
}

}  // namespace

MAirBladder::MAirBladder() = default;

MAirBladder::~MAirBladder() {
    if (IsLive()) DestroyWindow();
}

HWND MAirBladder::Create(HWND owner) {
    m_background = LoadSkinImage(kBackgroundImage);
    m_arrowLeft = LoadSkinImage(kArrowLeftImage);
    m_arrowRight = LoadSkinImage(kArrowRightImage);
    m_arrowTop = LoadSkinImage(kArrowTopImage);
    return MWindow::Create(owner, kTitle, kStyle, WS_EX_TOOLWINDOW | WS_EX_TOPMOST, CRect(0, 0, 1, 1));
}

CRect MAirBladder::LayoutRect(int type, int x, int y, int tw, int th, int lineHeight) {
    switch (type) {
    case AirBladderRight: {
        const int top = y - (th / 2 + 10);
        return CRect(x, top, x + tw + 40, top + th + 20);
    }
    case AirBladderLeft: return CRect(x - tw - 40, y - 27, x, y + th - 7);
    case AirBladderBelow: return CRect(x - 25, y, x + tw + 15, y + th + 30);
    case AirBladderAbove: {
        const int left = x - (tw + 30) / 2;
        return CRect(left, y - (th + 20), left + tw + 30, y);
    }
    case AirBladderRightLow: {
        // This type reserves two lines fewer than it shows.
        const int reduced = th - 2 * lineHeight;
        return CRect(x, y - 10, x + tw + 40, y + reduced - 45);
    }
    default: return CRect();
    }
}

void MAirBladder::MeasureText(int& width, int& height, int& lineHeight, int& lines) const {
    FontFamily family(Manager::GetFontName());
    Font font(family.GetLastStatus() == Ok ? &family : FontFamily::GenericSansSerif(), kFontPixels,
              FontStyleRegular, UnitPixel);
    const Size bounds = MRender::GetTextBounds(font, m_text);
    lines = CountLines(m_text);
    HDC screen = ::GetDC(nullptr);
    Graphics graphics(screen);
    lineHeight = static_cast<int>(font.GetHeight(&graphics) + 0.5f);
    ::ReleaseDC(nullptr, screen);
    width = bounds.Width;
    height = lines * lineHeight;
}

int MAirBladder::SetMessage(const wchar_t* text, POINT point, AIRBLADDER_TYPE type, AIRBLADDER_MODE mode) {
    const CString newText = text ? text : L"";
    if (newText == m_text && point.x == m_point.x && point.y == m_point.y && type == m_type && mode == m_mode)
        return 0;
    m_text = newText;
    m_point = point;
    m_type = type;
    m_mode = mode;
    int tw = 0, th = 0, lineHeight = 0, lines = 0;
    MeasureText(tw, th, lineHeight, lines);
    m_rect = LayoutRect(type, point.x, point.y, tw, th, lineHeight);
    if (!IsLive()) return 1;
    ::SetWindowPos(m_hWnd, HWND_TOPMOST, m_rect.left, m_rect.top, m_rect.Width(), m_rect.Height(),
                   SWP_NOACTIVATE);
    ::InvalidateRect(m_hWnd, nullptr, FALSE);
    ::KillTimer(m_hWnd, kHideTimer);
    if (type != AirBladderAbove) ::SetTimer(m_hWnd, kHideTimer, kHideAfterMs, nullptr);
    return 1;
}

void MAirBladder::Paint() {
    PAINTSTRUCT paint;
    HDC dc = ::BeginPaint(m_hWnd, &paint);
    CRect client;
    ::GetClientRect(m_hWnd, &client);
    MemorySurface surface;
    if (surface.Create(dc, client.Width(), client.Height())) {
        HDC memory = surface.GetDC();
        MRender::FillSolidRect(memory, &client, RGB(255, 255, 255));
        Graphics graphics(memory);
        if (m_background) {
            MRender::DrawImageFrame(graphics, m_background.get(), client, 0, 0, m_background->GetWidth(),
                                    m_background->GetHeight(), kFrameBorder);
        }
        Image* arrow = m_type == AirBladderRight ? m_arrowLeft.get()
                       : m_type == AirBladderLeft ? m_arrowRight.get()
                       : m_type == AirBladderBelow ? m_arrowTop.get()
                                                   : nullptr;
        if (arrow) {
            const int aw = static_cast<int>(arrow->GetWidth());
            const int ah = static_cast<int>(arrow->GetHeight());
            const int ax = m_type == AirBladderLeft ? client.right - aw : m_type == AirBladderBelow ? kArrowOffset : 0;
            const int ay = m_type == AirBladderBelow ? 0 : client.Height() / 2 - ah / 2;
            graphics.DrawImage(arrow, ax, ay, aw, ah);
        }
        FontFamily family(Manager::GetFontName());
        Font font(family.GetLastStatus() == Ok ? &family : FontFamily::GenericSansSerif(), kFontPixels,
                  FontStyleRegular, UnitPixel);
        StringFormat format;
        const bool centred = CountLines(m_text) == 1 || m_type == AirBladderAbove;
        format.SetAlignment(centred ? StringAlignmentCenter : StringAlignmentNear);
        format.SetLineAlignment(StringAlignmentCenter);
        SolidBrush brush{Color(kTextColour)};
        graphics.SetTextRenderingHint(TextRenderingHintClearTypeGridFit);
        const RectF box(static_cast<REAL>(kFrameBorder + 4), 0.0f,
                        static_cast<REAL>(client.Width() - 2 * (kFrameBorder + 4)),
                        static_cast<REAL>(client.Height()));
        graphics.DrawString(m_text, m_text.GetLength(), &font, box, &format, &brush);
        ::BitBlt(dc, 0, 0, client.Width(), client.Height(), memory, 0, 0, SRCCOPY);
    }
    ::EndPaint(m_hWnd, &paint);
}

LRESULT MAirBladder::OnWindowMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_PAINT: Paint(); return 0;
    case WM_ERASEBKGND: return 1;
    case WM_TIMER:
        if (wParam == kHideTimer) {
            ::KillTimer(m_hWnd, kHideTimer);
            ShowWindow(SW_HIDE);
            return 0;
        }
        break;
    case WM_MOUSEACTIVATE: return MA_NOACTIVATE;
    default: break;
    }
    return MWindow::OnWindowMessage(msg, wParam, lParam);
}
