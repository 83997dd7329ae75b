// Stand-in libhidapi.dll: hidapi 0.13.1's exports over the simulated HID bus
// of SimLightingDevice. Output reports written to the lighting controller are
// journalled to hid.log, one line of upper-case hexadecimal pairs each.
//
// One export goes beyond hidapi: hid_get_interface_caps answers what
// HidP_GetCaps answers on the real system (usage page, usage and output
// report length of an interface path). The program looks it up at run time
// and, on a real hidapi that lacks it, asks the HID class driver itself.
#include <windows.h>

#include <cstdlib>
#include <cstring>
#include <new>
#include <string>

#include "SimJournal.h"
#include "SimLightingDevice.h"
#include "hidapi.h"
#include "hidapi_winapi.h"

struct hid_device_ {
    simhid::Interface device;
    unsigned plugCount = 0;  // the controller's plug-ins when it was opened
    std::wstring lastError;
    hid_device_info* info = nullptr;  // made on first hid_get_device_info
};

namespace {

constexpr wchar_t kManufacturer[] = L"Tarvenholm";
constexpr wchar_t kSerial[] = L"SIM-0001";
constexpr hid_api_version kVersion = {HID_API_VERSION_MAJOR, HID_API_VERSION_MINOR, HID_API_VERSION_PATCH};

thread_local std::wstring g_globalError;

char* CopyText(const std::string& text) {
    char* copy = static_cast<char*>(std::malloc(text.size() + 1));
    if (copy) std::memcpy(copy, text.c_str(), text.size() + 1);
    return copy;
}

wchar_t* CopyText(const std::wstring& text) {
    wchar_t* copy = static_cast<wchar_t*>(std::malloc((text.size() + 1) * sizeof(wchar_t)));
    if (copy) std::memcpy(copy, text.c_str(), (text.size() + 1) * sizeof(wchar_t));
    return copy;
}

hid_device_info* MakeInfo(const simhid::Interface& item) {
    auto* info = static_cast<hid_device_info*>(std::calloc(1, sizeof(hid_device_info)));
    if (!info) return nullptr;
    info->path = CopyText(item.path);
    info->vendor_id = item.vendorId;
    info->product_id = item.productId;
    info->serial_number = CopyText(std::wstring(kSerial));
    info->release_number = item.releaseNumber;
    info->manufacturer_string = CopyText(std::wstring(kManufacturer));
    info->product_string = CopyText(item.product);
    info->usage_page = item.usagePage;
    info->usage = item.usage;
    info->interface_number = item.interfaceNumber;
    info->bus_type = HID_API_BUS_USB;
    return info;
}

void FreeInfo(hid_device_info* info) {
    std::free(info->path);
    std::free(info->serial_number);
    std::free(info->manufacturer_string);
    std::free(info->product_string);
    std::free(info);
}

int CopyString(const std::wstring& text, wchar_t* buffer, size_t capacity) {
    if (!buffer || capacity == 0) return -1;
    wcsncpy(buffer, text.c_str(), capacity);
    buffer[capacity - 1] = 0;
    return 0;
}

// A handle stays valid when the device goes, but every transfer then fails,
// as it does with a real unplugged device, also once the device is plugged
// in again: the new device is reached only through a new handle.
bool StillPresent(hid_device* dev) {
    simhid::Interface current;
    if (simhid::FindPresentInterface(dev->device.path, current) && simhid::PlugCount() == dev->plugCount) return true;
    dev->lastError = L"The device is not connected.";
    return false;
}

int Unsupported(hid_device* dev) {
    if (dev) dev->lastError = L"Not supported by this device.";
    return -1;
}

}  // namespace

extern "C" {

int HID_API_EXPORT HID_API_CALL hid_init(void) { return 0; }

int HID_API_EXPORT HID_API_CALL hid_exit(void) { return 0; }

struct hid_device_info HID_API_EXPORT* HID_API_CALL hid_enumerate(unsigned short vendor_id,
                                                                  unsigned short product_id) {
    hid_device_info* head = nullptr;
    hid_device_info** tail = &head;
    for (auto& item : simhid::PresentInterfaces()) {
        if (vendor_id && item.vendorId != vendor_id) continue;
        if (product_id && item.productId != product_id) continue;
        if (hid_device_info* info = MakeInfo(item)) {
            *tail = info;
            tail = &info->next;
        }
    }
    return head;
}

void HID_API_EXPORT HID_API_CALL hid_free_enumeration(struct hid_device_info* devs) {
    while (devs) {
        hid_device_info* next = devs->next;
        FreeInfo(devs);
        devs = next;
    }
}

HID_API_EXPORT hid_device* HID_API_CALL hid_open_path(const char* path) {
    simhid::Interface found;
    if (!path || !simhid::FindPresentInterface(path, found)) {
        g_globalError = L"Failed to open a device with path.";
        return nullptr;
    }
    return new (std::nothrow) hid_device_{found, simhid::PlugCount(), {}};
}

HID_API_EXPORT hid_device* HID_API_CALL hid_open(unsigned short vendor_id, unsigned short product_id,
                                                const wchar_t* serial_number) {
    for (auto& item : simhid::PresentInterfaces()) {
        if (item.vendorId != vendor_id || item.productId != product_id) continue;
        if (serial_number && wcscmp(serial_number, kSerial) != 0) continue;
        return hid_open_path(item.path.c_str());
    }
    g_globalError = L"No HID devices with requested VID/PID found in the system.";
    return nullptr;
}

int HID_API_EXPORT HID_API_CALL hid_write(hid_device* dev, const unsigned char* data, size_t length) {
    if (!dev || !data || length == 0) return -1;
    if (!StillPresent(dev)) return -1;
    const size_t reportLength = dev->device.outputReportLength;
    if (reportLength == 0 || length > reportLength) {
        dev->lastError = L"WriteFile: The parameter is incorrect.";
        return -1;
    }
    // Shorter writes are padded with zeros to the report length, as the
    // Windows backend does.
    std::string report(reportLength, '\0');
    std::memcpy(&report[0], data, length);
    sim::AppendJournalLine(simhid::kReportJournal,
                           sim::HexBytes(reinterpret_cast<const unsigned char*>(report.data()), report.size()));
    return static_cast<int>(reportLength);
}

int HID_API_EXPORT HID_API_CALL hid_read_timeout(hid_device* dev, unsigned char*, size_t, int milliseconds) {
    if (!dev || !StillPresent(dev)) return -1;
    // The controller sends no input reports.
    if (milliseconds > 0) Sleep(static_cast<DWORD>(milliseconds));
    return 0;
}

int HID_API_EXPORT HID_API_CALL hid_read(hid_device* dev, unsigned char* data, size_t length) {
    return hid_read_timeout(dev, data, length, 0);
}

int HID_API_EXPORT HID_API_CALL hid_set_nonblocking(hid_device* dev, int) { return dev ? 0 : -1; }

int HID_API_EXPORT HID_API_CALL hid_send_feature_report(hid_device* dev, const unsigned char*, size_t) {
    return Unsupported(dev);
}

int HID_API_EXPORT HID_API_CALL hid_get_feature_report(hid_device* dev, unsigned char*, size_t) {
    return Unsupported(dev);
}

int HID_API_EXPORT HID_API_CALL hid_get_input_report(hid_device* dev, unsigned char*, size_t) {
    return Unsupported(dev);
}

void HID_API_EXPORT HID_API_CALL hid_close(hid_device* dev) {
    if (!dev) return;
    if (dev->info) FreeInfo(dev->info);
    delete dev;
}

int HID_API_EXPORT_CALL hid_get_manufacturer_string(hid_device* dev, wchar_t* string, size_t maxlen) {
    return dev ? CopyString(kManufacturer, string, maxlen) : -1;
}

int HID_API_EXPORT_CALL hid_get_product_string(hid_device* dev, wchar_t* string, size_t maxlen) {
    return dev ? CopyString(dev->device.product, string, maxlen) : -1;
}

int HID_API_EXPORT_CALL hid_get_serial_number_string(hid_device* dev, wchar_t* string, size_t maxlen) {
    return dev ? CopyString(kSerial, string, maxlen) : -1;
}

struct hid_device_info HID_API_EXPORT* HID_API_CALL hid_get_device_info(hid_device* dev) {
    // Owned by the handle, as in hidapi.
    if (!dev) return nullptr;
    if (!dev->info) dev->info = MakeInfo(dev->device);
    return dev->info;
}

int HID_API_EXPORT_CALL hid_get_indexed_string(hid_device* dev, int, wchar_t*, size_t) { return Unsupported(dev); }

HID_API_EXPORT const wchar_t* HID_API_CALL hid_error(hid_device* dev) {
    if (dev) return dev->lastError.empty() ? L"Success" : dev->lastError.c_str();
    return g_globalError.empty() ? L"Success" : g_globalError.c_str();
}

HID_API_EXPORT const struct hid_api_version* HID_API_CALL hid_version(void) { return &kVersion; }

HID_API_EXPORT const char* HID_API_CALL hid_version_str(void) { return HID_API_VERSION_STR; }

int HID_API_EXPORT_CALL hid_winapi_get_container_id(hid_device* dev, GUID* container_id) {
    if (!dev || !container_id) return -1;
    *container_id = GUID{0x5a1d0001, 0x1a2c, 0xb008, {0x53, 0x49, 0x4d, 0x00, 0x00, 0x00, 0x00, 0x01}};
    return 0;
}

// The simulated machine's seam for HidP_GetCaps: 0 and the capabilities of
// the present interface with this path, -1 when no such interface is there
// (where CreateFileW would fail).
__declspec(dllexport) int hid_get_interface_caps(const char* path, unsigned short* usage_page,
                                                 unsigned short* usage, unsigned short* output_report_length) {
    simhid::Interface found;
    if (!path || !simhid::FindPresentInterface(path, found)) return -1;
    if (usage_page) *usage_page = found.usagePage;
    if (usage) *usage = found.usage;
    if (output_report_length) *output_report_length = found.outputReportLength;
    return 0;
}

}  // extern "C"
