#include "CString.h"

#include <cstdio>
#include <cwchar>
#include <vector>

#include <windows.h>

CString::CString() = default;

CString::CString(const wchar_t* text) {
    if (text) m_text = text;
}

CString::CString(const wchar_t* text, int length) {
    if (text && length > 0) m_text.assign(text, static_cast<size_t>(length));
}

void CString::Format(const wchar_t* pattern, ...) {
    va_list args;
    va_start(args, pattern);
    FormatV(pattern, args);
    va_end(args);
}

void CString::FormatV(const wchar_t* pattern, va_list args) {
    m_text.clear();
    if (!pattern) return;
    // _vscwprintf and _vsnwprintf are the runtime's own: %s there is wide,
    // unlike the C99 functions MinGW substitutes for the standard names.
    va_list measure;
    va_copy(measure, args);
    const int length = _vscwprintf(pattern, measure);
    va_end(measure);
    if (length <= 0) return;
    std::vector<wchar_t> buffer(static_cast<size_t>(length) + 1);
    _vsnwprintf(buffer.data(), buffer.size(), pattern, args);
    buffer.back() = L'\0';
    m_text.assign(buffer.data(), static_cast<size_t>(length));
}

void CString::AppendFormat(const wchar_t* pattern, ...) {
    CString tail;
    va_list args;
    va_start(args, pattern);
    tail.FormatV(pattern, args);
    va_end(args);
    m_text += tail.m_text;
}

wchar_t CString::GetAt(int index) const {
    if (index < 0 || index >= GetLength()) return L'\0';
    return m_text[static_cast<size_t>(index)];
}

int CString::Compare(const wchar_t* other) const {
    return std::wcscmp(m_text.c_str(), other ? other : L"");
}

int CString::CompareNoCase(const wchar_t* other) const {
    return _wcsicmp(m_text.c_str(), other ? other : L"");
}

int CString::Find(const wchar_t* part, int start) const {
    if (!part || start < 0 || start > GetLength()) return -1;
    const size_t at = m_text.find(part, static_cast<size_t>(start));
    return at == std::wstring::npos ? -1 : static_cast<int>(at);
}

CString CString::Left(int count) const {
    if (count <= 0) return CString();
    return CString(m_text.substr(0, static_cast<size_t>(count)));
}

CString CString::Mid(int first, int count) const {
    if (first < 0) first = 0;
    if (first >= GetLength()) return CString();
    if (count < 0) return CString(m_text.substr(static_cast<size_t>(first)));
    return CString(m_text.substr(static_cast<size_t>(first), static_cast<size_t>(count)));
}

CString CString::Right(int count) const {
    if (count <= 0) return CString();
    if (count >= GetLength()) return *this;
    return CString(m_text.substr(m_text.size() - static_cast<size_t>(count)));
}

CString& CString::operator=(const wchar_t* text) {
    if (text) m_text = text;
    else m_text.clear();
    return *this;
}

CString& CString::operator+=(const CString& other) {
    m_text += other.m_text;
    return *this;
}

CString& CString::operator+=(const wchar_t* other) {
    if (other) m_text += other;
    return *this;
}

CString& CString::operator+=(wchar_t character) {
    m_text += character;
    return *this;
}
