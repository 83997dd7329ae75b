#include "TrayIcon.h"

#include "MRender.h"
#include "ProductNames.h"
#include "WindowMessages.h"

namespace {
constexpr UINT kTrayFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
}

TrayIcon::~TrayIcon() { Remove(); }

void TrayIcon::Add(HWND window, const std::wstring& iconFile) {
    DestroyIconHandle();
    m_data = {};
    m_data.cbSize = sizeof(m_data);
    m_data.hWnd = window;
    m_data.uID = kIconId;
    m_data.uFlags = kTrayFlags;
    m_data.uCallbackMessage = message::kTrayCallback;
    m_data.hIcon = MRender::LoadIconFromFile(iconFile.c_str());
    lstrcpynW(m_data.szTip, product::kProductWord, ARRAYSIZE(m_data.szTip));
    if (!Shell_NotifyIconW(NIM_ADD, &m_data)) OutputDebugStringW(L"Shell_NotifyIconW(NIM_ADD) failed");
}

void TrayIcon::Readd(HWND window, const std::wstring& iconFile) {
    Remove();
    Add(window, iconFile);
}

void TrayIcon::Remove() {
    if (!IsPresent()) return;
    DestroyIconHandle();
    Shell_NotifyIconW(NIM_DELETE, &m_data);
}

void TrayIcon::DestroyIconHandle() {
    if (m_data.hIcon) DestroyIcon(m_data.hIcon);
    m_data.hIcon = nullptr;
}

void TrayIcon::ShowMenu(HWND window, const std::wstring& exitText) {
    HMENU menu = CreatePopupMenu();
    if (!menu) return;
    AppendMenuW(menu, MF_STRING, kExitCommand, exitText.c_str());
    // The menu only closes on an outside click while its owner is in front.
    SetForegroundWindow(window);
    POINT cursor = {};
    GetCursorPos(&cursor);
    TrackPopupMenu(menu, TPM_RIGHTBUTTON, cursor.x, cursor.y, 0, window, nullptr);
    PostMessageW(window, WM_NULL, 0, 0);
    DestroyMenu(menu);
}

UINT TrayIcon::TaskbarCreatedMessage() {
    static const UINT message = RegisterWindowMessageW(L"TaskbarCreated");
    return message;
}
