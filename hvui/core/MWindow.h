// MWindow: the owner of one native top-level window.
//
// Registers the window class, creates the window with this object in its
// user-data slot (a window property for superclassed native controls),
// routes every message to OnWindowMessage and runs modal loops. The object
// must outlive its window: the destructor does not destroy it. Every
// wrapper checks for a live window first and does nothing without one.
#pragma once

#include <windows.h>

#include "CPoint.h"
#include "CRect.h"
#include "CString.h"
#include "HvuiExport.h"

class HVUI_API MWindow {
public:
    static constexpr DWORD kConvenienceStyle = 0x80B;
    static constexpr UINT kClassStyle = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS;  // 0x000B
    static constexpr unsigned kNoWindowResult = 0xFFFFFFFF;

    MWindow();
    virtual ~MWindow();
    MWindow(const MWindow&) = delete;
    MWindow& operator=(const MWindow&) = delete;

    // ---- virtual operations, in slot order -------------------------------------
    virtual const wchar_t* GetWindowClassName() const;
    virtual const wchar_t* GetSuperClassName() const;
    virtual int ShowWindow(int command);
    virtual LRESULT OnWindowMessage(UINT msg, WPARAM wParam, LPARAM lParam);
    virtual int PreTranslateMessage(MSG* message);
    virtual int OnInitDialog();
    virtual void OnDestroyMessage(HWND window);

    // ---- creation ------------------------------------------------------------------
    HWND Create(HWND parent, const wchar_t* windowName, DWORD style, DWORD exStyle, CRect rect, HMENU menu);
    HWND Create(HWND parent, const wchar_t* windowName, DWORD style, DWORD exStyle, CRect rect);
    HWND Create(HWND parent);
    HWND Create(HWND parent, CRect rect);
    int RegisterWindowClass();
    int RegisterSuperClass();

    // ---- wrappers ---------------------------------------------------------------------
    HVUI_INLINE_API HWND GetSafeHwnd() const { return m_hWnd; }
    HVUI_INLINE_API HWND GetParentHwnd() const { return m_hParent; }
    void SetIcon(unsigned resourceId);
    DWORD GetStyle() const;
    DWORD GetExStyle() const;
    int ModifyStyle(DWORD remove, DWORD add, unsigned flags);
    int ModifyExStyle(DWORD remove, DWORD add, unsigned flags);
    BOOL GetClientRect(RECT* rect) const;
    BOOL GetWindowRect(RECT* rect) const;
    BOOL SetWindowTextW(const wchar_t* text);
    int GetWindowTextW(CString& text) const;
    int GetWindowTextLengthW() const;
    BOOL EnableWindow(int enable);
    BOOL IsWindowEnabled() const;
    BOOL IsWindowVisible() const;
    BOOL IsIconic() const;
    BOOL InvalidateRect(CRect rect, int erase);
    HWND SetCapture();
    BOOL ReleaseCapture();
    HWND SetFocus();
    UINT_PTR SetTimer(UINT_PTR id, unsigned elapse, TIMERPROC procedure);
    BOOL KillTimer(UINT_PTR id);
    BOOL ClientToScreen(POINT* point) const;
    BOOL ClientToScreen(RECT* rect) const;
    BOOL ScreenToClient(POINT* point) const;
    BOOL ScreenToClient(RECT* rect) const;
    BOOL SetWindowPos(HWND after, int x, int y, int cx, int cy, unsigned flags);
    BOOL MoveWindow(int x, int y, int width, int height, BOOL repaint);
    BOOL MoveWindow(const RECT* rect, BOOL repaint);
    int DestroyWindow();
    LRESULT SendMessageW(UINT msg, WPARAM wParam, LPARAM lParam);
    BOOL PostMessageW(UINT msg, WPARAM wParam, LPARAM lParam);

    // ---- modal loop, placement, activation ------------------------------------------
    // Runs until the window is destroyed; answers the wParam of the close
    // message posted to it (0 when none was posted), 0xFFFFFFFF without a window.
    unsigned ShowModal(int showCommand);
    void CenterWindow(MWindow* reference);
    void BringToTop();

    static LRESULT CALLBACK WndProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) noexcept;
    static LRESULT CALLBACK ControlProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) noexcept;

protected:
    HVUI_INLINE_API bool IsLive() const { return m_hWnd && ::IsWindow(m_hWnd); }

    HWND m_hParent = nullptr;
    HWND m_hWnd = nullptr;
    WNDPROC m_prevWndProc = ::DefWindowProcW;

private:
    enum class Slot { UserData, Property };
    static LRESULT Route(Slot slot, HWND window, UINT msg, WPARAM wParam, LPARAM lParam);
    int ModifyStyleBits(int index, DWORD remove, DWORD add, unsigned flags);
    void DestroyIcons();

    // The icons SetIcon loaded: shown by the window, destroyed by us once
    // replaced or once the window is gone.
    HICON m_bigIcon = nullptr;
    HICON m_smallIcon = nullptr;
};
