// HidDeviceManager: the one process-wide holder of the lighting device's
// hidapi handle. Built on first use (thread-safe static), it initialises
// hidapi; at process exit it closes the device and shuts hidapi down.
//
// The worker opens, closes and writes while the UI thread's defaults reset
// writes too, so one lock covers every open, close and write.
#pragma once

#include <memory>
#include <mutex>

#include "LightingReport.h"

struct hid_device_;

class HidDeviceManager {
public:
    static HidDeviceManager& Get();

    // Searches all HID interfaces for the lighting controller's interface
    // with a 65-byte output report and keeps it opened; a later match
    // replaces an earlier one. Any previously opened device is closed first.
    void Open();
    void Close();
    bool IsOpened() const;

    // bcdDevice of the opened device as enumeration reported it; 0 while
    // none is opened by the last Open.
    unsigned short ReleaseNumber() const;

    // Writes the report when a device is opened; false when none is. The
    // device's answer is not examined (a failed write is not retried).
    bool Write(const LightingReport& report);

    HidDeviceManager(const HidDeviceManager&) = delete;
    HidDeviceManager& operator=(const HidDeviceManager&) = delete;

private:
    HidDeviceManager();
    ~HidDeviceManager();

    struct DeviceCloser {
        void operator()(hid_device_* device) const;
    };
    using DeviceHandle = std::unique_ptr<hid_device_, DeviceCloser>;

    mutable std::mutex m_lock;
    DeviceHandle m_device;
    unsigned short m_releaseNumber = 0;
    bool m_hidapiReady = false;
};
