// WindowProbe.exe: talks to the running program's main window from another
// process, for the end-to-end tests that drive the program from outside.
//
//   WindowProbe find                      exit 0 while a program window exists
//   WindowProbe post MSG WPARAM LPARAM    PostMessageW (numbers: decimal or 0x..)
//
// The window is the first top-level window that carries the program's window
// property, as a second copy of the program finds it.
// Exit code: 0 done, 2 no program window, 1 wrong command line or failure.
#include <windows.h>

#include <cwchar>

namespace {

constexpr wchar_t kWindowProperty[] = L"Tarvenholm";
constexpr int kNoWindow = 2;
constexpr int kUsage = 1;

BOOL CALLBACK FindProgramWindow(HWND window, LPARAM found) noexcept {
    if (!GetPropW(window, kWindowProperty)) return TRUE;
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
}

HWND ProgramWindow() {
    HWND window = nullptr;
    EnumWindows(&FindProgramWindow, reinterpret_cast<LPARAM>(&window));
    return window;
}

bool ParseNumber(const wchar_t* text, unsigned long long& value) {
    wchar_t* end = nullptr;
    value = wcstoull(text, &end, 0);
    return end != text && *end == L'\0';
}

int Post(HWND window, int argc, wchar_t** argv) {
    unsigned long long msg = 0, wParam = 0, lParam = 0;
    if (argc != 5 || !ParseNumber(argv[2], msg) || !ParseNumber(argv[3], wParam) || !ParseNumber(argv[4], lParam))
        return kUsage;
    return PostMessageW(window, static_cast<UINT>(msg), static_cast<WPARAM>(wParam), static_cast<LPARAM>(lParam))
               ? 0
               : kUsage;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) return kUsage;
    HWND window = ProgramWindow();
    if (!window) return kNoWindow;
    const wchar_t* command = argv[1];
    if (wcscmp(command, L"find") == 0) return 0;
    if (wcscmp(command, L"post") == 0) return Post(window, argc, argv);
    return kUsage;
}
