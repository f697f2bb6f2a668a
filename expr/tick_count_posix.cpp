#include "expr/tick_count.h"

#include <time.h>

uint32_t TickCount() {
    timespec now{};
    if (clock_gettime(CLOCK_MONOTONIC, &now) != 0) return 0;
    // Unsigned arithmetic wraps at 2^32 milliseconds, as the system tick count does.
    const uint64_t milliseconds =
        static_cast<uint64_t>(now.tv_sec) * 1000u + static_cast<uint64_t>(now.tv_nsec) / 1000000u;
    return static_cast<uint32_t>(milliseconds);
}
