// Helpers shared by the HVUI core tests: an off-screen 32-bit surface whose
// pixels can be read back, a GDI object counter, a message pump, GDI+ start
// and stop, skin files written into the program's skin folder, and a
// recording control.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "CRect.h"
#include "CString.h"
#include "GdiplusFwd.h"
#include "MControlFont.h"
#include "MObject.h"
#include "Manager.h"

namespace hvui_test {

// A top-down 32-bit DIB selected into its own memory DC.
class PixelSurface {
public:
    PixelSurface(int width, int height) : m_width(width), m_height(height) {
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        m_dc = CreateCompatibleDC(nullptr);
        m_bitmap = CreateDIBSection(m_dc, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&m_bits), nullptr, 0);
        m_previous = SelectObject(m_dc, m_bitmap);
    }
    ~PixelSurface() {
        SelectObject(m_dc, m_previous);
        DeleteObject(m_bitmap);
        DeleteDC(m_dc);
    }
    PixelSurface(const PixelSurface&) = delete;
    PixelSurface& operator=(const PixelSurface&) = delete;

    HDC& DC() { return m_dc; }
    HBITMAP Bitmap() const { return m_bitmap; }
    // 0x00RRGGBB of a pixel, alpha dropped.
    uint32_t Rgb(int x, int y) {
        GdiFlush();
        return m_bits[y * m_width + x] & 0xFFFFFF;
    }
    uint32_t Argb(int x, int y) {
        GdiFlush();
        return m_bits[y * m_width + x];
    }
    void Fill(uint32_t argb) {
        GdiFlush();
        std::fill(m_bits, m_bits + m_width * m_height, argb);
    }

private:
    int m_width;
    int m_height;
    HDC m_dc = nullptr;
    HBITMAP m_bitmap = nullptr;
    HGDIOBJ m_previous = nullptr;
    uint32_t* m_bits = nullptr;
};

inline int RedOf(uint32_t rgb) { return static_cast<int>((rgb >> 16) & 0xFF); }
inline int GreenOf(uint32_t rgb) { return static_cast<int>((rgb >> 8) & 0xFF); }
inline int BlueOf(uint32_t rgb) { return static_cast<int>(rgb & 0xFF); }

// Live GDI objects of this process. Wine answers GetGuiResources with "not
// implemented"; there a GDI handle whose upper word is 0 matches whatever
// live object sits at that index of the handle table, so every index is probed.
inline int CountGdiObjects() {
    SetLastError(0);
    const DWORD reported = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    if (reported != 0 || GetLastError() != ERROR_CALL_NOT_IMPLEMENTED) return static_cast<int>(reported);
    int live = 0;
    for (uintptr_t index = 1; index <= 0xFFFF; ++index) {
        if (GetObjectType(reinterpret_cast<HGDIOBJ>(index)) != 0) ++live;
    }
    return live;
}

// Dispatches what is queued for this thread, for at most the given time.
inline void PumpMessages(DWORD milliseconds = 0) {
    const DWORD start = GetTickCount();
    MSG message;
    do {
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        if (milliseconds) Sleep(1);
    } while (GetTickCount() - start < milliseconds);
}

// GDI+ for one test program; the framework's own start-up routine.
class GdiplusEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        Manager::SetInstance(GetModuleHandleW(nullptr));
        Manager::InitGdiplus();
    }
    void TearDown() override { Manager::UnInitGdiplus(); }
};

inline bool EncoderFor(const wchar_t* mime, CLSID& clsid) {
    UINT count = 0;
    UINT size = 0;
    Gdiplus::GetImageEncodersSize(&count, &size);
    std::vector<BYTE> buffer(size);
    auto* codecs = reinterpret_cast<Gdiplus::ImageCodecInfo*>(buffer.data());
    Gdiplus::GetImageEncoders(count, size, codecs);
    for (UINT i = 0; i < count; ++i) {
        if (wcscmp(codecs[i].MimeType, mime) == 0) {
            clsid = codecs[i].Clsid;
            return true;
        }
    }
    return false;
}

// Writes a PNG of vertical colour bands (ARGB, equal widths) at path.
inline bool WriteBandsPng(const std::wstring& path, int width, int height, const std::vector<Gdiplus::ARGB>& bands) {
    Gdiplus::Bitmap bitmap(width, height, PixelFormat32bppARGB);
    for (int x = 0; x < width; ++x) {
        const Gdiplus::ARGB colour = bands[static_cast<size_t>(x) * bands.size() / static_cast<size_t>(width)];
        for (int y = 0; y < height; ++y) bitmap.SetPixel(x, y, Gdiplus::Color(colour));
    }
    CLSID png;
    return EncoderFor(L"image/png", png) && bitmap.Save(path.c_str(), &png, nullptr) == Gdiplus::Ok;
}

// Creates every folder of path below the program folder.
inline void MakeFoldersFor(const std::wstring& path) {
    for (size_t at = path.find(L'\\', 3); at != std::wstring::npos; at = path.find(L'\\', at + 1))
        CreateDirectoryW(path.substr(0, at).c_str(), nullptr);
}

inline std::wstring SkinPath(const wchar_t* name) { return Manager::GetSkinFile(name).Str(); }

// A parent that records every redraw request and notification it hears.
class RecordingParent : public MObject {
public:
    struct Update {
        CRect rect;
        int code;
        MControl* control;
    };
    struct Notification {
        unsigned id;
        unsigned code;
        WPARAM wParam;
        LPARAM lParam;
    };

    LRESULT OnControlUpdate(CRect rect, int code, MControl* control) override {
        updates.push_back({rect, code, control});
        return 0;
    }
    LRESULT OnBaseMessage(unsigned id, unsigned code, WPARAM wParam, LPARAM lParam) override {
        notifications.push_back({id, code, wParam, lParam});
        return 0;
    }

    std::vector<Update> updates;
    std::vector<Notification> notifications;
};

// A control that counts its hooks, logs its painting into a shared journal
// and fills its rectangle with one colour through its cached surface.
class ProbeControl : public MControlFont {
public:
    ProbeControl(MObject* parent, unsigned id, CRect rect, COLORREF colour = RGB(255, 0, 0), int visible = 1)
        : MControlFont(parent, id, rect, L"", visible, 1, 1), m_colour(colour) {}
    ~ProbeControl() override {
        if (deletions) ++*deletions;
    }

    void DrawControl(HDC& dc, CRect) override {
        if (journal) journal->push_back(GetControlID());
        if (!GetUpdate() || !GetMemDC()) {
            UpdateMemDC(dc, m_rect.Width(), m_rect.Height());
            HDC surface = GetMemDC();
            RECT all = {0, 0, m_rect.Width(), m_rect.Height()};
            HBRUSH brush = CreateSolidBrush(m_colour);
            FillRect(surface, &all, brush);
            DeleteObject(brush);
            ++repaints;
        }
        BitBlt(dc, m_rect.left, m_rect.top, m_rect.Width(), m_rect.Height(), GetMemDC(), 0, 0, SRCCOPY);
    }

    void SetColour(COLORREF colour) {
        m_colour = colour;
        UpdateControl(1, 0);
    }
    void SetWantsDoubleClicks(int wants) { SetDblClk(wants); }
    int CallPositionItem2Value(const FS_POSITION_ITEM& item, int a, int b) { return PositionItem2Value(item, a, b); }

    int OnControlLButtonDown(unsigned, CPoint point) override {
        ++leftDowns;
        lastPoint = point;
        return handleMouse;
    }
    int OnControlLButtonUp(unsigned, CPoint point) override {
        ++leftUps;
        lastPoint = point;
        return handleMouse;
    }
    int OnControlLButtonDblClk(unsigned, CPoint) override {
        ++doubleClicks;
        return handleMouse;
    }
    int OnControlMouseMove(unsigned, CPoint point) override {
        ++moves;
        lastPoint = point;
        return handleMouse;
    }
    int OnControlScroll(int, unsigned direction, CPoint) override {
        ++scrolls;
        lastDirection = direction;
        return handleScroll;
    }
    int OnControlTimer() override {
        ++ticks;
        return handleTimer;
    }
    int SetControlFocus(int focus) override {
        m_focused = focus ? 1 : 0;
        focusCalls.push_back(focus);
        return MControlFont::SetControlFocus(focus);
    }

    std::vector<unsigned>* journal = nullptr;
    int* deletions = nullptr;
    int handleMouse = 1;
    int handleScroll = 1;
    int handleTimer = 1;
    int leftDowns = 0, leftUps = 0, doubleClicks = 0, moves = 0, scrolls = 0, ticks = 0, repaints = 0;
    unsigned lastDirection = 99;
    CPoint lastPoint;
    std::vector<int> focusCalls;

private:
    COLORREF m_colour;
};

}  // namespace hvui_test
