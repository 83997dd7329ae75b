// OutsideMessages: the messages other processes send the main window.
//
// The program runs elevated; Windows drops messages from processes of a
// lower integrity level unless the window lets them through. Exactly two
// must arrive: the shell's "TaskbarCreated" (the tray icon is added again
// after a shell restart) and the exit request 0x69B.
#pragma once

#include <windows.h>

#include <vector>

namespace outside_messages {

// ChangeWindowMessageFilterEx, which exists from Windows 7 on and is
// therefore looked up at run time.
using ChangeFilterFn = BOOL(WINAPI*)(HWND, UINT, DWORD, CHANGEFILTERSTRUCT*);

// The messages let through, in the order they are allowed.
std::vector<UINT> AllowedMessages();

// user32's ChangeWindowMessageFilterEx; null where the system has none.
ChangeFilterFn LoadChangeFilter();

// Lets exactly AllowedMessages() through to window; answers how many the
// system accepted. With no function (before Windows 7, which has no such
// filter per window) nothing is done.
int AllowForWindow(HWND window, ChangeFilterFn change);

}  // namespace outside_messages
