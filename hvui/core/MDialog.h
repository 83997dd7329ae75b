// MDialog: the framework's top-level window, a native window hosting a tree
// of windowless controls through its embedded PaintManager.
//
// Maps window messages to overridable handlers, then lets the paint manager
// paint, route input and run timers. Applications derive from it and
// override InitUI, UISize, OnMessage and, where needed, OnWindowMessage,
// OnUserCloseWindow and PostNcDestroy. The dialog owns its paint manager and
// through it every control; it does not destroy its native window.
#pragma once

#include "CRect.h"
#include "CString.h"
#include "HvuiExport.h"
#include "MAirBladder.h"
#include "MObject.h"
#include "MWindow.h"
#include "PaintManager.h"

class HVUI_API MDialog : public MWindow, public MObject {
public:
    // DoOK and its siblings post this; OnUserCloseWindow turns it into a close.
    static constexpr UINT kUserCloseMessage = 0x0442;
    static constexpr unsigned kResultOK = 1;
    static constexpr unsigned kResultCancel = 2;
    static constexpr unsigned kResultYes = 6;
    static constexpr unsigned kResultNo = 7;

    MDialog();
    ~MDialog() override;

    // ---- virtual operations, MWindow slots continued ---------------------------
    LRESULT OnWindowMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    int PreTranslateMessage(MSG* message) override;
    int OnInitDialog() override;
    void OnDestroyMessage(HWND window) override;
    virtual POINT GetAirBladderPoint(MControl* control, unsigned type);
    virtual void OnMinimize();
    virtual void OnMaximize();
    virtual void InitUI(CRect client);
    virtual void UISize(CRect client);
    virtual LRESULT OnMessage(unsigned id, unsigned code, WPARAM wParam, LPARAM lParam);
    virtual LRESULT OnUserCloseWindow(WPARAM wParam, LPARAM lParam);
    virtual int OnCreate(CREATESTRUCTW* create);
    virtual int OnSize(unsigned type, int cx, int cy);
    virtual int OnMouseMove(unsigned flags, CPoint point);
    virtual int OnMouseLeave(WPARAM wParam, LPARAM lParam);
    virtual int OnMouseHover(WPARAM wParam, LPARAM lParam);
    virtual int OnMouseWheel(unsigned flags, short delta, CPoint screenPoint);
    virtual int OnLButtonDown(unsigned flags, CPoint point);
    virtual int OnLButtonUp(unsigned flags, CPoint point);
    virtual int OnLButtonDblClk(unsigned flags, CPoint point);
    virtual int OnRButtonDown(unsigned flags, CPoint point);
    virtual int OnRButtonUp(unsigned flags, CPoint point);
    virtual int OnRButtonDblClk(unsigned flags, CPoint point);
    virtual int OnKeyDown(unsigned key, unsigned repeat, unsigned flags);
    virtual int OnNcHitTest(CPoint screen);
    virtual int OnGetMinMaxInfo(MINMAXINFO* info);
    virtual int OnNcCalcSize(int calcValid, NCCALCSIZE_PARAMS* params);
    virtual int OnNcActivate(int active);
    virtual int OnWindowPosChanging(WINDOWPOS* position);
    virtual int OnWindowPosChanged(WINDOWPOS* position);
    virtual int OnPaint();
    virtual int OnTimer(unsigned id);
    virtual int OnNcPaint();
    virtual int OnClose();
    virtual int OnDestroy();
    virtual void PostNcDestroy();

    // ---- the MObject side: the dialog as parent of top-level controls ----------
    const wchar_t* GetClassNameW() const override;
    LRESULT OnBaseMessage(unsigned id, unsigned code, WPARAM wParam, LPARAM lParam) override;
    LRESULT OnControlUpdate(CRect rect, int updateCode, MControl* control) override;

    // ---- controls ------------------------------------------------------------------
    MControl* CreateControl(const wchar_t* className, unsigned id, CRect rect, const wchar_t* title, int visible,
                            int enabled);
    MControl* CreateArea(const wchar_t* className, unsigned id, CRect rect, const wchar_t* title, int visible,
                         int enabled);
    HVUI_INLINE_API MControl* GetControl(unsigned id) { return m_paintManager.GetControl(id); }
    HVUI_INLINE_API const std::vector<MControl*>& GetControls() const { return m_paintManager.GetControls(); }
    HVUI_INLINE_API void SetFocusControl(MControl* control) { m_paintManager.SetFocusControl(control); }
    HVUI_INLINE_API PaintManager* GetPaintManager() { return &m_paintManager; }

    // ---- timers, modal result, presentation ---------------------------------------------
    HVUI_INLINE_API void SetMTimer(unsigned periodMs) { m_paintManager.SetMTimer(periodMs); }
    HVUI_INLINE_API void KillMTimer(unsigned timerId) { m_paintManager.KillMTimer(timerId); }
    void DoOK();
    void DoCancel();
    void DoClose();
    void DoYes();
    void DoNo();
    HVUI_INLINE_API void SetLayeredWindow(int layered) { m_paintManager.SetLayeredWindow(layered); }
    void SetupBackTranslucent();
    HVUI_INLINE_API void EnableWndDrag(int enable) { m_paintManager.EnableWndDrag(enable); }
    HVUI_INLINE_API void SetBackMode(enumBackMode mode, int parameter) { m_paintManager.SetBackMode(mode, parameter); }
    HVUI_INLINE_API int LoadBKImage(CString name) { return m_paintManager.LoadBKImage(name); }
    HVUI_INLINE_API int LoadBKImage(unsigned id, CString type) { return m_paintManager.LoadBKImage(id, type); }
    HVUI_INLINE_API void SetScrollResID(unsigned vertical, unsigned horizontal) { m_paintManager.SetScrollResID(vertical, horizontal); }
    HVUI_INLINE_API void SetBackColor(COLORREF background, COLORREF border) { m_paintManager.SetBackColor(background, border); }
    HVUI_INLINE_API void SetResizable(int resizable) { m_resizableFrame = resizable ? 1 : 0; }
    HVUI_INLINE_API void SetColorKey(COLORREF key) { m_colorKey = key; }
    HVUI_INLINE_API void SetWindowAlpha(int alpha) { m_windowAlpha = alpha; }
    HVUI_INLINE_API void SetMessageOffset(int offset) { m_messageOffset = offset; }

    // ---- tooltip, overlay, balloon -------------------------------------------------------
    HVUI_INLINE_API void SetTooltip(CString text, CRect rect) { m_paintManager.SetTooltip(text, rect); }
    HVUI_INLINE_API void ClearTooltip() { m_paintManager.ClearTooltip(); }
    HVUI_INLINE_API void SetTooltipCtrlID(int id) { m_tooltipId = id; }
    HVUI_INLINE_API int GetTooltipCtrlID() const { return m_tooltipId; }
    void SetMessage(CString text, CRect box, MsgLevel level);
    HVUI_INLINE_API void SetProgress(int percent, CString text, CRect box) { m_paintManager.SetProgress(percent, text, box); }
    int SetAirBladderMsg(const wchar_t* text, POINT screenPoint, AIRBLADDER_TYPE type);

    // Shadows, regions: the framework draws none.
    HVUI_INLINE_API int CreateShadow() { return 0; }
    HVUI_INLINE_API void SetSize(int) {}
    HVUI_INLINE_API void SetSharpness(unsigned) {}
    HVUI_INLINE_API void SetDarkness(unsigned) {}
    HVUI_INLINE_API void SetPosition(int, int) {}
    HVUI_INLINE_API void SetShadowColor(COLORREF) {}
    HVUI_INLINE_API int SetShadowImage(CString) { return 0; }
    HVUI_INLINE_API int SetShadowImage(unsigned, CString) { return 0; }
    HVUI_INLINE_API void SetShadowShow(int) {}
    HVUI_INLINE_API void SetupRegion() {}

    HVUI_INLINE_API CRect GetClientRectangle() const { return m_clientRect; }

protected:
    int m_resizableFrame = 0;
    PaintManager m_paintManager;
    COLORREF m_colorKey = 0xFFFFFF;
    int m_windowAlpha = 255;
    int m_messageOffset = 0;
    int m_tooltipId = 0;
    CRect m_clientRect;

private:
    LRESULT Dispatch(UINT msg, WPARAM wParam, LPARAM lParam, bool& done);
    void PostUserClose(unsigned result);
};
