// CComboBoxList: the scrolling list inside a combo box's drop-down, a panel
// whose vertical scroll bar carries the position (range = content height).
// Owns a copy of the box's items; reports the chosen row to its popup with
// (88, 2, row, 19).
#pragma once

#include <vector>

#include "ComboItem.h"
#include "MPanel.h"

class HVUI_API CComboBoxList : public MPanel {
public:
    static constexpr unsigned kListId = 88;
    static constexpr unsigned kCodeChosen = 2;
    static constexpr LPARAM kChosenTag = 19;
    static constexpr unsigned kCodeScrolled = 8;
    static constexpr int kBaseRowHeight = 30;
    static constexpr int kScrollBarWidth = 6;

    CComboBoxList(MObject* parent, unsigned id, CRect rect, int visible);
    ~CComboBoxList() override;

    void DrawControl(HDC& dc, CRect clip) override;
    LRESULT OnMessage(unsigned id, unsigned code, WPARAM wParam, LPARAM lParam) override;
    void SetTextColor(Gdiplus::Color colour) override;

    int AddItem(const ComboItem& item);
    int GetItemCount();
    HVUI_INLINE_API int GetRowHeight() const { return m_rowHeight; }
    HVUI_INLINE_API int GetHoverItem() const { return m_hovered; }
    HVUI_INLINE_API int GetChosenItem() const { return m_chosen; }
    int GetFirstVisible();
    int IsScrollBarShown();
    // Requests a fresh paint of the whole list.
    HVUI_INLINE_API void Repaint() { UpdateControl(1, 0); }

protected:
    void SetControlRect(CRect rect) override;
    int OnControlMouseMove(unsigned flags, CPoint point) override;
    int OnControlLButtonDown(unsigned flags, CPoint point) override;
    int OnControlLButtonUp(unsigned flags, CPoint point) override;
    int OnControlScroll(int kind, unsigned direction, CPoint point) override;

private:
    struct View {
        int offset;   // pixel offset of the content
        int first;    // first visible row
        int last;     // last visible row
        bool scrollBar;
    };
    View CurrentView();
    int RowAt(CPoint point);
    void PaintRows(HDC surface, const View& view);
    // The bar's range follows the content: zero while every row fits.
    void SyncScrollRange();

    std::vector<ComboItem> m_items;
    int m_hovered = -1;
    int m_chosen = -1;
    const int m_rowHeight;
    Gdiplus::ARGB m_normalText = 0xFFFFFFFF;
    Gdiplus::ARGB m_highlightText = 0xFFFFFFFF;
    Gdiplus::ARGB m_outline;
    CriticalSection m_listLock;
};
