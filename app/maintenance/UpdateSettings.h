// The two things about the online update that differ between the release
// program and the test build: where the update server lives and how long a
// silent server is waited for.
//
// The release program runs elevated and starts what it downloads, so it
// only ever talks to its built-in server with the fixed timeouts: nothing
// in the environment (which any unprivileged process of the user can set)
// changes either. The test build, made with TARVENHOLM_SIMULATED_MACHINE,
// takes both from the environment so that the simulated machine's update
// server can stand in, and so that tests of a server that never answers
// need not wait half a minute each.
#pragma once

#include <windows.h>

#include <string>

namespace update {

inline constexpr wchar_t kBuiltInServerUrl[] = L"https://update.tarvenholm.example/";

struct DownloadTimeouts {
    DWORD connectMs;  // to reach the server
    DWORD dataMs;     // without a byte sent or received, once connected
};
inline constexpr DownloadTimeouts kReleaseTimeouts = {15000, 30000};

#ifdef TARVENHOLM_SIMULATED_MACHINE
// A base URL that replaces the built-in server.
inline constexpr wchar_t kServerUrlVariable[] = L"TARVENHOLM_UPDATE_URL";
// Milliseconds that replace both timeouts.
inline constexpr wchar_t kTimeoutVariable[] = L"TARVENHOLM_UPDATE_TIMEOUT_MS";
#endif

// The server's base URL, ending in "/".
std::wstring ServerBaseUrl();
DownloadTimeouts ConfiguredTimeouts();

}  // namespace update
