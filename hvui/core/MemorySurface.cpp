#include "MemorySurface.h"

MemorySurface::MemorySurface() = default;

bool MemorySurface::Create(HDC reference, int width, int height) {
    if (m_dc && width == m_width && height == m_height) {
        // The bitmap stays; the DC is new, so no state a control left on the
        // old one (clip, origin, selected objects) carries over.
        if (HDC dc = ::CreateCompatibleDC(reference)) {
            ::SelectObject(m_dc, m_previous);
            ::DeleteDC(m_dc);
            m_dc = dc;
            m_previous = ::SelectObject(m_dc, m_bitmap);
            ::PatBlt(m_dc, 0, 0, width, height, BLACKNESS);
            return true;
        }
    }
    Release();
    if (width <= 0 || height <= 0) return false;
    m_dc = ::CreateCompatibleDC(reference);
    if (!m_dc) return false;
    m_bitmap = ::CreateCompatibleBitmap(reference ? reference : m_dc, width, height);
    if (!m_bitmap) {
        Release();
        return false;
    }
    m_previous = ::SelectObject(m_dc, m_bitmap);
    m_width = width;
    m_height = height;
    return true;
}

void MemorySurface::Release() {
    if (m_dc && m_previous) ::SelectObject(m_dc, m_previous);
    if (m_bitmap) ::DeleteObject(m_bitmap);
    if (m_dc) ::DeleteDC(m_dc);
    m_dc = nullptr;
    m_bitmap = nullptr;
    m_previous = nullptr;
    m_width = 0;
    m_height = 0;
}
