#include "HardwareSnapshot.h"

#include <cstring>

HardwareSnapshot::~HardwareSnapshot() {
    if (m_view) UnmapViewOfFile(m_view);
}

void HardwareSnapshot::Open() {
    if (m_view) return;
    m_section.Reset(CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, kSectionSize, kSectionName));
    if (!m_section.Valid()) {
        OutputDebugStringA("HardwareSnapshot: CreateFileMappingA failed\n");
        return;
    }
    m_view = static_cast<const char*>(MapViewOfFile(m_section.Get(), FILE_MAP_READ, 0, 0, kSectionSize));
    if (!m_view) OutputDebugStringA("HardwareSnapshot: MapViewOfFile failed\n");
}

std::string HardwareSnapshot::TextAt(unsigned offset, unsigned capacity) const {
    if (!m_view) return {};
    const char* text = m_view + offset;
    return std::string(text, strnlen(text, capacity));
}

std::string HardwareSnapshot::CpuName() const { return TextAt(kCpuNameOffset, kGpuNameOffset - kCpuNameOffset); }

std::string HardwareSnapshot::GpuName() const {
    return TextAt(kGpuNameOffset, kSecondGpuNameOffset - kGpuNameOffset);
}

std::string HardwareSnapshot::SecondGpuName() const {
    return TextAt(kSecondGpuNameOffset, kSectionSize - kSecondGpuNameOffset);
}
