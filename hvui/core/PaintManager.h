// PaintManager: the engine behind one dialog window.
//
// It owns the top-level area and control lists, paints the whole window
// off-screen into a 32-bit section and presents it (optionally as a
// per-pixel-alpha layered window), turns redraw requests into invalidation,
// routes mouse, wheel and keys to the top-level controls, runs window timers
// for controls and one multimedia timer whose thread ticks the animation
// list, and shows the status overlay, the caret and the balloon. It keeps the
// dialog's image cache and font table and is the window's OLE drop target.
//
// Owns: the controls of both lists, the background image, the drop bitmap,
// the tooltip window, the balloon, the timer records, the image cache and the
// font table. Borrows: the dialog, the controls of the animation list.
//
// Locks: held only to read or change what they guard, never across a
// control's paint, input handler or GDI+ (hvui/README.md, "Locks", has the
// table and the order). A control is never deleted while the deleting thread
// holds a control lock.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "CRect.h"
#include "CString.h"
#include "CIDropTarget.h"
#include "CriticalSection.h"
#include "GdiplusFwd.h"
#include "HVTimer.h"
#include "HvuiExport.h"
#include "ImgResInfo.h"
#include "MAirBladder.h"

class MControl;
class MControlFont;
class MObject;
class MWindow;

// How the background image covers the client area.
enum enumBackMode { BackModeStretch = 0, BackModeNineSlice = 1 };
// Importance of a status message; kept with the text for the application.
enum MsgLevel { MsgInfo = 0, MsgWarning = 1, MsgError = 2 };

class HVUI_API PaintManager : public HVTimer, public CIDropTarget {
public:
    // Resource ids of the library's own scroll bar images and font.
    static constexpr unsigned kHorizontalScrollImageId = 101;
    static constexpr unsigned kVerticalScrollImageId = 102;
    static constexpr unsigned kFontResourceId = 106;
    static constexpr unsigned kTooltipToolId = 1313;
    static constexpr int kTooltipMaxWidth = 256;
    // Window timers of the manager itself; control timers get ids below 240.
    static constexpr unsigned kOverlayHoldTimer = 66;
    static constexpr unsigned kOverlayFadeTimer = 88;
    static constexpr unsigned kProgressTimer = 99;
    static constexpr unsigned kCaretTimer = 6553;
    // Brings back a paint that came sooner than the paint interval allows.
    static constexpr unsigned kPaintCapTimer = 6554;
    // Posted as a timer message: start or stop the animation timer now.
    static constexpr unsigned kAnimationGateTimer = 6555;
    static constexpr unsigned kControlTimerIdLimit = 240;
    // Posted to the drop target window while dragging over it and after a drop.
    static constexpr UINT kDragOverMessage = 2025;
    static constexpr UINT kDropMovedMessage = 2026;
    static constexpr DWORD kDefaultPaintPauseMs = 16;  // about 60 paints a second

    PaintManager();
    virtual ~PaintManager();
    PaintManager(const PaintManager&) = delete;
    PaintManager& operator=(const PaintManager&) = delete;

    // ---- set-up ----------------------------------------------------------------
    // Attaches the live window of dialog and prepares the dialog's fonts.
    void Init(HWND window, MWindow* dialog);
    // Releases everything the window's life needed: controls, images, fonts.
    void DestroyData();
    // Releases what the window's life needed (device contexts, drop target,
    // timers, input state) but keeps the controls, images and fonts: a popup
    // shows the same controls again in its next window.
    void ReleaseWindow();
    HVUI_INLINE_API int IsInitialised() const { return m_initialised; }
    HVUI_INLINE_API HWND GetPaintWnd() const { return m_paintWnd; }
    HVUI_INLINE_API HWND GetToolTipWnd() const { return m_paintWnd; }
    HVUI_INLINE_API HDC GetPaintDC() const { return m_paintDC; }
    HVUI_INLINE_API MWindow* GetMDialog() const { return m_dialog; }
    HVUI_INLINE_API COLORREF GetBackColor() const { return m_backColor; }
    HVUI_INLINE_API unsigned GetScrollVID() const { return m_scrollVId; }
    HVUI_INLINE_API unsigned GetScrollHID() const { return m_scrollHId; }
    void SetScrollResID(unsigned vertical, unsigned horizontal);
    void GetClientRect(CRect& rect) const;
    void GetWindowRect(CRect& rect) const;
    void GetClientSize(int& width, int& height) const;
    void SetCapture();
    void ReleaseCapture();
    LRESULT SendMessageW(UINT msg, WPARAM wParam, LPARAM lParam);
    BOOL PostMessageW(UINT msg, WPARAM wParam, LPARAM lParam);
    HVUI_INLINE_API COLORREF GetDefaultEnabledColor() const { return m_defaultEnabledColor; }
    HVUI_INLINE_API void SetDefaultEnabledColor(COLORREF colour) { m_defaultEnabledColor = colour; }

    // ---- the dialog-level factory ------------------------------------------------------
    // kind 0 appends to the area list, 1 to the control list, anything else
    // inserts nowhere (the caller owns the result). Null for unknown names.
    MControl* CreateControl(unsigned kind, MObject* parent, const wchar_t* className, unsigned id, CRect rect,
                            const wchar_t* title, int visible, int enabled);
    MControl* CreateControl(MObject* parent, const wchar_t* className, unsigned id, CRect rect,
                            const wchar_t* title, int visible, int enabled);
    MControl* CreateArea(MObject* parent, const wchar_t* className, unsigned id, CRect rect, const wchar_t* title,
                         int visible, int enabled);

    // ---- window messages -------------------------------------------------------------------
    // Answers non-zero when the message is handled and the default window
    // procedure must not see it.
    LRESULT OnWindowMessage(UINT msg, WPARAM wParam, LPARAM lParam);
    // Tab navigation and the tooltip relay; 1 when the message is consumed.
    int PreTranslateMessage(MSG* message);
    MControl* GetNextFocusableControl();
    MControl* GetPrevFocusableControl();
    HVUI_INLINE_API int IsCaptured() const { return m_captured; }
    HVUI_INLINE_API int IsTracking() const { return m_tracking; }
    HVUI_INLINE_API int IsLeftPressOnControl() const { return m_leftPressOnControl; }
    HVUI_INLINE_API void EnableWndDrag(int enable) { m_windowDrag = enable ? 1 : 0; }
    HVUI_INLINE_API int IsWndDragEnabled() const { return m_windowDrag; }

    // Handlers for a window that dispatches these messages itself and wants the
    // manager's answer; OnWindowMessage never calls them.
    int OnCreate(CREATESTRUCTW* create);
    int OnSize(unsigned type, int cx, int cy);
    int OnMouseHover(WPARAM wParam, LPARAM lParam);
    int OnNcCalcSize(int calcValid, NCCALCSIZE_PARAMS* params);
    int OnWindowPosChanging(WINDOWPOS* position);
    int OnNcPaint();
    int OnDestroy();
    // Re-applies the window frame, then tells the window its position and size
    // again (move and size messages), as after a real change.
    int OnWindowPosChanged(WINDOWPOS* position);
    void PostNcDestroy();

    // ---- size limits --------------------------------------------------------------------------
    void SetWindowMaxSize(int width, int height);
    void SetWindowMixSize(int width, int height);
    void GetWindowMinSize(int& width, int& height) const;
    void GetWindowManSize(int& width, int& height) const;
    void OnGetMinMaxInfo(MINMAXINFO* info) const;

    // ---- the top-level lists ---------------------------------------------------------
    HVUI_INLINE_API const std::vector<MControl*>& GetControls() const { return m_controls; }
    HVUI_INLINE_API const std::vector<MControl*>& GetAreas() const { return m_areas; }
    // Takes ownership: kind 0 appends to the area list, 1 to the control
    // list; any other kind inserts nothing and answers 0.
    int AppendChild(unsigned kind, MControl* control);
    // Control list first, then area list, each depth first.
    MControl* GetControl(unsigned id);
    // Deletes a member of the control list.
    void RemoveControl(MControl* control);
    void ClearAreaControls();
    void ClearControls();
    void ClearAllControls();
    // Drops every plain pointer the manager keeps to a control that goes.
    void ForgetControl(MControl* control);
    // Deletes a control that is no longer listed anywhere. Inside a message
    // the routing may still hold list locks and stand in the control's own
    // handler, so the deletion waits until the outermost message is done.
    void DisposeControl(MControl* control);

    // ---- redraw requests and invalidation -----------------------------------------------
    LRESULT OnControlUpdate(CRect rect, int updateCode, MControl* control);
    void Invalidate();
    void InvalidateRect(CRect rect, int erase);
    void SetLayeredWindow(int layered);
    HVUI_INLINE_API int IsLayered() const { return m_layered; }
    void SetBackColor(COLORREF background, COLORREF border);
    HVUI_INLINE_API COLORREF GetBorderColor() const { return m_borderColor; }
    void SetBackMode(enumBackMode mode, int parameter);
    int LoadBKImage(CString name);
    int LoadBKImage(unsigned id, CString type);
    HVUI_INLINE_API Gdiplus::Image* GetBKImage() const { return m_backImage.get(); }
    // The whole window picture for update (background, controls, caret,
    // overlay) in a new 32-bit bottom-up section the caller deletes; bits
    // receives its pixels. Null without a live window.
    HBITMAP RenderFrame(const CRect& update, unsigned char** bits);
    // The shortest time between two queued paints, which caps the repaint
    // rate while animations invalidate continuously; 0 for measuring. A paint
    // that comes sooner is put off with a timer, never waited for.
    HVUI_INLINE_API void SetPaintPause(DWORD milliseconds) { m_paintPauseMs = milliseconds; }

    // ---- focus, hover and tooltip ------------------------------------------------------------
    HVUI_INLINE_API MControl* GetFocusControl() const { return m_focusControl; }
    // The old focus control loses its focus, control gains it.
    void SetFocusControl(MControl* control);
    HVUI_INLINE_API MControl* GetHoverControl() const { return m_hoverControl; }
    HVUI_INLINE_API void SetHoverControl(MControl* control) { m_hoverControl = control; }
    HVUI_INLINE_API int GetTooltipCtrlID() const { return m_tooltipOwnerId; }
    HVUI_INLINE_API void SetTooltipCtrlID(int id) { m_tooltipOwnerId = id; }
    void SetTooltip(CString text, CRect rect);
    void ClearTooltip();
    HVUI_INLINE_API HWND GetTooltipWindow() const { return m_tooltipWnd; }

    // ---- timers ----------------------------------------------------------------------------------
    // A window timer for control under its own key: 1 when armed, 0 when the
    // key already runs or the system refuses. A killed key keeps its id.
    int SetTimer(MControl* control, unsigned key, unsigned elapse);
    int KillTimer(MControl* control, unsigned key);
    void KillTimer(MControl* control);
    void ClearTimers();
    // The window timer id serving (control, key), 0 when there is none.
    unsigned GetTimerID(MControl* control, unsigned key);
    // The dialog's animation timer on the multimedia timer thread.
    void SetMTimer(unsigned periodMs);
    void KillMTimer(unsigned id);
    void KillMTimer();
    HVUI_INLINE_API unsigned GetMTimerID() const { return m_mTimerId; }
    int AddMTimer(MControl* control);
    int DeleteFSTimer(MControl* control);
    // Starts or stops the system timer behind SetMTimer's period: it runs
    // only while the animation list has members and the window is shown.
    // UI thread, outside routing: a stop waits for a tick in flight.
    void UpdateAnimationTimer();
    // Any thread, any lock held: has the UI thread run UpdateAnimationTimer
    // from its message loop.
    void RequestAnimationTimerUpdate();
    void OnMTimer(unsigned id) override;

    // ---- status overlay ------------------------------------------------------------------------
    void SetMessage(CString text, CRect box, MsgLevel level);
    void SetProgress(int percent, CString text, CRect box);
    HVUI_INLINE_API int GetOverlayAlpha() const { return m_overlayAlpha; }
    HVUI_INLINE_API int GetProgress() const { return m_progress; }
    HVUI_INLINE_API CRect GetOverlayBox() const { return m_overlayBox; }

    // ---- caret ---------------------------------------------------------------------------------
    void CreateCaret(HBITMAP bitmap, int width, int height);
    void SetCaretPos(MControlFont* object, int x, int y);
    void ShowCaret(int show);
    void DrawCaret(HDC dc, const CRect& clip);
    HVUI_INLINE_API MControlFont* GetCurrentCaretObject() const { return m_caretObject; }

    // ---- balloon -------------------------------------------------------------------------------
    int SetAirBladderMsg(const wchar_t* text, POINT screenPoint, AIRBLADDER_TYPE type, AIRBLADDER_MODE mode);
    int ShowAirBladder(int show, int mode);
    HVUI_INLINE_API MAirBladder* GetAirBladder() const { return m_balloon.get(); }

    // ---- drag and drop -------------------------------------------------------------------------
    int InitDragDrop();
    HBITMAP GetDropBitmap(MControl* control, const CRect& part, unsigned long colour);
    bool OnDrop(FORMATETC* format, STGMEDIUM& medium, DWORD* effect) override;
    void OnDragOver(POINTL point) override;

    // ---- image cache ------------------------------------------------------------------------------
    // The first requester's frame count decides the entry; later requests
    // for the same name or id get that entry unchanged.
    ImgResInfo* AddImgResInfo(const wchar_t* name, int count);
    ImgResInfo* AddImgResInfo(unsigned id, CString type, int count, int fromProgram);
    void ClearImgResInfo();

    // ---- font table -------------------------------------------------------------------------------
    Gdiplus::FontFamily* AddTempFont(const wchar_t* name, const wchar_t* path);
    Gdiplus::FontFamily* AddTempFont(const wchar_t* name, unsigned resourceId);
    Gdiplus::FontFamily* FindTempFont(const wchar_t* name);
    void AddGDITempFont(unsigned resourceId);
    void ClearTempFont();

private:
    struct FontEntry;
    struct TimerRecord {
        HWND window;
        unsigned key;
        unsigned id;
        int killed;
        MControl* control;
    };

    // The background as last painted, at the client size: redrawing a
    // stretched or nine-sliced image on every paint costs more than all
    // controls together.
    struct BackgroundCache {
        HDC dc = nullptr;
        HBITMAP bitmap = nullptr;
        HGDIOBJ previous = nullptr;
        CSize size;
        void Release();
        ~BackgroundCache() { Release(); }
    };

    // painting
    LRESULT Paint();
    // The paint cap: a queued paint sooner than the interval is put off.
    bool DeferPaintIfEarly();
    static long long NowUs();
    void OnPaintCapTimer();
    bool AnimationTimerWanted();
    // The composition behind RenderFrame and Paint; pixels only for layered.
    void ComposeInto(HDC memory, unsigned char* pixels, int width, int height, const CRect& update);
    bool KeepFrame(int width, int height);
    void DrawBackground(HDC dc, const CRect& client, const CRect& area);
    // The window's background picture over the client area (flat colours
    // are filled by DrawBackground itself).
    void PaintBackgroundImage(HDC dc, const CRect& client);
    // Draws the top-level members from index first on (areas, then controls).
    void DrawControls(HDC& dc, const CRect& clip, size_t first = 0);
    // The part of the frame a paint of update must compose: update grown by
    // every stale surface it touches, since such a surface takes in all
    // that lies under it.
    CRect ComposeArea(const CRect& update, const CRect& client);
    // The index (areas, then controls) of the last top-level member that
    // covers area from a valid surface; 0 with none: nothing before it shows.
    size_t FirstShownMember(const CRect& area, bool& covered);
    void DrawOverlay(HDC dc);
    void ClearLayeredPixels(unsigned char* bits, int width, int height, const CRect& rect);
    void FixLayeredAlpha(unsigned char* bits, int width, int height, const CRect& rect);
    void Present(HDC paintDC, HDC memory, const CRect& update, int width, int height);
    // window timers
    void OnTimerMessage(unsigned id);
    void OnOverlayTimer(unsigned id);
    void OnCaretTimer();
    unsigned NextControlTimerId();
    bool IsWindowLive() const { return m_paintWnd && ::IsWindow(m_paintWnd); }
    // top-level input
    void OnMouseMoveMessage(unsigned flags, CPoint point);
    void OnMouseLeaveMessage();
    void OnButtonDown(bool left, unsigned flags, CPoint point);
    void OnButtonUp(bool left, unsigned flags, CPoint point);
    void OnButtonDblClk(bool left, unsigned flags, CPoint point);
    int OnWheel(unsigned flags, int delta, CPoint screenPoint);
    void OnActivate(int active);
    void OnKeyDownMessage(unsigned key);
    bool HoverAccepts(unsigned flags, CPoint point) const;
    void StartControlDrag(CPoint point);
    static unsigned ModifierCode();
    MControl* ScanFocusable(bool forwards);

    bool EnsureTooltipWindow();
    int OnSetCursorMessage();
    void ReleaseTooltip();
    void MarkOverlapping(std::vector<MControl*>& list, CriticalSection& lock, MControl* requester, bool& passed,
                         const CRect& rect, CRect& invalid);
    Gdiplus::FontFamily* StoreFirstFamily(const wchar_t* name,
                                          std::unique_ptr<Gdiplus::PrivateFontCollection> collection);
    void DeleteAll(std::vector<MControl*>& list, CriticalSection& lock);
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam);
    void EmptyGraveyard();

    MWindow* m_dialog = nullptr;
    int m_initialised = 0;
    HWND m_paintWnd = nullptr;
    HDC m_paintDC = nullptr;
    HDC m_extraDC = nullptr;
    COLORREF m_backColor = 0x050505;
    COLORREF m_borderColor = 0xE6FF49;
    CSize m_maxSize{0, 0};
    CSize m_minSize{1282, 682};
    CPoint m_lastMovePoint;
    CPoint m_pressPoint;
    int m_dragArmed = 0;
    HBITMAP m_dropBitmap = nullptr;
    int m_layered = 0;
    std::unique_ptr<Gdiplus::Image> m_backImage;
    CSize m_backImageSize{0, 0};
    CString m_overlayText;
    MsgLevel m_overlayLevel = MsgInfo;
    int m_overlayAlpha = 0;
    int m_progress = 0;
    int m_progressTarget = 0;
    CString m_overlayFont = L"Segoe UI";
    CRect m_overlayBox;
    unsigned m_mTimerId = 0;
    unsigned m_mTimerPeriod = 0;
    unsigned m_timerIdCounter = 4096;
    int m_active = 0;
    int m_tracking = 0;
    int m_leftPressOnControl = 0;
    int m_captured = 0;
    int m_windowDrag = 1;
    COLORREF m_defaultEnabledColor = 0x808080;
    unsigned m_scrollVId = 0;
    unsigned m_scrollHId = 0;
    MControl* m_hoverControl = nullptr;
    MControl* m_focusControl = nullptr;
    int m_tooltipOwnerId = 0;
    HWND m_tooltipWnd = nullptr;
    bool m_tooltipHasTool = false;
    std::unique_ptr<MAirBladder> m_balloon;
    int m_balloonMode = 0;
    int m_backMode = BackModeStretch;
    int m_backModeParameter = 4;
    CRect m_caretRect;
    int m_caretShown = 0;
    int m_caretEnabled = 0;
    MControlFont* m_caretObject = nullptr;
    bool m_dropTargetRegistered = false;
    DWORD m_paintPauseMs = kDefaultPaintPauseMs;
    // UI thread only: the paint cap's state.
    bool m_queuedPaint = false;
    long long m_lastPaintUs = 0;
    HRGN m_deferredPaint = nullptr;
    BackgroundCache m_backCache;
    // The window's frame between paints (not layered), composed in place.
    BackgroundCache m_frame;
    // UI thread only: how deep inside OnWindowMessage we are, and the
    // controls whose deletion waits for it to unwind.
    int m_dispatchDepth = 0;
    std::vector<MControl*> m_graveyard;

    std::vector<MControl*> m_areas;
    std::vector<MControl*> m_controls;
    std::vector<MControl*> m_animated;
    CriticalSection m_areaLock;
    CriticalSection m_controlLock;
    CriticalSection m_animationLock;
    // Held by the timer thread for a whole animation tick, so that a control
    // leaving the list waits for a tick that may still be running it. The
    // animation lock itself is only held to copy or change the list.
    CriticalSection m_tickLock;
    // Guards starting and stopping the animation timer (m_mTimerId and its
    // period); taken before the animation lock, never while calling out.
    CriticalSection m_mTimerGateLock;

    std::map<std::wstring, std::unique_ptr<ImgResInfo>> m_fileImages;
    std::map<unsigned, std::unique_ptr<ImgResInfo>> m_programImages;
    std::map<unsigned, std::unique_ptr<ImgResInfo>> m_libraryImages;
    CriticalSection m_imageLock;

    std::vector<std::unique_ptr<TimerRecord>> m_timerRecords;
    CriticalSection m_timerLock;

    std::map<std::wstring, std::unique_ptr<FontEntry>> m_fonts;
    std::vector<HANDLE> m_gdiFonts;
    CriticalSection m_fontLock;
};
