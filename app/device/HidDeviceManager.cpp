#include "HidDeviceManager.h"

#include <windows.h>

#include <string>

#include "DeviceConstants.h"
#include "HidInterfaceCaps.h"
#include "hidapi.h"

namespace {

std::wstring Widen(const char* text) {
    if (!text || !*text) return {};
    const int size = MultiByteToWideChar(CP_UTF8, 0, text, -1, nullptr, 0);
    if (size <= 0) return {};
    std::wstring wide(static_cast<size_t>(size), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text, -1, &wide[0], size);
    wide.resize(wide.size() - 1);
    return wide;
}

bool IsLightingController(const hid_device_info& info) {
    return info.vendor_id == device::kLightingVendorId && info.product_id == device::kLightingProductId;
}

bool HasLightingReport(const char* path) {
    const auto caps = HidInterfaceCaps::Query(Widen(path));
    return caps && caps->outputReportLength == device::kLightingOutputReportLength;
}

// Frees hidapi's enumeration list when the search ends.
struct EnumerationList {
    hid_device_info* head = hid_enumerate(0, 0);
    ~EnumerationList() { hid_free_enumeration(head); }
};

}  // namespace

void HidDeviceManager::DeviceCloser::operator()(hid_device_* device) const {
    if (device) hid_close(device);
}

HidDeviceManager& HidDeviceManager::Get() {
    static HidDeviceManager manager;
    return manager;
}

HidDeviceManager::HidDeviceManager() {
    m_hidapiReady = hid_init() == 0;
    if (!m_hidapiReady) OutputDebugStringA("HidDeviceManager: hid_init failed\n");
}

HidDeviceManager::~HidDeviceManager() {
    m_device.reset();
    if (m_hidapiReady) hid_exit();
}

void HidDeviceManager::Open() {
    std::lock_guard<std::mutex> guard(m_lock);
    m_device.reset();
    m_releaseNumber = 0;  // no stale version once the device is gone
    if (!m_hidapiReady) return;
    EnumerationList list;
    for (hid_device_info* info = list.head; info; info = info->next) {
        if (!IsLightingController(*info) || !info->path) continue;
        DeviceHandle candidate(hid_open_path(info->path));
        if (!candidate || !HasLightingReport(info->path)) continue;  // the candidate closes itself
        m_device = std::move(candidate);
        m_releaseNumber = info->release_number;
    }
}

void HidDeviceManager::Close() {
    std::lock_guard<std::mutex> guard(m_lock);
    m_device.reset();
}

bool HidDeviceManager::IsOpened() const {
    std::lock_guard<std::mutex> guard(m_lock);
    return m_device != nullptr;
}

unsigned short HidDeviceManager::ReleaseNumber() const {
    std::lock_guard<std::mutex> guard(m_lock);
    return m_releaseNumber;
}

bool HidDeviceManager::Write(const LightingReport& report) {
    std::lock_guard<std::mutex> guard(m_lock);
    if (!m_device) return false;
    hid_write(m_device.get(), report.Data().data(), report.Data().size());
    return true;
}
