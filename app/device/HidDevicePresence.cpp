#include "HidDevicePresence.h"

#include <algorithm>
#include <cstddef>
#include <cwctype>

#include "DeviceConstants.h"
#include "HidInterfaceCaps.h"

namespace {

constexpr GUID kHidInterfaceClass = {0x4D1E55B2, 0xF16F, 0x11CF, {0x88, 0xCB, 0x00, 0x11, 0x11, 0x00, 0x00, 0x30}};
constexpr size_t kNameOffset = offsetof(DEV_BROADCAST_DEVICEINTERFACE_W, dbcc_name);

bool IsVendorCollection(const HidInterfaceCaps& caps) {
    return caps.usage == device::kVendorUsage &&
           (caps.usagePage == device::kVendorUsagePage || caps.usagePage == device::kAlternateVendorUsagePage);
}

}  // namespace

void HidDevicePresence::Register(HWND window) {
    if (!IsWindow(window)) return;
    DEV_BROADCAST_DEVICEINTERFACE_W filter = {};
    filter.dbcc_size = sizeof(filter);
    filter.dbcc_devicetype = DBT_DEVTYP_DEVICEINTERFACE;
    filter.dbcc_classguid = kHidInterfaceClass;
    if (!RegisterDeviceNotificationW(window, &filter, DEVICE_NOTIFY_WINDOW_HANDLE))
        OutputDebugStringA("HidDevicePresence: RegisterDeviceNotificationW failed\n");
}

std::wstring HidDevicePresence::InterfacePath(const DEV_BROADCAST_DEVICEINTERFACE_W& record) {
    // The record may come from any process: never read past its stated size.
    if (record.dbcc_size <= kNameOffset) return {};
    const size_t capacity = (record.dbcc_size - kNameOffset) / sizeof(wchar_t);
    const wchar_t* name = record.dbcc_name;
    return std::wstring(name, std::find(name, name + capacity, L'\0'));
}

bool HidDevicePresence::IsLightingInterface(const std::wstring& path) {
    std::wstring upper = path;
    std::transform(upper.begin(), upper.end(), upper.begin(), [](wchar_t c) { return std::towupper(c); });
    return upper.find(device::kLightingInterfacePattern) != std::wstring::npos;
}

bool HidDevicePresence::CheckArrivingInterface(const std::wstring& path) {
    const auto caps = HidInterfaceCaps::Query(path);
    return caps && IsVendorCollection(*caps);
}

bool HidDevicePresence::NeedsDeviceInitialisation(WPARAM event, LPARAM record) {
    if (event != DBT_DEVICEARRIVAL && event != DBT_DEVICEREMOVECOMPLETE) return false;
    const auto* header = reinterpret_cast<const DEV_BROADCAST_HDR*>(record);
    if (!header || header->dbch_devicetype != DBT_DEVTYP_DEVICEINTERFACE) return false;
    const std::wstring path = InterfacePath(*reinterpret_cast<const DEV_BROADCAST_DEVICEINTERFACE_W*>(header));
    if (!IsLightingInterface(path)) return false;
    return event == DBT_DEVICEREMOVECOMPLETE || CheckArrivingInterface(path);
}
