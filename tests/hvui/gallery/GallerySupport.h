// What the gallery's windows share: the command line, the language texts,
// a message pump, typed creation through the factory, and driving a control
// into a state the way the pointer would.
#pragma once

#include <windows.h>

#include <cstdlib>
#include <cstring>

#include "CString.h"
#include "MControl.h"
#include "Manager.h"

namespace gallery {

// "--name value" on the command line, or fallback.
inline const char* Option(int argc, char** argv, const char* name, const char* fallback) {
    for (int i = 1; i + 1 < argc; ++i)
        if (std::strcmp(argv[i], name) == 0) return argv[i + 1];
    return fallback;
}
inline bool Flag(int argc, char** argv, const char* name) {
    for (int i = 1; i < argc; ++i)
        if (std::strcmp(argv[i], name) == 0) return true;
    return false;
}

// The text of key in the current language's file, as the program reads it.
inline CString Text(int key) {
    wchar_t path[MAX_PATH];
    swprintf(path, MAX_PATH, L"%lslanguage\\%d.lan", static_cast<const wchar_t*>(Manager::GetAppPath()),
             Manager::GetLanguage());
    wchar_t name[16];
    swprintf(name, 16, L"%d", key);
    wchar_t text[512] = {};
    GetPrivateProfileStringW(L"LAN", name, L"", text, 512, path);
    return text;
}

inline void Pump(DWORD milliseconds) {
    const DWORD start = GetTickCount();
    MSG message;
    do {
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        Sleep(5);
    } while (GetTickCount() - start < milliseconds);
}

// Creates a control through a container's factory (a dialog or a panel).
template <class T, class Container>
T* Make(Container& container, const wchar_t* className, unsigned id, CRect rect, const wchar_t* title = L"",
        bool area = false) {
    MControl* control = area ? container.CreateArea(className, id, rect, title, 1, 1)
                             : container.CreateControl(className, id, rect, title, 1, 1);
    return dynamic_cast<T*>(control);
}

// Puts the pointer over a control, or presses on it, without a real pointer.
inline void Hover(MControl* control) {
    if (control) control->OnMouseMove(0, control->GetRect().CenterPoint());
}
inline void Press(MControl* control) {
    if (!control) return;
    Hover(control);
    control->OnLButtonDown(MK_LBUTTON, control->GetRect().CenterPoint());
}

// Posts a click at a client point of window, pointer move first.
inline void Click(HWND window, CPoint point) {
    const LPARAM at = MAKELPARAM(point.x, point.y);
    PostMessageW(window, WM_MOUSEMOVE, 0, at);
    PostMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageW(window, WM_LBUTTONUP, 0, at);
}

}  // namespace gallery
