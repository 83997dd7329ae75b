// The product word and the names derived from it, shared by start-up, the
// settings store, the data folder and the main window.
#pragma once

namespace product {

// Mutex name, window-property name, window text and registry key word.
inline constexpr wchar_t kProductWord[] = L"Tarvenholm";

// The outside sensor server that conflicts with our port access.
inline constexpr wchar_t kConflictingProcess[] = L"OpenHardwareMonitorServer.exe";

// Windows language identifiers with a meaning of their own at first start.
inline constexpr int kLanguageChineseSimplified = 2052;
inline constexpr int kLanguageChineseTraditional = 1028;
inline constexpr int kLanguageEnglishUs = 1033;

}  // namespace product
