#include "platform/clock.h"

#include <ctime>

#include "platform/host_services.h"

// A substitute host that keeps its own clock answers for it, so that a
// scripted run draws the same "random" values every time.
int64_t platform_time_seconds() {
    const PlatformHostServices* host = platform_host_services();
    if (host && host->version >= 2 && host->time_seconds) return host->time_seconds();
    return static_cast<int64_t>(std::time(nullptr));
}
