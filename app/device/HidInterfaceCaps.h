// HidInterfaceCaps: what HidP_GetCaps tells about the top-level collection
// behind one HID interface path, the answer both the lighting device search
// and the arrival check need.
//
// hidapi 0.13.1 exposes no report lengths, so the question goes to the HID
// class driver directly (CreateFileW, HidD_GetPreparsedData, HidP_GetCaps).
// The simulated machine, whose devices the class driver cannot see, serves
// the same question through an extra export of its libhidapi.dll,
// hid_get_interface_caps; when the loaded hidapi has that export it answers
// instead. The rest of the program is the same for both.
#pragma once

#include <optional>
#include <string>

struct HidInterfaceCaps {
    unsigned short usagePage = 0;
    unsigned short usage = 0;
    unsigned short outputReportLength = 0;  // including the report ID byte

    // Opens the path (read and write, shared, existing only, overlapped) and
    // reads its capabilities; nothing when the path cannot be opened or its
    // capabilities cannot be read.
    static std::optional<HidInterfaceCaps> Query(const std::wstring& path);

    // True when the loaded hidapi answers capability questions itself.
    static bool ServedByHidapi();
};
