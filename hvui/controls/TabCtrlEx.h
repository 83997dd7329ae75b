// TabCtrlEx: a vertical column of large image tabs, each bound to a page
// that is shown while its tab is selected and hidden otherwise. Owns its
// items and their tab images; the pages belong to their own containers.
#pragma once

#include <memory>
#include <vector>

#include "MControlFont.h"

class HVUI_API TabCtrlEx : public MControlFont {
public:
    // Fixed geometry in pixels, not scaled: tabs 235 × 274, every 374.
    static constexpr int kTabWidth = 235;
    static constexpr int kTabHeight = 274;
    static constexpr int kTabPitch = 374;
    static constexpr Gdiplus::ARGB kActiveCaption = 0xFFFFFFFF;
    static constexpr Gdiplus::ARGB kIdleCaption = 0xFF878787;

    TabCtrlEx(MObject* parent, unsigned id, CRect rect, int visible, int enabled);
    ~TabCtrlEx() override;

    void DrawControl(HDC& dc, CRect clip) override;

    int AddItem(CString text, int identifier, CString imageName, MControl* page);
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
    void ShowPages();
    void DrawItem(Gdiplus::Graphics& graphics, Item& item, int index, const Gdiplus::Font* font,
                  const Gdiplus::StringFormat& format);
    std::vector<CRect> HitRects();

    std::vector<std::unique_ptr<Item>> m_items;
    int m_hovered = -1;
    int m_selected = -1;
    CriticalSection m_listLock;
};
