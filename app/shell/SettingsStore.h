// The settings store: string values under HKCU\SOFTWARE\Tarvenholm.
// Every operation opens the key, acts and closes it again; no handle and no
// value is kept in memory, so any thread sees the last write at once.
#pragma once

#include <string>

namespace settings {

// Registry value names.
inline constexpr wchar_t kLanguageId[] = L"LCID";
inline constexpr wchar_t kPerfMode[] = L"perfMode";
inline constexpr wchar_t kLightMode[] = L"lightMode";
inline constexpr wchar_t kLightOnOff[] = L"lightOnOff";
inline constexpr wchar_t kLightBrightness[] = L"lightBrightness";
inline constexpr wchar_t kLightSpeed[] = L"lightSpeed";
inline constexpr wchar_t kLightColor[] = L"lightColor";
inline constexpr wchar_t kAutoRunTask[] = L"AutoRunTask";

// The answer of LoadLanguageId when the key exists but cannot be opened.
inline constexpr int kLanguageWhenKeyUnreadable = 2052;

// "SOFTWARE\Tarvenholm".
std::wstring KeyPath();

// The value as a number, read the way _wtoi reads text; 0 when absent, not a
// number or longer than 255 bytes. Creates the key when it is missing.
int ReadInteger(const wchar_t* name);

// True when the value is present and no longer than 255 bytes.
bool ValueExists(const wchar_t* name);

// Stores text as REG_SZ. Never creates the key: without it nothing is written.
void WriteText(const wchar_t* name, const std::wstring& text);
void WriteInteger(const wchar_t* name, int value);

// As ReadInteger for LCID, but 2052 when the key cannot be opened or created.
int LoadLanguageId();
void StoreLanguageId(int language);

// ValueExists ? ReadInteger : fallback, as the lighting readers combine them.
int ReadIntegerOr(const wchar_t* name, int fallback);

}  // namespace settings
