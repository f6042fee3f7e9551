// What every gauge module library carries on Windows besides its code: the
// library entry point, and no thread-local-storage callbacks.
//
// The entry point does no work and reports success for every reason code.
//
// The C runtime's start-up code for libraries would bring in a
// thread-local-storage directory with callbacks (to set up and tear down
// per-thread data of the runtime on thread start and end). A simulator of
// this era loads the modules with LoadLibrary, which never sets up such a
// directory, and the modules keep no per-thread data. So the library
// defines the runtime's one reference to that part itself, as "no
// callback", and the linker leaves the directory and its callbacks out.
#include <windows.h>

extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID) { return TRUE; }

extern "C" const PIMAGE_TLS_CALLBACK __dyn_tls_init_callback = nullptr;
