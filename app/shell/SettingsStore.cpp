#include "SettingsStore.h"

#include <windows.h>

#include <cwchar>
#include <cwctype>

#include "ProductNames.h"
#include "RegistryKey.h"

namespace settings {
namespace {

constexpr DWORD kReadBufferBytes = 512;
constexpr DWORD kReadLimitBytes = 255;

enum class OpenResult { Opened, NotFound, Failed };

OpenResult OpenSettingsKey(RegistryKey& key) {
    HKEY raw = nullptr;
    LONG status = RegOpenKeyExW(HKEY_CURRENT_USER, KeyPath().c_str(), 0, KEY_ALL_ACCESS, &raw);
    if (status == ERROR_SUCCESS) {
        key.Reset(raw);
        return OpenResult::Opened;
    }
    return status == ERROR_FILE_NOT_FOUND ? OpenResult::NotFound : OpenResult::Failed;
}

bool CreateSettingsKey() {
    HKEY raw = nullptr;
    LONG status = RegCreateKeyExW(HKEY_CURRENT_USER, KeyPath().c_str(), 0, nullptr,
                                  REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr, &raw, nullptr);
    RegistryKey created(status == ERROR_SUCCESS ? raw : nullptr);
    return status == ERROR_SUCCESS;
}

// The value's text, at most 255 bytes of it; the status of the query.
LONG QueryText(const RegistryKey& key, const wchar_t* name, wchar_t (&buffer)[kReadBufferBytes / 2]) {
    DWORD type = REG_SZ;
    DWORD size = kReadLimitBytes;
    return RegQueryValueExW(key.Get(), name, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size);
}

// The number at the start of text as the C runtime's _wtoi reads it.
int ParseLeadingInteger(const wchar_t* text) {
    while (std::iswspace(*text)) ++text;
    bool negative = false;
    if (*text == L'+' || *text == L'-') negative = (*text++ == L'-');
    long long value = 0;
    for (; *text >= L'0' && *text <= L'9'; ++text) {
        value = value * 10 + (*text - L'0');
        if (value > 0x80000000LL) value = 0x80000000LL;  // saturate, as _wtoi does
    }
    if (negative) value = -value;
    if (value > 0x7FFFFFFFLL) value = 0x7FFFFFFFLL;
    return static_cast<int>(value);
}

// Shared body of ReadInteger and LoadLanguageId: `unreadable` is the answer
// when the key can be neither opened nor created.
int ReadIntegerCreatingKey(const wchar_t* name, int unreadable) {
    RegistryKey key;
    switch (OpenSettingsKey(key)) {
    case OpenResult::NotFound:
        return CreateSettingsKey() ? 0 : unreadable;
    case OpenResult::Failed:
        return unreadable;
    case OpenResult::Opened:
        break;
    }
    wchar_t buffer[kReadBufferBytes / 2] = {};
    // A value over the limit must read as 0 whatever the platform left in the
    // buffer of a short query (some copy the part that fitted).
    if (QueryText(key, name, buffer) != ERROR_SUCCESS) buffer[0] = L'\0';
    buffer[kReadBufferBytes / 2 - 1] = L'\0';
    return ParseLeadingInteger(buffer);
}

}  // namespace

std::wstring KeyPath() { return std::wstring(L"SOFTWARE\\") + product::kProductWord; }

int ReadInteger(const wchar_t* name) { return ReadIntegerCreatingKey(name, 0); }

bool ValueExists(const wchar_t* name) {
    RegistryKey key;
    if (OpenSettingsKey(key) != OpenResult::Opened) return false;
    wchar_t buffer[kReadBufferBytes / 2] = {};
    return QueryText(key, name, buffer) == ERROR_SUCCESS;
}

void WriteText(const wchar_t* name, const std::wstring& text) {
    RegistryKey key;
    if (OpenSettingsKey(key) != OpenResult::Opened) return;
    const DWORD bytes = static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t));
    LONG status = RegSetValueExW(key.Get(), name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()), bytes);
    if (status != ERROR_SUCCESS) {
        // Swallowed by design (the store reports nothing), but never silently.
        OutputDebugStringW((L"RegSetValueExW failed for " + std::wstring(name)).c_str());
    }
}

void WriteInteger(const wchar_t* name, int value) { WriteText(name, std::to_wstring(value)); }

int LoadLanguageId() { return ReadIntegerCreatingKey(kLanguageId, kLanguageWhenKeyUnreadable); }

void StoreLanguageId(int language) { WriteInteger(kLanguageId, language); }

int ReadIntegerOr(const wchar_t* name, int fallback) {
    return ValueExists(name) ? ReadInteger(name) : fallback;
}

}  // namespace settings
