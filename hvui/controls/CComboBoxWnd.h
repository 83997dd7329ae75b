// CComboBoxWnd: the drop-down of a combo box, a popup window that holds the
// box's item list. Its parent (GetParent) is the box; it passes a chosen row
// on to the box as (0, 2, row, 19) and closes, and tells the box with
// (0, 22, 0, 0) whenever its window goes.
#pragma once

#include "MPopupWnd.h"

class CComboBoxList;

class HVUI_API CComboBoxWnd : public MPopupWnd {
public:
    static constexpr unsigned kCodeDestroyed = 22;
    // The list sits inside the popup's frame.
    static constexpr int kListInsetX = 3;
    static constexpr int kListInsetY = 6;

    CComboBoxWnd();
    ~CComboBoxWnd() override;

    void InitUI(CRect client) override;
    void UISize(CRect client) override;
    LRESULT OnMessage(unsigned id, unsigned code, WPARAM wParam, LPARAM lParam) override;
    int OnDestroy() override;
    LRESULT OnControlUpdate(CRect rect, int updateCode, MControl* control) override;

    HVUI_INLINE_API CComboBoxList* GetList() const { return m_list; }
    void SetScrollIds(unsigned vertical, unsigned horizontal);

private:
    CComboBoxList* m_list = nullptr;  // owned by the paint manager
    unsigned m_scrollVertical = 0;
    unsigned m_scrollHorizontal = 0;
};
