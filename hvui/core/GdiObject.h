// GdiObject<T>: owns one GDI object (bitmap, font, brush, pen, region) and
// deletes it when it goes. A handle that is merely borrowed stays a plain T.
#pragma once

#include <windows.h>

template <class T>
class GdiObject {
public:
    GdiObject() = default;
    explicit GdiObject(T handle) : m_handle(handle) {}
    ~GdiObject() { Reset(); }
    GdiObject(const GdiObject&) = delete;
    GdiObject& operator=(const GdiObject&) = delete;
    GdiObject(GdiObject&& other) noexcept : m_handle(other.Release()) {}
    GdiObject& operator=(GdiObject&& other) noexcept {
        if (this != &other) Reset(other.Release());
        return *this;
    }

    T Get() const { return m_handle; }
    explicit operator bool() const { return m_handle != nullptr; }
    T Release() {
        T handle = m_handle;
        m_handle = nullptr;
        return handle;
    }
    void Reset(T handle = nullptr) {
        if (m_handle) DeleteObject(m_handle);
        m_handle = handle;
    }

private:
    T m_handle = nullptr;
};
