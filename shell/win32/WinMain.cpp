// The process entry of Quenby.exe.
#include <windows.h>

#include "framework/win32/WinApp.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) { return RunApplication(); }
