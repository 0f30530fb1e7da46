// A DLL of no use, for the DLL search test to find beside itself as a planted one would lie.
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID) { return TRUE; }
