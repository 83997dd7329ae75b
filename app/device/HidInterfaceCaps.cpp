#include "HidInterfaceCaps.h"

#include <windows.h>

extern "C" {
#include <hidsdi.h>
}

#include "UniqueHandle.h"

namespace {

constexpr wchar_t kHidapiModule[] = L"libhidapi.dll";
constexpr char kCapsExport[] = "hid_get_interface_caps";

using CapsExport = int (*)(const char* path, unsigned short* usagePage, unsigned short* usage,
                           unsigned short* outputReportLength);

CapsExport FindCapsExport() {
    static const CapsExport found = [] {
        // The program has it loaded already; a caller that never touched
        // hidapi gets the same library from the same folder.
        HMODULE hidapi = GetModuleHandleW(kHidapiModule);
        if (!hidapi) hidapi = LoadLibraryW(kHidapiModule);
        FARPROC proc = hidapi ? GetProcAddress(hidapi, kCapsExport) : nullptr;
        // Through void(*)() so the compiler accepts the change of signature.
        return reinterpret_cast<CapsExport>(reinterpret_cast<void (*)()>(proc));
    }();
    return found;
}

std::string Narrow(const std::wstring& text) {
    if (text.empty()) return {};
    const int size = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string narrow(static_cast<size_t>(size > 0 ? size : 1), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, &narrow[0], size, nullptr, nullptr);
    narrow.resize(narrow.size() - 1);
    return narrow;
}

std::optional<HidInterfaceCaps> QueryThroughHidapi(CapsExport query, const std::wstring& path) {
    HidInterfaceCaps caps;
    if (query(Narrow(path).c_str(), &caps.usagePage, &caps.usage, &caps.outputReportLength) != 0)
        return std::nullopt;
    return caps;
}

class PreparsedData {
public:
    explicit PreparsedData(HANDLE device) : m_valid(HidD_GetPreparsedData(device, &m_data) != FALSE) {}
    ~PreparsedData() {
        if (m_valid) HidD_FreePreparsedData(m_data);
    }
    PreparsedData(const PreparsedData&) = delete;
    PreparsedData& operator=(const PreparsedData&) = delete;
    bool Valid() const { return m_valid; }
    PHIDP_PREPARSED_DATA Get() const { return m_data; }

private:
    PHIDP_PREPARSED_DATA m_data = nullptr;
    bool m_valid;
};

std::optional<HidInterfaceCaps> QueryThroughClassDriver(const std::wstring& path) {
    UniqueHandle device(CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                    nullptr, OPEN_EXISTING, FILE_FLAG_OVERLAPPED, nullptr));
    if (!device.Valid()) return std::nullopt;
    PreparsedData preparsed(device.Get());
    if (!preparsed.Valid()) return std::nullopt;
    HIDP_CAPS raw = {};
    if (HidP_GetCaps(preparsed.Get(), &raw) != HIDP_STATUS_SUCCESS) return std::nullopt;
    HidInterfaceCaps caps;
    caps.usagePage = raw.UsagePage;
    caps.usage = raw.Usage;
    caps.outputReportLength = raw.OutputReportByteLength;
    return caps;
}

}  // namespace

std::optional<HidInterfaceCaps> HidInterfaceCaps::Query(const std::wstring& path) {
    if (CapsExport query = FindCapsExport()) return QueryThroughHidapi(query, path);
    return QueryThroughClassDriver(path);
}

bool HidInterfaceCaps::ServedByHidapi() { return FindCapsExport() != nullptr; }
