// The floor of the report's time: a program of the windows subsystem that starts and ends.
#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) { return 0; }
