// The library entry point of every gauge module: it does no work and reports
// success for every reason code.
#include <windows.h>

extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID) { return TRUE; }
