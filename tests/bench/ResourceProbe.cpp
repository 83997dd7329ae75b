// Prints what a running process holds, for the soak run's minute samples:
//   ResourceProbe <image name>      e.g. ResourceProbe Tarvenholm.exe
//   -> pid=<n> handles=<n> gdi=<n> user=<n> workingset=<bytes>
// Exit code 2 when no process of that name runs, 3 when it cannot be opened.
#include <windows.h>
#include <psapi.h>
#include <tlhelp32.h>

#include <cwchar>
#include <cstdio>

namespace {

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
    DWORD handles = 0;
    GetProcessHandleCount(process, &handles);
    const DWORD gdi = GetGuiResources(process, GR_GDIOBJECTS);
    const DWORD user = GetGuiResources(process, GR_USEROBJECTS);
    PROCESS_MEMORY_COUNTERS memory = {};
    memory.cb = sizeof(memory);
    GetProcessMemoryInfo(process, &memory, sizeof(memory));
    std::printf("pid=%lu handles=%lu gdi=%lu user=%lu workingset=%llu\n", static_cast<unsigned long>(pid),
                static_cast<unsigned long>(handles), static_cast<unsigned long>(gdi),
                static_cast<unsigned long>(user), static_cast<unsigned long long>(memory.WorkingSetSize));
    CloseHandle(process);
    return 0;
}
