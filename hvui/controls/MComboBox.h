// MComboBox: a drop-down selector. The closed box shows the selected item's
// text over a four-frame image (normal, hover, pressed, disabled); a click
// opens a CComboBoxWnd listing every item. Owns its items and the popup
// object (whose window may already be gone). Items carry a text and a
// 32-bit data value; callers select and read them by data.
#pragma once

#include <memory>
#include <atomic>
#include <vector>

#include "ComboItem.h"
#include "MControlFont.h"

class CComboBoxWnd;

class HVUI_API MComboBox : public MControlFont {
public:
    enum State { kNormal = 0, kHover = 1, kPressed = 2, kDisabled = 3 };
    static constexpr unsigned kCodeChosen = 2;
    // The box's message to itself that opens the drop-down.
    static constexpr unsigned kOpenSource = 9;
    static constexpr int kMaxVisibleRows = 10;
    static constexpr int kPopupGap = 2;
    static constexpr int kPopupFrame = 12;
    // Popup, visible, clip siblings and children. No minimise box: a
    // drop-down cannot be minimised, and a window that can is handed to the
    // window manager, which slows every opening and closing.
    static constexpr DWORD kPopupStyle = WS_POPUP | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
    static constexpr DWORD kPopupExStyle = WS_EX_TOOLWINDOW;

    MComboBox(MObject* parent, unsigned id, CRect rect, int visible, int enabled);
    ~MComboBox() override;

    void DrawControl(HDC& dc, CRect clip) override;
    LRESULT OnMessage(unsigned id, unsigned code, WPARAM wParam, LPARAM lParam) override;

    int AddItem(const wchar_t* text, long data, const wchar_t* iconName, Gdiplus::Color colour);
    int InsertItem(int index, const wchar_t* text, long data, const wchar_t* iconName, Gdiplus::Color colour);
    int SetCurSel(int index);
    HVUI_INLINE_API int GetCurSel() const { return m_curSel; }
    long GetCurData();
    int FindData(long data);
    int SelectData(long data);
    long GetItemData(int index);
    int SetItemData(int index, long data);
    int SetItemText(int index, CString text);
    int DeleteItem(int index);
    int DelAllItems();
    int GetItemCount();

    void SetBackImage(const wchar_t* name);
    void SetBackImage(unsigned resourceId, CString type);
    void SetScrollResID(unsigned vertical, unsigned horizontal);
    HVUI_INLINE_API void SetTextRect(CRect rect) { m_textRect = rect; }
    void ResetTextRect();
    HVUI_INLINE_API CRect GetTextRect() const { return m_textRect; }
    int SetShowModeMID(int left, int top, int right, int bottom);

    HVUI_INLINE_API int IsOpen() const { return m_open; }
    HVUI_INLINE_API int GetState() const { return m_state; }
    HVUI_INLINE_API CComboBoxWnd* GetPopup() const { return m_popup.get(); }

protected:
    void SetControlRect(CRect rect) override;
    void SetControlEnabled(int enabled) override;
    int OnControlMouseMove(unsigned flags, CPoint point) override;
    int OnControlLButtonDown(unsigned flags, CPoint point) override;
    int OnControlLButtonUp(unsigned flags, CPoint point) override;
    int OnControlKeyDown(unsigned key, unsigned repeat, unsigned modifiers) override;

private:
    int ChangeState(int state);
    void OpenDropDown();
    CRect PopupScreenRect();
    void LoadPopupBackground(CComboBoxWnd& popup);
    void Chosen(int index);
    bool ValidIndex(int index) const { return index >= 0 && index < static_cast<int>(m_items.size()); }

    std::vector<ComboItem> m_items;
    CriticalSection m_itemLock;
    int m_curSel = -1;
    std::unique_ptr<CComboBoxWnd> m_popup;
    int m_state = kNormal;
    std::atomic<bool> m_open{false};
    CRect m_textRect;
    CString m_popupImage;
    unsigned m_popupResource = 0;
    CString m_popupResourceType = L"PNG";
    unsigned m_scrollVertical = 0;
    unsigned m_scrollHorizontal = 0;
    int m_marginLeft = 4;
    int m_marginTop = 4;
    int m_marginRight = 35;
    int m_marginBottom = 4;
};
