// SnapshotWriter.exe: fills the hardware snapshot section and keeps it alive.
//
//   SnapshotWriter [--cpu NAME] [--gpu NAME] [--gpu2 NAME]
//
// Creates or opens the 896-byte section "hevant_hardware_mapfile" and writes
// NUL-terminated ANSI names: the CPU at offset 0 (default: the processor
// name the system records in the registry), the GPU at 160 (default: the
// primary display adapter's name) and, only when given, a second GPU at 308.
// An empty --gpu leaves offset 160 empty, so that readers fall back to 308.
// A section backed by the paging file vanishes with its last handle, so the
// writer then waits until it is ended.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <cwchar>
#include <string>

namespace {

constexpr char kSectionName[] = "hevant_hardware_mapfile";
constexpr DWORD kSectionSize = 896;
constexpr size_t kCpuOffset = 0;
constexpr size_t kGpuOffset = 160;
constexpr size_t kSecondGpuOffset = 308;
constexpr wchar_t kProcessorKey[] = L"HARDWARE\\DESCRIPTION\\System\\CentralProcessor\\0";

struct Names {
    std::wstring cpu;
    std::wstring gpu;
    std::wstring secondGpu;
    bool cpuGiven = false;
    bool gpuGiven = false;
};

std::wstring ProcessorName() {
    wchar_t name[256] = {};
    DWORD size = sizeof(name);
    if (RegGetValueW(HKEY_LOCAL_MACHINE, kProcessorKey, L"ProcessorNameString", RRF_RT_REG_SZ, nullptr, name,
                     &size) != ERROR_SUCCESS)
        return {};
    std::wstring text(name);
    const auto begin = text.find_first_not_of(L' ');
    return begin == std::wstring::npos ? std::wstring() : text.substr(begin);
}

std::wstring DisplayAdapterName() {
    DISPLAY_DEVICEW adapter = {};
    adapter.cb = sizeof(adapter);
    for (DWORD i = 0; EnumDisplayDevicesW(nullptr, i, &adapter, 0); ++i) {
        if (adapter.StateFlags & DISPLAY_DEVICE_PRIMARY_DEVICE) return adapter.DeviceString;
    }
    adapter.cb = sizeof(adapter);
    return EnumDisplayDevicesW(nullptr, 0, &adapter, 0) ? adapter.DeviceString : L"";
}

bool ParseArguments(int argc, wchar_t** argv, Names& names) {
    for (int i = 1; i < argc; ++i) {
        if (i + 1 >= argc) return false;
        if (wcscmp(argv[i], L"--cpu") == 0) names.cpu = argv[++i], names.cpuGiven = true;
        else if (wcscmp(argv[i], L"--gpu") == 0) names.gpu = argv[++i], names.gpuGiven = true;
        else if (wcscmp(argv[i], L"--gpu2") == 0) names.secondGpu = argv[++i];
        else return false;
    }
    return true;
}

// ANSI text cut to capacity - 1 bytes, always terminated.
void WriteName(char* view, size_t offset, size_t capacity, const std::wstring& name) {
    std::memset(view + offset, 0, capacity);
    if (name.empty()) return;
    WideCharToMultiByte(CP_ACP, 0, name.c_str(), -1, view + offset, static_cast<int>(capacity - 1), nullptr,
                        nullptr);
    view[offset + capacity - 1] = 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    Names names;
    if (!ParseArguments(argc, argv, names)) {
        std::fputs("usage: SnapshotWriter [--cpu NAME] [--gpu NAME] [--gpu2 NAME]\n", stderr);
        return 1;
    }
    if (!names.cpuGiven) names.cpu = ProcessorName();
    if (!names.gpuGiven) names.gpu = DisplayAdapterName();

    HANDLE section = CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, kSectionSize, kSectionName);
    if (!section) {
        std::fprintf(stderr, "CreateFileMappingA failed: %lu\n", GetLastError());
        return 2;
    }
    auto* view = static_cast<char*>(MapViewOfFile(section, FILE_MAP_WRITE, 0, 0, kSectionSize));
    if (!view) {
        std::fprintf(stderr, "MapViewOfFile failed: %lu\n", GetLastError());
        CloseHandle(section);
        return 2;
    }
    WriteName(view, kCpuOffset, kGpuOffset - kCpuOffset, names.cpu);
    WriteName(view, kGpuOffset, kSecondGpuOffset - kGpuOffset, names.gpu);
    WriteName(view, kSecondGpuOffset, kSectionSize - kSecondGpuOffset, names.secondGpu);
    std::printf("snapshot written\n");
    std::fflush(stdout);
    // Ended from outside (a test, Task Manager, the end of the session).
    Sleep(INFINITE);
    return 0;
}
