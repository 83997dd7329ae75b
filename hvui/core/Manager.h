// Manager: the framework's process-wide settings, all static.
// Written on the UI thread at start-up, read afterwards without a lock.
//
// Besides the settings it knows where the framework's files live (the skin
// folder beside the program's executable) and which system cursors the
// controls may ask for by name.
#pragma once

#include <set>

#include "CString.h"
#include "GdiplusFwd.h"
#include "HvuiExport.h"

class MWindow;

class HVUI_API Manager {
public:
    Manager() = delete;

    // The program's module: window classes are registered with it and
    // resources named by id are loaded from it.
    static void SetInstance(HINSTANCE instance);
    static HINSTANCE GetInstance();
    // The library's own module, holding its scroll bar images and font.
    static HINSTANCE GetLibraryInstance();

    // The language id chosen by the program; the framework only keeps it.
    static void SetLanguage(int language);
    static int GetLanguage();

    static void SetScaleValue(float scale);
    static float GetScaleValue();
    // value × scale in single precision, truncated towards zero.
    static int GetScaleValue(int value);

    // Default face and pixel size of text; later controls take them up.
    static void SetFontName(CString name);
    static CString GetFontName();
    static void SetFontWidth(int width);
    static int GetFontWidth();
    static void SetFont(CString name, int width);

    static Gdiplus::Color GetSelectColor();

    // The theme sub-folder of the skin folder; there is only one.
    static CString GetTheme();
    // The folder of the running program's executable, ending with '\'.
    static CString GetAppPath();
    // A skin file name resolved in the skin folder, sub-folders kept.
    static CString GetSkinFile(const wchar_t* name);

    // A system cursor by its name in the framework's cursor table
    // ("arrow", "hand", ...); null for any other name (case matters).
    static HCURSOR LoadNamedCursor(const wchar_t* name);

    static void InitGdiplus();
    static void UnInitGdiplus();

    static void AddWnd(MWindow* window);
    static void DeleteWnd(MWindow* window);

    // A thread message loop that swallows what arrives while Alt+F4 is held.
    static void MessageLoop();
    static int PreTranslateMessage(MSG* message);

private:
    static HINSTANCE m_hInstance;
    static int m_language;
    static float m_scale_value;
    static CString m_fontname;
    static int m_fontwidth;
    static Gdiplus::Color m_select_color;
    static ULONG_PTR m_gdiplusToken;
    static Gdiplus::GdiplusStartupInput m_gdiplusStartupInput;
    static std::set<MWindow*> m_windows;
};
