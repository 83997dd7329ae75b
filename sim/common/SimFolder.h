// The sim folder: state, journals and scenario of the simulated machine.
// TARVENHOLM_SIM_DIR names it when set and not empty; otherwise it is the
// folder "sim" beside the running program. It is resolved on every call, so a test can
// point a running process at a fresh folder between cases.
#pragma once

#include <string>

namespace sim {

// The folder with a trailing backslash; created when it is missing.
std::wstring Folder();

// Folder() followed by the file name.
std::wstring FilePath(const wchar_t* fileName);

// INI access on a file of the sim folder; absent keys give the fallback.
std::wstring ReadIniText(const wchar_t* fileName, const wchar_t* section, const wchar_t* key,
                         const wchar_t* fallback = L"");
// Decimal or 0x-prefixed hexadecimal; the fallback when absent or not a number.
long ReadIniNumber(const wchar_t* fileName, const wchar_t* section, const wchar_t* key, long fallback);
void WriteIniText(const wchar_t* fileName, const wchar_t* section, const wchar_t* key, const std::wstring& value);

// Parses decimal or 0x-prefixed hexadecimal text; false when it is not a number.
bool ParseNumber(const std::wstring& text, long& value);

}  // namespace sim
