// MControl: the base of every windowless control.
//
// A control lives in exactly one list of one container (a PaintManager at the
// top, or another control) and is owned by it: containers delete their
// children, a control never removes itself from its parent. Each control has
// two child lists, each behind its own re-entrant lock:
//   - the area list: background layers, painted before the control's own
//     content, never given input;
//   - the control list: painted after the own content in list order (later
//     on top) and fed with mouse, wheel, key and timer events.
// Locks are always taken parent before child. The UI thread paints, routes
// input and creates/deletes controls; the animation timer and the worker call
// OnTimer, setters and redraw requests from their own threads.
#pragma once

#include <atomic>
#include <vector>

#include "CPoint.h"
#include "CRect.h"
#include "CString.h"
#include "CriticalSection.h"
#include "HvuiExport.h"
#include "MObject.h"
#include "MemorySurface.h"

class PaintManager;

// A position relative to a span [a, b] (PositionItem2Value).
struct FS_POSITION_ITEM {
    int kind;       // 0 offset, 1 from the centre, 2 percentage
    int fromEnd;    // measure from b instead of a
    float value;
};

class HVUI_API MControl : public MObject {
public:
    // Ids 1 and 2 belong to a panel's scroll bars: they see points unscrolled.
    static constexpr unsigned kScrollBarIdFirst = 1;
    static constexpr unsigned kScrollBarIdLast = 2;
    // Notification codes sent by the base routing.
    static constexpr unsigned kCodeDoubleClick = 3;
    static constexpr unsigned kCodeKey = 14;

    MControl(MObject* parent, unsigned id, CRect rect, int visible, int enabled, int response);
    ~MControl() override;
    MControl(const MControl&) = delete;
    MControl& operator=(const MControl&) = delete;

    // ---- virtual operations, in slot order --------------------------------
    const wchar_t* GetClassNameW() const override;
    virtual void InitControl(PaintManager* manager);
    virtual int IsDragDrop();
    virtual int OnScroll(int kind, unsigned direction, CPoint point);
    virtual int PtInRect(CPoint point);
    virtual void Draw(HDC& dc, CRect clip);
    virtual void DrawControl(HDC& dc, CRect clip) = 0;
    virtual int DrawSubControls(HDC& dc, CRect clip);
    virtual int IsDraw(CPoint point);
    virtual void SetUpdate(int update, unsigned long colour);
    virtual int SetControlFocus(int focus);
    virtual void InitUI(CRect client);
    virtual int OnMousePointChange(CPoint& point);
    virtual int OnCheckMouseResponse(unsigned flags, CPoint point);
    virtual LRESULT OnWindowMessage(UINT msg, WPARAM wParam, LPARAM lParam);
    virtual LRESULT OnMessage(unsigned id, unsigned code, WPARAM wParam, LPARAM lParam);

protected:
    virtual void SetControlRect(CRect rect);
    virtual void SetControlVisible(int visible);
    virtual void SetControlWndVisible(int visible);
    virtual void SetControlEnabled(int enabled);
    virtual int OnControlTimer();
    virtual HBITMAP GetControlDropBitmap();
    virtual int OnControlMouseMove(unsigned flags, CPoint point);
    virtual int OnControlSetCursor(unsigned flags, CPoint point);
    virtual int OnControlLButtonDown(unsigned flags, CPoint point);
    virtual int OnControlLButtonUp(unsigned flags, CPoint point);
    virtual int OnControlLButtonDblClk(unsigned flags, CPoint point);
    virtual int OnControlScroll(int kind, unsigned direction, CPoint point);
    virtual int OnControlRButtonDown(unsigned flags, CPoint point);
    virtual int OnControlRButtonUp(unsigned flags, CPoint point);
    virtual int OnControlRButtonDblClk(unsigned flags, CPoint point);
    virtual int OnControlKeyDown(unsigned key, unsigned repeat, unsigned modifiers);
    virtual void OnPositionChange();
    virtual void InvalidateRect(const RECT* rect, int erase);

public:
    // ---- plain field access ------------------------------------------------
    HVUI_INLINE_API unsigned GetControlID() const { return m_id; }
    HVUI_INLINE_API CRect GetRect() const { return m_rect; }
    HVUI_INLINE_API MObject* GetParantObject() const { return m_parent; }
    HVUI_INLINE_API void SetParent(MObject* parent) { m_parent = parent; }
    HVUI_INLINE_API PaintManager* GetManager() const { return m_manager; }
    HVUI_INLINE_API const std::vector<MControl*>& GetControls() const { return m_controls; }
    HVUI_INLINE_API const std::vector<MControl*>& GetAreas() const { return m_areas; }
    HVUI_INLINE_API int IsVisible() const { return m_visible; }
    HVUI_INLINE_API int IsEnabled() const { return m_enabled; }
    HVUI_INLINE_API int GetRresponse() const { return m_response; }
    HVUI_INLINE_API void SetRresponse(int response) { m_response = response ? 1 : 0; }
    HVUI_INLINE_API int IsTabStop() const { return m_tabStop; }
    HVUI_INLINE_API void SetTabStop(int tabStop) { m_tabStop = tabStop ? 1 : 0; }
    HVUI_INLINE_API void SetDragDrop(int dragDrop) { m_dragDrop = dragDrop ? 1 : 0; }
    HVUI_INLINE_API int GetDblClk() const { return m_dblClk; }
    HVUI_INLINE_API void SetDblClk(int dblClk) { m_dblClk = dblClk ? 1 : 0; }
    HVUI_INLINE_API int IsFocused() const { return m_focused; }
    HVUI_INLINE_API int IsKeyDown() const { return m_keyDown; }
    HVUI_INLINE_API int IsRunTimer() const { return m_runTimer; }
    HVUI_INLINE_API void SetRunTimer(int run) { m_runTimer = run ? 1 : 0; }
    HVUI_INLINE_API int GetUpdate() const { return m_update; }
    HVUI_INLINE_API int GetAnimate() const { return m_animate; }
    HVUI_INLINE_API int UseImageECM() const { return m_imageEcm; }
    HVUI_INLINE_API int IsPressedInside() const { return m_pressedInside; }
    CString GetTooltip() const;
    HVUI_INLINE_API HCURSOR GetCursor() const { return m_cursor; }
    HVUI_INLINE_API void SetHotKey(unsigned key, unsigned modifiers) { m_hotKey = key; m_hotKeyModifiers = modifiers; }
    HVUI_INLINE_API void SetTrackInside(int track) { m_trackInside = track ? 1 : 0; }
    HVUI_INLINE_API int IsPointOutside() const { return m_pointOutside; }
    HVUI_INLINE_API void SetNotifyDblClk(int notify) { m_notifyDblClk = notify ? 1 : 0; }
    HVUI_INLINE_API void SetNotifyKey(int notify) { m_notifyKey = notify ? 1 : 0; }
    HVUI_INLINE_API MControl* GetHotChild() const { return m_hotChild; }
    HVUI_INLINE_API HDC GetMemDC() const { return m_surface.GetDC(); }
    HVUI_INLINE_API HDC GetAnimateDC() const { return m_animateSurface.GetDC(); }

    // ---- state changes that ask the parent for a redraw -------------------
    void SetManager(PaintManager* manager);
    void SetRect(CRect rect);
    void SetRect(int x, int y, int width, int height);
    void SetVisible(int visible);
    void SetVisible(int visible, int notify);
    int IsParentVisible();
    void SetEnabled(int enabled);
    void UpdateControl(int updateCode, int force);
    void UpdateControl(CRect rect, int updateCode, int force);
    void UpdateAControl(int animated, int force);

    // ---- cached surfaces ---------------------------------------------------
    void UpdateMemDC(HDC& reference, int width, int height);
    void UpdateAnimateDC(HDC& reference, int width, int height);
    // Gives back the surfaces of this control and everything inside it
    // (UI thread, outside painting); the next paint that shows them makes
    // them anew. For what stays hidden a while, such as a page.
    void ReleaseSurfaces();

    // ---- tooltip and cursor ------------------------------------------------
    void SetTooltip(const wchar_t* text);
    void SetTooltip(CString text, CRect rect);
    void ClearTooltip();
    void SetTooltipCtrlID(int id);
    int GetTooltipCtrlID();
    long SetCursorEx(const wchar_t* name);
    HBITMAP GetDropBitmap();

    // ---- focus -------------------------------------------------------------
    void OnFocus(int focus);
    int IsFocusControl();
    MControl* GetFocusControl(MControl* from);
    MControl* GetNextFocusableControl(MControl* from);
    MControl* GetPrevFocusableControl(MControl* from);

    // ---- the tree ------------------------------------------------------------
    // Depth first: the control list (each child, then its subtree), then the
    // area list likewise.
    MControl* GetControl(unsigned id);
    void AddMTimer();
    // Takes ownership of child: kind 0 appends it to the area list, kind 1 to
    // the control list. Any other kind inserts nothing and answers 0.
    int AppendChild(unsigned kind, MControl* child);
    // Deletes a member of the control list; area children are left alone.
    int RemoveControl(MControl* child);
    void RemoveAllControl();
    LRESULT SendMessageW(unsigned code, WPARAM wParam, LPARAM lParam);

    // ---- routing entry points ---------------------------------------------------
    int OnMouseMove(unsigned flags, CPoint point);
    int OnLButtonDown(unsigned flags, CPoint point);
    int OnLButtonUp(unsigned flags, CPoint point);
    int OnLButtonDblClk(unsigned flags, CPoint point);
    int OnRButtonDown(unsigned flags, CPoint point);
    int OnRButtonUp(unsigned flags, CPoint point);
    int OnRButtonDblClk(unsigned flags, CPoint point);
    int OnKeyDown(unsigned key, unsigned repeat, unsigned modifiers);
    int OnKeyUp(unsigned key, unsigned repeat, unsigned modifiers);
    int OnTimer();

protected:
    // The cached-surface contract of DrawControl, in two steps. PrepareMemDC
    // answers true when the surface had to be made again (update field 0):
    // it then holds the pixels already painted under the control, ready for
    // the control's content. PresentMemDC copies the surface to dc.
    bool PrepareMemDC(HDC& dc);
    void PresentMemDC(HDC& dc);
    int PositionItem2Value(const FS_POSITION_ITEM& item, int a, int b);
    // The redraw request every setter ends with.
    void RequestRedraw(const CRect& rect, int updateCode);
    CPoint ChildPoint(const MControl* child, const CPoint& original, const CPoint& translated) const;
    HVUI_INLINE_API bool IsRoutable() const { return m_visible && m_response; }

    MObject* m_parent;
    PaintManager* m_manager = nullptr;
    unsigned m_id;
    CRect m_rect;
    int m_visible;
    int m_enabled;
    int m_dragDrop = 0;
    int m_response;
    int m_tabStop = 0;
    int m_dblClk = 0;
    int m_pressedInside = 0;
    int m_keyDown = 0;
    int m_focused = 0;
    unsigned m_hotKey = 0;
    unsigned m_hotKeyModifiers = 0;
    std::atomic<int> m_update{0};
    std::atomic<int> m_animate{0};
    int m_runTimer = 0;
    int m_imageEcm = 0;
    std::vector<MControl*> m_areas;
    std::vector<MControl*> m_controls;
    CriticalSection m_areaLock;
    CriticalSection m_controlLock;
    MControl* m_hotChild = nullptr;
    int m_surfaceWidth = 0;
    int m_surfaceHeight = 0;
    MemorySurface m_surface;
    int m_animateWidth = 0;
    int m_animateHeight = 0;
    MemorySurface m_animateSurface;
    CString m_tooltip;
    HCURSOR m_cursor = nullptr;
    int m_trackInside = 0;
    int m_notifyDblClk = 0;
    int m_notifyKey = 0;
    int m_pointOutside = 1;
    // Guards the strings and GDI objects that setters on other threads
    // replace while the UI thread paints. Never held across a redraw request.
    mutable CriticalSection m_stateLock;

private:
    enum class Button { Left, Right };
    int RouteButtonDown(Button button, unsigned flags, CPoint point);
    int RouteButtonUp(Button button, unsigned flags, CPoint point);
    int RouteDoubleClick(Button button, unsigned flags, CPoint point);
    MControl* DetachChild(std::vector<MControl*>& list, CriticalSection& lock, MControl* child);
};
