// RegistryKey: owns an open HKEY and closes it when it goes.
#pragma once

#include <windows.h>

class RegistryKey {
public:
    RegistryKey() = default;
    explicit RegistryKey(HKEY key) : m_key(key) {}
    ~RegistryKey() { Reset(); }
    RegistryKey(const RegistryKey&) = delete;
    RegistryKey& operator=(const RegistryKey&) = delete;

    HKEY Get() const { return m_key; }
    void Reset(HKEY key = nullptr) {
        if (m_key) RegCloseKey(m_key);
        m_key = key;
    }

private:
    HKEY m_key = nullptr;
};
