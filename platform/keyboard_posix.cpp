#include "platform/keyboard.h"

#include "platform/host_services.h"

int16_t platform_key_state(int virtual_key) {
    const PlatformHostServices* services = platform_host_services();
    return services && services->key_state ? services->key_state(virtual_key) : 0;
}
