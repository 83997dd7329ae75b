// Stand-in for the outside sensor server that the program ends at start and
// at teardown. It only waits to be terminated; a test copies it under other
// letter cases of its name.
#include <windows.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    Sleep(INFINITE);
    return 0;
}
