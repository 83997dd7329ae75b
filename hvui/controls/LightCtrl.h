// LightCtrl: the row of light mode tiles. Each tile is an image strip (four
// frames: normal, hover, selected, unused) with a caption and the caller's
// light mode number. An optional paging bar along the bottom edge scrolls
// the row sideways when there are more tiles than fit a page.
//
// Owns its items and their images. The item vector is guarded by its own
// lock; everything runs on the UI thread.
//
// Notification: code 2 with lParam = the selected index when the button is
// released over a tile. Notifications of its own children go on to the
// parent unchanged.
//
// A panel: its vertical scroll bar (child 1) stands at the right edge when
// the control is shorter than the all-items height, and the wheel moves it
// when it does not page the row. The panel's horizontal bar is never shown:
// the row pages with its own strip.
#pragma once

#include <memory>
#include <vector>

#include "MPanel.h"

class HVUI_API LightCtrl : public MPanel {
public:
    static constexpr unsigned kCodeSelected = 2;
    static constexpr unsigned kCodeScrollBarMoved = 8;
    static constexpr int kTileWidth = 122;
    static constexpr int kTileHeight = 102;
    static constexpr int kTileGap = 10;
    static constexpr int kDrawMargin = 50;
    static constexpr int kPagingBarHeight = 7;
    static constexpr int kDefaultItemsPerPage = 4;
    static constexpr int kFrameCount = 4;
    static constexpr Gdiplus::ARGB kCaptionColor = 0xFFC8C8C8;
    static constexpr Gdiplus::ARGB kPagingThumbColor = 0xFF0078D7;
    static constexpr int kPagingThumbWidth = 20;
    static constexpr int kWheelScrollRows = 10;

    LightCtrl(MObject* parent, unsigned id, CRect rect, int visible, int enabled);
    ~LightCtrl() override;

    void DrawControl(HDC& dc, CRect clip) override;
    LRESULT OnMessage(unsigned id, unsigned code, WPARAM wParam, LPARAM lParam) override;
    LRESULT OnWindowMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

    void AddLight(CString caption, int lightMode, CString imageName);
    void ClearList();
    int GetItemCount();
    void SetCurLightMode(int mode);
    int GetCurLightMode();
    int GetLightMode(int index);
    HVUI_INLINE_API int GetSelectItem() const { return m_selected; }
    HVUI_INLINE_API int GetHoverItem() const { return m_hovered; }
    int SetItemText(int index, CString caption);
    CString GetItemText(int index);
    // The tile rectangle of item index in control coordinates (empty outside).
    CRect GetItemRect(int index);

    void SetProgressBar(int on);
    HVUI_INLINE_API int IsProgressBarVisible() const { return m_pagingBarVisible; }
    void SetItemsPerPage(int count);
    HVUI_INLINE_API int GetItemsPerPage() const { return m_itemsPerPage; }
    void SetViewStartIndex(int start);
    HVUI_INLINE_API int GetViewStartIndex() const { return m_viewStart; }
    HVUI_INLINE_API float GetScrollPosition() const { return m_scrollPosition; }
    HVUI_INLINE_API float GetViewOffset() const { return m_viewOffset; }
    void SetAllItemHeight(int height);
    HVUI_INLINE_API int IsDragging() const { return m_dragging; }

protected:
    void SetControlRect(CRect rect) override;
    int OnControlMouseMove(unsigned flags, CPoint point) override;
    int OnControlLButtonDown(unsigned flags, CPoint point) override;
    int OnControlLButtonUp(unsigned flags, CPoint point) override;
    int OnControlScroll(int kind, unsigned direction, CPoint point) override;

private:
    struct Item {
        CString caption;
        int lightMode = 0;
        // Shared, so that a paint draws a copy of the tiles after the item lock.
        std::shared_ptr<Gdiplus::Image> image;
        int frameWidth = 0;
        int imageHeight = 0;
        CRect rect;
    };

    bool IsPagingActive();
    int PageSlack();  // tiles beyond one page, at least 0
    CRect PagingStrip() const;
    void LayoutTiles();
    void DragTo(int x);
    int HandleDragMove(CPoint point);
    int TileAt(CPoint point);
    void SetHovered(int index);
    void ClearItems();
    void PaintContent(HDC dc);
    void PaintTiles(Gdiplus::Graphics& graphics);
    void PaintPagingBar(Gdiplus::Graphics& graphics);
    static void UseCursor(LPCWSTR cursor);

    int ScrollPanelByWheel(unsigned direction);
    void PlacePanelScrollBar();
    // The dialog window holds the mouse during a paging drag.
    void CaptureDialogMouse();
    void EndDrag();
    bool IsDialogWindow(HWND window) const;
    void ReleaseDialogMouse();

    std::vector<std::unique_ptr<Item>> m_items;
    CriticalSection m_itemLock;
    int m_hovered = -1;
    int m_selected = -1;
    int m_allItemsHeight = 0;
    int m_pagingBarVisible = 1;
    int m_viewStart = 0;
    int m_itemsPerPage = kDefaultItemsPerPage;
    int m_pagingBarHeight = kPagingBarHeight;
    int m_dragging = 0;
    CPoint m_dragStart;
    int m_dragStartIndex = 0;
    float m_scrollPosition = 0.0f;
    float m_viewOffset = 0.0f;
    CPoint m_lastDrag;
};
