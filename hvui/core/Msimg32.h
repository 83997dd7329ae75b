// Msimg32: the two MSIMG32 entry points the framework uses, looked up once at
// run time. Either may be null where the system lacks the library; callers
// then fall back to plain GDI. Internal to the library.
#pragma once

#include <windows.h>

namespace msimg32 {

using AlphaBlendProc = BOOL(WINAPI*)(HDC, int, int, int, int, HDC, int, int, int, int, BLENDFUNCTION);
using GradientFillProc = BOOL(WINAPI*)(HDC, PTRIVERTEX, ULONG, PVOID, ULONG, ULONG);

AlphaBlendProc AlphaBlend();
GradientFillProc GradientFill();

}  // namespace msimg32
