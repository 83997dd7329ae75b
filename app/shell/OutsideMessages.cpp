#include "OutsideMessages.h"

#include "TrayIcon.h"
#include "WindowMessages.h"

namespace outside_messages {

namespace {

constexpr DWORD kAllow = 1;  // MSGFLT_ALLOW

}  // namespace

std::vector<UINT> AllowedMessages() { return {TrayIcon::TaskbarCreatedMessage(), message::kExitRequest}; }

ChangeFilterFn LoadChangeFilter() {
    HMODULE user32 = GetModuleHandleW(L"user32.dll");
    if (!user32) return nullptr;
    return reinterpret_cast<ChangeFilterFn>(
        reinterpret_cast<void*>(GetProcAddress(user32, "ChangeWindowMessageFilterEx")));
}

// Wine has no integrity levels: its filter accepts every call and changes
// nothing, so only the calls themselves can be seen there.
int AllowForWindow(HWND window, ChangeFilterFn change) {
    if (!change || !window) return 0;
    int allowed = 0;
    for (UINT msg : AllowedMessages()) {
        CHANGEFILTERSTRUCT status = {};
        status.cbSize = sizeof(status);
        if (change(window, msg, kAllow, &status)) {
            ++allowed;
        } else {
            wchar_t line[96];
            wsprintfW(line, L"ChangeWindowMessageFilterEx failed for 0x%X with error %lu\n", msg, GetLastError());
            OutputDebugStringW(line);
        }
    }
    return allowed;
}

}  // namespace outside_messages
