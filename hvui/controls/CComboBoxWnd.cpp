#include "CComboBoxWnd.h"

#include "CComboBoxList.h"

namespace {

const wchar_t kListClass[] = L"CComboBoxList";

}  // namespace

CComboBoxWnd::CComboBoxWnd() = default;

CComboBoxWnd::~CComboBoxWnd() {
    // Going without a last word to the box: it is the one deleting us.
    m_parent = nullptr;
    if (IsLive()) ::DestroyWindow(m_hWnd);
}

void CComboBoxWnd::SetScrollIds(unsigned vertical, unsigned horizontal) {
    m_scrollVertical = vertical;
    m_scrollHorizontal = horizontal;
    if (vertical || horizontal) SetScrollResID(vertical, horizontal);
}

void CComboBoxWnd::InitUI(CRect client) {
    CRect inner = client;
    inner.DeflateRect(kListInsetX, 0);
    inner.top += kListInsetY;
    inner.bottom -= kListInsetY;
    m_list = dynamic_cast<CComboBoxList*>(CreateControl(kListClass, CComboBoxList::kListId, inner, L"", 1, 1));
}

void CComboBoxWnd::UISize(CRect) {}

LRESULT CComboBoxWnd::OnMessage(unsigned id, unsigned code, WPARAM wParam, LPARAM lParam) {
    if (id != CComboBoxList::kListId || code != CComboBoxList::kCodeChosen) return 0;
    SendMessageToParent(CComboBoxList::kCodeChosen, wParam, lParam);
    CloseWindow();
    return 1;
}

int CComboBoxWnd::OnDestroy() {
    MPopupWnd::OnDestroy();
    SendMessageToParent(kCodeDestroyed, 0, 0);
    return 0;
}

LRESULT CComboBoxWnd::OnControlUpdate(CRect rect, int updateCode, MControl* control) {
    // The list covers nearly all of the popup: repaint it whole.
    m_paintManager.OnControlUpdate(rect, updateCode, control);
    m_paintManager.Invalidate();
    return 0;
}
