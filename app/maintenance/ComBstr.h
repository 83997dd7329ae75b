// ComBstr: owns a BSTR made from wide text and frees it when it goes.
#pragma once

#include <oleauto.h>

class ComBstr {
public:
    explicit ComBstr(const wchar_t* text) : m_text(SysAllocString(text)) {}
    ~ComBstr() { SysFreeString(m_text); }
    ComBstr(const ComBstr&) = delete;
    ComBstr& operator=(const ComBstr&) = delete;

    BSTR Get() const { return m_text; }

private:
    BSTR m_text;
};
