#include "MWindow.h"

#include <vector>

#include "Manager.h"

MWindow::MWindow() = default;

namespace {

const wchar_t kClassName[] = L"HVWindow";
const wchar_t kControlProperty[] = L"Control";
const CRect kConvenienceRect(0, 0, 800, 600);
constexpr UINT kFrameChangeFlags = SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE;  // 0x17
constexpr int kShowRestore = SW_RESTORE;  // 9
constexpr int kShowShow = SW_SHOW;        // 5

MWindow* ObjectOf(HWND window, bool property) {
    return property ? static_cast<MWindow*>(::GetPropW(window, kControlProperty))
                    : reinterpret_cast<MWindow*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
}

}  // namespace

MWindow::~MWindow() { DestroyIcons(); }

// ---- virtual operations --------------------------------------------------------------

const wchar_t* MWindow::GetWindowClassName() const { return kClassName; }
const wchar_t* MWindow::GetSuperClassName() const { return nullptr; }

int MWindow::ShowWindow(int command) { return IsLive() ? ::ShowWindow(m_hWnd, command) : 0; }

LRESULT MWindow::OnWindowMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    return ::CallWindowProcW(m_prevWndProc, m_hWnd, msg, wParam, lParam);
}

int MWindow::PreTranslateMessage(MSG*) { return 0; }
int MWindow::OnInitDialog() { return 1; }
void MWindow::OnDestroyMessage(HWND) {}

// ---- creation -------------------------------------------------------------------------

HWND MWindow::Create(HWND parent, const wchar_t* windowName, DWORD style, DWORD exStyle, CRect rect, HMENU menu) {
    if (IsLive()) return m_hWnd;
    m_hParent = parent;
    const bool registered = GetSuperClassName() ? RegisterSuperClass() : RegisterWindowClass();
    if (!registered) return nullptr;
    // WndProc attaches this object at the window's first message.
    ::CreateWindowExW(exStyle, GetWindowClassName(), windowName, style, rect.left, rect.top, rect.Width(),
                      rect.Height(), parent, menu, Manager::GetInstance(), this);
    OnInitDialog();
    return m_hWnd;
}

HWND MWindow::Create(HWND parent, const wchar_t* windowName, DWORD style, DWORD exStyle, CRect rect) {
    return Create(parent, windowName, style, exStyle, rect, nullptr);
}

HWND MWindow::Create(HWND parent) { return Create(parent, kClassName, kConvenienceStyle, 0, kConvenienceRect); }

HWND MWindow::Create(HWND parent, CRect rect) { return Create(parent, kClassName, kConvenienceStyle, 0, rect); }

int MWindow::RegisterWindowClass() {
    WNDCLASSEXW windowClass = {};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.style = kClassStyle;
    windowClass.lpfnWndProc = &MWindow::WndProc;
    windowClass.hInstance = Manager::GetInstance();
    windowClass.lpszClassName = GetWindowClassName();
    if (::RegisterClassExW(&windowClass)) return 1;
    if (::GetLastError() == ERROR_CLASS_ALREADY_EXISTS) return 1;
    OutputDebugStringW(L"HVUI: RegisterClassEx failed\n");
    return 0;
}

int MWindow::RegisterSuperClass() {
    WNDCLASSEXW windowClass = {};
    windowClass.cbSize = sizeof(windowClass);
    const wchar_t* base = GetSuperClassName();
    if (!::GetClassInfoExW(nullptr, base, &windowClass) &&
        !::GetClassInfoExW(Manager::GetInstance(), base, &windowClass))
        return 0;
    m_prevWndProc = windowClass.lpfnWndProc;
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpszClassName = GetWindowClassName();
    windowClass.hInstance = Manager::GetInstance();
    windowClass.lpfnWndProc = &MWindow::ControlProc;
    if (::RegisterClassExW(&windowClass)) return 1;
    if (::GetLastError() == ERROR_CLASS_ALREADY_EXISTS) return 1;
    OutputDebugStringW(L"HVUI: RegisterClassEx (superclass) failed\n");
    return 0;
}

// ---- message routing ----------------------------------------------------------------------

LRESULT MWindow::Route(Slot slot, HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
    const bool property = slot == Slot::Property;
    MWindow* object = nullptr;
    if (msg == WM_NCCREATE) {
        object = static_cast<MWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        if (object) {
            object->m_hWnd = window;
            if (property) ::SetPropW(window, kControlProperty, object);
            else ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(object));
        }
    } else {
        object = ObjectOf(window, property);
    }

    if (msg == WM_NCDESTROY) {
        if (!object) return ::DefWindowProcW(window, msg, wParam, lParam);
        // The last message: detach first, so nothing reaches the object after it.
        const LRESULT result = ::CallWindowProcW(object->m_prevWndProc, window, msg, wParam, lParam);
        if (property) ::RemovePropW(window, kControlProperty);
        else ::SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        object->m_hWnd = nullptr;
        object->DestroyIcons();
        object->OnDestroyMessage(window);
        return result;
    }
    if (!object) return ::DefWindowProcW(window, msg, wParam, lParam);
    return object->OnWindowMessage(msg, wParam, lParam);
}

LRESULT CALLBACK MWindow::WndProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) noexcept {
    try {
        return Route(Slot::UserData, window, msg, wParam, lParam);
    } catch (...) {
        OutputDebugStringW(L"HVUI: exception stopped at the window procedure\n");
        return ::DefWindowProcW(window, msg, wParam, lParam);
    }
}

LRESULT CALLBACK MWindow::ControlProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) noexcept {
    try {
        return Route(Slot::Property, window, msg, wParam, lParam);
    } catch (...) {
        OutputDebugStringW(L"HVUI: exception stopped at the control procedure\n");
        return ::DefWindowProcW(window, msg, wParam, lParam);
    }
}

// ---- wrappers -------------------------------------------------------------------------------

void MWindow::SetIcon(unsigned resourceId) {
    if (!IsLive()) return;
    HINSTANCE instance = Manager::GetInstance();
    auto load = [&](int widthMetric, int heightMetric) {
        return static_cast<HICON>(::LoadImageW(instance, MAKEINTRESOURCEW(resourceId), IMAGE_ICON,
                                               ::GetSystemMetrics(widthMetric), ::GetSystemMetrics(heightMetric),
                                               LR_DEFAULTCOLOR));
    };
    HICON bigIcon = load(SM_CXICON, SM_CYICON);
    HICON smallIcon = load(SM_CXSMICON, SM_CYSMICON);
    ::SendMessageW(m_hWnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(bigIcon));
    ::SendMessageW(m_hWnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon));
    // The window shows the new pair now; the old pair is ours to free.
    DestroyIcons();
    m_bigIcon = bigIcon;
    m_smallIcon = smallIcon;
}

void MWindow::DestroyIcons() {
    if (m_bigIcon) ::DestroyIcon(m_bigIcon);
    if (m_smallIcon) ::DestroyIcon(m_smallIcon);
    m_bigIcon = nullptr;
    m_smallIcon = nullptr;
}

DWORD MWindow::GetStyle() const {
    return IsLive() ? static_cast<DWORD>(::GetWindowLongPtrW(m_hWnd, GWL_STYLE)) : 0;
}

DWORD MWindow::GetExStyle() const {
    return IsLive() ? static_cast<DWORD>(::GetWindowLongPtrW(m_hWnd, GWL_EXSTYLE)) : 0;
}

int MWindow::ModifyStyleBits(int index, DWORD remove, DWORD add, unsigned flags) {
    if (!IsLive()) return 0;
    const DWORD old = static_cast<DWORD>(::GetWindowLongPtrW(m_hWnd, index));
    const DWORD updated = (old & ~remove) | add;
    if (updated == old) return 0;
    ::SetWindowLongPtrW(m_hWnd, index, static_cast<LONG_PTR>(updated));
    // The frame is only recomputed when the window is repositioned.
    if (flags) ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0, flags | kFrameChangeFlags);
    return 1;
}

int MWindow::ModifyStyle(DWORD remove, DWORD add, unsigned flags) {
    return ModifyStyleBits(GWL_STYLE, remove, add, flags);
}

int MWindow::ModifyExStyle(DWORD remove, DWORD add, unsigned flags) {
    return ModifyStyleBits(GWL_EXSTYLE, remove, add, flags);
}

BOOL MWindow::GetClientRect(RECT* rect) const { return IsLive() ? ::GetClientRect(m_hWnd, rect) : FALSE; }
BOOL MWindow::GetWindowRect(RECT* rect) const { return IsLive() ? ::GetWindowRect(m_hWnd, rect) : FALSE; }
BOOL MWindow::SetWindowTextW(const wchar_t* text) { return IsLive() ? ::SetWindowTextW(m_hWnd, text) : FALSE; }

int MWindow::GetWindowTextW(CString& text) const {
    if (!IsLive()) return 0;
    const int length = ::GetWindowTextLengthW(m_hWnd);
    std::vector<wchar_t> buffer(static_cast<size_t>(length) + 1);
    const int copied = ::GetWindowTextW(m_hWnd, buffer.data(), length + 1);
    text = CString(buffer.data(), copied);
    return copied;
}

int MWindow::GetWindowTextLengthW() const { return IsLive() ? ::GetWindowTextLengthW(m_hWnd) : -1; }
BOOL MWindow::EnableWindow(int enable) { return IsLive() ? ::EnableWindow(m_hWnd, enable) : FALSE; }
BOOL MWindow::IsWindowEnabled() const { return IsLive() ? ::IsWindowEnabled(m_hWnd) : FALSE; }
BOOL MWindow::IsWindowVisible() const { return IsLive() ? ::IsWindowVisible(m_hWnd) : FALSE; }
BOOL MWindow::IsIconic() const { return IsLive() ? ::IsIconic(m_hWnd) : FALSE; }

BOOL MWindow::InvalidateRect(CRect rect, int erase) {
    return IsLive() ? ::InvalidateRect(m_hWnd, &rect, erase) : FALSE;
}

HWND MWindow::SetCapture() { return IsLive() ? ::SetCapture(m_hWnd) : nullptr; }
BOOL MWindow::ReleaseCapture() { return IsLive() ? ::ReleaseCapture() : FALSE; }
HWND MWindow::SetFocus() { return IsLive() ? ::SetFocus(m_hWnd) : nullptr; }

UINT_PTR MWindow::SetTimer(UINT_PTR id, unsigned elapse, TIMERPROC procedure) {
    return IsLive() ? ::SetTimer(m_hWnd, id, elapse, procedure) : 0;
}

BOOL MWindow::KillTimer(UINT_PTR id) { return IsLive() ? ::KillTimer(m_hWnd, id) : FALSE; }

BOOL MWindow::ClientToScreen(POINT* point) const { return IsLive() ? ::ClientToScreen(m_hWnd, point) : FALSE; }
BOOL MWindow::ScreenToClient(POINT* point) const { return IsLive() ? ::ScreenToClient(m_hWnd, point) : FALSE; }

BOOL MWindow::ClientToScreen(RECT* rect) const {
    if (!IsLive() || !rect) return FALSE;
    auto* corners = reinterpret_cast<POINT*>(rect);
    return ::ClientToScreen(m_hWnd, &corners[0]) && ::ClientToScreen(m_hWnd, &corners[1]);
}

BOOL MWindow::ScreenToClient(RECT* rect) const {
    if (!IsLive() || !rect) return FALSE;
    auto* corners = reinterpret_cast<POINT*>(rect);
    return ::ScreenToClient(m_hWnd, &corners[0]) && ::ScreenToClient(m_hWnd, &corners[1]);
}

BOOL MWindow::SetWindowPos(HWND after, int x, int y, int cx, int cy, unsigned flags) {
    return IsLive() ? ::SetWindowPos(m_hWnd, after, x, y, cx, cy, flags) : FALSE;
}

BOOL MWindow::MoveWindow(int x, int y, int width, int height, BOOL repaint) {
    return IsLive() ? ::MoveWindow(m_hWnd, x, y, width, height, repaint) : FALSE;
}

BOOL MWindow::MoveWindow(const RECT* rect, BOOL repaint) {
    if (!rect) return FALSE;
    return MoveWindow(rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top, repaint);
}

int MWindow::DestroyWindow() { return IsLive() ? ::DestroyWindow(m_hWnd) : 0; }

LRESULT MWindow::SendMessageW(UINT msg, WPARAM wParam, LPARAM lParam) {
    return IsLive() ? ::SendMessageW(m_hWnd, msg, wParam, lParam) : 0;
}

BOOL MWindow::PostMessageW(UINT msg, WPARAM wParam, LPARAM lParam) {
    return IsLive() ? ::PostMessageW(m_hWnd, msg, wParam, lParam) : FALSE;
}

// ---- modal loop, placement, activation ----------------------------------------------------

unsigned MWindow::ShowModal(int showCommand) {
    if (!IsLive()) return kNoWindowResult;
    HWND owner = ::GetWindow(m_hWnd, GW_OWNER);
    ::ShowWindow(m_hWnd, showCommand);
    if (owner) ::EnableWindow(owner, FALSE);

    unsigned result = 0;
    bool quit = false;
    WPARAM quitCode = 0;
    MSG message = {};
    while (IsLive()) {
        if (::GetMessageW(&message, nullptr, 0, 0) <= 0) {
            quit = true;
            quitCode = message.wParam;
            break;
        }
        if (message.message == WM_CLOSE && message.hwnd == m_hWnd) {
            result = static_cast<unsigned>(message.wParam);
            // Hand activation back before this window disappears, or the
            // system activates some other program's window.
            if (owner) {
                ::EnableWindow(owner, TRUE);
                ::SetFocus(owner);
            }
        }
        if (PreTranslateMessage(&message)) continue;
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
    if (owner) {
        ::EnableWindow(owner, TRUE);
        ::SetFocus(owner);
    }
    // The outer loop must end too.
    if (quit) ::PostQuitMessage(static_cast<int>(quitCode));
    return result;
}

namespace {

// The first coordinate that centres length on [centreFrom, centreTo) while
// staying inside [boundFrom, boundTo).
int CentredStart(int centreFrom, int centreTo, int length, int boundFrom, int boundTo) {
    int start = (centreFrom + centreTo) / 2 - length / 2;
    if (start + length > boundTo) start = boundTo - length;
    if (start < boundFrom) start = boundFrom;
    return start;
}

}  // namespace

void MWindow::CenterWindow(MWindow* reference) {
    if (!IsLive()) return;
    const bool child = (GetStyle() & WS_CHILD) != 0;
    HWND centreOn = reference && reference->IsLive() ? reference->GetSafeHwnd() : nullptr;
    if (!centreOn) centreOn = child ? ::GetParent(m_hWnd) : ::GetWindow(m_hWnd, GW_OWNER);

    CRect bounds;
    CRect centre;
    if (child) {
        HWND parent = ::GetParent(m_hWnd);
        ::GetClientRect(parent, &bounds);
        if (centreOn) {
            ::GetClientRect(centreOn, &centre);
            ::MapWindowPoints(centreOn, parent, reinterpret_cast<POINT*>(&centre), 2);
        } else {
            centre = bounds;
        }
    } else {
        if (centreOn && (!::IsWindowVisible(centreOn) || ::IsIconic(centreOn))) centreOn = nullptr;
        MONITORINFO monitor = {};
        monitor.cbSize = sizeof(monitor);
        ::GetMonitorInfoW(::MonitorFromWindow(centreOn ? centreOn : m_hWnd, MONITOR_DEFAULTTONEAREST), &monitor);
        bounds = monitor.rcWork;
        if (centreOn) ::GetWindowRect(centreOn, &centre);
        else centre = bounds;
    }

    CRect own;
    ::GetWindowRect(m_hWnd, &own);
    const int x = CentredStart(centre.left, centre.right, own.Width(), bounds.left, bounds.right);
    const int y = CentredStart(centre.top, centre.bottom, own.Height(), bounds.top, bounds.bottom);
    ::SetWindowPos(m_hWnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void MWindow::BringToTop() {
    if (!IsLive()) return;
    HWND foreground = ::GetForegroundWindow();
    const DWORD foregroundThread = foreground ? ::GetWindowThreadProcessId(foreground, nullptr) : 0;
    const DWORD ownThread = ::GetWindowThreadProcessId(m_hWnd, nullptr);
    if (foregroundThread && foregroundThread != ownThread) {
        // Windows only lets the foreground thread hand the foreground on.
        ::AttachThreadInput(foregroundThread, ownThread, TRUE);
        ::AllowSetForegroundWindow(ASFW_ANY);
        ::SetForegroundWindow(m_hWnd);
        ::AttachThreadInput(foregroundThread, ownThread, FALSE);
    } else {
        ::SetForegroundWindow(m_hWnd);
    }
    ::ShowWindow(m_hWnd, ::IsIconic(m_hWnd) ? kShowRestore : kShowShow);
}
