// MenuItem: one entry of a MenuWnd: a title, optionally checkable (alone or
// in a group), or a separator. Borrows its hover and check images from the
// menu; paints its four looks (normal, hover, ticked or pressed, hover on a
// ticked item) once into one cached surface.
#pragma once

#include "MControlFont.h"

class MenuWnd;

class HVUI_API MenuItem : public MControlFont {
public:
    enum State { kNormal = 0, kHover = 1, kTicked = 2, kHoverTicked = 6 };
    static constexpr unsigned kCodeChosen = 2;
    static constexpr unsigned kCodeCheckPressed = 7;
    static constexpr Gdiplus::ARGB kDefaultHoverColor = 0xFFBD30FF;
    static constexpr Gdiplus::ARGB kTitleColor = 0xFFFFFFFF;
    static constexpr Gdiplus::ARGB kDisabledTitleColor = 0xFE808080;
    static constexpr int kDefaultTextIndent = 30;

    MenuItem(MObject* parent, unsigned id, CRect rect, const wchar_t* title, int visible, int enabled);
    ~MenuItem() override;

    const wchar_t* GetClassNameW() const override;
    void DrawControl(HDC& dc, CRect clip) override;

    HVUI_INLINE_API int GetCheck() const { return m_check; }
    void SetCheck(int check);
    HVUI_INLINE_API void SetControlCheck(int check) { m_check = check ? 1 : 0; }
    HVUI_INLINE_API void SetCheckable(int checkable) { m_checkable = checkable ? 1 : 0; }
    HVUI_INLINE_API int IsCheckable() const { return m_checkable; }
    HVUI_INLINE_API int IsSeparator() const { return m_separator; }
    HVUI_INLINE_API void SetSeparator(int separator) { m_separator = separator ? 1 : 0; }
    HVUI_INLINE_API int IsPopup() const { return m_popup; }
    HVUI_INLINE_API MenuWnd* GetPopupMenu() const { return m_popupMenu; }
    void SetPopupMenu(MenuWnd* menu);
    CString GetGroupName() const;
    void SetGroupName(CString name);
    CString GetValue() const;
    void SetValue(CString value);
    HVUI_INLINE_API CString GetGroupValue() const { return GetGroupName(); }
    HVUI_INLINE_API void SetFrameWidth(int width) { m_frameWidth2 = width; }
    HVUI_INLINE_API void SetTextIndent(int indent) { m_textIndent = indent; }
    HVUI_INLINE_API void SetHoverColor(Gdiplus::ARGB colour) { m_hoverColor = colour; }
    void SetHoverImage(Gdiplus::Image* image, int width, int height);
    void SetCheckImage(Gdiplus::Image* image, int width, int height);
    HVUI_INLINE_API int IsHover() const { return m_state == kHover || m_state == kHoverTicked; }
    HVUI_INLINE_API int GetState() const { return m_state; }
    HVUI_INLINE_API int ResetGroupCheck() { return 1; }
    HVUI_INLINE_API MenuWnd* GetParentMenu() { return nullptr; }
    HVUI_INLINE_API void ShowPopupMenu() {}

protected:
    int OnControlMouseMove(unsigned flags, CPoint point) override;
    int OnControlLButtonDown(unsigned flags, CPoint point) override;
    int OnControlLButtonUp(unsigned flags, CPoint point) override;

private:
    int ChangeState(int state);
    int RestingState() const { return m_checkable && m_check ? kTicked : kNormal; }
    int HoverState() const { return m_checkable && m_check ? kHoverTicked : kHover; }
    void PaintSlot(Gdiplus::Graphics& graphics, int slot, const Gdiplus::Font* font);

    int m_state = kNormal;
    int m_check = 0;
    int m_pressed = 0;
    int m_checkable = 0;
    int m_separator = 0;
    int m_popup = 0;
    MenuWnd* m_popupMenu = nullptr;
    int m_textIndent = kDefaultTextIndent;
    int m_frameWidth2 = 0;  // horizontal inset of the hover background
    CString m_groupName = L"Menu Group";
    CString m_value;
    Gdiplus::ARGB m_hoverColor = kDefaultHoverColor;
    Gdiplus::Image* m_hoverImage = nullptr;  // the menu's
    int m_hoverWidth = 0;
    int m_hoverHeight = 0;
    Gdiplus::Image* m_checkImage = nullptr;  // the menu's
    int m_checkWidth = 0;
    int m_checkHeight = 0;
};
