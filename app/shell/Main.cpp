// Entry point of Tarvenholm.exe.
#include <windows.h>

#include "Startup.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE /*previous*/, PWSTR commandLine, int /*showCommand*/) {
    return startup::Run(instance, commandLine);
}
