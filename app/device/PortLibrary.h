// The port-I/O driver library WinRing0.dll, imported by ordinal through the
// import table (import library made from WinRing0.<arch>.def): 7 initialises
// the driver, 51 reads one port byte, 54 writes one. The names below are our
// own; the library exports none. All three are stdcall, the convention of
// every Win32 system DLL, which is what the 32-bit import decorations say.
#pragma once

#include <windows.h>

extern "C" {
__declspec(dllimport) BOOL WINAPI PortLibraryInitialise();
__declspec(dllimport) BYTE WINAPI PortReadByte(WORD port);
__declspec(dllimport) VOID WINAPI PortWriteByte(WORD port, BYTE value);
}
