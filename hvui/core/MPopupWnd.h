// MPopupWnd: a short-lived borderless tool window that hosts controls
// outside a dialog and closes itself as soon as it loses activation (the
// combo box's drop-down is one). Owns its paint manager, and through it the
// controls it hosts, until the object itself goes: closing the window keeps
// them. Owns its background image.
#pragma once

#include <memory>

#include "MObject.h"
#include "MWindow.h"
#include "PaintManager.h"

class MControl;

class HVUI_API MPopupWnd : public MWindow, public MObject {
public:
    // Posted to end the window with a result, as dialogs do.
    static constexpr UINT kUserCloseMessage = 0x0442;
    static constexpr COLORREF kDefaultColorKey = 0xF1F1F1;
    static constexpr int kOpaque = 255;

    MPopupWnd();
    ~MPopupWnd() override;

    // ---- MWindow ---------------------------------------------------------------------
    LRESULT OnWindowMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    int OnInitDialog() override;
    void OnDestroyMessage(HWND window) override;

    // ---- hooks, in the order the window meets them -----------------------------------------
    HVUI_INLINE_API virtual MObject* GetParent() { return m_parent; }
    virtual void InitUI(CRect client);
    virtual void UISize(CRect client);
    virtual LRESULT OnMessage(unsigned id, unsigned code, WPARAM wParam, LPARAM lParam);
    virtual LRESULT OnUserCloseWindow(WPARAM wParam, LPARAM lParam);
    virtual void CloseWindow();
    virtual int OnCreate(CREATESTRUCTW* create);
    virtual int OnSize(unsigned type, int width, int height);
    virtual int OnNcActivate(int active);
    virtual int OnWindowPosChanged(WINDOWPOS* position);
    virtual int OnClose();
    virtual int OnDestroy();

    // ---- MObject -------------------------------------------------------------------------
    const wchar_t* GetClassNameW() const override;
    LRESULT OnBaseMessage(unsigned id, unsigned code, WPARAM wParam, LPARAM lParam) override;
    LRESULT OnControlUpdate(CRect rect, int updateCode, MControl* control) override;

    // ---- the popup's content -----------------------------------------------------------------
    HVUI_INLINE_API void SetParent(MObject* parent) { m_parent = parent; }
    // Calls the parent control's OnMessage (0, code, wParam, lParam).
    int SendMessageToParent(unsigned code, WPARAM wParam, LPARAM lParam);
    // Takes ownership of a control made for this popup: kind 0 area, 1 control.
    MControl* AddControl(unsigned kind, MControl* control);
    // The dialog-level factory with the popup as parent: CreateControl adds
    // to the control list, CreateArea to the area list. Null for an unknown
    // class name.
    MControl* CreateControl(const wchar_t* className, unsigned id, CRect rect, const wchar_t* title, int visible,
                            int enabled);
    MControl* CreateArea(const wchar_t* className, unsigned id, CRect rect, const wchar_t* title, int visible,
                         int enabled);
    HVUI_INLINE_API MControl* GetControl(unsigned id) { return m_paintManager.GetControl(id); }
    HVUI_INLINE_API PaintManager& GetPaintManager() { return m_paintManager; }
    // Background: stretched, or nine-sliced with parameter as the border.
    HVUI_INLINE_API int LoadBKImage(CString name) { return m_paintManager.LoadBKImage(name); }
    HVUI_INLINE_API int LoadBKImage(unsigned resourceId, CString type) { return m_paintManager.LoadBKImage(resourceId, type); }
    HVUI_INLINE_API void SetBackMode(enumBackMode mode, int parameter) { m_paintManager.SetBackMode(mode, parameter); }
    void SetScrollResID(unsigned vertical, unsigned horizontal);
    HVUI_INLINE_API void SetLayeredWindow(int layered) { m_paintManager.SetLayeredWindow(layered); }
    void SetupBackTranslucent(COLORREF colourKey, int alpha);

protected:
    PaintManager m_paintManager;
    COLORREF m_colorKey = kDefaultColorKey;
    int m_alpha = kOpaque;
    MObject* m_parent = nullptr;

private:
    unsigned m_scrollVertical = 0;
    unsigned m_scrollHorizontal = 0;
    bool m_reframing = false;
};
