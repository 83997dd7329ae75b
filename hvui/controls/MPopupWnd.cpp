#include "MPopupWnd.h"

#include <windowsx.h>

#include "MControl.h"
#include "MRender.h"
#include "Manager.h"
#include "MemorySurface.h"

using namespace Gdiplus;

namespace {

const wchar_t kPopupClassName[] = L"MPopupWnd";
// Off: the caption and the sizing frame (the popup has no non-client look
// of its own); on: clip children and siblings, and the low bit 0x8 the
// framework's window classes always carry.
constexpr DWORD kStyleKeep = 0xFF3BFFFF;
constexpr DWORD kStyleAdd = 0x06000008;
constexpr DWORD kToolWindow = WS_EX_TOOLWINDOW;
constexpr UINT kReframeFlags = SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED |
                               SWP_NOSENDCHANGING;
constexpr COLORREF kPlainBackground = RGB(0x26, 0x26, 0x26);
constexpr int kWheelNotch = WHEEL_DELTA;
// The direction code of a wheel turn toward the end of a list.
constexpr unsigned kTowardEnd = 1;
constexpr int kWheelKind = 1;

}  // namespace

// Who holds the mouse between a press and its release.
struct MPopupWnd::Routing {
    MControl* pressed = nullptr;
};

MPopupWnd::MPopupWnd() : m_routing(std::make_unique<Routing>()) {}

MPopupWnd::~MPopupWnd() {
    // The window must not call back into a half-destroyed object.
    if (IsLive()) ::DestroyWindow(m_hWnd);
}

const wchar_t* MPopupWnd::GetWindowClassName() const { return kPopupClassName; }
const wchar_t* MPopupWnd::GetClassNameW() const { return nullptr; }

int MPopupWnd::OnInitDialog() {
    if (!IsLive()) return 0;
    m_paintManager.Init(m_hWnd, this);
    CRect client;
    GetClientRect(&client);
    InitUI(client);
    return 1;
}

void MPopupWnd::InitUI(CRect) {}
void MPopupWnd::UISize(CRect) {}
LRESULT MPopupWnd::OnMessage(unsigned, unsigned, WPARAM, LPARAM) { return 0; }

LRESULT MPopupWnd::OnUserCloseWindow(WPARAM wParam, LPARAM lParam) {
    PostMessageW(WM_CLOSE, wParam, lParam);
    return 1;
}

void MPopupWnd::CloseWindow() { PostMessageW(WM_CLOSE, 0, 0); }

int MPopupWnd::OnCreate(CREATESTRUCTW*) {
    const LONG_PTR style = ::GetWindowLongPtrW(m_hWnd, GWL_STYLE);
    ::SetWindowLongPtrW(m_hWnd, GWL_STYLE, (style & kStyleKeep) | kStyleAdd);
    ::SetWindowLongPtrW(m_hWnd, GWL_EXSTYLE, kToolWindow);
    return 1;
}

int MPopupWnd::OnSize(unsigned, int, int) {
    CRect client;
    GetClientRect(&client);
    UISize(client);
    ::InvalidateRect(m_hWnd, nullptr, FALSE);
    return 0;
}

int MPopupWnd::OnNcActivate(int active) {
    // A click anywhere else ends the popup.
    if (!active) CloseWindow();
    return 1;
}

int MPopupWnd::OnWindowPosChanged(WINDOWPOS*) {
    // The style change of OnCreate takes effect with a frame change, which
    // itself reports a position change: do it once.
    if (m_reframing) return 1;
    m_reframing = true;
    ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0, kReframeFlags);
    m_reframing = false;
    return 1;
}

int MPopupWnd::OnClose() { return 1; }

int MPopupWnd::OnDestroy() {
    if (m_routing) m_routing->pressed = nullptr;
    return 0;
}

LRESULT MPopupWnd::OnBaseMessage(unsigned id, unsigned code, WPARAM wParam, LPARAM lParam) {
    return OnMessage(id, code, wParam, lParam);
}

LRESULT MPopupWnd::OnControlUpdate(CRect rect, int updateCode, MControl* control) {
    return m_paintManager.OnControlUpdate(rect, updateCode, control);
}

int MPopupWnd::SendMessageToParent(unsigned code, WPARAM wParam, LPARAM lParam) {
    auto* parent = dynamic_cast<MControl*>(m_parent);
    if (!parent) return 0;
    return static_cast<int>(parent->OnMessage(0, code, wParam, lParam));
}

MControl* MPopupWnd::AddControl(unsigned kind, MControl* control) {
    if (!control) return nullptr;
    control->SetParent(this);
    control->SetManager(&m_paintManager);
    if (!m_paintManager.AppendChild(kind, control)) {
        delete control;
        return nullptr;
    }
    return control;
}

int MPopupWnd::LoadBKImage(CString name) {
    m_backImage.reset(MRender::LoadImageFromFile(Manager::GetSkinFile(name)));
    m_paintManager.Invalidate();
    return m_backImage ? 1 : 0;
}

int MPopupWnd::LoadBKImage(unsigned resourceId, CString type) {
    m_backImage.reset(MRender::LoadImageFromIDResource(resourceId, type, Manager::GetInstance()));
    m_paintManager.Invalidate();
    return m_backImage ? 1 : 0;
}

void MPopupWnd::SetBackMode(int mode, int param) {
    m_backMode = mode;
    m_backParam = param;
}

void MPopupWnd::SetScrollResID(unsigned vertical, unsigned horizontal) {
    m_paintManager.SetScrollResID(vertical, horizontal);
}

void MPopupWnd::SetupBackTranslucent(COLORREF colourKey, int alpha) {
    m_colorKey = colourKey;
    m_alpha = alpha;
    if (!IsLive()) return;
    ModifyExStyle(0, WS_EX_LAYERED, 0);
    ::SetLayeredWindowAttributes(m_hWnd, colourKey, static_cast<BYTE>(alpha), LWA_COLORKEY | LWA_ALPHA);
}

// ---- dispatch -------------------------------------------------------------------------

LRESULT MPopupWnd::OnWindowMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_ERASEBKGND: return 1;
    case kUserCloseMessage: return OnUserCloseWindow(wParam, lParam);
    case WM_CREATE: OnCreate(reinterpret_cast<CREATESTRUCTW*>(lParam)); break;
    case WM_SIZE: OnSize(static_cast<unsigned>(wParam), LOWORD(lParam), HIWORD(lParam)); break;
    case WM_NCACTIVATE: OnNcActivate(static_cast<int>(wParam)); break;
    case WM_WINDOWPOSCHANGED: OnWindowPosChanged(reinterpret_cast<WINDOWPOS*>(lParam)); break;
    case WM_CLOSE: OnClose(); break;
    case WM_DESTROY: OnDestroy(); break;
    default: break;
    }
    LRESULT result = 0;
    if (RouteToPaintManager(msg, wParam, lParam, result)) return result;
    return ::CallWindowProcW(m_prevWndProc, m_hWnd, msg, wParam, lParam);
}

bool MPopupWnd::RouteToPaintManager(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    // TODO: hand every message to the paint manager's message handling once
    // it exists, and drop this.
    const auto flags = static_cast<unsigned>(wParam);
    const CPoint point(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
    const std::vector<MControl*>& controls = m_paintManager.GetControls();
    result = 0;
    switch (msg) {
    case WM_PAINT: {
        PAINTSTRUCT paint;
        HDC target = ::BeginPaint(m_hWnd, &paint);
        RECT client;
        ::GetClientRect(m_hWnd, &client);
        if (target) PaintContent(target, client);
        ::EndPaint(m_hWnd, &paint);
        return true;
    }
    case WM_MOUSEMOVE:
        if (m_routing->pressed) m_routing->pressed->OnMouseMove(flags, point);
        else
            for (MControl* control : controls) control->OnMouseMove(flags, point);
        return true;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        m_routing->pressed = nullptr;
        for (MControl* control : controls)
            if (control->PtInRect(point) && control->IsEnabled()) m_routing->pressed = control;
        if (m_routing->pressed) {
            ::SetCapture(m_hWnd);
            m_routing->pressed->OnLButtonDown(flags, point);
        }
        return true;
    case WM_LBUTTONUP:
        if (MControl* pressed = m_routing->pressed) {
            m_routing->pressed = nullptr;
            if (::GetCapture() == m_hWnd) ::ReleaseCapture();
            pressed->OnLButtonUp(flags, point);
        }
        return true;
    case WM_MOUSEWHEEL: {
        POINT at = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        ::ScreenToClient(m_hWnd, &at);
        const int notches = GET_WHEEL_DELTA_WPARAM(wParam) / kWheelNotch;
        const unsigned direction = notches <= 0 ? kTowardEnd : 0;
        for (int i = 0; i < (notches < 0 ? -notches : notches); ++i)
            for (MControl* control : controls)
                if (control->OnScroll(kWheelKind, direction, CPoint(at.x, at.y))) break;
        return true;
    }
    default:
        return false;
    }
}

void MPopupWnd::PaintBackground(HDC surface, const RECT& client) {
    MRender::FillSolidRect(surface, &client, kPlainBackground);
    if (!m_backImage) return;
    Graphics graphics(surface);
    graphics.SetPageUnit(UnitPixel);
    const int w = static_cast<int>(m_backImage->GetWidth());
    const int h = static_cast<int>(m_backImage->GetHeight());
    if (m_backMode == 1) MRender::DrawImageFrame(graphics, m_backImage.get(), CRect(client), 0, 0, w, h, m_backParam);
    else graphics.DrawImage(m_backImage.get(), Rect(0, 0, client.right, client.bottom), 0, 0, w, h, UnitPixel);
}

void MPopupWnd::PaintContent(HDC target, const RECT& client) {
    MemorySurface surface;
    if (!surface.Create(target, client.right, client.bottom)) return;
    HDC dc = surface.GetDC();
    PaintBackground(dc, client);
    const CRect clip(client);
    for (MControl* area : m_paintManager.GetAreas()) area->Draw(dc, clip);
    for (MControl* control : m_paintManager.GetControls()) control->Draw(dc, clip);
    ::BitBlt(target, 0, 0, client.right, client.bottom, dc, 0, 0, SRCCOPY);
}
