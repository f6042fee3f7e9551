// The host process's services, found by name by the modules' platform layer.
#include "host/host.h"
#include "platform/host_services.h"

#if defined(_WIN32)
#define HOST_EXPORT __declspec(dllexport)
#else
#define HOST_EXPORT __attribute__((visibility("default")))
#endif

extern "C" HOST_EXPORT const PlatformHostServices* quillmar_platform_services() {
    return host_platform_services();
}
