// Manager: the framework's process-wide settings, all static.
// Written on the UI thread at start-up, read afterwards without a lock.
#pragma once

#include <windows.h>

#include "HvuiExport.h"

class HVUI_API Manager {
public:
    Manager() = delete;

    // The program's module: window classes are registered with it and
    // resources named by id are loaded from it.
    static void SetInstance(HINSTANCE instance);
    static HINSTANCE GetInstance();

    // The language id chosen by the program; the framework only keeps it.
    static void SetLanguage(int language);
    static int GetLanguage();

private:
    static HINSTANCE m_hInstance;
    static int m_language;
};
