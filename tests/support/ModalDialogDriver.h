// Helpers for tests that open one of the program's framework dialogs
// modally and drive it from a second thread through real window messages,
// the way a user's clicks and the worker's posts reach it.
#pragma once

#include <gtest/gtest.h>

#include <windows.h>
#include <gdiplus.h>

#include <cstdint>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "Manager.h"

namespace modal_test {

constexpr int kEnglish = 1033;
constexpr DWORD kWaitStepMs = 20;

// GDI+ and the framework globals every dialog needs, English texts.
class UiEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        Gdiplus::GdiplusStartupInput input;
        Gdiplus::GdiplusStartup(&m_token, &input, nullptr);
        Manager::SetInstance(GetModuleHandleW(nullptr));
        Manager::SetLanguage(kEnglish);
    }
    void TearDown() override { Gdiplus::GdiplusShutdown(m_token); }

private:
    ULONG_PTR m_token = 0;
};

// A plain visible top-level window standing in for the main window: it owns
// the dialog and hears the messages the worker posts to the main window.
class OwnerWindow {
public:
    std::function<void(UINT, WPARAM, LPARAM)> onMessage;

    explicit OwnerWindow(RECT rect) {
        WNDCLASSW windowClass = {};
        windowClass.lpfnWndProc = Procedure;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.lpszClassName = kClassName;
        windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH));
        RegisterClassW(&windowClass);  // fails harmlessly the second time
        m_window = CreateWindowExW(0, kClassName, L"owner", WS_POPUP | WS_VISIBLE, rect.left, rect.top,
                                   rect.right - rect.left, rect.bottom - rect.top, nullptr, nullptr,
                                   GetModuleHandleW(nullptr), this);
    }
    ~OwnerWindow() {
        if (m_window) DestroyWindow(m_window);
    }
    OwnerWindow(const OwnerWindow&) = delete;
    OwnerWindow& operator=(const OwnerWindow&) = delete;

    HWND Handle() const { return m_window; }

private:
    static constexpr wchar_t kClassName[] = L"TarvenholmTestOwner";

    static LRESULT CALLBACK Procedure(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) noexcept {
        if (msg == WM_NCCREATE) {
            auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
            SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
        }
        auto* self = reinterpret_cast<OwnerWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
        if (self && self->onMessage && msg >= WM_USER) self->onMessage(msg, wParam, lParam);
        return DefWindowProcW(window, msg, wParam, lParam);
    }

    HWND m_window = nullptr;
};

// The visible window named name, or null after timeoutMs.
inline HWND WaitForWindow(const wchar_t* name, DWORD timeoutMs = 5000) {
    const DWORD start = GetTickCount();
    do {
        HWND window = FindWindowW(nullptr, name);
        if (window && IsWindowVisible(window)) return window;
        Sleep(kWaitStepMs);
    } while (GetTickCount() - start < timeoutMs);
    return nullptr;
}

// Waits until condition holds or timeoutMs passed; answers the last result.
inline bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs = 3000) {
    const DWORD start = GetTickCount();
    while (!condition()) {
        if (GetTickCount() - start >= timeoutMs) return false;
        Sleep(kWaitStepMs);
    }
    return true;
}

// A left click at a client point: the pointer really goes there first, since
// hover tracking asks the system where it is.
inline void ClickAt(HWND window, POINT client) {
    POINT screen = client;
    ClientToScreen(window, &screen);
    SetCursorPos(screen.x, screen.y);
    const LPARAM at = MAKELPARAM(client.x, client.y);
    PostMessageW(window, WM_MOUSEMOVE, 0, at);
    Sleep(60);
    PostMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, at);
    Sleep(60);
    PostMessageW(window, WM_LBUTTONUP, 0, at);
}

// What the screen shows of a window, read back from the screen's DC.
struct Capture {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels;  // 0x00RRGGBB, top row first

    uint32_t At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
    // Pixels of rect whose three channels are all at least floor.
    int CountBright(RECT rect, int floor) const {
        int count = 0;
        for (int y = rect.top; y < rect.bottom; ++y)
            for (int x = rect.left; x < rect.right; ++x) {
                const uint32_t p = At(x, y);
                if (static_cast<int>((p >> 16) & 0xFF) >= floor && static_cast<int>((p >> 8) & 0xFF) >= floor &&
                    static_cast<int>(p & 0xFF) >= floor)
                    ++count;
            }
        return count;
    }
};

inline Capture CaptureWindow(HWND window) {
    Capture capture;
    RECT rect = {};
    GetWindowRect(window, &rect);
    capture.width = rect.right - rect.left;
    capture.height = rect.bottom - rect.top;
    capture.pixels.assign(static_cast<size_t>(capture.width) * capture.height, 0);

    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = capture.width;
    info.bmiHeader.biHeight = -capture.height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, capture.width, capture.height, screen, rect.left, rect.top, SRCCOPY);
    GdiFlush();
    const auto* source = static_cast<const uint32_t*>(bits);
    for (size_t i = 0; i < capture.pixels.size(); ++i) capture.pixels[i] = source[i] & 0x00FFFFFF;
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return capture;
}

// Keeps a dialog in view for TARVENHOLM_HOLD_DIALOG_MS milliseconds, so that
// a picture of the screen can be taken from outside (import -window root).
inline void HoldForScreenshot() {
    if (const char* hold = std::getenv("TARVENHOLM_HOLD_DIALOG_MS")) Sleep(static_cast<DWORD>(std::atoi(hold)));
}

}  // namespace modal_test
