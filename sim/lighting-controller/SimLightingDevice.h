// The simulated lighting controller and its neighbours on the HID bus, as
// the stand-in libhidapi.dll and the plug tool both see them. lighting.ini
// in the sim folder holds its state and is read again on every question:
//   [device]
//   present=1        0 unplugs it (default 1)
//   release=0x0105   bcdDevice (default 0x0105)
//   plugged=3        how often it was plugged in since the file was made;
//                    a handle opened before the last plug-in stays dead,
//                    as on real hardware
#pragma once

#include <string>
#include <vector>

namespace simhid {

struct Interface {
    std::string path;             // as the system spells it: lower case
    unsigned short vendorId;
    unsigned short productId;
    unsigned short releaseNumber;
    int interfaceNumber;
    unsigned short usagePage;     // of the top-level collection
    unsigned short usage;
    unsigned short outputReportLength;  // with the report ID byte; 0 = none
    std::wstring product;
};

inline constexpr wchar_t kStateFile[] = L"lighting.ini";
inline constexpr wchar_t kStateSection[] = L"device";
inline constexpr wchar_t kReportJournal[] = L"hid.log";

bool LightingPresent();
// A change from absent to present counts as one more plug-in.
void SetLightingPresent(bool present);
unsigned PlugCount();

// The two interfaces of the lighting controller (MI_00 with the 65-byte
// vendor report, MI_01 without it), whether plugged in or not.
std::vector<Interface> LightingInterfaces();

// What enumeration finds now: a HID keyboard that is always there, then
// the lighting controller's interfaces when it is plugged in.
std::vector<Interface> PresentInterfaces();

// The present interface with this path (compared without regard to case).
bool FindPresentInterface(const std::string& path, Interface& found);

}  // namespace simhid
