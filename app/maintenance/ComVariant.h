// ComVariant: a VARIANT that is cleared when it goes. Empty by default, or
// holding an owned BSTR copy of the given text.
#pragma once

#include <oleauto.h>

class ComVariant {
public:
    ComVariant() { VariantInit(&m_value); }
    explicit ComVariant(const wchar_t* text) {
        VariantInit(&m_value);
        m_value.vt = VT_BSTR;
        m_value.bstrVal = SysAllocString(text);
    }
    ~ComVariant() { VariantClear(&m_value); }
    ComVariant(const ComVariant&) = delete;
    ComVariant& operator=(const ComVariant&) = delete;

    const VARIANT& Get() const { return m_value; }
    // The slot for an out parameter; the previous value is cleared first.
    VARIANT* Put() {
        VariantClear(&m_value);
        return &m_value;
    }

private:
    VARIANT m_value;
};
