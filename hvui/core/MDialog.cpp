#include "MDialog.h"

#include "MControl.h"

namespace {

const wchar_t kClassName[] = L"MDialog";
// OnCreate: caption bits off; clip siblings and children and bit 3 on.
constexpr DWORD kStyleKeep = 0xFF3FFFFF;
constexpr DWORD kStyleAdd = 0x06000008;
constexpr DWORD kSizingFrame = 0x00040000;
constexpr int kEdge = 5;
constexpr int kMessageWidth = 200;
constexpr int kMessageTop = 60;
constexpr int kMessageBottom = 2;

CPoint PointOf(LPARAM lParam) {
    return CPoint(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)));
}

}  // namespace

MDialog::MDialog() = default;
MDialog::~MDialog() = default;

// ---- message dispatch -------------------------------------------------------------------------

// The dialog's own handler for msg; done = the answer is final and neither
// the paint manager nor the default procedure sees the message.
LRESULT MDialog::Dispatch(UINT msg, WPARAM wParam, LPARAM lParam, bool& done) {
    done = false;
    const unsigned flags = static_cast<unsigned>(wParam);
    switch (msg) {
    case WM_CREATE: OnCreate(reinterpret_cast<CREATESTRUCTW*>(lParam)); break;
    case WM_DESTROY: OnDestroy(); break;
    case WM_SIZE: OnSize(flags, static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))); break;
    case WM_PAINT: OnPaint(); break;
    case WM_CLOSE: OnClose(); break;
    case WM_ERASEBKGND: done = true; return 1;
    case WM_WINDOWPOSCHANGING: OnWindowPosChanging(reinterpret_cast<WINDOWPOS*>(lParam)); break;
    case WM_WINDOWPOSCHANGED: OnWindowPosChanged(reinterpret_cast<WINDOWPOS*>(lParam)); break;
    case WM_NCCALCSIZE:
        // The whole window is client area.
        if (wParam) {
            done = true;
            return 0;
        }
        break;
    case WM_NCHITTEST: OnNcHitTest(PointOf(lParam)); break;
    case WM_NCPAINT: done = true; return 0;
    case WM_NCACTIVATE:
        if (!IsIconic()) {
            // No frame to repaint, and the controls see no deactivation.
            done = true;
            ::DefWindowProcW(m_hWnd, msg, wParam, -1);
            return 1;
        }
        OnNcActivate(static_cast<int>(wParam));
        break;
    case WM_GETMINMAXINFO: OnGetMinMaxInfo(reinterpret_cast<MINMAXINFO*>(lParam)); break;
    case WM_TIMER: OnTimer(flags); break;
    case WM_MOUSEMOVE: OnMouseMove(flags, PointOf(lParam)); break;
    case WM_LBUTTONDOWN: OnLButtonDown(flags, PointOf(lParam)); break;
    case WM_LBUTTONUP: OnLButtonUp(flags, PointOf(lParam)); break;
    case WM_LBUTTONDBLCLK: OnLButtonDblClk(flags, PointOf(lParam)); break;
    case WM_RBUTTONDOWN: OnRButtonDown(flags, PointOf(lParam)); break;
    case WM_RBUTTONUP: OnRButtonUp(flags, PointOf(lParam)); break;
    case WM_RBUTTONDBLCLK: OnRButtonDblClk(flags, PointOf(lParam)); break;
    case WM_MOUSEWHEEL: OnMouseWheel(GET_KEYSTATE_WPARAM(wParam), GET_WHEEL_DELTA_WPARAM(wParam), PointOf(lParam)); break;
    case WM_MOUSEHOVER: OnMouseHover(wParam, lParam); break;
    case WM_MOUSELEAVE: OnMouseLeave(wParam, lParam); break;
    case WM_KEYDOWN: OnKeyDown(flags, LOWORD(lParam), HIWORD(lParam)); break;
    case kUserCloseMessage: done = true; return OnUserCloseWindow(wParam, lParam);
    default: break;
    }
    return 0;
}

LRESULT MDialog::OnWindowMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    bool done = false;
    const LRESULT answer = Dispatch(msg, wParam, lParam, done);
    if (done) return answer;
    if (const LRESULT handled = m_paintManager.OnWindowMessage(msg, wParam, lParam)) return handled;
    return MWindow::OnWindowMessage(msg, wParam, lParam);
}

int MDialog::PreTranslateMessage(MSG* message) { return m_paintManager.PreTranslateMessage(message); }

int MDialog::OnInitDialog() {
    m_paintManager.Init(m_hWnd, this);
    MWindow::GetClientRect(&m_clientRect);
    InitUI(m_clientRect);
    return 1;
}

void MDialog::OnDestroyMessage(HWND window) {
    if (window == m_paintManager.GetPaintWnd()) m_paintManager.DestroyData();
    PostNcDestroy();
}

// ---- overridable operations -------------------------------------------------------------------------

POINT MDialog::GetAirBladderPoint(MControl* control, unsigned type) {
    POINT point = {0, 0};
    if (!control) return point;
    const CRect rect = control->GetRect();
    point.x = type == 0 ? rect.left : type == 1 ? (rect.left + rect.right) / 2 : rect.right;
    point.y = rect.bottom;
    ClientToScreen(&point);
    return point;
}

void MDialog::OnMinimize() { ShowWindow(SW_MINIMIZE); }

void MDialog::OnMaximize() {
    if (IsLive() && ::IsZoomed(m_hWnd)) {
        ShowWindow(SW_RESTORE);
        m_resizableFrame = 1;
    } else {
        ShowWindow(SW_MAXIMIZE);
        m_resizableFrame = 0;
    }
}

void MDialog::InitUI(CRect) {}
void MDialog::UISize(CRect) {}
LRESULT MDialog::OnMessage(unsigned, unsigned, WPARAM, LPARAM) { return 0; }

LRESULT MDialog::OnUserCloseWindow(WPARAM wParam, LPARAM lParam) {
    PostMessageW(WM_CLOSE, wParam, lParam);
    return 1;
}

int MDialog::OnCreate(CREATESTRUCTW* create) {
    if (!create || !IsLive()) return 1;
    DWORD style = (static_cast<DWORD>(::GetWindowLongPtrW(m_hWnd, GWL_STYLE)) & kStyleKeep) | kStyleAdd;
    style = m_resizableFrame ? style | kSizingFrame : style & ~kSizingFrame;
    ::SetWindowLongPtrW(m_hWnd, GWL_STYLE, static_cast<LONG_PTR>(style));
    return 1;
}

int MDialog::OnSize(unsigned, int, int) {
    MWindow::GetClientRect(&m_clientRect);
    if (m_clientRect.Width() > 1 && m_clientRect.Height() > 1) UISize(m_clientRect);
    InvalidateRect(m_clientRect, 0);
    return 0;
}

int MDialog::OnMouseMove(unsigned, CPoint) { return 0; }
int MDialog::OnMouseLeave(WPARAM, LPARAM) { return 0; }
int MDialog::OnMouseHover(WPARAM, LPARAM) { return 0; }
int MDialog::OnMouseWheel(unsigned, short, CPoint) { return 0; }
int MDialog::OnLButtonDown(unsigned, CPoint) { return 0; }
int MDialog::OnLButtonUp(unsigned, CPoint) { return 0; }
int MDialog::OnLButtonDblClk(unsigned, CPoint) { return 0; }
int MDialog::OnRButtonDown(unsigned, CPoint) { return 0; }
int MDialog::OnRButtonUp(unsigned, CPoint) { return 0; }
int MDialog::OnRButtonDblClk(unsigned, CPoint) { return 0; }
int MDialog::OnKeyDown(unsigned, unsigned, unsigned) { return 0; }

int MDialog::OnNcHitTest(CPoint screen) {
    CRect window;
    GetWindowRect(&window);
    if (screen.y < window.top + kEdge) return HTTOP;
    if (screen.y > window.bottom - kEdge) return HTBOTTOM;
    if (screen.x < window.left + kEdge) return HTLEFT;
    if (screen.x > window.right - kEdge) return HTRIGHT;
    // Not near an edge: no border code applies.
    return HTCLIENT;
}

int MDialog::OnGetMinMaxInfo(MINMAXINFO*) { return 0; }

int MDialog::OnNcCalcSize(int calcValid, NCCALCSIZE_PARAMS* params) {
    if (!params) return 0;
    if (calcValid && params->lppos) {
        const WINDOWPOS& pos = *params->lppos;
        params->rgrc[0] = CRect(pos.x, pos.y, pos.x + pos.cx, pos.y + pos.cy);
    } else {
        CRect window;
        GetWindowRect(&window);
        params->rgrc[0] = window;
    }
    return 0;
}

int MDialog::OnNcActivate(int) { return 0; }
int MDialog::OnWindowPosChanging(WINDOWPOS*) { return 1; }
int MDialog::OnWindowPosChanged(WINDOWPOS*) { return 1; }
int MDialog::OnPaint() { return 0; }
int MDialog::OnTimer(unsigned) { return 0; }
int MDialog::OnNcPaint() { return 0; }
int MDialog::OnClose() { return 1; }
int MDialog::OnDestroy() { return 0; }
void MDialog::PostNcDestroy() {}

// ---- the MObject side --------------------------------------------------------------------------------

const wchar_t* MDialog::GetClassNameW() const { return kClassName; }

LRESULT MDialog::OnBaseMessage(unsigned id, unsigned code, WPARAM wParam, LPARAM lParam) {
    return OnMessage(id, code, wParam, lParam);
}

LRESULT MDialog::OnControlUpdate(CRect rect, int updateCode, MControl* control) {
    return m_paintManager.OnControlUpdate(rect, updateCode, control);
}

// ---- controls, modal result, presentation -----------------------------------------------------------

MControl* MDialog::CreateControl(const wchar_t* className, unsigned id, CRect rect, const wchar_t* title,
                                 int visible, int enabled) {
    return m_paintManager.CreateControl(1, this, className, id, rect, title, visible, enabled);
}

MControl* MDialog::CreateArea(const wchar_t* className, unsigned id, CRect rect, const wchar_t* title, int visible,
                              int enabled) {
    return m_paintManager.CreateControl(0, this, className, id, rect, title, visible, enabled);
}

void MDialog::PostUserClose(unsigned result) { PostMessageW(kUserCloseMessage, result, 0); }
void MDialog::DoOK() { PostUserClose(kResultOK); }
void MDialog::DoCancel() { PostUserClose(kResultCancel); }
void MDialog::DoClose() { PostUserClose(kResultCancel); }
void MDialog::DoYes() { PostUserClose(kResultYes); }
void MDialog::DoNo() { PostUserClose(kResultNo); }

void MDialog::SetupBackTranslucent() {
    if (!IsLive()) return;
    if (m_windowAlpha != 255) {
        ModifyExStyle(0, WS_EX_LAYERED, 0);
        ::SetLayeredWindowAttributes(m_hWnd, 0, static_cast<BYTE>(m_windowAlpha), LWA_ALPHA);
    } else if (m_colorKey != 0xFFFFFF) {
        ModifyExStyle(0, WS_EX_LAYERED, 0);
        ::SetLayeredWindowAttributes(m_hWnd, m_colorKey, 255, LWA_COLORKEY);
    }
}

void MDialog::SetMessage(CString text, CRect box, MsgLevel level) {
    if (box.IsRectEmpty() || box.IsRectNull()) {
        CRect client;
        MWindow::GetClientRect(&client);
        const int left = client.left + (client.Width() - kMessageWidth) / 2;
        box = CRect(left, client.bottom - kMessageTop, left + kMessageWidth, client.bottom - kMessageBottom);
        box.OffsetRect(0, m_messageOffset);
    }
    m_paintManager.SetMessage(text, box, level);
}

int MDialog::SetAirBladderMsg(const wchar_t* text, POINT screenPoint, AIRBLADDER_TYPE type) {
    if (screenPoint.x == 0 || screenPoint.y == 0) return 0;
    m_paintManager.SetAirBladderMsg(text, screenPoint, type, AirBladderModeDialog);
    m_paintManager.ShowAirBladder(1, AirBladderModeDialog);
    return 1;
}
