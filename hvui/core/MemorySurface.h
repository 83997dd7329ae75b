// MemorySurface: an off-screen drawing surface, a memory DC with its own
// bitmap selected. Owns both and selects the original bitmap back before
// deleting them, so no GDI object outlives the surface.
#pragma once

#include <windows.h>

#include "HvuiExport.h"

class HVUI_API MemorySurface {
public:
    MemorySurface();
    HVUI_INLINE_API ~MemorySurface() { Release(); }
    MemorySurface(const MemorySurface&) = delete;
    MemorySurface& operator=(const MemorySurface&) = delete;

    // Replaces the surface with a new one of the given size, compatible with
    // reference. False (and no surface) when GDI refuses. A surface that
    // already has that size is kept and cleared to black, as a new one
    // starts: making it anew costs fresh pages on every redraw.
    bool Create(HDC reference, int width, int height);
    void Release();

    HVUI_INLINE_API HDC GetDC() const { return m_dc; }
    HVUI_INLINE_API HBITMAP GetBitmap() const { return m_bitmap; }
    HVUI_INLINE_API bool IsValid() const { return m_dc != nullptr; }

private:
    HDC m_dc = nullptr;
    HBITMAP m_bitmap = nullptr;
    HGDIOBJ m_previous = nullptr;
    int m_width = 0;
    int m_height = 0;
};
