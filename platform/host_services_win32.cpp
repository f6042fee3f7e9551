#include "platform/host_services.h"

// On Windows the modules use the real window, keyboard and DirectSound.
const PlatformHostServices* platform_host_services() { return nullptr; }
