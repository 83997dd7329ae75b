// PaintManager: window messages, mouse, wheel and key routing to the
// top-level controls, Tab navigation, the tooltip relay and the drop target.
#include "PaintManager.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <mutex>

#include <commctrl.h>
#include <shellapi.h>

#include "MControl.h"
#include "MRender.h"

namespace {

using Lock = std::lock_guard<CriticalSection>;

constexpr DWORD kHoverTimeMs = 400;
constexpr UINT kReflectOffset = 0x2000;
constexpr int kWheelStep = WHEEL_DELTA;  // 120
constexpr int kDropMoveThreshold = 10;
// A dropped picture wider or taller than this is refused rather than allocated.
constexpr LONG kMaxDropSide = 16384;
constexpr UINT kSetImageMessage = 0x0172;  // STM_SETIMAGE
// Modifier codes handed to key routing.
constexpr unsigned kModifierShift = 16;
constexpr unsigned kModifierCtrl = 17;
constexpr unsigned kModifierAlt = 18;
const CPoint kNowhere(-1, -1);

CPoint PointOf(LPARAM lParam) {
    return CPoint(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)));
}

bool IsKeyHeld(int key) { return (::GetKeyState(key) & 0x8000) != 0; }

bool IsRelayedToTooltip(UINT msg) {
    switch (msg) {
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
    case WM_MOUSEWHEEL: return true;
    default: return false;
    }
}

}  // namespace

// ---- the message handler ---------------------------------------------------------------------

LRESULT PaintManager::OnWindowMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    // Shown, hidden, minimised and restored all end in a position change.
    if (msg == WM_WINDOWPOSCHANGED) RequestAnimationTimerUpdate();
    ++m_dispatchDepth;
    const LRESULT result = HandleMessage(msg, wParam, lParam);
    // Every lock of the routing is let go once the outermost message is done.
    if (--m_dispatchDepth == 0) EmptyGraveyard();
    return result;
}

LRESULT PaintManager::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    // Top-level controls see every message first; one that takes it leaves
    // the rest to the default procedure.
    for (MControl* control : CopyUnderLock(m_controls, m_controlLock)) {
        if (control->OnWindowMessage(msg, wParam, lParam)) return 0;
    }
    const unsigned flags = static_cast<unsigned>(wParam);
    switch (msg) {
    case WM_PAINT: return Paint();
    case WM_GETMINMAXINFO: OnGetMinMaxInfo(reinterpret_cast<MINMAXINFO*>(lParam)); return 1;
    case WM_TIMER: OnTimerMessage(static_cast<unsigned>(wParam)); return 0;
    case WM_CREATE:
    case WM_DESTROY:
    case WM_SIZE:
    case WM_CHAR:
    case WM_MOUSEHOVER: return 1;
    case WM_SETCURSOR:
        return reinterpret_cast<HWND>(wParam) == m_paintWnd && LOWORD(lParam) == HTCLIENT ? OnSetCursorMessage() : 0;
    case WM_NCDESTROY: DestroyData(); return 1;
    case WM_NCACTIVATE: OnActivate(static_cast<int>(wParam)); return 0;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN: OnKeyDownMessage(static_cast<unsigned>(wParam)); return 1;
    case WM_KEYUP:
    case WM_SYSKEYUP: return 0;
    case WM_COMMAND:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
        // Native child windows answer their own commands and colours.
        if (!lParam) return 0;
        return ::SendMessageW(reinterpret_cast<HWND>(lParam), msg + kReflectOffset, wParam, lParam);
    case WM_MOUSEMOVE: OnMouseMoveMessage(flags, PointOf(lParam)); return 1;
    case WM_MOUSELEAVE: OnMouseLeaveMessage(); return 1;
    case WM_LBUTTONDOWN: OnButtonDown(true, flags, PointOf(lParam)); return 1;
    case WM_LBUTTONUP: OnButtonUp(true, flags, PointOf(lParam)); return 1;
    case WM_LBUTTONDBLCLK: OnButtonDblClk(true, flags, PointOf(lParam)); return 1;
    case WM_RBUTTONDOWN: OnButtonDown(false, flags, PointOf(lParam)); return 1;
    case WM_RBUTTONUP: OnButtonUp(false, flags, PointOf(lParam)); return 1;
    case WM_RBUTTONDBLCLK: OnButtonDblClk(false, flags, PointOf(lParam)); return 1;
    case WM_MOUSEWHEEL:
        OnWheel(GET_KEYSTATE_WPARAM(wParam), GET_WHEEL_DELTA_WPARAM(wParam), PointOf(lParam));
        return 1;
    default: return 0;
    }
}

// ---- mouse -------------------------------------------------------------------------------------

bool PaintManager::HoverAccepts(unsigned flags, CPoint point) const {
    MControl* hover = m_hoverControl;
    return hover && hover->PtInRect(point) && hover->OnCheckMouseResponse(flags, point);
}

void PaintManager::OnMouseMoveMessage(unsigned flags, CPoint point) {
    if (!m_tracking && IsWindowLive()) {
        TRACKMOUSEEVENT track = {sizeof(track), TME_HOVER | TME_LEAVE, m_paintWnd, kHoverTimeMs};
        m_tracking = ::TrackMouseEvent(&track) ? 1 : 0;
    }
    if (m_dragArmed && (flags & MK_LBUTTON)) StartControlDrag(point);
    m_lastMovePoint = point;

    if (m_hoverControl) {
        if (HoverAccepts(flags, point) && m_tracking) {
            m_hoverControl->OnMouseMove(flags, point);
            return;
        }
        ClearTooltip();
    }
    if (m_leftPressOnControl && m_hoverControl) {
        // The pressed control keeps the mouse stream until the release,
        // wherever the pointer goes.
        m_hoverControl->OnMouseMove(flags, point);
        return;
    }
    if (!m_tracking) {
        m_hoverControl = nullptr;
        return;
    }
    MControl* hover = nullptr;
    for (MControl* control : CopyUnderLock(m_controls, m_controlLock)) {
        control->OnMouseMove(flags, point);
        if (control->PtInRect(point) && control->GetRresponse()) hover = control;
    }
    m_hoverControl = hover;
}

int PaintManager::OnSetCursorMessage() {
    // The class has no cursor, so without an answer here the pointer would
    // keep whatever shape it had when it came in (a sizing arrow, a text beam).
    POINT point = {};
    ::GetCursorPos(&point);
    ::ScreenToClient(m_paintWnd, &point);
    HCURSOR cursor = nullptr;
    for (MControl* control = m_hoverControl; control; control = control->GetHotChild()) {
        if (control->GetCursor() && control->PtInRect(point)) cursor = control->GetCursor();
    }
    ::SetCursor(cursor ? cursor : ::LoadCursorW(nullptr, IDC_ARROW));
    return 1;
}

void PaintManager::OnMouseLeaveMessage() {
    ClearTooltip();
    m_tracking = 0;
    if (m_leftPressOnControl) return;
    if (MControl* hover = m_hoverControl) hover->OnMouseMove(0, kNowhere);
    m_hoverControl = nullptr;
    m_leftPressOnControl = 0;
}

void PaintManager::OnButtonDown(bool left, unsigned flags, CPoint point) {
    if (m_focusControl && m_focusControl != m_hoverControl) {
        MControl* previous = m_focusControl;
        m_focusControl = nullptr;
        previous->SetControlFocus(0);
    }
    if (left) ::GetCursorPos(&m_pressPoint);

    MControl* hover = m_hoverControl;
    if (hover && hover->IsVisible() && hover->GetRresponse() && HoverAccepts(flags, point)) {
        if (left && hover->IsDragDrop() && hover->IsEnabled()) {
            if (m_dropBitmap) ::DeleteObject(m_dropBitmap);
            m_dropBitmap = hover->GetDropBitmap();
            m_dragArmed = m_dropBitmap ? 1 : 0;
        }
        if (left) m_leftPressOnControl = 1;
        m_focusControl = hover;
        const int handled = left ? hover->OnLButtonDown(flags, point) : hover->OnRButtonDown(flags, point);
        // Capture so that the release reaches the control even outside the window.
        if (!m_captured && m_hoverControl && HoverAccepts(flags, point)) {
            SetCapture();
            m_captured = 1;
            return;
        }
        if (handled) return;
    }
    if (!left || !m_windowDrag || !IsWindowLive()) return;
    // Empty space: let the system move the window with the pointer.
    ReleaseCapture();
    POINT screen = point;
    ::ClientToScreen(m_paintWnd, &screen);
    ::SendMessageW(m_paintWnd, WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM(screen.x, screen.y));
}

void PaintManager::OnButtonUp(bool left, unsigned flags, CPoint point) {
    if (m_captured) {
        m_captured = 0;
        ReleaseCapture();
    }
    if (left) {
        m_leftPressOnControl = 0;
        // A press that never became a drag lets go of its image.
        m_dragArmed = 0;
        if (m_dropBitmap) ::DeleteObject(m_dropBitmap);
        m_dropBitmap = nullptr;
    }
    MControl* hover = m_hoverControl;
    if (!hover) return;
    if (!hover->IsVisible() || !hover->GetRresponse()) {
        m_hoverControl = nullptr;
        return;
    }
    const CRect rect = hover->GetRect();
    if (left) hover->OnLButtonUp(flags, point);
    else hover->OnRButtonUp(flags, point);
    if (!rect.PtInRect(point)) m_hoverControl = nullptr;
}

void PaintManager::OnButtonDblClk(bool left, unsigned flags, CPoint point) {
    MControl* hover = m_hoverControl;
    if (!hover || !hover->IsVisible() || !hover->GetRresponse()) return;
    if (left) hover->OnLButtonDblClk(flags, point);
    else hover->OnRButtonDblClk(flags, point);
    if (m_hoverControl && !m_hoverControl->GetRect().PtInRect(point)) m_hoverControl = nullptr;
}

int PaintManager::OnWheel(unsigned, int delta, CPoint screenPoint) {
    CPoint point = screenPoint;
    if (IsWindowLive()) ::ScreenToClient(m_paintWnd, &point);
    const int steps = delta / kWheelStep;
    const unsigned direction = steps <= 0 ? 1 : 0;
    int accepted = 0;
    for (int i = 0; i < (steps < 0 ? -steps : steps); ++i) {
        if (m_hoverControl && m_hoverControl->OnScroll(1, direction, point)) {
            accepted = 1;
            continue;
        }
        for (MControl* control : CopyUnderLock(m_controls, m_controlLock)) {
            if (control->OnScroll(1, direction, point)) {
                accepted = 1;
                break;
            }
        }
    }
    return accepted;
}

void PaintManager::OnActivate(int active) {
    m_active = active ? 1 : 0;
    if (!active) {
        m_tracking = 0;
        m_captured = 0;
        if (MControl* hover = m_hoverControl) {
            if (m_leftPressOnControl) hover->OnLButtonUp(0, kNowhere);
            else hover->OnMouseMove(0, kNowhere);
        }
        m_leftPressOnControl = 0;
        m_hoverControl = nullptr;
    }
    Invalidate();
}

// ---- keys --------------------------------------------------------------------------------------

unsigned PaintManager::ModifierCode() {
    const unsigned base = IsKeyHeld(VK_MENU) ? kModifierAlt : IsKeyHeld(VK_SHIFT) ? kModifierShift : 0;
    return base | (IsKeyHeld(VK_CONTROL) ? kModifierCtrl : 0);
}

void PaintManager::OnKeyDownMessage(unsigned key) {
    const unsigned modifiers = ModifierCode();
    // The control under the pointer hears the key before the focused one.
    if (m_hoverControl && m_hoverControl->OnKeyDown(key, 1, modifiers)) return;
    for (MControl* control : CopyUnderLock(m_controls, m_controlLock)) {
        if (control->OnKeyDown(key, 1, modifiers)) return;
    }
}

MControl* PaintManager::ScanFocusable(bool forwards) {
    Lock lock(m_controlLock);
    const size_t count = m_controls.size();
    auto at = [&](size_t i) { return m_controls[forwards ? i : count - 1 - i]; };
    auto focusable = [](MControl* c) { return c->IsVisible() && c->IsEnabled() && c->IsTabStop(); };
    bool seen = false;
    for (size_t i = 0; i < count; ++i) {
        MControl* control = at(i);
        if (seen && focusable(control)) return control;
        if (control == m_focusControl) seen = true;
    }
    if (!seen && m_focusControl) return nullptr;
    for (size_t i = 0; i < count; ++i) {
        if (focusable(at(i))) return at(i);
    }
    return nullptr;
}

MControl* PaintManager::GetNextFocusableControl() { return ScanFocusable(true); }
MControl* PaintManager::GetPrevFocusableControl() { return ScanFocusable(false); }

int PaintManager::PreTranslateMessage(MSG* message) {
    if (!message || !IsWindowLive()) return 0;
    if (message->message == WM_PAINT && message->hwnd == m_paintWnd) m_queuedPaint = true;
    if (m_tooltipWnd && ::IsWindow(m_tooltipWnd) && IsRelayedToTooltip(message->message))
        ::SendMessageW(m_tooltipWnd, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(message));

    const bool keyDown = message->message == WM_KEYDOWN || message->message == WM_SYSKEYDOWN;
    if (!keyDown || message->wParam != VK_TAB) return 0;
    // Only Tab pressed in this dialog moves its focus.
    if (message->hwnd != m_paintWnd && !::IsChild(m_paintWnd, message->hwnd)) return 0;
    const unsigned modifiers = ModifierCode();
    MControl* next = modifiers == 0 ? GetNextFocusableControl()
                     : modifiers == kModifierShift ? GetPrevFocusableControl()
                                                   : nullptr;
    if (!next || next == m_focusControl) return 0;
    SetFocusControl(next);
    return 1;
}

// ---- balloon ------------------------------------------------------------------------------------

int PaintManager::SetAirBladderMsg(const wchar_t* text, POINT screenPoint, AIRBLADDER_TYPE type,
                                   AIRBLADDER_MODE mode) {
    if (!m_balloon) {
        if (!IsWindowLive()) return 0;
        m_balloon = std::make_unique<MAirBladder>();
        m_balloon->Create(m_paintWnd);
    }
    return m_balloon->SetMessage(text, screenPoint, type, mode);
}

int PaintManager::ShowAirBladder(int show, int mode) {
    if (!m_balloon) return 0;
    if (mode) {
        if (!show && mode != m_balloonMode) return 0;
        if (show) m_balloonMode = mode;
    }
    m_balloon->ShowWindow(show ? SW_SHOWNOACTIVATE : SW_HIDE);
    return 1;
}

// ---- drag and drop -------------------------------------------------------------------------------

int PaintManager::InitDragDrop() {
    if (!IsWindowLive()) return 0;
    static const FORMATETC kFormats[] = {
        {CF_BITMAP, nullptr, DVASPECT_CONTENT, -1, TYMED_GDI},
        {CF_DIB, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL},
        {CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL},
        {CF_ENHMETAFILE, nullptr, DVASPECT_CONTENT, -1, TYMED_ENHMF},
    };
    if (m_dropTargetRegistered) return 1;
    // Needs OLE on this thread; a program without it simply accepts no drops.
    if (FAILED(::RegisterDragDrop(m_paintWnd, this))) return 0;
    for (const FORMATETC& format : kFormats) AddSuportedFormat(format);
    m_dropTargetRegistered = true;
    return 1;
}

HBITMAP PaintManager::GetDropBitmap(MControl* control, const CRect& part, unsigned long colour) {
    if (!control || !IsWindowLive()) return nullptr;
    const CRect rect = control->GetRect();
    HDC screen = ::GetDC(m_paintWnd);
    HDC canvas = ::CreateCompatibleDC(screen);
    HBITMAP drawn = ::CreateCompatibleBitmap(screen, rect.right, rect.bottom);
    HGDIOBJ previous = ::SelectObject(canvas, drawn);
    MRender::FillSolidRect(canvas, &rect, static_cast<COLORREF>(colour));
    control->SetUpdate(0, colour);
    control->Draw(canvas, rect);
    HDC target = ::CreateCompatibleDC(screen);
    unsigned char* bits = nullptr;
    HBITMAP result = MRender::CreateARGB32Bitmap(screen, part.Width(), part.Height(), &bits);
    HGDIOBJ previousTarget = ::SelectObject(target, result);
    ::BitBlt(target, 0, 0, part.Width(), part.Height(), canvas, rect.left + part.left, rect.top + part.top, SRCCOPY);
    ::SelectObject(target, previousTarget);
    ::DeleteDC(target);
    ::SelectObject(canvas, previous);
    ::DeleteObject(drawn);
    ::DeleteDC(canvas);
    ::ReleaseDC(m_paintWnd, screen);
    // The control's surface was made for the drag image; paint it afresh.
    control->SetUpdate(0, colour);
    return result;
}

void PaintManager::OnDragOver(POINTL point) {
    HWND target = GetTargetWnd();
    if (target && ::IsWindow(target))
        ::PostMessageW(target, kDragOverMessage, 0, static_cast<LPARAM>((point.y & 0xFFFF) << 16 | (point.x & 0xFFFF)));
}

namespace {

// Where the pixels of a packed DIB of size bytes start, or 0 when its header
// does not fit the block: a header too short or too long, a colour table or
// pixel rows that run past the end, sizes that are zero, negative or absurd.
size_t DibPixelOffset(const BYTE* block, size_t size) {
    if (size < sizeof(BITMAPINFOHEADER)) return 0;
    BITMAPINFOHEADER header;
    memcpy(&header, block, sizeof(header));
    if (header.biSize < sizeof(BITMAPINFOHEADER) || header.biSize > size) return 0;
    if (header.biWidth <= 0 || header.biHeight == 0 || header.biPlanes != 1) return 0;
    if (header.biWidth > kMaxDropSide || header.biHeight > kMaxDropSide || header.biHeight < -kMaxDropSide) return 0;
    const uint64_t rows = header.biHeight < 0 ? -static_cast<int64_t>(header.biHeight) : header.biHeight;
    uint64_t colours = 0;
    switch (header.biBitCount) {
    case 1:
    case 4:
    case 8: colours = header.biClrUsed ? header.biClrUsed : (1u << header.biBitCount); break;
    case 16:
    case 24:
    case 32: colours = header.biClrUsed; break;
    default: return 0;
    }
    if (colours > 256) return 0;
    // Masks follow a plain info header; the larger headers carry them inside.
    const uint64_t masks = header.biCompression == BI_BITFIELDS && header.biSize == sizeof(BITMAPINFOHEADER) ? 3 : 0;
    const uint64_t offset = header.biSize + (colours + masks) * sizeof(RGBQUAD);
    uint64_t pixels = 0;
    if (header.biCompression == BI_RGB || header.biCompression == BI_BITFIELDS) {
        const uint64_t stride = ((static_cast<uint64_t>(header.biWidth) * header.biBitCount + 31) / 32) * 4;
        pixels = stride * rows;
    } else if (header.biCompression == BI_RLE8 || header.biCompression == BI_RLE4) {
        if (header.biHeight < 0 || header.biSizeImage == 0) return 0;
        pixels = header.biSizeImage;
    } else {
        return 0;
    }
    if (offset + pixels > size) return 0;
    return static_cast<size_t>(offset);
}

HBITMAP BitmapFromDib(HGLOBAL memory) {
    const SIZE_T size = memory ? ::GlobalSize(memory) : 0;
    auto* block = static_cast<const BYTE*>(memory ? ::GlobalLock(memory) : nullptr);
    if (!block) return nullptr;
    HBITMAP bitmap = nullptr;
    // The block comes from another process: nothing in its header is believed
    // until it is checked against the block's real size.
    const size_t offset = DibPixelOffset(block, size);
    if (offset) {
        const auto* info = reinterpret_cast<const BITMAPINFO*>(block);
        HDC screen = ::GetDC(nullptr);
        bitmap = ::CreateDIBitmap(screen, &info->bmiHeader, CBM_INIT, block + offset, info, DIB_RGB_COLORS);
        ::ReleaseDC(nullptr, screen);
    }
    ::GlobalUnlock(memory);
    return bitmap;
}

HBITMAP BitmapFromFirstFile(HGLOBAL memory) {
    auto* drop = static_cast<HDROP>(memory);
    wchar_t path[MAX_PATH] = {};
    if (!::DragQueryFileW(drop, 0, path, MAX_PATH)) return nullptr;
    return static_cast<HBITMAP>(::LoadImageW(nullptr, path, IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE));
}

HBITMAP BitmapFromMetafile(HENHMETAFILE metafile) {
    const int width = ::GetSystemMetrics(SM_CXSCREEN);
    const int height = ::GetSystemMetrics(SM_CYSCREEN);
    HDC screen = ::GetDC(nullptr);
    HDC canvas = ::CreateCompatibleDC(screen);
    HBITMAP bitmap = ::CreateCompatibleBitmap(screen, width, height);
    HGDIOBJ previous = ::SelectObject(canvas, bitmap);
    const RECT all = {0, 0, width, height};
    ::PlayEnhMetaFile(canvas, metafile, &all);
    ::SelectObject(canvas, previous);
    ::DeleteDC(canvas);
    ::ReleaseDC(nullptr, screen);
    return bitmap;
}

// Hands bitmap to window as its image and deletes what the window gives back.
void SendImage(HWND window, HBITMAP bitmap) {
    if (!bitmap || !window) return;
    auto old = reinterpret_cast<HBITMAP>(::SendMessageW(window, kSetImageMessage, IMAGE_BITMAP,
                                                        reinterpret_cast<LPARAM>(bitmap)));
    if (old && old != bitmap) ::DeleteObject(old);
}

// The same for a bitmap the drop made: it is lent for the message only (a
// receiver that keeps the picture copies it) and deleted afterwards.
void SendMadeImage(HWND window, HBITMAP bitmap) {
    if (!bitmap) return;
    SendImage(window, bitmap);
    ::DeleteObject(bitmap);
}

}  // namespace

bool PaintManager::OnDrop(FORMATETC* format, STGMEDIUM& medium, DWORD*) {
    if (!format) return false;
    HWND target = GetTargetWnd();
    if (target && ::IsWindow(target)) {
        ::SendMessageW(target, WM_LBUTTONUP, 0, MAKELPARAM(m_lastMovePoint.x, m_lastMovePoint.y));
        POINT cursor;
        ::GetCursorPos(&cursor);
        if (std::abs(cursor.x - m_pressPoint.x) > kDropMoveThreshold ||
            std::abs(cursor.y - m_pressPoint.y) > kDropMoveThreshold)
            ::PostMessageW(target, kDropMovedMessage, 0, 0);
    }
    switch (format->cfFormat) {
    case CF_DIB: SendMadeImage(m_paintWnd, BitmapFromDib(medium.hGlobal)); return true;
    case CF_BITMAP: SendImage(target, medium.hBitmap); return true;
    case CF_HDROP: SendMadeImage(m_paintWnd, BitmapFromFirstFile(medium.hGlobal)); return true;
    case CF_ENHMETAFILE: SendMadeImage(m_paintWnd, BitmapFromMetafile(medium.hEnhMetaFile)); return true;
    default: return false;
    }
}
