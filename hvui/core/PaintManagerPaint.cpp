// PaintManager: composing the window off-screen and presenting it, the
// background, the status overlay and the caret.
#include "PaintManager.h"

#include <chrono>
#include <cstdint>
#include <mutex>

#include "MControl.h"
#include "MControlFont.h"
#include "MPanel.h"
#include "MRender.h"
#include "Manager.h"

using namespace Gdiplus;

namespace {

using Lock = std::lock_guard<CriticalSection>;

// The background is painted nearly opaque so that a layered window can tell
// it from pixels GDI wrote (those keep alpha 0).
constexpr unsigned kBackgroundAlpha = 254;
constexpr unsigned kCaretAlpha = 254;
constexpr ARGB kOverlayFrame = 0xE6E6E6;
constexpr ARGB kOverlayFill = 0xFEFEFE;
constexpr ARGB kOverlayText = 0x050505;
constexpr ARGB kProgressTrack = 0xC8C8C8C8;
constexpr ARGB kProgressBar = 0xFEFFE100;
constexpr int kOverlayMinAlpha = 10;
constexpr REAL kOverlayFontPixels = 12.0f;

ARGB ArgbOf(COLORREF colour, unsigned alpha) {
    return (static_cast<ARGB>(alpha) << 24) | (static_cast<ARGB>(GetRValue(colour)) << 16) |
           (static_cast<ARGB>(GetGValue(colour)) << 8) | GetBValue(colour);
}

// The pixel (x, y) of a bottom-up 32-bit section of the given size.
uint32_t* PixelAt(unsigned char* bits, int width, int height, int x, int y) {
    return reinterpret_cast<uint32_t*>(bits) + static_cast<size_t>(height - 1 - y) * width + x;
}

}  // namespace

void PaintManager::BackgroundCache::Release() {
    if (dc) {
        ::SelectObject(dc, previous);
        ::DeleteDC(dc);
    }
    if (bitmap) ::DeleteObject(bitmap);
    dc = nullptr;
    bitmap = nullptr;
    previous = nullptr;
    size = CSize();
}

// ---- settings ---------------------------------------------------------------------------------

void PaintManager::SetLayeredWindow(int layered) {
    m_layered = layered ? 1 : 0;
    if (!IsWindowLive()) return;
    const LONG_PTR style = ::GetWindowLongPtrW(m_paintWnd, GWL_EXSTYLE);
    // Leaving layered mode must drop the style, or the window keeps showing
    // the last layered picture and ignores ordinary painting.
    if (!m_layered && (style & WS_EX_LAYERED)) ::SetWindowLongPtrW(m_paintWnd, GWL_EXSTYLE, style & ~WS_EX_LAYERED);
    Invalidate();
}

void PaintManager::SetBackColor(COLORREF background, COLORREF border) {
    m_backCache.Release();
    m_backColor = background;
    m_borderColor = border;
    Invalidate();
}

void PaintManager::SetBackMode(enumBackMode mode, int parameter) {
    m_backCache.Release();
    m_backMode = mode;
    m_backModeParameter = parameter;
}

int PaintManager::LoadBKImage(CString name) {
    std::unique_ptr<Image> image(MRender::LoadImageFromFile(Manager::GetSkinFile(name)));
    if (!image) return 0;
    m_backImageSize = CSize(static_cast<int>(image->GetWidth()), static_cast<int>(image->GetHeight()));
    m_backImage = std::move(image);
    m_backCache.Release();
    Invalidate();
    return 1;
}

int PaintManager::LoadBKImage(unsigned id, CString type) {
    std::unique_ptr<Image> image(MRender::LoadImageFromIDResource(id, type, Manager::GetInstance()));
    if (!image) return 0;
    m_backImageSize = CSize(static_cast<int>(image->GetWidth()), static_cast<int>(image->GetHeight()));
    m_backImage = std::move(image);
    m_backCache.Release();
    Invalidate();
    return 1;
}

// ---- the paint --------------------------------------------------------------------------------

void PaintManager::PaintBackgroundImage(HDC dc, const CRect& client) {
    Graphics graphics(dc);
    // Pixel centres on pixel corners: no seams between the nine pieces.
    graphics.SetPixelOffsetMode(PixelOffsetModeHalf);
    if (m_backMode == BackModeNineSlice) {
        MRender::DrawImageFrame(graphics, m_backImage.get(), client, 0, 0, m_backImageSize.cx, m_backImageSize.cy,
                                m_backModeParameter);
    } else {
        graphics.DrawImage(m_backImage.get(), Rect(client.left, client.top, client.Width(), client.Height()));
    }
}

void PaintManager::DrawBackground(HDC dc, const CRect& client, const CRect& area) {
    if (!m_backImage) {
        // Two flat colours cost less to fill than to keep: the window's
        // background picture usually covers them anyway.
        CRect frame;
        if (frame.IntersectRect(client, area)) MRender::DrawColor(dc, frame, ArgbOf(m_borderColor, kBackgroundAlpha));
        CRect inset = client;
        inset.DeflateRect(1, 1);
        CRect inner;
        if (inner.IntersectRect(inset, area)) MRender::DrawColor(dc, inner, ArgbOf(m_backColor, kBackgroundAlpha));
        return;
    }
    if (m_backCache.size != client.Size() || !m_backCache.dc) {
        m_backCache.Release();
        unsigned char* bits = nullptr;
        m_backCache.bitmap = MRender::CreateARGB32Bitmap(m_paintDC, client.Width(), client.Height(), &bits);
        m_backCache.dc = m_backCache.bitmap ? ::CreateCompatibleDC(m_paintDC) : nullptr;
        if (!m_backCache.dc) {
            m_backCache.Release();
            PaintBackgroundImage(dc, client);
            return;
        }
        m_backCache.previous = ::SelectObject(m_backCache.dc, m_backCache.bitmap);
        m_backCache.size = client.Size();
        PaintBackgroundImage(m_backCache.dc, client);
        ::GdiFlush();
    }
    ::BitBlt(dc, area.left, area.top, area.Width(), area.Height(), m_backCache.dc, area.left, area.top, SRCCOPY);
}

void PaintManager::DrawControls(HDC& dc, const CRect& clip, size_t first) {
    // Over copies: a control's paint must never run under a list lock, which
    // the worker's redraw requests take.
    const std::vector<MControl*> areas = CopyUnderLock(m_areas, m_areaLock);
    for (size_t i = first; i < areas.size(); ++i) areas[i]->Draw(dc, clip);
    const size_t firstControl = first > areas.size() ? first - areas.size() : 0;
    const std::vector<MControl*> controls = CopyUnderLock(m_controls, m_controlLock);
    for (size_t i = firstControl; i < controls.size(); ++i) controls[i]->Draw(dc, clip);
}

namespace {

// Drawn anew at the next paint: the control copies what lies under its
// whole rectangle into its surface before drawing itself on it.
bool RedrawsSurface(const MControl& control) { return !control.GetUpdate() && control.GetMemDC(); }

bool SubtreeRedraws(const std::vector<MControl*>& list) {
    for (const MControl* control : list) {
        if (!control->IsVisible()) continue;
        if (RedrawsSurface(*control) || SubtreeRedraws(control->GetAreas()) || SubtreeRedraws(control->GetControls()))
            return true;
    }
    return false;
}

// Takes rect into the area; grown tells that the area changed.
void GrowTo(const CRect& rect, CRect& area, bool& grown) {
    CRect both;
    both.UnionRect(area, rect);
    if (both == area) return;
    area = both;
    grown = true;
}

// Follows MControl::Draw: a control that misses the area is not drawn, its
// areas are drawn when they touch it, then the control, then its children.
void GrowOver(const MControl& control, CRect& area, bool& grown) {
    if (!control.IsVisible()) return;
    const CRect rect = control.GetRect();
    if (!rect.Intersects(area)) return;
    // A scrolled panel draws its children shifted and clipped to itself: one
    // stale child there makes the whole panel part of the paint.
    const auto* panel = dynamic_cast<const MPanel*>(&control);
    if (panel && (panel->GetVerticalOffset() || panel->GetHorizontalOffset())) {
        if (SubtreeRedraws(control.GetAreas()) || SubtreeRedraws(control.GetControls())) GrowTo(rect, area, grown);
        return;
    }
    for (const MControl* child : control.GetAreas()) {
        if (child->GetRect().Intersects(rect)) GrowOver(*child, area, grown);
    }
    if (RedrawsSurface(control)) {
        GrowTo(rect, area, grown);
    }
    for (const MControl* child : control.GetControls()) GrowOver(*child, area, grown);
}

// Presents a valid surface over its whole rectangle and draws nothing of its
// own before it, so what lies under it cannot show.
bool CoversFromSurface(const MControl& control, const CRect& area) {
    if (!control.IsVisible() || !control.GetUpdate() || !control.GetMemDC() || !control.GetAreas().empty()) return false;
    if (dynamic_cast<const MPanel*>(&control)) return false;
    CRect inside;
    inside.IntersectRect(control.GetRect(), area);
    return inside == area;
}

}  // namespace

CRect PaintManager::ComposeArea(const CRect& update, const CRect& client) {
    CRect area;
    if (!area.IntersectRect(update, client)) return area;
    Lock areas(m_areaLock);
    Lock controls(m_controlLock);
    // Each growth may touch further stale surfaces; the tree is small.
    for (bool grown = true; grown;) {
        grown = false;
        for (const MControl* member : m_areas) GrowOver(*member, area, grown);
        for (const MControl* member : m_controls) GrowOver(*member, area, grown);
    }
    CRect inside;
    inside.IntersectRect(area, client);
    return inside;
}

size_t PaintManager::FirstShownMember(const CRect& area, bool& covered) {
    Lock areas(m_areaLock);
    Lock controls(m_controlLock);
    covered = false;
    for (size_t i = m_controls.size(); i-- > 0;) {
        if (!CoversFromSurface(*m_controls[i], area)) continue;
        covered = true;
        return m_areas.size() + i;
    }
    for (size_t i = m_areas.size(); i-- > 0;) {
        if (!CoversFromSurface(*m_areas[i], area)) continue;
        covered = true;
        return i;
    }
    return 0;
}

void PaintManager::ClearLayeredPixels(unsigned char* bits, int width, int height, const CRect& rect) {
    for (int y = rect.top; y < rect.bottom; ++y) {
        for (int x = rect.left; x < rect.right; ++x) *PixelAt(bits, width, height, x, y) = 0;
    }
}

void PaintManager::FixLayeredAlpha(unsigned char* bits, int width, int height, const CRect& rect) {
    // GDI text and lines leave alpha 0; without this they would vanish.
    for (int y = rect.top; y < rect.bottom; ++y) {
        for (int x = rect.left; x < rect.right; ++x) {
            uint32_t* pixel = PixelAt(bits, width, height, x, y);
            if ((*pixel >> 24) == 0 && (*pixel & 0xFFFFFF) != 0) *pixel |= 0xFF000000;
        }
    }
}

void PaintManager::DrawOverlay(HDC dc) {
    if (m_overlayAlpha <= kOverlayMinAlpha || m_overlayText.IsEmpty()) return;
    const ARGB alpha = static_cast<ARGB>(m_overlayAlpha) << 24;
    const CRect box = m_overlayBox;
    MRender::DrawColor(dc, box, alpha | kOverlayFrame);
    CRect inner = box;
    inner.DeflateRect(2, 2);
    MRender::DrawColor(dc, inner, alpha | kOverlayFill);

    Graphics graphics(dc);
    FontFamily* family = FindTempFont(m_overlayFont);
    Font font(family ? family : FontFamily::GenericSansSerif(), kOverlayFontPixels, FontStyleRegular, UnitPixel);
    graphics.SetTextRenderingHint(TextRenderingHintClearTypeGridFit);
    SolidBrush text{Color(alpha | kOverlayText)};
    StringFormat format;
    format.SetLineAlignment(StringAlignmentCenter);
    if (m_progress <= 0) {
        const RectF area(static_cast<REAL>(box.left + 5), static_cast<REAL>(box.top + 5), 190.0f, 50.0f);
        graphics.DrawString(m_overlayText, m_overlayText.GetLength(), &font, area, &format, &text);
        return;
    }
    format.SetAlignment(StringAlignmentCenter);
    const RectF area(static_cast<REAL>(box.left + 5), static_cast<REAL>(box.top + 5),
                     static_cast<REAL>(box.Width() - 10), 30.0f);
    graphics.DrawString(m_overlayText, m_overlayText.GetLength(), &font, area, &format, &text);
    Pen track{Color(kProgressTrack), 1.0f};
    graphics.DrawLine(&track, static_cast<INT>(box.left + 10), static_cast<INT>(box.bottom - 15),
                      static_cast<INT>(box.right - 20), static_cast<INT>(box.bottom - 15));
    SolidBrush bar{Color(kProgressBar)};
    graphics.FillRectangle(&bar, static_cast<INT>(box.left + 10), static_cast<INT>(box.bottom - 16),
                           static_cast<INT>(m_progress * (box.Width() - 20) / 100), 3);
}

void PaintManager::Present(HDC paintDC, HDC memory, const CRect& update, int width, int height) {
    if (!m_layered) {
        ::BitBlt(paintDC, update.left, update.top, update.Width(), update.Height(), memory, update.left, update.top,
                 SRCCOPY);
        return;
    }
    const LONG_PTR style = ::GetWindowLongPtrW(m_paintWnd, GWL_EXSTYLE);
    if (!(style & WS_EX_LAYERED)) ::SetWindowLongPtrW(m_paintWnd, GWL_EXSTYLE, style | WS_EX_LAYERED);
    CRect window;
    ::GetWindowRect(m_paintWnd, &window);
    POINT origin = {0, 0};
    POINT position = window.TopLeft();
    SIZE size = {width, height};
    BLENDFUNCTION blend = {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    if (!::UpdateLayeredWindow(m_paintWnd, paintDC, &position, &size, memory, &origin, 0, &blend, ULW_ALPHA))
        OutputDebugStringW(L"HVUI: UpdateLayeredWindow failed\n");
}

HBITMAP PaintManager::RenderFrame(const CRect& update, unsigned char** bits) {
    if (bits) *bits = nullptr;
    int width = 0, height = 0;
    GetClientSize(width, height);
    if (width <= 0 || height <= 0 || !m_paintDC) return nullptr;
    unsigned char* pixels = nullptr;
    HBITMAP section = MRender::CreateARGB32Bitmap(m_paintDC, width, height, &pixels);
    HDC memory = ::CreateCompatibleDC(m_paintDC);
    if (!section || !pixels || !memory) {
        if (section) ::DeleteObject(section);
        if (memory) ::DeleteDC(memory);
        return nullptr;
    }
    HGDIOBJ previous = ::SelectObject(memory, section);
    ComposeInto(memory, pixels, width, height, update);
    ::SelectObject(memory, previous);
    ::DeleteDC(memory);
    ::GdiFlush();
    if (bits) *bits = pixels;
    return section;
}

void PaintManager::ComposeInto(HDC memory, unsigned char* pixels, int width, int height, const CRect& update) {
    const int saved = ::SaveDC(memory);
    const CRect client(0, 0, width, height);
    CRect inside;
    inside.IntersectRect(update, client);
    if (m_layered) ClearLayeredPixels(pixels, width, height, inside);
    // A layered window is presented whole, so every control must be there.
    // Otherwise only what the paint needs is composed, and the DC's clip
    // keeps every control's copy and drawing inside it.
    const CRect clip = m_layered ? client : ComposeArea(update, client);
    bool covered = false;
    const size_t first = m_layered ? 0 : FirstShownMember(clip, covered);
    if (!m_layered) {
        if (HRGN region = ::CreateRectRgn(clip.left, clip.top, clip.right, clip.bottom)) {
            ::SelectClipRgn(memory, region);
            ::DeleteObject(region);
        }
    }
    if (!covered) {
        // The background is blended over what the frame holds: it must be
        // the black of a new frame, also in a frame kept from the last paint.
        if (!m_layered) ::PatBlt(memory, clip.left, clip.top, clip.Width(), clip.Height(), BLACKNESS);
        DrawBackground(memory, client, clip);
    }
    if (!clip.IsRectEmpty()) DrawControls(memory, clip, first);
    DrawCaret(memory, clip);
    ::GdiFlush();
    if (m_layered) FixLayeredAlpha(pixels, width, height, inside);
    DrawOverlay(memory);
    ::RestoreDC(memory, saved);
    ::GdiFlush();
}

// The frame of the last paint, kept at the client size: a new 32-bit frame
// for every paint costs its pages again (most of a small paint's time).
bool PaintManager::KeepFrame(int width, int height) {
    if (m_frame.dc && m_frame.size == CSize(width, height)) return true;
    m_frame.Release();
    unsigned char* bits = nullptr;
    m_frame.bitmap = MRender::CreateARGB32Bitmap(m_paintDC, width, height, &bits);
    m_frame.dc = m_frame.bitmap && bits ? ::CreateCompatibleDC(m_paintDC) : nullptr;
    if (!m_frame.dc) {
        m_frame.Release();
        return false;
    }
    m_frame.previous = ::SelectObject(m_frame.dc, m_frame.bitmap);
    m_frame.size = CSize(width, height);
    return true;
}

long long PaintManager::NowUs() {
    return std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// Only paints the message loop took from the queue are put off: a paint
// forced by UpdateWindow must be on the screen when that call returns.
bool PaintManager::DeferPaintIfEarly() {
    const bool queued = m_queuedPaint;
    m_queuedPaint = false;
    if (!queued || !m_paintPauseMs) return false;
    const long long early = static_cast<long long>(m_paintPauseMs) * 1000 - (NowUs() - m_lastPaintUs);
    if (early <= 0) return false;
    // Keep what is due and take it off the window, or the paint message
    // would come back at once; the timer gives it back.
    HRGN due = ::CreateRectRgn(0, 0, 0, 0);
    if (!due || ::GetUpdateRgn(m_paintWnd, due, FALSE) == ERROR) {
        if (due) ::DeleteObject(due);
        return false;
    }
    if (m_deferredPaint) {
        ::CombineRgn(m_deferredPaint, m_deferredPaint, due, RGN_OR);
        ::DeleteObject(due);
    } else {
        m_deferredPaint = due;
    }
    ::ValidateRgn(m_paintWnd, m_deferredPaint);
    const UINT wait = static_cast<UINT>((early + 999) / 1000);
    if (!::SetTimer(m_paintWnd, kPaintCapTimer, wait, nullptr)) {
        // Without a timer the paint cannot be brought back: paint now.
        ::InvalidateRgn(m_paintWnd, m_deferredPaint, FALSE);
        ::DeleteObject(m_deferredPaint);
        m_deferredPaint = nullptr;
        return false;
    }
    return true;
}

void PaintManager::OnPaintCapTimer() {
    ::KillTimer(m_paintWnd, kPaintCapTimer);
    if (!m_deferredPaint) return;
    if (IsWindowLive()) ::InvalidateRgn(m_paintWnd, m_deferredPaint, FALSE);
    ::DeleteObject(m_deferredPaint);
    m_deferredPaint = nullptr;
}

LRESULT PaintManager::Paint() {
    if (!IsWindowLive() || ::IsIconic(m_paintWnd)) return 0;
    if (!::GetUpdateRect(m_paintWnd, nullptr, FALSE)) return 0;
    if (DeferPaintIfEarly()) return 1;
    int width = 0, height = 0;
    GetClientSize(width, height);

    PAINTSTRUCT paint;
    HDC windowDC = ::BeginPaint(m_paintWnd, &paint);
    // What BeginPaint validated, not what GetUpdateRect said before it: the
    // worker's redraw requests invalidate at any moment, and an area added in
    // between would be validated without being composed, leaving a stale
    // gauge on screen until something else paints over it.
    const CRect update(paint.rcPaint);
    if (!m_layered && m_paintDC && width > 0 && height > 0 && KeepFrame(width, height)) {
        ComposeInto(m_frame.dc, nullptr, width, height, update);
        Present(windowDC, m_frame.dc, update, width, height);
    } else if (HBITMAP section = RenderFrame(update, nullptr)) {
        HDC memory = ::CreateCompatibleDC(windowDC);
        HGDIOBJ previous = ::SelectObject(memory, section);
        Present(windowDC, memory, update, width, height);
        ::SelectObject(memory, previous);
        ::DeleteDC(memory);
        ::DeleteObject(section);
    }
    ::EndPaint(m_paintWnd, &paint);
    m_lastPaintUs = NowUs();
    return 1;
}

// ---- caret ------------------------------------------------------------------------------------

void PaintManager::CreateCaret(HBITMAP bitmap, int width, int height) {
    if (!IsWindowLive()) return;
    ::CreateCaret(m_paintWnd, bitmap, width, height);
    m_caretRect.right = m_caretRect.left + width;
    m_caretRect.bottom = m_caretRect.top + height;
}

void PaintManager::SetCaretPos(MControlFont* object, int x, int y) {
    if (!IsWindowLive()) return;
    ::SetCaretPos(x, y);
    m_caretObject = object;
    const CRect old = m_caretRect;
    m_caretRect.MoveToXY(x, y);
    InvalidateRect(old, 0);
    InvalidateRect(m_caretRect, 0);
}

void PaintManager::ShowCaret(int show) {
    if (!IsWindowLive()) return;
    if (show) {
        ::SetTimer(m_paintWnd, kCaretTimer, ::GetCaretBlinkTime(), nullptr);
        ::ShowCaret(m_paintWnd);
        m_caretShown = 1;
        m_caretEnabled = 1;
    } else {
        ::KillTimer(m_paintWnd, kCaretTimer);
        ::HideCaret(m_paintWnd);
        m_caretShown = 0;
        m_caretEnabled = 0;
    }
    InvalidateRect(m_caretRect, 0);
}

void PaintManager::OnCaretTimer() {
    m_caretShown = m_caretShown ? 0 : 1;
    InvalidateRect(m_caretRect, 0);
}

void PaintManager::DrawCaret(HDC dc, const CRect& clip) {
    if (!m_caretEnabled || !m_caretObject) return;
    if (!m_caretObject->IsFocused() || ::GetFocus() != m_paintWnd) {
        // The text control or the window lost the focus: stop blinking.
        ::KillTimer(m_paintWnd, kCaretTimer);
        ::HideCaret(m_paintWnd);
        m_caretShown = 0;
        m_caretEnabled = 0;
        return;
    }
    if (!m_caretShown || !m_caretRect.Intersects(clip)) return;
    const ARGB colour = (m_caretObject->GetTextColor().GetValue() & 0xFFFFFF) | (kCaretAlpha << 24);
    MRender::DrawColor(dc, m_caretRect, colour);
}
