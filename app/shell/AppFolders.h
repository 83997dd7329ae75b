// The program folder, the per-user data folder, folder creation and the INI
// reader of the language files.
#pragma once

#include <string>

namespace folders {

// The data subfolders created at start, in order.
inline constexpr const wchar_t* kDataSubfolders[] = {L"db", L"frames\\", L"led1\\", L"led2\\", L"led_stby\\", L"led_startup\\"};

// Folder of the running executable, with a trailing backslash.
std::wstring ProgramFolder();

// %LOCALAPPDATA%\Tarvenholm Files\datav1\ with a trailing backslash;
// computed anew on every call.
std::wstring DataFolder();

// Creates the folder and every missing parent; true when it exists at the end.
bool CreateFolderPath(const std::wstring& path);

// The key's text of at most 511 characters; empty when absent.
std::wstring ReadIniText(const wchar_t* section, const wchar_t* key, const std::wstring& file);

}  // namespace folders
