#include "platform/host_services.h"

#include <windows.h>

// The substitute host exports its services from its executable; the
// simulator exports nothing of the kind, so in the simulator the answer is
// always NULL and the modules use the plain channel names, the real clock
// and DirectSound. The lookup is kept once it has found them.
const PlatformHostServices* platform_host_services() {
    static PlatformServicesLookup* lookup = nullptr;
    if (!lookup)
        lookup = reinterpret_cast<PlatformServicesLookup*>(
            reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA(nullptr), "quillmar_platform_services")));
    return lookup ? lookup() : nullptr;
}
