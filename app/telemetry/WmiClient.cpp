#include "WmiClient.h"

#include <oleauto.h>

#include "ComBstr.h"
#include "ComVariant.h"

namespace {

const CLSID kWbemLocatorClass = {0x4590F811, 0x1D3A, 0x11D0, {0x89, 0x1F, 0x00, 0xAA, 0x00, 0x4B, 0x2E, 0x24}};
const IID kWbemLocatorInterface = {0xDC12A687, 0x737F, 0x11CF, {0x88, 0x4D, 0x00, 0xAA, 0x00, 0x4B, 0x2E, 0x24}};

constexpr wchar_t kNamespace[] = L"ROOT\\CIMV2";
constexpr wchar_t kQueryLanguage[] = L"WQL";
constexpr wchar_t kDiskClass[] = L"Win32_DiskDrive";
constexpr wchar_t kMemoryClass[] = L"Win32_PhysicalMemory";
constexpr long kQueryFlags = WBEM_FLAG_FORWARD_ONLY | WBEM_FLAG_RETURN_IMMEDIATELY;
constexpr int kBytesToGiBShift = 30;

std::wstring TextProperty(IWbemClassObject* object, const wchar_t* name) {
    ComVariant value;
    if (FAILED(object->Get(name, 0, value.Put(), nullptr, nullptr))) return {};
    const VARIANT& v = value.Get();
    return v.vt == VT_BSTR && v.bstrVal ? std::wstring(v.bstrVal, SysStringLen(v.bstrVal)) : std::wstring();
}

// WMI reports booleans as VT_BOOL, but some providers answer with a number.
bool FlagProperty(IWbemClassObject* object, const wchar_t* name) {
    ComVariant value;
    if (FAILED(object->Get(name, 0, value.Put(), nullptr, nullptr))) return false;
    const VARIANT& v = value.Get();
    switch (v.vt) {
    case VT_BOOL: return v.boolVal != VARIANT_FALSE;
    case VT_I1: case VT_UI1: return v.bVal != 0;
    case VT_I2: case VT_UI2: return v.iVal != 0;
    case VT_I4: case VT_UI4: case VT_INT: case VT_UINT: return v.lVal != 0;
    case VT_I8: case VT_UI8: return v.llVal != 0;
    default: return false;
    }
}

// "Size" is a uint64 property, which WMI hands over as a decimal string.
uint64_t SizeInGiB(IWbemClassObject* object) {
    ComVariant value;
    if (FAILED(object->Get(L"Size", 0, value.Put(), nullptr, nullptr))) return 0;
    const VARIANT& v = value.Get();
    return v.vt == VT_BSTR && v.bstrVal ? WmiClient::SizeTextToGiB(v.bstrVal) : 0;
}

DiskRecord DiskFrom(IWbemClassObject* object) {
    DiskRecord disk;
    disk.caption = TextProperty(object, L"Caption");
    disk.deviceId = TextProperty(object, L"PNPDeviceID");
    disk.sizeGiB = SizeInGiB(object);
    disk.interfaceType = TextProperty(object, L"InterfaceType");
    disk.mediaType = TextProperty(object, L"MediaType");
    disk.removable = FlagProperty(object, L"Removable");
    return disk;
}

}  // namespace

uint64_t WmiClient::SizeTextToGiB(const wchar_t* decimalBytes) {
    ULONG64 bytes = 0;
    // The MinGW declaration lacks the const that the function honours.
    if (FAILED(VarUI8FromStr(const_cast<OLECHAR*>(decimalBytes), 0, LOCALE_NOUSEROVERRIDE, &bytes))) return 0;
    return bytes >> kBytesToGiBShift;
}

WmiClient::WmiClient() {
    InitialiseCom();
    try {
        InitialiseSecurity();
        CreateLocator();
        ConnectNamespace();
        SetProxyBlanket();
    } catch (...) {
        // The destructor does not run for a throwing constructor.
        m_services.Reset();
        m_locator.Reset();
        if (m_initialisedCom) CoUninitialize();
        throw;
    }
}

WmiClient::~WmiClient() {
    m_services.Reset();
    m_locator.Reset();
    // The inventory runs once; the WMI client DLLs (under Wine the whole
    // provider with its graphics and printing libraries) need not stay.
    CoFreeUnusedLibrariesEx(0, 0);
    if (m_initialisedCom) CoUninitialize();
}

void WmiClient::Fail(const char* message, HRESULT result) {
    m_message << message << std::hex << static_cast<unsigned long>(result) << std::dec << '\n';
    throw WMICException(m_message.str());
}

void WmiClient::InitialiseCom() {
    m_lastResult = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    if (SUCCEEDED(m_lastResult)) {
        m_initialisedCom = true;
    } else if (m_lastResult != RPC_E_CHANGED_MODE) {
        Fail("Failed to initialize COM library. Error code = 0x", m_lastResult);
    }
}

void WmiClient::InitialiseSecurity() {
    m_lastResult = CoInitializeSecurity(nullptr, -1, nullptr, nullptr, RPC_C_AUTHN_LEVEL_DEFAULT,
                                        RPC_C_IMP_LEVEL_IMPERSONATE, nullptr, EOAC_NONE, nullptr);
    // Security can be set once per process; a later client finds it set.
    if (FAILED(m_lastResult) && m_lastResult != RPC_E_TOO_LATE) {
        Fail("Failed to initialize security. Error code = 0x", m_lastResult);
    }
}

void WmiClient::CreateLocator() {
    m_lastResult = CoCreateInstance(kWbemLocatorClass, nullptr, CLSCTX_INPROC_SERVER, kWbemLocatorInterface,
                                    m_locator.PutVoid());
    if (FAILED(m_lastResult) || !m_locator) {
        m_message << "Failed to create IWbemLocator object.";
        Fail(" Err code = 0x", m_lastResult);
    }
}

void WmiClient::ConnectNamespace() {
    const ComBstr name(kNamespace);
    m_lastResult = m_locator->ConnectServer(name.Get(), nullptr, nullptr, nullptr, 0, nullptr, nullptr, m_services.Put());
    if (FAILED(m_lastResult) || !m_services) {
        m_locator.Reset();
        Fail("Could not connect. Error code = 0x", m_lastResult);
    }
}

void WmiClient::SetProxyBlanket() {
    m_lastResult = CoSetProxyBlanket(m_services.Get(), RPC_C_AUTHN_WINNT, RPC_C_AUTHZ_NONE, nullptr,
                                     RPC_C_AUTHN_LEVEL_CALL, RPC_C_IMP_LEVEL_IMPERSONATE, nullptr, EOAC_NONE);
    if (FAILED(m_lastResult)) {
        m_services.Reset();
        m_locator.Reset();
        Fail("Could not set proxy blanket. Error code = 0x", m_lastResult);
    }
}

std::vector<ComPtr<IWbemClassObject>> WmiClient::QueryObjects(const std::wstring& className) {
    if (!m_services) throw WMICException("WMI context or service is not initialized");
    const ComBstr language(kQueryLanguage);
    const ComBstr query((L"SELECT * FROM " + className).c_str());
    ComPtr<IEnumWbemClassObject> enumerator;
    m_lastResult = m_services->ExecQuery(language.Get(), query.Get(), kQueryFlags, nullptr, enumerator.Put());
    if (FAILED(m_lastResult)) {
        m_message.str({});
        m_message << "Query for " << std::string(className.begin(), className.end()) << " failed.";
        Fail(" Error code = 0x", m_lastResult);
    }
    if (!enumerator) throw WMICException("Failed to get enumerator for query");
    std::vector<ComPtr<IWbemClassObject>> objects;
    for (;;) {
        ComPtr<IWbemClassObject> object;
        ULONG returned = 0;
        enumerator->Next(WBEM_INFINITE, 1, object.Put(), &returned);
        if (returned == 0 || !object) break;
        objects.push_back(std::move(object));
    }
    return objects;
}

std::vector<DiskRecord> WmiClient::QueryDisks() {
    std::vector<DiskRecord> disks;
    for (const auto& object : QueryObjects(kDiskClass)) disks.push_back(DiskFrom(object.Get()));
    return disks;
}

std::vector<MemoryModuleRecord> WmiClient::QueryMemoryModules() {
    std::vector<MemoryModuleRecord> modules;
    for (const auto& object : QueryObjects(kMemoryClass)) {
        modules.push_back({TextProperty(object.Get(), L"Manufacturer")});
    }
    return modules;
}
