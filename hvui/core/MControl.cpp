#include "MControl.h"

#include <cwchar>
#include <mutex>

#include "Manager.h"
#include "PaintManager.h"

namespace {

using Lock = std::lock_guard<CriticalSection>;

const wchar_t kClassName[] = L"MControl";
const wchar_t kDialogClassName[] = L"MDialog";

int Flag(int value) { return value ? 1 : 0; }

}  // namespace

MControl::MControl(MObject* parent, unsigned id, CRect rect, int visible, int enabled, int response)
    : m_parent(parent), m_id(id), m_rect(rect), m_visible(Flag(visible)), m_enabled(Flag(enabled)),
      m_response(Flag(response)) {}

MControl::~MControl() {
    // The manager keeps plain pointers (focus, animation list); a control
    // that goes must not leave them dangling.
    if (m_manager) m_manager->ForgetControl(this);
    RemoveAllControl();
}

// ---- virtual operations ----------------------------------------------------------

const wchar_t* MControl::GetClassNameW() const { return kClassName; }

void MControl::InitControl(PaintManager*) {}

int MControl::IsDragDrop() { return m_dragDrop; }

int MControl::OnScroll(int kind, unsigned direction, CPoint point) {
    if (!IsRoutable() || !m_enabled) return 0;
    CPoint translated = point;
    OnMousePointChange(translated);
    if (MControl* hot = m_hotChild) {
        const CPoint hp = ChildPoint(hot, point, translated);
        // The child under the pointer is asked first; when it declines, the
        // wheel still scrolls this control (a list scrolls over its rows).
        if (hot->PtInRect(hp) && hot->OnCheckMouseResponse(0, hp) && hot->OnScroll(kind, direction, hp)) return 1;
    }
    if (!PtInRect(point)) return 0;
    if (OnControlScroll(kind, direction, point)) return 1;
    for (MControl* child : CopyUnderLock(m_controls, m_controlLock)) {
        const CPoint cp = ChildPoint(child, point, translated);
        if (child->PtInRect(cp) && child->OnScroll(kind, direction, cp)) return 1;
    }
    return 0;
}

int MControl::PtInRect(CPoint point) { return m_visible && m_rect.PtInRect(point) ? 1 : 0; }

void MControl::Draw(HDC& dc, CRect clip) {
    if (!m_visible) return;
    if (!m_rect.Intersects(clip)) return;
    for (MControl* area : CopyUnderLock(m_areas, m_areaLock)) {
        if (area->GetRect().Intersects(m_rect)) area->Draw(dc, clip);
    }
    DrawControl(dc, clip);
    DrawSubControls(dc, clip);
}

int MControl::DrawSubControls(HDC& dc, CRect clip) {
    for (MControl* child : CopyUnderLock(m_controls, m_controlLock)) {
        if (child->IsVisible()) child->Draw(dc, clip);
    }
    return 1;
}

int MControl::IsDraw(CPoint) { return 0; }

void MControl::SetUpdate(int update, unsigned long colour) {
    // No lock: redraw requests arrive from other threads while the UI thread
    // holds this list's lock to route input, and routing in turn asks the
    // manager for redraws. The list only changes on the UI thread.
    m_update = update;
    for (size_t i = 0; i < m_controls.size(); ++i) {
        MControl* child = m_controls[i];
        if (child->GetRect().Intersects(m_rect)) child->SetUpdate(update, colour);
    }
}

int MControl::SetControlFocus(int focus) {
    if (focus) return 0;
    for (MControl* child : CopyUnderLock(m_controls, m_controlLock)) child->SetControlFocus(0);
    return 0;
}

void MControl::InitUI(CRect) {}

int MControl::OnMousePointChange(CPoint&) { return 0; }

int MControl::OnCheckMouseResponse(unsigned, CPoint) { return 1; }

LRESULT MControl::OnWindowMessage(UINT, WPARAM, LPARAM) { return 0; }

LRESULT MControl::OnMessage(unsigned, unsigned, WPARAM, LPARAM) { return 0; }

void MControl::SetControlRect(CRect rect) { m_rect = rect; }
void MControl::SetControlVisible(int visible) { m_visible = Flag(visible); }
void MControl::SetControlWndVisible(int) {}
void MControl::SetControlEnabled(int enabled) { m_enabled = Flag(enabled); }
int MControl::OnControlTimer() { return 0; }
HBITMAP MControl::GetControlDropBitmap() { return nullptr; }
int MControl::OnControlMouseMove(unsigned, CPoint) { return 0; }

int MControl::OnControlSetCursor(unsigned, CPoint point) {
    if (!m_cursor || !PtInRect(point)) return 0;
    ::SetCursor(m_cursor);
    return 1;
}

int MControl::OnControlLButtonDown(unsigned, CPoint) { return 0; }
int MControl::OnControlLButtonUp(unsigned, CPoint) { return 0; }
int MControl::OnControlLButtonDblClk(unsigned, CPoint) { return 0; }
int MControl::OnControlScroll(int, unsigned, CPoint) { return 0; }
int MControl::OnControlRButtonDown(unsigned, CPoint) { return 0; }
int MControl::OnControlRButtonUp(unsigned, CPoint) { return 0; }
int MControl::OnControlRButtonDblClk(unsigned, CPoint) { return 0; }

int MControl::OnControlKeyDown(unsigned key, unsigned, unsigned modifiers) {
    return m_hotKey != 0 && key == m_hotKey && modifiers == m_hotKeyModifiers ? 1 : 0;
}

void MControl::OnPositionChange() {}

void MControl::InvalidateRect(const RECT* rect, int erase) {
    if (!m_manager) return;
    HWND window = m_manager->GetPaintWnd();
    if (!window || !::IsWindow(window)) return;
    // A layered window is presented whole, so a part of it cannot be stale.
    if (m_manager->IsLayered()) ::InvalidateRect(window, nullptr, TRUE);
    else ::InvalidateRect(window, rect, erase);
}

// ---- plain accessors and redraw requests -------------------------------------------

CString MControl::GetTooltip() const {
    Lock lock(m_stateLock);
    return m_tooltip;
}

void MControl::RequestRedraw(const CRect& rect, int updateCode) {
    if (m_parent) m_parent->OnControlUpdate(rect, updateCode, this);
}

void MControl::SetManager(PaintManager* manager) {
    m_manager = manager;
    InitControl(manager);
}

void MControl::SetRect(CRect rect) {
    CRect changed;
    changed.UnionRect(m_rect, rect);
    SetControlRect(rect);
    if (m_visible) RequestRedraw(changed, 1);
}

void MControl::SetRect(int x, int y, int width, int height) { SetRect(CRect(x, y, x + width, y + height)); }

void MControl::SetVisible(int visible) { SetVisible(visible, 1); }

void MControl::SetVisible(int visible, int notify) {
    if (Flag(visible) == m_visible) return;
    SetControlVisible(visible);
    // Sent when hiding too: what was under the control must be repainted.
    if (notify) RequestRedraw(m_rect, 1);
}

int MControl::IsParentVisible() {
    if (!m_parent) return 0;
    const wchar_t* parentClass = m_parent->GetClassNameW();
    if (parentClass && wcscmp(parentClass, kDialogClassName) == 0) return 1;
    auto* parent = dynamic_cast<MControl*>(m_parent);
    if (!parent) return 1;  // a root object that is not a control
    return parent->IsVisible() && parent->IsParentVisible() ? 1 : 0;
}

void MControl::SetEnabled(int enabled) {
    if (Flag(enabled) == m_enabled) return;
    SetControlEnabled(enabled);
    if (m_visible) RequestRedraw(m_rect, 1);
}

void MControl::UpdateControl(int updateCode, int force) {
    if (m_visible || force) RequestRedraw(m_rect, updateCode);
}

void MControl::UpdateControl(CRect rect, int updateCode, int force) {
    if (m_visible || force) RequestRedraw(rect, updateCode);
}

void MControl::UpdateAControl(int animated, int force) {
    if (!m_visible && !force) return;
    m_animate = animated ? 0 : 1;
    RequestRedraw(m_rect, 0);
}

void MControl::UpdateMemDC(HDC& reference, int width, int height) {
    m_update = 1;
    m_surfaceWidth = width;
    m_surfaceHeight = height;
    m_surface.Create(reference, width, height);
}

void MControl::UpdateAnimateDC(HDC& reference, int width, int height) {
    m_animate = 1;
    m_animateWidth = width;
    m_animateHeight = height;
    m_animateSurface.Create(reference, width, height);
}

bool MControl::PrepareMemDC(HDC& dc) {
    const int width = m_rect.Width();
    const int height = m_rect.Height();
    if (m_update && m_surface.IsValid() && m_surfaceWidth == width && m_surfaceHeight == height) return false;
    UpdateMemDC(dc, width, height);
    if (!m_surface.IsValid()) return false;
    ::BitBlt(m_surface.GetDC(), 0, 0, width, height, dc, m_rect.left, m_rect.top, SRCCOPY);
    return true;
}

void MControl::PresentMemDC(HDC& dc) {
    if (!m_surface.IsValid()) return;
    ::BitBlt(dc, m_rect.left, m_rect.top, m_surfaceWidth, m_surfaceHeight, m_surface.GetDC(), 0, 0, SRCCOPY);
}

// ---- tooltip, cursor, drag image ------------------------------------------------------

void MControl::SetTooltip(const wchar_t* text) {
    Lock lock(m_stateLock);
    m_tooltip = text;
}

void MControl::SetTooltip(CString text, CRect rect) {
    if (!m_manager) return;
    m_manager->SetTooltip(text, rect);
    m_manager->SetTooltipCtrlID(static_cast<int>(m_id));
}

void MControl::ClearTooltip() {
    if (!m_manager) return;
    m_manager->ClearTooltip();
    m_manager->SetTooltipCtrlID(0);
}

void MControl::SetTooltipCtrlID(int) {}
int MControl::GetTooltipCtrlID() { return 0; }

long MControl::SetCursorEx(const wchar_t* name) {
    if (HCURSOR cursor = Manager::LoadNamedCursor(name)) m_cursor = cursor;
    return 0;
}

HBITMAP MControl::GetDropBitmap() {
    MControl* hot = m_hotChild;
    return hot ? hot->GetControlDropBitmap() : GetControlDropBitmap();
}

// ---- focus ------------------------------------------------------------------------------

void MControl::OnFocus(int focus) { SetControlFocus(focus); }

int MControl::IsFocusControl() { return m_manager && m_manager->GetFocusControl() == this ? 1 : 0; }

MControl* MControl::GetFocusControl(MControl*) { return nullptr; }
MControl* MControl::GetNextFocusableControl(MControl*) { return nullptr; }
MControl* MControl::GetPrevFocusableControl(MControl*) { return nullptr; }

// ---- the tree -----------------------------------------------------------------------------

MControl* MControl::GetControl(unsigned id) {
    // Walks without the locks, like SetUpdate: the lists change only on the
    // UI thread, and a lookup must not wait for a routing walk to end.
    for (size_t i = 0; i < m_controls.size(); ++i) {
        MControl* child = m_controls[i];
        if (child->GetControlID() == id) return child;
        if (MControl* found = child->GetControl(id)) return found;
    }
    for (size_t i = 0; i < m_areas.size(); ++i) {
        MControl* area = m_areas[i];
        if (area->GetControlID() == id) return area;
        if (MControl* found = area->GetControl(id)) return found;
    }
    return nullptr;
}

void MControl::AddMTimer() {
    if (m_manager) m_manager->AddMTimer(this);
}

int MControl::AppendChild(unsigned kind, MControl* child) {
    if (!child || kind > 1) return 0;
    if (kind == 0) {
        Lock lock(m_areaLock);
        m_areas.push_back(child);
    } else {
        Lock lock(m_controlLock);
        m_controls.push_back(child);
    }
    return 1;
}

MControl* MControl::DetachChild(std::vector<MControl*>& list, CriticalSection& lock, MControl* child) {
    Lock guard(lock);
    for (auto it = list.begin(); it != list.end(); ++it) {
        if (*it != child) continue;
        list.erase(it);
        if (m_hotChild == child) m_hotChild = nullptr;
        return child;
    }
    return nullptr;
}

int MControl::RemoveControl(MControl* child) {
    if (!child) return 0;
    if (m_manager && m_manager->GetFocusControl() == child) m_manager->SetFocusControl(nullptr);
    // Deleted after the lock is let go: the child's destructor takes the
    // manager's locks, which rank above ours.
    MControl* detached = DetachChild(m_controls, m_controlLock, child);
    if (m_manager) m_manager->DisposeControl(detached);
    else delete detached;
    return 0;
}

void MControl::RemoveAllControl() {
    std::vector<MControl*> areas;
    std::vector<MControl*> controls;
    {
        Lock lock(m_areaLock);
        areas.swap(m_areas);
    }
    {
        Lock lock(m_controlLock);
        controls.swap(m_controls);
        m_hotChild = nullptr;
    }
    for (MControl* area : areas) delete area;
    for (MControl* control : controls) delete control;
}

LRESULT MControl::SendMessageW(unsigned code, WPARAM wParam, LPARAM lParam) {
    return m_parent ? m_parent->OnBaseMessage(m_id, code, wParam, lParam) : 0;
}

// ---- mouse routing ---------------------------------------------------------------------------

CPoint MControl::ChildPoint(const MControl* child, const CPoint& original, const CPoint& translated) const {
    const unsigned id = child->GetControlID();
    return id >= kScrollBarIdFirst && id <= kScrollBarIdLast ? original : translated;
}

int MControl::OnMouseMove(unsigned flags, CPoint point) {
    if (!IsRoutable()) return 0;
    CPoint translated = point;
    OnMousePointChange(translated);

    if (MControl* hot = m_hotChild) {
        const CPoint hp = ChildPoint(hot, point, translated);
        // The hot child keeps the stream while the pointer is on it, and
        // while a press that started inside us is held.
        if ((hot->PtInRect(hp) && hot->OnCheckMouseResponse(flags, hp)) || m_pressedInside)
            return hot->OnMouseMove(flags, hp);
    }
    MControl* previousHot = m_hotChild;
    m_hotChild = nullptr;

    const CString tooltip = GetTooltip();
    if (!tooltip.IsEmpty() && m_manager && PtInRect(point) && OnCheckMouseResponse(flags, point) &&
        m_manager->GetTooltipCtrlID() != static_cast<int>(m_id)) {
        m_manager->SetTooltip(tooltip, m_rect);
        m_manager->SetTooltipCtrlID(static_cast<int>(m_id));
    }

    OnControlSetCursor(flags, point);
    int result = OnControlMouseMove(flags, point);
    if (m_trackInside) m_pointOutside = PtInRect(point) ? 0 : 1;
    if (m_pressedInside) return result;

    for (MControl* child : CopyUnderLock(m_controls, m_controlLock)) {
        const CPoint cp = ChildPoint(child, point, translated);
        if (!child->OnMouseMove(flags, cp)) continue;
        result = 1;
        if (child->PtInRect(cp)) m_hotChild = child;  // the topmost wins
    }
    return m_hotChild || previousHot ? 1 : result;
}

int MControl::RouteButtonDown(Button button, unsigned flags, CPoint point) {
    if (!IsRoutable()) return 0;
    CPoint translated = point;
    OnMousePointChange(translated);
    m_pressedInside = m_rect.PtInRect(point) ? 1 : 0;
    {
        MControl* pressed = nullptr;
        for (MControl* child : CopyUnderLock(m_controls, m_controlLock)) {
            if (child->PtInRect(ChildPoint(child, point, translated)) && child->IsVisible() &&
                child->IsEnabled() && child->GetRresponse())
                pressed = child;
        }
        if (pressed) m_hotChild = pressed;
    }
    if (MControl* hot = m_hotChild) {
        const CPoint hp = ChildPoint(hot, point, translated);
        const int handled = button == Button::Left ? hot->OnLButtonDown(flags, hp) : hot->OnRButtonDown(flags, hp);
        return handled ? 1 : 0;
    }
    if (m_manager && m_manager->GetFocusControl() != this) m_manager->SetFocusControl(this);
    return button == Button::Left ? OnControlLButtonDown(flags, point) : OnControlRButtonDown(flags, point);
}

int MControl::RouteButtonUp(Button button, unsigned flags, CPoint point) {
    if (!IsRoutable()) return 0;
    CPoint translated = point;
    OnMousePointChange(translated);
    m_pressedInside = 0;
    if (MControl* hot = m_hotChild) {
        const CPoint hp = ChildPoint(hot, point, translated);
        return button == Button::Left ? hot->OnLButtonUp(flags, hp) : hot->OnRButtonUp(flags, hp);
    }
    return button == Button::Left ? OnControlLButtonUp(flags, point) : OnControlRButtonUp(flags, point);
}

int MControl::RouteDoubleClick(Button button, unsigned flags, CPoint point) {
    if (!IsRoutable()) return 0;
    CPoint translated = point;
    OnMousePointChange(translated);
    m_pressedInside = 0;
    const bool left = button == Button::Left;
    if (MControl* hot = m_hotChild) {
        const CPoint hp = ChildPoint(hot, point, translated);
        if (left ? hot->OnLButtonDblClk(flags, hp) : hot->OnRButtonDblClk(flags, hp)) return 1;
        // A child that does not want double clicks gets a second press.
        if (hot->GetDblClk()) return 0;
        return (left ? hot->OnLButtonDown(flags, hp) : hot->OnRButtonDown(flags, hp)) ? 1 : 0;
    }
    if (!m_dblClk) return left ? OnControlLButtonDown(flags, point) : OnControlRButtonDown(flags, point);
    if (!left) return OnControlRButtonDblClk(flags, point);
    if (m_notifyDblClk && PtInRect(point))
        SendMessageW(kCodeDoubleClick, flags, reinterpret_cast<LPARAM>(&point));
    return OnControlLButtonDblClk(flags, point);
}

int MControl::OnLButtonDown(unsigned flags, CPoint point) { return RouteButtonDown(Button::Left, flags, point); }
int MControl::OnRButtonDown(unsigned flags, CPoint point) { return RouteButtonDown(Button::Right, flags, point); }
int MControl::OnLButtonUp(unsigned flags, CPoint point) { return RouteButtonUp(Button::Left, flags, point); }
int MControl::OnRButtonUp(unsigned flags, CPoint point) { return RouteButtonUp(Button::Right, flags, point); }
int MControl::OnLButtonDblClk(unsigned flags, CPoint point) {
    return RouteDoubleClick(Button::Left, flags, point);
}
int MControl::OnRButtonDblClk(unsigned flags, CPoint point) {
    return RouteDoubleClick(Button::Right, flags, point);
}

// ---- keys and timers -----------------------------------------------------------------------------

int MControl::OnKeyDown(unsigned key, unsigned repeat, unsigned modifiers) {
    if (!IsRoutable()) return 0;
    // Keys descend along the focused child.
    for (MControl* child : CopyUnderLock(m_controls, m_controlLock)) {
        if (child->IsFocused()) return child->OnKeyDown(key, repeat, modifiers);
    }
    auto accepted = [&]() {
        if (m_notifyKey) SendMessageW(kCodeKey, key, static_cast<LPARAM>(modifiers));
        return 1;
    };
    if (MControl* hot = m_hotChild) {
        if (hot->OnKeyDown(key, repeat, modifiers)) return 1;
    }
    if (OnControlKeyDown(key, repeat, modifiers)) return accepted();
    for (MControl* child : CopyUnderLock(m_controls, m_controlLock)) {
        if (child->OnKeyDown(key, repeat, modifiers)) return accepted();
    }
    if (m_notifyKey) SendMessageW(kCodeKey, key, static_cast<LPARAM>(modifiers));
    return 0;
}

int MControl::OnKeyUp(unsigned, unsigned, unsigned) { return 0; }

int MControl::OnTimer() {
    int result = OnControlTimer() ? 1 : 0;
    // Held across the children's ticks, unlike the other walks: this one runs
    // on the animation thread too, and the lock keeps the UI thread from
    // detaching and deleting a child in the middle of its tick.
    Lock lock(m_controlLock);
    for (size_t i = 0; i < m_controls.size(); ++i) {
        MControl* child = m_controls[i];
        if (child->IsRunTimer() && child->IsVisible() && child->OnTimer()) result = 1;
    }
    return result;
}

int MControl::PositionItem2Value(const FS_POSITION_ITEM& item, int a, int b) {
    switch (item.kind) {
    case 0: {
        const int value = static_cast<int>(item.value);
        return item.fromEnd ? b - value : a + value;
    }
    case 1: {
        const int value = static_cast<int>(item.value);
        return a + (b - a) / 2 + (item.fromEnd ? -value : value);
    }
    case 2: {
        const int value = static_cast<int>(a + (b - a) * item.value / 100.0f);
        return std::min(value, b);
    }
    default:
        return 0;
    }
}
