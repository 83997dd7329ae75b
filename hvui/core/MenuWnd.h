// MenuWnd: a self-laying-out custom menu of MenuItem controls in a popup
// window. Reports the chosen item to its owner window by posting the notify
// message (wParam from the item, lParam the item id) and closes after an
// ordinary item was chosen. Owns its items (through the paint manager) and
// its check and hover images, which the items borrow.
#pragma once

#include <memory>

#include "MPopupWnd.h"

class MenuItem;

class HVUI_API MenuWnd : public MPopupWnd {
public:
    static constexpr COLORREF kMenuColorKey = 0xFFFFFF;
    static constexpr int kDefaultFontSize = 16;
    static constexpr int kDefaultTextIndent = 5;
    static constexpr int kDefaultItemHeight = 35;
    static constexpr int kDefaultWidth = 300;
    static constexpr int kDefaultMargin = 6;
    static constexpr int kMinimumMargin = 2;
    // Room the title keeps to the right edge.
    static constexpr int kTitleSlack = 4;

    explicit MenuWnd(MObject* parent);
    ~MenuWnd() override;

    int Create(HWND owner, CPoint at, unsigned notifyMessage, unsigned backgroundId, int modeParam, int width,
               enumBackMode mode);
    int Create(HWND owner, CPoint at, unsigned notifyMessage, CString background, int modeParam, int width,
               enumBackMode mode);
    int Create(HWND owner, CPoint at, unsigned notifyMessage);

    int AddMenu(CString title, unsigned id, int imageId, int, int);
    int AddMenu(CString title, unsigned id, CString image, int, int);
    int AddSeparator(unsigned id, CString image);
    void SetItemTitle(CString value, CString title);
    void SetItemVisible(CString value, int visible);
    void SetItemEnable(CString value, int enabled);
    void SetItemCheck(CString value, int check);
    void SetMenuPoint();

    LRESULT OnMessage(unsigned id, unsigned code, WPARAM wParam, LPARAM lParam) override;
    LRESULT SendMessageToParent(unsigned id, unsigned code, WPARAM wParam, LPARAM lParam);

    void SetMenuFont(CString face, int size, int style);
    HVUI_INLINE_API void SetItemHeight(int height) { m_itemHeight = height; }
    HVUI_INLINE_API void SetTextIndent(int indent) { m_textIndent = indent; }
    HVUI_INLINE_API void SetItemFrameWidth(int width) { m_itemFrameWidth = width; }
    void SetMargins(int top, int bottom);
    HVUI_INLINE_API void SetHoverColor(Gdiplus::ARGB colour) { m_hoverColor = colour; }
    int SetCheckImage(CString name);
    int SetHoverImage(CString name);
    HVUI_INLINE_API int GetMenuWidth() const { return m_menuWidth; }
    MenuItem* FindItem(CString value);

private:
    int CreateMenuWindow(HWND owner, CPoint at, int width, unsigned notifyMessage);
    MenuItem* AppendItem(CString title, unsigned id);
    void GrowToFit(const CString& title);

    unsigned m_notifyMessage = 0;
    CString m_fontFace = L"msjh";
    int m_fontSize = kDefaultFontSize;
    int m_fontStyle = 0;
    int m_textIndent = kDefaultTextIndent;
    int m_itemHeight = kDefaultItemHeight;
    int m_menuWidth = kDefaultWidth;
    int m_itemFrameWidth = 0;
    int m_topMargin = kDefaultMargin;
    int m_bottomMargin = kDefaultMargin;
    HWND m_owner = nullptr;
    std::unique_ptr<Gdiplus::Image> m_checkImage;
    std::unique_ptr<Gdiplus::Image> m_hoverImage;
    Gdiplus::ARGB m_hoverColor;
};
