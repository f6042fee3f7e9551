#include "platform/host_services.h"

#include <dlfcn.h>

// The host loads the modules, so its services exist before the first
// lookup; the answer is kept once found.
const PlatformHostServices* platform_host_services() {
    static PlatformServicesLookup* lookup = nullptr;
    if (!lookup)
        lookup = reinterpret_cast<PlatformServicesLookup*>(
            dlsym(RTLD_DEFAULT, "quillmar_platform_services"));
    return lookup ? lookup() : nullptr;
}
