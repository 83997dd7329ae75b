// CTabCtrl5: a horizontal row of image tabs without pages. Tab images are
// entries of the dialog's shared image cache (borrowed, never deleted here).
#pragma once

#include <memory>
#include <vector>

#include "MControlFont.h"

class HVUI_API CTabCtrl5 : public MControlFont {
public:
    // Tabs start every 200 pixels (not scaled), as wide as their frame.
    static constexpr int kTabPitch = 200;
    static constexpr Gdiplus::ARGB kCaptionColor = 0xFFFFFFFF;

    CTabCtrl5(MObject* parent, unsigned id, CRect rect, int visible, int enabled);
    ~CTabCtrl5() override;

    void DrawControl(HDC& dc, CRect clip) override;

    int AddItem(CString text, int identifier, const wchar_t* imageName);
    int AddItem(CString text, int identifier);
    void SetSelectItem(int index);
    HVUI_INLINE_API int GetSelectItem() const { return m_selected; }
    HVUI_INLINE_API int GetHoverItem() const { return m_hovered; }
    void SetItemText(int index, CString text);
    int GetItemID(int index);
    int GetItemCount();
    void ClearList();

protected:
    int OnControlMouseMove(unsigned flags, CPoint point) override;
    int OnControlLButtonDown(unsigned flags, CPoint point) override;
    int OnControlLButtonUp(unsigned flags, CPoint point) override;

private:
    struct Item;
    int Append(std::unique_ptr<Item> item);
    std::vector<CRect> HitRects();

    std::vector<std::unique_ptr<Item>> m_items;
    int m_hovered = -1;
    int m_selected = -1;
    CriticalSection m_listLock;
};
