// The floor of the start-up measurement: the least a Win32 program does to
// put a 1500 x 840 window on the screen, created with the main window's
// style and rectangle, centred and shown the same way, painted once with a
// solid colour. Started exactly like Tarvenholm.exe, its first painted frame
// is what Wine alone costs.
#include <windows.h>

namespace {

constexpr wchar_t kClassName[] = L"BenchMinimalWindow";
constexpr DWORD kStyle = 0x96020000;  // popup, visible, clip siblings/children, minimise box
constexpr int kWidth = 1500;
constexpr int kHeight = 840;
constexpr COLORREF kFill = RGB(0x20, 0x60, 0xA0);

LRESULT CALLBACK WindowProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) noexcept {
    switch (msg) {
    case WM_PAINT: {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(window, &paint);
        HBRUSH brush = CreateSolidBrush(kFill);
        FillRect(dc, &paint.rcPaint, brush);
        DeleteObject(brush);
        EndPaint(window, &paint);
        return 0;
    }
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcW(window, msg, wParam, lParam);
    }
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    WNDCLASSEXW wc = {};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = kClassName;
    if (!RegisterClassExW(&wc)) return 2;
    const int x = (GetSystemMetrics(SM_CXSCREEN) - kWidth) / 2;
    const int y = (GetSystemMetrics(SM_CYSCREEN) - kHeight) / 2;
    HWND window = CreateWindowExW(0, kClassName, L"Minimal window", kStyle & ~WS_VISIBLE, x, y, kWidth, kHeight,
                                  nullptr, nullptr, instance, nullptr);
    if (!window) return 3;
    ShowWindow(window, SW_SHOWNORMAL);
    UpdateWindow(window);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return 0;
}
