#include "UpdateSettings.h"

#include <cwchar>

namespace update {

#ifdef TARVENHOLM_SIMULATED_MACHINE

namespace {
constexpr DWORD kMaxVariable = 2048;

std::wstring Variable(const wchar_t* name) {
    wchar_t value[kMaxVariable] = {};
    const DWORD length = GetEnvironmentVariableW(name, value, kMaxVariable);
    if (length == 0 || length >= kMaxVariable) return {};
    return std::wstring(value, length);
}
}  // namespace

std::wstring ServerBaseUrl() {
    std::wstring url = Variable(kServerUrlVariable);
    if (url.empty()) return kBuiltInServerUrl;
    if (url.back() != L'/') url += L'/';
    return url;
}

DownloadTimeouts ConfiguredTimeouts() {
    const std::wstring text = Variable(kTimeoutVariable);
    const unsigned long ms = text.empty() ? 0 : std::wcstoul(text.c_str(), nullptr, 10);
    if (ms == 0) return kReleaseTimeouts;
    return {static_cast<DWORD>(ms), static_cast<DWORD>(ms)};
}

#else

std::wstring ServerBaseUrl() { return kBuiltInServerUrl; }
DownloadTimeouts ConfiguredTimeouts() { return kReleaseTimeouts; }

#endif

}  // namespace update
