#include "Msimg32.h"

namespace msimg32 {
namespace {

struct Entries {
    AlphaBlendProc alphaBlend = nullptr;
    GradientFillProc gradientFill = nullptr;

    Entries() {
        // Loaded for the life of the process: the entry points are kept.
        HMODULE module = LoadLibraryW(L"msimg32.dll");
        if (!module) {
            OutputDebugStringW(L"HVUI: LoadLibrary(msimg32.dll) failed\n");
            return;
        }
        alphaBlend = reinterpret_cast<AlphaBlendProc>(reinterpret_cast<void*>(GetProcAddress(module, "AlphaBlend")));
        gradientFill =
            reinterpret_cast<GradientFillProc>(reinterpret_cast<void*>(GetProcAddress(module, "GradientFill")));
    }
};

const Entries& GetEntries() {
    static const Entries entries;
    return entries;
}

}  // namespace

AlphaBlendProc AlphaBlend() { return GetEntries().alphaBlend; }
GradientFillProc GradientFill() { return GetEntries().gradientFill; }

}  // namespace msimg32
