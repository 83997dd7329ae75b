#include "MPopupWnd.h"

#include "MControl.h"

namespace {

// Off: the caption and the sizing frame (the popup has no non-client look
// of its own); on: clip children and siblings, and the low bit 0x8 the
// framework's window classes always carry.
constexpr DWORD kStyleKeep = 0xFF3BFFFF;
constexpr DWORD kStyleAdd = 0x06000008;
constexpr DWORD kToolWindow = WS_EX_TOOLWINDOW;
constexpr UINT kReframeFlags = SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED |
                               SWP_NOSENDCHANGING;
// Behind the controls where the popup has no background image; also the
// border colour, so that the popup draws no frame of its own.
constexpr COLORREF kPlainBackground = RGB(0x26, 0x26, 0x26);
constexpr unsigned kAreaKind = 0;
constexpr unsigned kControlKind = 1;

}  // namespace

MPopupWnd::MPopupWnd() { m_paintManager.SetBackColor(kPlainBackground, kPlainBackground); }

MPopupWnd::~MPopupWnd() {
    // The window must not call back into a half-destroyed object.
    if (IsLive()) ::DestroyWindow(m_hWnd);
}

const wchar_t* MPopupWnd::GetClassNameW() const { return nullptr; }

int MPopupWnd::OnInitDialog() {
    if (!IsLive()) return 0;
    m_paintManager.Init(m_hWnd, this);
    m_paintManager.EnableWndDrag(0);
    // Initialising the manager picks the library's scroll bars; a choice
    // made before the window existed wins.
    if (m_scrollVertical || m_scrollHorizontal) m_paintManager.SetScrollResID(m_scrollVertical, m_scrollHorizontal);
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

int MPopupWnd::OnDestroy() { return 0; }

void MPopupWnd::OnDestroyMessage(HWND) {
    // The controls outlive the window (the owner may still read them); only
    // what the window itself needed goes now.
    m_paintManager.ReleaseWindow();
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

MControl* MPopupWnd::CreateControl(const wchar_t* className, unsigned id, CRect rect, const wchar_t* title,
                                   int visible, int enabled) {
    return m_paintManager.CreateControl(kControlKind, this, className, id, rect, title, visible, enabled);
}

MControl* MPopupWnd::CreateArea(const wchar_t* className, unsigned id, CRect rect, const wchar_t* title, int visible,
                                int enabled) {
    return m_paintManager.CreateControl(kAreaKind, this, className, id, rect, title, visible, enabled);
}

void MPopupWnd::SetScrollResID(unsigned vertical, unsigned horizontal) {
    m_scrollVertical = vertical;
    m_scrollHorizontal = horizontal;
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
    if (const LRESULT handled = m_paintManager.OnWindowMessage(msg, wParam, lParam)) return handled;
    return ::CallWindowProcW(m_prevWndProc, m_hWnd, msg, wParam, lParam);
}
