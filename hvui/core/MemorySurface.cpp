#include "MemorySurface.h"

MemorySurface::MemorySurface() = default;

bool MemorySurface::Create(HDC reference, int width, int height) {
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
    return true;
}

void MemorySurface::Release() {
    if (m_dc && m_previous) ::SelectObject(m_dc, m_previous);
    if (m_bitmap) ::DeleteObject(m_bitmap);
    if (m_dc) ::DeleteDC(m_dc);
    m_dc = nullptr;
    m_bitmap = nullptr;
    m_previous = nullptr;
}
