#include "Manager.h"

#include <vector>

namespace {

const wchar_t kTheme[] = L"theme1\\";
const wchar_t kSkinFolder[] = L"skins\\";
constexpr float kDefaultScale = 1.0f;
constexpr int kDefaultFontWidth = 16;
constexpr Gdiplus::ARGB kDefaultSelectColor = 0xFF1BFFFF;

struct NamedCursor {
    const wchar_t* name;
    WORD systemId;
};

const NamedCursor kCursorTable[] = {
    {L"arrow", 32512},  {L"wait", 32514},   {L"cross", 32515}, {L"sizewe", 32644},
    {L"sizens", 32645}, {L"hand", 32649},   {L"help", 32651},
};

}  // namespace

HINSTANCE Manager::m_hInstance = nullptr;
int Manager::m_language = 1033;
float Manager::m_scale_value = kDefaultScale;
CString Manager::m_fontname = L"Segoe UI";
int Manager::m_fontwidth = kDefaultFontWidth;
Gdiplus::Color Manager::m_select_color(kDefaultSelectColor);
ULONG_PTR Manager::m_gdiplusToken = 0;
Gdiplus::GdiplusStartupInput Manager::m_gdiplusStartupInput;
std::set<MWindow*> Manager::m_windows;

void Manager::SetInstance(HINSTANCE instance) { m_hInstance = instance; }
HINSTANCE Manager::GetInstance() { return m_hInstance; }

HINSTANCE Manager::GetLibraryInstance() {
    HMODULE module = nullptr;
    // The address of one of our own functions names the module we live in.
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCWSTR>(&Manager::GetLibraryInstance), &module);
    return module;
}

void Manager::SetLanguage(int language) { m_language = language; }
int Manager::GetLanguage() { return m_language; }

void Manager::SetScaleValue(float scale) { m_scale_value = scale; }
float Manager::GetScaleValue() { return m_scale_value; }

int Manager::GetScaleValue(int value) {
    // volatile forces the product through a 32-bit float: the i686 build
    // computes on the x87 stack, whose extra precision would round otherwise.
    const volatile float product = static_cast<float>(value) * m_scale_value;
    return static_cast<int>(product);
}

void Manager::SetFontName(CString name) { m_fontname = name; }
CString Manager::GetFontName() { return m_fontname; }
void Manager::SetFontWidth(int width) { m_fontwidth = width; }
int Manager::GetFontWidth() { return m_fontwidth; }

void Manager::SetFont(CString name, int width) {
    m_fontname = name;
    m_fontwidth = width;
}

Gdiplus::Color Manager::GetSelectColor() { return m_select_color; }

CString Manager::GetTheme() { return kTheme; }

CString Manager::GetAppPath() {
    // The executable's module, not ours: the skins sit beside the program.
    std::vector<wchar_t> path(MAX_PATH);
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) return CString();
        if (length < path.size()) break;
        path.resize(path.size() * 2);
    }
    CString folder(path.data());
    const int slash = static_cast<int>(folder.Str().find_last_of(L"\\/"));
    return slash < 0 ? CString() : folder.Left(slash + 1);
}

CString Manager::GetSkinFile(const wchar_t* name) {
    return GetAppPath() + kSkinFolder + GetTheme() + (name ? name : L"");
}

HCURSOR Manager::LoadNamedCursor(const wchar_t* name) {
    if (!name) return nullptr;
    for (const NamedCursor& entry : kCursorTable) {
        if (wcscmp(entry.name, name) == 0) return LoadCursorW(nullptr, MAKEINTRESOURCEW(entry.systemId));
    }
    return nullptr;
}

void Manager::InitGdiplus() {
    m_gdiplusStartupInput = Gdiplus::GdiplusStartupInput();
    const Gdiplus::Status status = Gdiplus::GdiplusStartup(&m_gdiplusToken, &m_gdiplusStartupInput, nullptr);
    if (status != Gdiplus::Ok) OutputDebugStringW(L"HVUI: GdiplusStartup failed\n");
    const HRESULT com = CoInitialize(nullptr);
    if (FAILED(com)) OutputDebugStringW(L"HVUI: CoInitialize failed\n");
    const HRESULT ole = OleInitialize(nullptr);
    if (FAILED(ole)) OutputDebugStringW(L"HVUI: OleInitialize failed\n");
    m_windows.clear();
}

void Manager::UnInitGdiplus() {
    if (m_gdiplusToken) Gdiplus::GdiplusShutdown(m_gdiplusToken);
    m_gdiplusToken = 0;
    OleUninitialize();
    CoUninitialize();
    m_windows.clear();
}

void Manager::AddWnd(MWindow* window) { m_windows.insert(window); }
void Manager::DeleteWnd(MWindow* window) { m_windows.erase(window); }

int Manager::PreTranslateMessage(MSG* /*message*/) {
    const bool altDown = GetKeyState(VK_MENU) < 0;
    const bool f4Down = GetKeyState(VK_F4) < 0;
    return altDown && f4Down ? 1 : 0;
}

void Manager::MessageLoop() {
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (PreTranslateMessage(&message)) continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}
