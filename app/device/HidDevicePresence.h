// HidDevicePresence: device-interface notifications for the HID class and
// the rule that picks the lighting controller's interface 0 out of them.
// The main window registers once and hands every WM_DEVICECHANGE to
// NeedsDeviceInitialisation; a true answer means "queue command 2".
#pragma once

#include <windows.h>
#include <dbt.h>

#include <string>

class HidDevicePresence {
public:
    // RegisterDeviceNotificationW for HID interfaces, delivered to the
    // window. The handle is not kept: the registration ends with the window.
    static void Register(HWND window);

    // The interface path carried by the record, bounded by the record's size.
    static std::wstring InterfacePath(const DEV_BROADCAST_DEVICEINTERFACE_W& record);

    // True when the upper-case copy of the path names VID_1A2C&PID_B008&MI_00.
    static bool IsLightingInterface(const std::wstring& path);

    // True when the interface at the path (as delivered) has the vendor
    // collection: usage page 0xFF01 or 0xFF06 with usage 1.
    static bool CheckArrivingInterface(const std::wstring& path);

    // The whole rule for one WM_DEVICECHANGE: arrival or removal of a device
    // interface of the lighting controller's interface 0; an arrival must
    // also pass the check. lParam may be anything the sender passed.
    static bool NeedsDeviceInitialisation(WPARAM event, LPARAM record);
};
