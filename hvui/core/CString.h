// CString: the framework's wide (UTF-16) string, passed by value across the
// library boundary. Holds its characters in a std::wstring; the operations
// are the few the framework and the program use.
#pragma once

#include <cstdarg>
#include <string>

#include "HvuiExport.h"

class HVUI_API CString {
public:
    CString();
    CString(const wchar_t* text);  // implicit: literals and C strings convert
    CString(const wchar_t* text, int length);
    HVUI_INLINE_API CString(const std::wstring& text) : m_text(text) {}

    // Formats with the C runtime's wide printf rules, where %s takes a wide
    // string (the patterns of the program are written that way).
    void Format(const wchar_t* pattern, ...);
    void FormatV(const wchar_t* pattern, va_list args);
    void AppendFormat(const wchar_t* pattern, ...);

    HVUI_INLINE_API int GetLength() const { return static_cast<int>(m_text.size()); }
    HVUI_INLINE_API bool IsEmpty() const { return m_text.empty(); }
    HVUI_INLINE_API void Empty() { m_text.clear(); }
    HVUI_INLINE_API const wchar_t* GetString() const { return m_text.c_str(); }
    HVUI_INLINE_API operator const wchar_t*() const { return m_text.c_str(); }
    HVUI_INLINE_API const std::wstring& Str() const { return m_text; }

    wchar_t GetAt(int index) const;
    int Compare(const wchar_t* other) const;
    int CompareNoCase(const wchar_t* other) const;
    int Find(const wchar_t* part, int start = 0) const;
    CString Left(int count) const;
    CString Mid(int first, int count = -1) const;
    CString Right(int count) const;

    CString& operator=(const wchar_t* text);
    CString& operator+=(const CString& other);
    CString& operator+=(const wchar_t* other);
    CString& operator+=(wchar_t character);

    friend bool operator==(const CString& a, const CString& b) { return a.m_text == b.m_text; }
    friend bool operator!=(const CString& a, const CString& b) { return a.m_text != b.m_text; }
    friend bool operator<(const CString& a, const CString& b) { return a.m_text < b.m_text; }
    friend bool operator==(const CString& a, const wchar_t* b) { return a.Compare(b) == 0; }
    friend bool operator!=(const CString& a, const wchar_t* b) { return a.Compare(b) != 0; }
    friend CString operator+(CString a, const CString& b) { return a += b; }
    friend CString operator+(CString a, const wchar_t* b) { return a += b; }
    friend CString operator+(const wchar_t* a, const CString& b) { return CString(a) += b; }

private:
    std::wstring m_text;
};
