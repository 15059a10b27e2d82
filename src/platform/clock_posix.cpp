// The monotonic clock on POSIX systems.
#include <time.h>

#include "platform/clock.h"

namespace combogen {

int64_t SteadyMilliseconds() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<int64_t>(now.tv_sec) * 1000 + now.tv_nsec / 1000000;
}

}  // namespace combogen
