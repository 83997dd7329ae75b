// Prints what a running process holds, for the soak run's minute samples:
//   ResourceProbe <image name>      e.g. ResourceProbe Tarvenholm.exe
//   -> pid=<n> handles=<n> gdi=<n> user=<n> workingset=<bytes>
// Exit code 2 when no process of that name runs, 3 when it cannot be opened.
//
// Wine answers GetGuiResources with 0 (not implemented). There the GDI count
// comes from the process's own GDI handle table, which Wine publishes where
// Windows does, in the PEB's GdiSharedHandleTable: 0x10000 entries of 24
// bytes whose type byte (offset 14) is 0 for a free entry. USER objects have
// no such table; user is then -1. Wine's GetProcessHandleCount answers 0 for
// another process too; the handle count then comes from the system's handle
// list (NtQuerySystemInformation, SystemHandleInformation), which Wine's
// server fills.
#include <windows.h>
#include <psapi.h>
#include <tlhelp32.h>
#include <winternl.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cwchar>
#include <vector>

namespace {

constexpr size_t kGdiTableEntries = 0x10000;
constexpr size_t kGdiEntrySize = 24;
constexpr size_t kGdiEntryTypeOffset = 14;
#ifdef _WIN64
constexpr size_t kPebGdiTableOffset = 0xF8;
#else
constexpr size_t kPebGdiTableOffset = 0x94;
#endif

constexpr ULONG kSystemHandleInformation = 16;
constexpr NTSTATUS kStatusInfoLengthMismatch = static_cast<NTSTATUS>(0xC0000004L);

// SYSTEM_HANDLE_INFORMATION, which the platform headers leave out.
struct SystemHandleEntry {
    ULONG ownerPid;
    BYTE objectType;
    BYTE flags;
    USHORT handle;
    PVOID object;
    ACCESS_MASK access;
};
struct SystemHandleList {
    ULONG count;
    SystemHandleEntry entries[1];
};

// Handles that process pid holds, from the system's list; -1 when unavailable.
long CountSystemHandles(DWORD pid) {
    std::vector<unsigned char> buffer(1 << 20);
    for (int attempt = 0; attempt < 6; ++attempt) {
        ULONG needed = 0;
        const NTSTATUS status = NtQuerySystemInformation(static_cast<SYSTEM_INFORMATION_CLASS>(kSystemHandleInformation),
                                                         buffer.data(), static_cast<ULONG>(buffer.size()), &needed);
        if (status == kStatusInfoLengthMismatch) {
            buffer.resize(std::max<size_t>(buffer.size() * 2, needed + 4096));
            continue;
        }
        if (status != 0) return -1;
        const auto* list = reinterpret_cast<const SystemHandleList*>(buffer.data());
        long count = 0;
        for (ULONG i = 0; i < list->count; ++i) {
            if (list->entries[i].ownerPid == pid) ++count;
        }
        return count;
    }
    return -1;
}

// Live entries of the process's GDI handle table, -1 when it cannot be read.
long CountGdiTableEntries(HANDLE process) {
    PROCESS_BASIC_INFORMATION basic = {};
    if (NtQueryInformationProcess(process, ProcessBasicInformation, &basic, sizeof(basic), nullptr) != 0) return -1;
    void* table = nullptr;
    SIZE_T read = 0;
    const auto* peb = static_cast<const unsigned char*>(static_cast<void*>(basic.PebBaseAddress));
    if (!ReadProcessMemory(process, peb + kPebGdiTableOffset, &table, sizeof(table), &read) || !table) return -1;
    std::vector<unsigned char> entries(kGdiTableEntries * kGdiEntrySize);
    if (!ReadProcessMemory(process, table, entries.data(), entries.size(), &read) || read != entries.size())
        return -1;
    long live = 0;
    for (size_t i = 0; i < kGdiTableEntries; ++i) {
        if (entries[i * kGdiEntrySize + kGdiEntryTypeOffset] != 0) ++live;
    }
    return live;
}

DWORD FindProcess(const wchar_t* imageName) {
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return 0;
    PROCESSENTRY32W entry = {};
    entry.dwSize = sizeof(entry);
    DWORD found = 0;
    for (BOOL more = Process32FirstW(snapshot, &entry); more && !found; more = Process32NextW(snapshot, &entry)) {
        if (_wcsicmp(entry.szExeFile, imageName) == 0) found = entry.th32ProcessID;
    }
    CloseHandle(snapshot);
    return found;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 2) {
        std::fwprintf(stderr, L"usage: ResourceProbe <image name>\n");
        return 1;
    }
    const DWORD pid = FindProcess(argv[1]);
    if (!pid) return 2;
    HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, pid);
    if (!process) process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid);
    if (!process) return 3;
    DWORD count = 0;
    GetProcessHandleCount(process, &count);
    const long handles = count ? static_cast<long>(count) : CountSystemHandles(pid);
    long gdi = static_cast<long>(GetGuiResources(process, GR_GDIOBJECTS));
    long user = static_cast<long>(GetGuiResources(process, GR_USEROBJECTS));
    if (gdi == 0) gdi = CountGdiTableEntries(process);
    if (user == 0) user = -1;
    PROCESS_MEMORY_COUNTERS memory = {};
    memory.cb = sizeof(memory);
    GetProcessMemoryInfo(process, &memory, sizeof(memory));
    std::printf("pid=%lu handles=%ld gdi=%ld user=%ld workingset=%llu\n", static_cast<unsigned long>(pid), handles,
                gdi, user,
                static_cast<unsigned long long>(memory.WorkingSetSize));
    CloseHandle(process);
    return 0;
}
