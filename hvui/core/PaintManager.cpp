#include "PaintManager.h"

#include <algorithm>
#include <mutex>

#include <commctrl.h>

#include "ControlFactory.h"
#include "MControl.h"
#include "MControlFont.h"
#include "MRender.h"
#include "Manager.h"

using namespace Gdiplus;

namespace {

using Lock = std::lock_guard<CriticalSection>;

const wchar_t kFontResourceType[] = L"TTF";
const wchar_t kOptionalFontName[] = L"Arial";
const wchar_t kOptionalFontFile[] = L"Arial.ttf";
constexpr UINT kChineseCodePage = 936;
constexpr COLORREF kTooltipBackground = 0xFFFFFF;

// A font resource of the library module: its bytes and size, or nothing.
struct ResourceBytes {
    const void* data = nullptr;
    DWORD size = 0;
};

ResourceBytes FindLibraryFont(unsigned resourceId) {
    HMODULE module = Manager::GetLibraryInstance();
    HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(resourceId), kFontResourceType);
    if (!found) return {};
    HGLOBAL loaded = LoadResource(module, found);
    ResourceBytes bytes;
    bytes.data = loaded ? LockResource(loaded) : nullptr;
    bytes.size = bytes.data ? SizeofResource(module, found) : 0;
    return bytes;
}

TOOLINFOW MakeToolInfo(HWND owner) {
    TOOLINFOW tool = {};
    tool.cbSize = TTTOOLINFOW_V2_SIZE;
    // No TTF_SUBCLASS: PreTranslateMessage relays the mouse messages already,
    // and a subclassed owner would hand each of them to the tooltip twice.
    tool.uFlags = 0;
    tool.hwnd = owner;
    tool.uId = PaintManager::kTooltipToolId;
    ::GetClientRect(owner, &tool.rect);
    return tool;
}

}  // namespace

// A family of the font table, with the private collection it came from: a
// family of a private collection is only valid while the collection lives.
struct PaintManager::FontEntry {
    std::unique_ptr<PrivateFontCollection> collection;
    std::unique_ptr<FontFamily> family;
};

PaintManager::PaintManager() = default;

PaintManager::~PaintManager() {
    // No tick may reach a half-destroyed manager.
    HVTimer::KillTimer();
    ReleaseTooltip();
    m_balloon.reset();
    if (m_dropBitmap) ::DeleteObject(m_dropBitmap);
    m_dropBitmap = nullptr;
    DestroyData();
    // Controls may still be listed when the window never existed.
    ClearTimers();
    ClearAllControls();
    m_dispatchDepth = 0;
    EmptyGraveyard();
    ClearImgResInfo();
    ClearTempFont();
}

// ---- set-up ----------------------------------------------------------------------

void PaintManager::Init(HWND window, MWindow* dialog) {
    if (!window || !::IsWindow(window)) return;
    if (window != m_paintWnd) {
        if (m_paintDC) ::ReleaseDC(m_paintWnd, m_paintDC);
        m_paintWnd = window;
        m_paintDC = ::GetDC(window);
    }
    m_dialog = dialog;
    InitDragDrop();
    SetTargetWnd(window);

    // The optional face in the program's font folder. The folder already ends
    // with a backslash, so the pattern yields a doubled one, which is harmless.
    CString path;
    path.Format(L"%s\\font\\%s", Manager::GetAppPath().GetString(), kOptionalFontFile);
    if (GetFileAttributesW(path) != INVALID_FILE_ATTRIBUTES) AddTempFont(kOptionalFontName, path);
    AddGDITempFont(kFontResourceId);

    m_initialised = 1;
    m_scrollVId = kVerticalScrollImageId;
    m_scrollHId = kHorizontalScrollImageId;
}

void PaintManager::ReleaseTooltip() {
    // The tooltip is owned by the paint window and goes with it; by then the
    // saved handle may name another window, which must be left alone.
    if (m_tooltipWnd && ::IsWindow(m_tooltipWnd) && m_paintWnd && ::GetWindow(m_tooltipWnd, GW_OWNER) == m_paintWnd)
        ::DestroyWindow(m_tooltipWnd);
    m_tooltipWnd = nullptr;
    m_tooltipHasTool = false;
}

void PaintManager::ReleaseWindow() {
    if (!m_initialised) return;
    ReleaseTooltip();
    m_backCache.Release();
    m_frame.Release();
    if (m_deferredPaint) ::DeleteObject(m_deferredPaint);
    m_deferredPaint = nullptr;
    if (m_extraDC) ::DeleteDC(m_extraDC);
    m_extraDC = nullptr;
    if (m_paintDC) ::ReleaseDC(m_paintWnd, m_paintDC);
    m_paintDC = nullptr;
    if (m_dropTargetRegistered) ::RevokeDragDrop(m_paintWnd);
    m_dropTargetRegistered = false;
    {
        Lock gate(m_mTimerGateLock);
        HVTimer::KillTimer();
        m_mTimerId = 0;
        m_mTimerPeriod = 0;
    }
    ClearTimers();
    m_captured = 0;
    m_tracking = 0;
    m_leftPressOnControl = 0;
    m_hoverControl = nullptr;
    m_focusControl = nullptr;
}

void PaintManager::DestroyData() {
    if (!m_initialised) return;
    m_backImage.reset();
    ReleaseWindow();
    ClearAreaControls();
    ClearControls();
    ClearImgResInfo();
    ClearTempFont();
    m_initialised = 0;
}

void PaintManager::SetScrollResID(unsigned vertical, unsigned horizontal) {
    m_scrollVId = vertical;
    m_scrollHId = horizontal;
}

void PaintManager::GetClientRect(CRect& rect) const {
    rect.SetRectEmpty();
    if (IsWindowLive()) ::GetClientRect(m_paintWnd, &rect);
}

void PaintManager::GetWindowRect(CRect& rect) const {
    rect.SetRectEmpty();
    if (IsWindowLive()) ::GetWindowRect(m_paintWnd, &rect);
}

void PaintManager::GetClientSize(int& width, int& height) const {
    CRect client;
    GetClientRect(client);
    width = client.Width();
    height = client.Height();
}

void PaintManager::SetCapture() {
    if (IsWindowLive()) ::SetCapture(m_paintWnd);
}

void PaintManager::ReleaseCapture() {
    if (IsWindowLive() && ::GetCapture() == m_paintWnd) ::ReleaseCapture();
}

LRESULT PaintManager::SendMessageW(UINT msg, WPARAM wParam, LPARAM lParam) {
    return IsWindowLive() ? ::SendMessageW(m_paintWnd, msg, wParam, lParam) : 0;
}

BOOL PaintManager::PostMessageW(UINT msg, WPARAM wParam, LPARAM lParam) {
    return IsWindowLive() ? ::PostMessageW(m_paintWnd, msg, wParam, lParam) : FALSE;
}

// ---- the dialog-level factory ------------------------------------------------------------

MControl* PaintManager::CreateControl(unsigned kind, MObject* parent, const wchar_t* className, unsigned id,
                                      CRect rect, const wchar_t* title, int visible, int enabled) {
    MControl* control =
        ControlFactory::Construct(ControlFactory::Level::Dialog, className, {parent, id, rect, title, visible, enabled});
    if (!control) return nullptr;
    control->SetManager(this);
    AppendChild(kind, control);
    return control;
}

MControl* PaintManager::CreateControl(MObject* parent, const wchar_t* className, unsigned id, CRect rect,
                                      const wchar_t* title, int visible, int enabled) {
    return CreateControl(1, parent, className, id, rect, title, visible, enabled);
}

MControl* PaintManager::CreateArea(MObject* parent, const wchar_t* className, unsigned id, CRect rect,
                                   const wchar_t* title, int visible, int enabled) {
    return CreateControl(0, parent, className, id, rect, title, visible, enabled);
}

// ---- size limits ----------------------------------------------------------------------------

void PaintManager::SetWindowMaxSize(int width, int height) { m_maxSize = CSize(width, height); }
void PaintManager::SetWindowMixSize(int width, int height) { m_minSize = CSize(width, height); }

void PaintManager::GetWindowMinSize(int& width, int& height) const {
    width = m_minSize.cx;
    height = m_minSize.cy;
}

void PaintManager::GetWindowManSize(int& width, int& height) const {
    width = m_maxSize.cx;
    height = m_maxSize.cy;
}

void PaintManager::OnGetMinMaxInfo(MINMAXINFO* info) const {
    if (!info) return;
    if (m_minSize.cx > 0) info->ptMinTrackSize.x = m_minSize.cx;
    if (m_minSize.cy > 0) info->ptMinTrackSize.y = m_minSize.cy;
    if (m_maxSize.cx > 0) info->ptMaxTrackSize.x = info->ptMaxSize.x = m_maxSize.cx;
    if (m_maxSize.cy > 0) info->ptMaxTrackSize.y = info->ptMaxSize.y = m_maxSize.cy;
    // A maximised dialog never covers the taskbar.
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof(monitor);
    ::GetMonitorInfoW(::MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY), &monitor);
    const CRect work(monitor.rcWork);
    info->ptMaxSize.x = work.Width();
    info->ptMaxSize.y = work.Height();
    info->ptMaxPosition.x = work.left;
    info->ptMaxPosition.y = work.top;
}

// ---- the top-level lists ------------------------------------------------------------

int PaintManager::AppendChild(unsigned kind, MControl* control) {
    if (!control || kind > 1) return 0;
    Lock lock(kind == 0 ? m_areaLock : m_controlLock);
    (kind == 0 ? m_areas : m_controls).push_back(control);
    return 1;
}

MControl* PaintManager::GetControl(unsigned id) {
    for (auto [list, lock] : {std::pair{&m_controls, &m_controlLock}, std::pair{&m_areas, &m_areaLock}}) {
        Lock guard(*lock);
        for (size_t i = 0; i < list->size(); ++i) {
            MControl* control = (*list)[i];
            if (control->GetControlID() == id) return control;
            if (MControl* found = control->GetControl(id)) return found;
        }
    }
    return nullptr;
}

void PaintManager::RemoveControl(MControl* control) {
    if (!control) return;
    bool found = false;
    {
        Lock lock(m_controlLock);
        auto it = std::find(m_controls.begin(), m_controls.end(), control);
        if (it != m_controls.end()) {
            m_controls.erase(it);
            found = true;
        }
    }
    if (found) DisposeControl(control);
}

void PaintManager::DisposeControl(MControl* control) {
    if (!control) return;
    if (m_dispatchDepth > 0) {
        // Out of reach of input now; the pointer stays valid until deleted.
        if (m_hoverControl == control) m_hoverControl = nullptr;
        if (m_focusControl == control) m_focusControl = nullptr;
        m_graveyard.push_back(control);
        return;
    }
    delete control;
}

void PaintManager::EmptyGraveyard() {
    while (!m_graveyard.empty()) {
        std::vector<MControl*> doomed;
        doomed.swap(m_graveyard);
        for (MControl* control : doomed) delete control;
    }
}

void PaintManager::DeleteAll(std::vector<MControl*>& list, CriticalSection& lock) {
    std::vector<MControl*> doomed;
    {
        Lock guard(lock);
        doomed.swap(list);
    }
    // Deleted outside the list lock: each destructor takes the animation lock.
    for (MControl* control : doomed) DisposeControl(control);
}

void PaintManager::ClearAreaControls() { DeleteAll(m_areas, m_areaLock); }
void PaintManager::ClearControls() { DeleteAll(m_controls, m_controlLock); }

void PaintManager::ClearAllControls() {
    ClearAreaControls();
    ClearControls();
}

void PaintManager::ForgetControl(MControl* control) {
    if (m_focusControl == control) m_focusControl = nullptr;
    if (m_hoverControl == control) {
        m_hoverControl = nullptr;
        m_leftPressOnControl = 0;
    }
    if (m_caretObject && static_cast<MControl*>(m_caretObject) == control) m_caretObject = nullptr;
    // Its window timers would otherwise tick a deleted control.
    KillTimer(control);
    // A tick of the animation timer may be running it right now.
    {
        Lock tick(m_tickLock);
        Lock lock(m_animationLock);
        m_animated.erase(std::remove(m_animated.begin(), m_animated.end(), control), m_animated.end());
    }
    RequestAnimationTimerUpdate();
}

// ---- redraw requests --------------------------------------------------------------------

void PaintManager::MarkOverlapping(std::vector<MControl*>& list, CriticalSection& lock, MControl* requester,
                                   bool& passed, const CRect& rect, CRect& invalid) {
    Lock guard(lock);
    for (size_t i = 0; i < list.size(); ++i) {
        MControl* control = list[i];
        if (control == requester) {
            passed = true;
            continue;
        }
        // Only what lies above the requester hides part of it and must be
        // composed again from fresh surfaces.
        if (!passed || !control->IsVisible() || !control->GetRect().Intersects(rect)) continue;
        invalid.UnionRect(invalid, control->GetRect());
        control->SetUpdate(0, m_backColor);
    }
}

LRESULT PaintManager::OnControlUpdate(CRect rect, int updateCode, MControl* control) {
    if (!control) return 0;
    if (updateCode) control->SetUpdate(0, m_backColor);
    CRect invalid = rect;
    if (m_initialised) {
        bool passed = false;
        MarkOverlapping(m_areas, m_areaLock, control, passed, rect, invalid);
        MarkOverlapping(m_controls, m_controlLock, control, passed, rect, invalid);
    }
    InvalidateRect(invalid, 0);
    return 0;
}

void PaintManager::Invalidate() {
    if (m_paintWnd && ::IsWindow(m_paintWnd)) ::InvalidateRect(m_paintWnd, nullptr, m_layered);
}

void PaintManager::InvalidateRect(CRect rect, int erase) {
    if (!m_paintWnd || !::IsWindow(m_paintWnd)) return;
    if (m_layered) ::InvalidateRect(m_paintWnd, nullptr, TRUE);
    else ::InvalidateRect(m_paintWnd, &rect, erase);
}

// ---- focus and tooltip -----------------------------------------------------------------------

void PaintManager::SetFocusControl(MControl* control) {
    if (control == m_focusControl) return;
    MControl* previous = m_focusControl;
    m_focusControl = control;
    if (previous) previous->SetControlFocus(0);
    if (control) control->SetControlFocus(1);
}

bool PaintManager::EnsureTooltipWindow() {
    if (m_tooltipWnd && ::IsWindow(m_tooltipWnd)) return true;
    if (!m_paintWnd || !::IsWindow(m_paintWnd)) return false;
    INITCOMMONCONTROLSEX classes = {sizeof(classes), ICC_WIN95_CLASSES};
    InitCommonControlsEx(&classes);
    m_tooltipWnd = ::CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                                     WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT, CW_USEDEFAULT,
                                     CW_USEDEFAULT, CW_USEDEFAULT, m_paintWnd, nullptr,
                                     Manager::GetInstance(), nullptr);
    if (!m_tooltipWnd) {
        OutputDebugStringW(L"HVUI: CreateWindowEx(tooltips_class32) failed\n");
        return false;
    }
    m_tooltipHasTool = false;
    ::SetWindowPos(m_tooltipWnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    ::SendMessageW(m_tooltipWnd, TTM_SETMAXTIPWIDTH, 0, kTooltipMaxWidth);
    ::SendMessageW(m_tooltipWnd, TTM_SETTIPBKCOLOR, kTooltipBackground, 0);
    return true;
}

void PaintManager::SetTooltip(CString text, CRect) {
    if (!EnsureTooltipWindow()) return;
    TOOLINFOW tool = MakeToolInfo(m_paintWnd);
    tool.lpszText = const_cast<wchar_t*>(text.GetString());
    if (text.IsEmpty()) {
        if (m_tooltipHasTool) ::SendMessageW(m_tooltipWnd, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
        ::SendMessageW(m_tooltipWnd, TTM_ACTIVATE, FALSE, 0);
        return;
    }
    if (!m_tooltipHasTool) {
        m_tooltipHasTool = ::SendMessageW(m_tooltipWnd, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool)) != 0;
        if (GetACP() == kChineseCodePage) {
            RECT margins = {2, 3, 0, 0};
            ::SendMessageW(m_tooltipWnd, TTM_SETMARGIN, 0, reinterpret_cast<LPARAM>(&margins));
        }
    }
    ::SendMessageW(m_tooltipWnd, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
    ::SendMessageW(m_tooltipWnd, TTM_ACTIVATE, TRUE, 0);
}

void PaintManager::ClearTooltip() {
    SetTooltip(CString(), CRect());
    m_tooltipOwnerId = 0;
}

// ---- animation list ----------------------------------------------------------------------------

int PaintManager::AddMTimer(MControl* control) {
    {
        Lock lock(m_animationLock);
        m_animated.push_back(control);
    }
    RequestAnimationTimerUpdate();
    return 1;
}

int PaintManager::DeleteFSTimer(MControl* control) {
    {
        Lock lock(m_animationLock);
        auto it = std::find(m_animated.begin(), m_animated.end(), control);
        if (it == m_animated.end()) return 0;
        m_animated.erase(it);
    }
    RequestAnimationTimerUpdate();
    return 1;
}

// ---- image cache ---------------------------------------------------------------------------------

ImgResInfo* PaintManager::AddImgResInfo(const wchar_t* name, int count) {
    if (!name) return nullptr;
    {
        Lock lock(m_imageLock);
        auto found = m_fileImages.find(name);
        if (found != m_fileImages.end()) return found->second.get();
    }
    // Loaded outside the lock (GDI+); a load that raced ours and won is kept.
    Image* image = MRender::LoadImageFromFile(Manager::GetSkinFile(name));
    if (!image) return nullptr;
    auto entry = std::make_unique<ImgResInfo>(image, count);
    entry->name = name;
    Lock lock(m_imageLock);
    return m_fileImages.emplace(name, std::move(entry)).first->second.get();
}

ImgResInfo* PaintManager::AddImgResInfo(unsigned id, CString type, int count, int fromProgram) {
    auto& images = fromProgram ? m_programImages : m_libraryImages;
    {
        Lock lock(m_imageLock);
        auto found = images.find(id);
        if (found != images.end()) return found->second.get();
    }
    HINSTANCE module = fromProgram ? Manager::GetInstance() : Manager::GetLibraryInstance();
    Image* image = MRender::LoadImageFromIDResource(id, type, module);
    if (!image) return nullptr;
    auto entry = std::make_unique<ImgResInfo>(image, count);
    entry->resourceId = id;
    Lock lock(m_imageLock);
    return images.emplace(id, std::move(entry)).first->second.get();
}

void PaintManager::ClearImgResInfo() {
    decltype(m_fileImages) fileImages;
    decltype(m_programImages) programImages;
    decltype(m_libraryImages) libraryImages;
    {
        Lock lock(m_imageLock);
        fileImages.swap(m_fileImages);
        programImages.swap(m_programImages);
        libraryImages.swap(m_libraryImages);
    }
    // The images are GDI+ objects: deleted outside the lock.
}

// ---- font table ------------------------------------------------------------------------------------

FontFamily* PaintManager::StoreFirstFamily(const wchar_t* name, std::unique_ptr<PrivateFontCollection> collection) {
    if (collection->GetFamilyCount() < 1) return nullptr;
    auto family = std::make_unique<FontFamily>();
    INT found = 0;
    if (collection->GetFamilies(1, family.get(), &found) != Ok || found < 1) return nullptr;
    auto entry = std::make_unique<FontEntry>();
    entry->collection = std::move(collection);
    entry->family = std::move(family);
    FontFamily* stored = entry->family.get();
    Lock lock(m_fontLock);
    m_fonts[name] = std::move(entry);
    return stored;
}

FontFamily* PaintManager::AddTempFont(const wchar_t* name, const wchar_t* path) {
    if (!name || !path) return nullptr;
    auto collection = std::make_unique<PrivateFontCollection>();
    if (collection->AddFontFile(path) != Ok) return nullptr;
    return StoreFirstFamily(name, std::move(collection));
}

FontFamily* PaintManager::AddTempFont(const wchar_t* name, unsigned resourceId) {
    if (!name) return nullptr;
    const ResourceBytes font = FindLibraryFont(resourceId);
    if (!font.data) return nullptr;
    auto collection = std::make_unique<PrivateFontCollection>();
    if (collection->AddMemoryFont(font.data, static_cast<INT>(font.size)) != Ok) return nullptr;
    return StoreFirstFamily(name, std::move(collection));
}

FontFamily* PaintManager::FindTempFont(const wchar_t* name) {
    if (!name) return nullptr;
    {
        Lock lock(m_fontLock);
        auto found = m_fonts.find(name);
        if (found != m_fonts.end()) return found->second->family.get();
    }
    // Made outside the lock (GDI+); a family that raced ours and won is kept.
    auto family = std::make_unique<FontFamily>(name);
    if (family->GetLastStatus() != Ok) return nullptr;
    auto entry = std::make_unique<FontEntry>();
    entry->family = std::move(family);
    Lock lock(m_fontLock);
    return m_fonts.emplace(name, std::move(entry)).first->second->family.get();
}

void PaintManager::AddGDITempFont(unsigned resourceId) {
    const ResourceBytes font = FindLibraryFont(resourceId);
    if (!font.data) return;
    DWORD installed = 0;
    HANDLE handle = AddFontMemResourceEx(const_cast<void*>(font.data), font.size, nullptr, &installed);
    if (!handle) {
        OutputDebugStringW(L"HVUI: AddFontMemResourceEx failed\n");
        return;
    }
    Lock lock(m_fontLock);
    m_gdiFonts.push_back(handle);
}

void PaintManager::ClearTempFont() {
    std::map<std::wstring, std::unique_ptr<FontEntry>> fonts;
    std::vector<HANDLE> gdiFonts;
    {
        Lock lock(m_fontLock);
        fonts.swap(m_fonts);
        gdiFonts.swap(m_gdiFonts);
    }
    // Released outside the lock: GDI+ and GDI calls.
    fonts.clear();
    for (HANDLE handle : gdiFonts) RemoveFontMemResourceEx(handle);
}
