#include "MenuWnd.h"

#include "FontFallback.h"
#include "MRender.h"
#include "Manager.h"
#include "MenuItem.h"

using namespace Gdiplus;

namespace {

const wchar_t kMenuTitle[] = L"Menu Window";
const wchar_t kResourceType[] = L"PNG";
// The framework's window style, as a popup: a menu has no caption.
constexpr DWORD kMenuStyle = WS_POPUP | 0x80B;
constexpr int kItemImageFrames = 4;
const wchar_t kItemClass[] = L"MenuItem";

int MarginOrMinimum(int margin) { return margin ? margin : MenuWnd::kMinimumMargin; }

}  // namespace

MenuWnd::MenuWnd(MObject* parent) : m_hoverColor(MenuItem::kDefaultHoverColor) {
    m_parent = parent;
    m_colorKey = kMenuColorKey;
}

MenuWnd::~MenuWnd() = default;

int MenuWnd::CreateMenuWindow(HWND owner, CPoint at, int width, unsigned notifyMessage) {
    m_notifyMessage = notifyMessage;
    m_owner = owner;
    m_menuWidth = width;
    MWindow::Create(owner, kMenuTitle, kMenuStyle, 0, CRect(at.x, at.y, at.x + width, at.y + width));
    return IsLive() ? 1 : 0;
}

int MenuWnd::Create(HWND owner, CPoint at, unsigned notifyMessage, unsigned backgroundId, int modeParam, int width,
                    enumBackMode mode) {
    SetBackMode(mode, modeParam);
    const int created = CreateMenuWindow(owner, at, width, notifyMessage);
    LoadBKImage(backgroundId, kResourceType);
    return created;
}

int MenuWnd::Create(HWND owner, CPoint at, unsigned notifyMessage, CString background, int modeParam, int width,
                    enumBackMode mode) {
    SetBackMode(mode, modeParam);
    const int created = CreateMenuWindow(owner, at, width, notifyMessage);
    LoadBKImage(background);
    return created;
}

int MenuWnd::Create(HWND owner, CPoint at, unsigned notifyMessage) {
    return CreateMenuWindow(owner, at, m_menuWidth, notifyMessage);
}

void MenuWnd::SetMenuFont(CString face, int size, int style) {
    m_fontFace = face;
    m_fontSize = size;
    m_fontStyle = style;
}

void MenuWnd::SetMargins(int top, int bottom) {
    m_topMargin = top;
    m_bottomMargin = bottom;
}

int MenuWnd::SetCheckImage(CString name) {
    m_checkImage.reset(MRender::LoadImageFromFile(Manager::GetSkinFile(name)));
    return m_checkImage ? 1 : 0;
}

int MenuWnd::SetHoverImage(CString name) {
    m_hoverImage.reset(MRender::LoadImageFromFile(Manager::GetSkinFile(name)));
    return m_hoverImage ? 1 : 0;
}

// ---- items -----------------------------------------------------------------------------

void MenuWnd::GrowToFit(const CString& title) {
    FontFamily family(m_fontFace);
    std::unique_ptr<FontFamily> fallback;
    const FontFamily* used = &family;
    if (family.GetLastStatus() != Ok) {
        fallback = font_fallback::SansSerif();
        used = fallback.get();
    }
    // No family at all: nothing to measure, the menu keeps its width.
    if (!used) return;
    Font font(used, static_cast<REAL>(m_fontSize), m_fontStyle, UnitPixel);
    StringFormat format;
    format.SetAlignment(StringAlignmentNear);
    format.SetFormatFlags(StringFormatFlagsNoWrap);
    const Size bounds = MRender::GetTextBounds(font, format, title);
    if (bounds.Width > m_menuWidth - m_textIndent - kTitleSlack) m_menuWidth = bounds.Width + m_textIndent + kTitleSlack;
}

MenuItem* MenuWnd::AppendItem(CString title, unsigned id) {
    auto* item = dynamic_cast<MenuItem*>(CreateControl(kItemClass, id, CRect(), title, 1, 1));
    if (item) item->SetFont(m_fontFace, m_fontSize, static_cast<FontStyle>(m_fontStyle));
    return item;
}

int MenuWnd::AddMenu(CString title, unsigned id, int imageId, int, int) {
    GrowToFit(title);
    MenuItem* item = AppendItem(title, id);
    if (item && imageId != -1) item->SetImage(static_cast<unsigned>(imageId), kResourceType, kItemImageFrames);
    SetMenuPoint();
    return -1;
}

int MenuWnd::AddMenu(CString title, unsigned id, CString image, int, int) {
    GrowToFit(title);
    MenuItem* item = AppendItem(title, id);
    if (item && !image.IsEmpty()) item->SetImage(image, kItemImageFrames);
    SetMenuPoint();
    return -1;
}

int MenuWnd::AddSeparator(unsigned id, CString image) {
    MenuItem* item = AppendItem(L"", id);
    if (item) {
        item->SetSeparator(1);
        if (!image.IsEmpty()) item->SetImage(image, 1);
    }
    SetMenuPoint();
    return -1;
}

MenuItem* MenuWnd::FindItem(CString value) {
    for (MControl* control : m_paintManager.GetControls()) {
        auto* item = dynamic_cast<MenuItem*>(control);
        if (item && item->GetValue() == value) return item;
    }
    return nullptr;
}

void MenuWnd::SetItemTitle(CString value, CString title) {
    if (MenuItem* item = FindItem(value)) item->SetTitle(title);
}

void MenuWnd::SetItemVisible(CString value, int visible) {
    if (MenuItem* item = FindItem(value)) {
        item->SetVisible(visible);
        SetMenuPoint();
    }
}

void MenuWnd::SetItemEnable(CString value, int enabled) {
    if (MenuItem* item = FindItem(value)) item->SetEnabled(enabled);
}

void MenuWnd::SetItemCheck(CString value, int check) {
    if (MenuItem* item = FindItem(value)) item->SetCheck(check);
}

void MenuWnd::SetMenuPoint() {
    int y = MarginOrMinimum(m_topMargin);
    Image* hover = m_hoverImage.get();
    const int hoverW = hover ? static_cast<int>(hover->GetWidth()) : 0;
    const int hoverH = hover ? static_cast<int>(hover->GetHeight()) : 0;
    Image* check = m_checkImage.get();
    const int checkW = check ? static_cast<int>(check->GetWidth()) : 0;
    const int checkH = check ? static_cast<int>(check->GetHeight()) : 0;
    for (MControl* control : m_paintManager.GetControls()) {
        auto* item = dynamic_cast<MenuItem*>(control);
        if (!item) continue;
        item->SetFrameWidth(m_itemFrameWidth);
        if (!item->IsVisible()) {
            item->SetRect(CRect());
            continue;
        }
        if (item->IsSeparator()) {
            item->SetRect(CRect(m_textIndent + 1, y + 1, m_menuWidth - 1, y + 2));
            y += 4;
            continue;
        }
        item->SetRect(CRect(2, y, m_menuWidth - 2, y + m_itemHeight));
        y += m_itemHeight;
        item->SetTextIndent(m_textIndent);
        item->SetHoverImage(hover, hoverW, hoverH);
        item->SetHoverColor(m_hoverColor);
        item->SetCheckImage(check, checkW, checkH);
    }
    const int height = y + MarginOrMinimum(m_bottomMargin);
    if (!IsLive()) return;
    SetWindowPos(nullptr, 0, 0, m_menuWidth, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    ::InvalidateRect(m_hWnd, nullptr, FALSE);
}

// ---- notifications ------------------------------------------------------------------------

LRESULT MenuWnd::OnMessage(unsigned id, unsigned code, WPARAM wParam, LPARAM lParam) {
    return SendMessageToParent(id, code, wParam, lParam);
}

LRESULT MenuWnd::SendMessageToParent(unsigned id, unsigned code, WPARAM wParam, LPARAM) {
    if (m_owner && ::IsWindow(m_owner)) ::PostMessageW(m_owner, m_notifyMessage, wParam, static_cast<LPARAM>(id));
    if (code == MenuItem::kCodeChosen) CloseWindow();
    return 0;
}
