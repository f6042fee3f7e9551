#include "platform/clock.h"

#include <ctime>

int64_t platform_time_seconds() { return static_cast<int64_t>(std::time(nullptr)); }
