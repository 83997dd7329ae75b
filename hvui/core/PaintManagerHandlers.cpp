// PaintManager: the handler set for windows that dispatch messages themselves.
// OnWindowMessage answers these messages on its own terms; a window that
// calls a handler here gets the manager's answer without the routing.
#include "PaintManager.h"

namespace {

// Recompute the non-client frame in place: nothing moves, nothing else is told.
constexpr UINT kReframeFlags = SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED |
                               SWP_NOSENDCHANGING;

WPARAM SizeTypeOf(HWND window) {
    if (::IsZoomed(window)) return SIZE_MAXIMIZED;
    if (::IsIconic(window)) return SIZE_MINIMIZED;
    return SIZE_RESTORED;
}

}  // namespace

int PaintManager::OnCreate(CREATESTRUCTW*) { return 1; }
int PaintManager::OnSize(unsigned, int, int) { return 1; }
int PaintManager::OnMouseHover(WPARAM, LPARAM) { return 1; }
int PaintManager::OnNcCalcSize(int, NCCALCSIZE_PARAMS*) { return 1; }
int PaintManager::OnWindowPosChanging(WINDOWPOS*) { return 1; }
int PaintManager::OnNcPaint() { return 1; }
int PaintManager::OnDestroy() { return 1; }

int PaintManager::OnWindowPosChanged(WINDOWPOS* position) {
    if (!IsWindowLive()) return 0;
    // The reframe reports a position change of its own, which must not
    // reframe again when a window forwards every change here.
    if (!position || !(position->flags & SWP_FRAMECHANGED))
        ::SetWindowPos(m_paintWnd, nullptr, 0, 0, 0, 0, kReframeFlags);
    RECT client = {};
    ::GetClientRect(m_paintWnd, &client);
    POINT origin = {0, 0};
    ::ClientToScreen(m_paintWnd, &origin);
    ::SendMessageW(m_paintWnd, WM_MOVE, 0, MAKELPARAM(origin.x, origin.y));
    ::SendMessageW(m_paintWnd, WM_SIZE, SizeTypeOf(m_paintWnd), MAKELPARAM(client.right, client.bottom));
    return 1;
}

void PaintManager::PostNcDestroy() { DestroyData(); }
