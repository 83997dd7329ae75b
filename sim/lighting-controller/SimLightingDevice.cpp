#include "SimLightingDevice.h"

#include <windows.h>

#include <string>

#include "SimFolder.h"

namespace simhid {
namespace {

constexpr long kDefaultRelease = 0x0105;
constexpr unsigned short kLightingVendorId = 0x1A2C;
constexpr unsigned short kLightingProductId = 0xB008;
constexpr unsigned short kVendorUsagePage = 0xFF01;
constexpr unsigned short kConsumerUsagePage = 0x000C;
constexpr unsigned short kGenericDesktopPage = 0x0001;
constexpr unsigned short kKeyboardUsage = 0x0006;
constexpr unsigned short kVendorReportLength = 65;
constexpr unsigned short kKeyboardLedReportLength = 2;

// Interface paths as the HID class driver names them, including the
// interface class GUID; the instance part is made up but stable.
constexpr char kPathTail[] = "#{4d1e55b2-f16f-11cf-88cb-001111000030}";

}  // namespace

bool LightingPresent() { return sim::ReadIniNumber(kStateFile, kStateSection, L"present", 1) != 0; }

void SetLightingPresent(bool present) {
    if (present && !LightingPresent()) {
        sim::WriteIniText(kStateFile, kStateSection, L"plugged", std::to_wstring(PlugCount() + 1));
    }
    sim::WriteIniText(kStateFile, kStateSection, L"present", present ? L"1" : L"0");
}

unsigned PlugCount() {
    return static_cast<unsigned>(sim::ReadIniNumber(kStateFile, kStateSection, L"plugged", 0));
}

std::vector<Interface> LightingInterfaces() {
    const auto release = static_cast<unsigned short>(
        sim::ReadIniNumber(kStateFile, kStateSection, L"release", kDefaultRelease));
    return {
        {std::string("\\\\?\\hid#vid_1a2c&pid_b008&mi_00#8&2d8a41c3&0&0000") + kPathTail, kLightingVendorId,
         kLightingProductId, release, 0, kVendorUsagePage, 1, kVendorReportLength, L"Lighting Controller"},
        {std::string("\\\\?\\hid#vid_1a2c&pid_b008&mi_01#8&1f06b6ae&0&0000") + kPathTail, kLightingVendorId,
         kLightingProductId, release, 1, kConsumerUsagePage, 1, 0, L"Lighting Controller"},
    };
}

std::vector<Interface> PresentInterfaces() {
    std::vector<Interface> present = {
        {std::string("\\\\?\\hid#vid_1209&pid_0001#7&3a1c8e2f&0&0000") + kPathTail, 0x1209, 0x0001, 0x0100, -1,
         kGenericDesktopPage, kKeyboardUsage, kKeyboardLedReportLength, L"Keyboard"},
    };
    if (LightingPresent()) {
        for (auto& item : LightingInterfaces()) present.push_back(item);
    }
    return present;
}

bool FindPresentInterface(const std::string& path, Interface& found) {
    for (auto& item : PresentInterfaces()) {
        if (lstrcmpiA(item.path.c_str(), path.c_str()) == 0) {
            found = item;
            return true;
        }
    }
    return false;
}

}  // namespace simhid
