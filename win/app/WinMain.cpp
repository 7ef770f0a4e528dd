// The process entry of Quenby.exe.
#include <windows.h>

#include "win/framework/WinApp.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) { return RunApplication(); }
