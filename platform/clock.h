// The current calendar time, in seconds since 1970.
#pragma once

#include <cstdint>

int64_t platform_time_seconds();
