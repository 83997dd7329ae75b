// WmiClient: a connection to the ROOT\CIMV2 namespace for the length of one
// inventory. Construction connects (joining the thread to the multithreaded
// apartment unless it already lives in another one), destruction releases
// the interfaces and leaves COM if this client entered it. Every failure
// raises WMICException with its fixed message.
#pragma once

#include <windows.h>
#include <wbemcli.h>

#include <sstream>
#include <string>
#include <vector>

#include "ComPtr.h"
#include "InventoryRecords.h"
#include "WMICException.h"

class WmiClient {
public:
    WmiClient();
    ~WmiClient();
    WmiClient(const WmiClient&) = delete;
    WmiClient& operator=(const WmiClient&) = delete;

    std::vector<DiskRecord> QueryDisks();
    std::vector<MemoryModuleRecord> QueryMemoryModules();

    // Every object of "SELECT * FROM <className>", in enumeration order.
    std::vector<ComPtr<IWbemClassObject>> QueryObjects(const std::wstring& className);

    HRESULT LastResult() const { return m_lastResult; }

    // A "Size" text (decimal bytes) in whole gibibytes, rounded down; 0 when
    // the text is no number.
    static uint64_t SizeTextToGiB(const wchar_t* decimalBytes);

private:
    void InitialiseCom();
    void InitialiseSecurity();
    void CreateLocator();
    void ConnectNamespace();
    void SetProxyBlanket();
    // Completes the message assembled so far with the code and raises it.
    [[noreturn]] void Fail(const char* message, HRESULT result);

    HRESULT m_lastResult = S_OK;
    ComPtr<IWbemLocator> m_locator;
    ComPtr<IWbemServices> m_services;
    std::ostringstream m_message;
    bool m_initialisedCom = false;
};
