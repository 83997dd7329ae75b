// Stand-in for the lighting controller's firmware installer. The update
// package carries it as Tarvenholm-<version>.exe; run, it "flashes" that
// version: the simulated controller reports it as its release number from
// the next enumeration on, and the journal update.log says so.
//
// Started by the program from its temp folder, it finds the simulated
// machine through TARVENHOLM_SIM_DIR, which the program passes on.
#include <windows.h>

#include <cwctype>
#include <string>

#include "SimFolder.h"
#include "SimJournal.h"

namespace {

constexpr wchar_t kNamePrefix[] = L"tarvenholm-";
constexpr wchar_t kNameSuffix[] = L".exe";
constexpr size_t kMaxVersionDigits = 4;  // a USB release number holds four BCD digits
constexpr int kExitNoVersion = 2;

std::wstring Lowered(std::wstring text) {
    for (auto& c : text) c = static_cast<wchar_t>(std::towlower(c));
    return text;
}

// The digits between "Tarvenholm-" and ".exe" of the running file's name;
// empty when the name is not of that form.
std::wstring VersionFromOwnName() {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring name = path;
    name = Lowered(name.substr(name.find_last_of(L"\\/") + 1));
    const size_t prefix = wcslen(kNamePrefix), suffix = wcslen(kNameSuffix);
    if (name.size() <= prefix + suffix || name.compare(0, prefix, kNamePrefix) != 0 ||
        name.compare(name.size() - suffix, suffix, kNameSuffix) != 0)
        return L"";
    std::wstring digits = name.substr(prefix, name.size() - prefix - suffix);
    if (digits.size() > kMaxVersionDigits) return L"";
    for (wchar_t c : digits)
        if (c < L'0' || c > L'9') return L"";
    return digits;
}

// "106" -> "0x0106": the release number whose hexadecimal digits read as
// the version.
std::wstring ReleaseNumberText(const std::wstring& version) {
    return L"0x" + std::wstring(kMaxVersionDigits - version.size(), L'0') + version;
}

std::string Narrow(const std::wstring& text) { return std::string(text.begin(), text.end()); }

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    const std::wstring version = VersionFromOwnName();
    if (version.empty()) {
        sim::AppendJournalLine(L"update.log", "firmware installer: no version in its file name");
        return kExitNoVersion;
    }
    sim::WriteIniText(L"lighting.ini", L"device", L"release", ReleaseNumberText(version));
    sim::AppendJournalLine(L"update.log", "installed firmware " + Narrow(version));
    return 0;
}
