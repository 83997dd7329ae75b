// PaintManager: the engine behind one dialog window.
//
// This is its first half: the top-level area and control lists (owning), the
// focus and tooltip bookkeeping the control tree relies on, redraw requests
// turned into invalidation, the animation list (not owning), the dialog's
// image cache (owning its ImgResInfo entries) and its font table (owning the
// GDI+ families, their private collections and the GDI memory fonts).
// Painting, input routing at the top level, window and multimedia timers,
// the status overlay, the balloon and drag and drop join it later.
//
// Lock order: the manager's locks rank above every control lock; the image
// and font locks guard leaf data and are never held while calling out.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "CRect.h"
#include "CString.h"
#include "CriticalSection.h"
#include "GdiplusFwd.h"
#include "HvuiExport.h"
#include "ImgResInfo.h"

class MControl;
class MWindow;

class HVUI_API PaintManager {
public:
    // Resource ids of the library's own scroll bar images and font.
    static constexpr unsigned kHorizontalScrollImageId = 101;
    static constexpr unsigned kVerticalScrollImageId = 102;
    static constexpr unsigned kFontResourceId = 106;
    static constexpr unsigned kTooltipToolId = 1313;
    static constexpr int kTooltipMaxWidth = 256;

    PaintManager();
    virtual ~PaintManager();
    PaintManager(const PaintManager&) = delete;
    PaintManager& operator=(const PaintManager&) = delete;

    // ---- set-up ----------------------------------------------------------------
    // Attaches the live window of dialog and prepares the dialog's fonts.
    void Init(HWND window, MWindow* dialog);
    // Releases everything the window's life needed: controls, images, fonts.
    void DestroyData();
    int IsInitialised() const { return m_initialised; }
    HWND GetPaintWnd() const { return m_paintWnd; }
    HWND GetToolTipWnd() const { return m_paintWnd; }
    HDC GetPaintDC() const { return m_paintDC; }
    MWindow* GetMDialog() const { return m_dialog; }
    COLORREF GetBackColor() const { return m_backColor; }
    unsigned GetScrollVID() const { return m_scrollVId; }
    unsigned GetScrollHID() const { return m_scrollHId; }
    void SetScrollResID(unsigned vertical, unsigned horizontal);

    // ---- the top-level lists ---------------------------------------------------------
    const std::vector<MControl*>& GetControls() const { return m_controls; }
    const std::vector<MControl*>& GetAreas() const { return m_areas; }
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

    // ---- redraw requests and invalidation -----------------------------------------------
    LRESULT OnControlUpdate(CRect rect, int updateCode, MControl* control);
    void Invalidate();
    void InvalidateRect(CRect rect, int erase);
    void SetLayeredWindow(int layered) { m_layered = layered ? 1 : 0; }
    int IsLayered() const { return m_layered; }

    // ---- focus, hover and tooltip ------------------------------------------------------------
    MControl* GetFocusControl() const { return m_focusControl; }
    // The old focus control loses its focus, control gains it.
    void SetFocusControl(MControl* control);
    MControl* GetHoverControl() const { return m_hoverControl; }
    void SetHoverControl(MControl* control) { m_hoverControl = control; }
    int GetTooltipCtrlID() const { return m_tooltipOwnerId; }
    void SetTooltipCtrlID(int id) { m_tooltipOwnerId = id; }
    void SetTooltip(CString text, CRect rect);
    void ClearTooltip();
    HWND GetTooltipWindow() const { return m_tooltipWnd; }

    // ---- animation list -------------------------------------------------------------------------
    int AddMTimer(MControl* control);
    int DeleteFSTimer(MControl* control);

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

    bool EnsureTooltipWindow();
    void MarkOverlapping(std::vector<MControl*>& list, CriticalSection& lock, MControl* requester, bool& passed,
                         const CRect& rect, CRect& invalid);
    Gdiplus::FontFamily* StoreFirstFamily(const wchar_t* name,
                                          std::unique_ptr<Gdiplus::PrivateFontCollection> collection);
    static void DeleteAll(std::vector<MControl*>& list, CriticalSection& lock);

    MWindow* m_dialog = nullptr;
    int m_initialised = 0;
    HWND m_paintWnd = nullptr;
    HDC m_paintDC = nullptr;
    COLORREF m_backColor = 0x050505;
    int m_layered = 0;
    unsigned m_scrollVId = 0;
    unsigned m_scrollHId = 0;
    MControl* m_hoverControl = nullptr;
    MControl* m_focusControl = nullptr;
    int m_tooltipOwnerId = 0;
    HWND m_tooltipWnd = nullptr;
    bool m_tooltipHasTool = false;

    std::vector<MControl*> m_areas;
    std::vector<MControl*> m_controls;
    std::vector<MControl*> m_animated;
    CriticalSection m_areaLock;
    CriticalSection m_controlLock;
    CriticalSection m_animationLock;

    std::map<std::wstring, std::unique_ptr<ImgResInfo>> m_fileImages;
    std::map<unsigned, std::unique_ptr<ImgResInfo>> m_programImages;
    std::map<unsigned, std::unique_ptr<ImgResInfo>> m_libraryImages;
    CriticalSection m_imageLock;

    std::map<std::wstring, std::unique_ptr<FontEntry>> m_fonts;
    std::vector<HANDLE> m_gdiFonts;
    CriticalSection m_fontLock;
};
