// Links and folder removal for the tests of reparse points, done on the Unix
// side: Wine reports a Unix symbolic link as a reparse point, and its own
// CreateSymbolicLinkW makes nothing. (On Windows a junction or a symbolic
// link is the same threat.)
#pragma once

#include <windows.h>

#include <cstring>
#include <string>

namespace unix_link {

// The Unix path of a Windows one, from Wine's own export.
inline std::wstring UnixPath(const std::wstring& path) {
    using Convert = char*(__cdecl*)(const wchar_t*);
    const auto convert = reinterpret_cast<Convert>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
    if (!convert) return {};
    char* unix = convert(path.c_str());
    if (!unix) return {};
    std::wstring wide(unix, unix + strlen(unix));
    HeapFree(GetProcessHeap(), 0, unix);
    return wide;
}

inline bool RunUnix(std::wstring command) {
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return false;
    if (process.hProcess) {
        WaitForSingleObject(process.hProcess, 5000);
        CloseHandle(process.hProcess);
    }
    if (process.hThread) CloseHandle(process.hThread);
    Sleep(200);  // Wine cannot always wait for a Unix process
    return true;
}

// A link at `link` (a trailing separator is ignored) leading to `target`.
inline bool Link(const std::wstring& link, const std::wstring& target) {
    std::wstring from = link;
    while (!from.empty() && from.back() == L'\\') from.pop_back();
    const std::wstring targetUnix = UnixPath(target), parentUnix = UnixPath(from.substr(0, from.find_last_of(L'\\')));
    if (targetUnix.empty() || parentUnix.empty()) return false;
    RunUnix(L"/bin/ln -sfn \"" + targetUnix + L"\" \"" + parentUnix + L"/" + from.substr(from.find_last_of(L'\\') + 1) +
            L"\"");
    return GetFileAttributesW(from.c_str()) != INVALID_FILE_ATTRIBUTES;
}

inline void RemoveFolderTree(const std::wstring& folder) {
    std::wstring path = folder;
    while (!path.empty() && path.back() == L'\\') path.pop_back();
    const std::wstring unix = UnixPath(path);
    if (!unix.empty()) RunUnix(L"/bin/rm -rf \"" + unix + L"\"");
}

inline void Unlink(const std::wstring& link) {
    std::wstring path = link;
    while (!path.empty() && path.back() == L'\\') path.pop_back();
    const std::wstring unix = UnixPath(path);
    if (!unix.empty()) RunUnix(L"/bin/rm -f \"" + unix + L"\"");
}

}  // namespace unix_link
