// Usable processors on POSIX systems: the affinity mask where Linux has one, else those online.
#include <unistd.h>

#if defined(__linux__)
#include <sched.h>
#endif

#include "platform/processors.h"

namespace combogen {

int UsableProcessorCount() {
#if defined(__linux__)
    cpu_set_t set;
    if (sched_getaffinity(0, sizeof set, &set) == 0) {
        const int count = CPU_COUNT(&set);
        if (count > 0) return count;
    }
#endif
    const long online = sysconf(_SC_NPROCESSORS_ONLN);
    return online > 0 ? static_cast<int>(online) : 1;
}

}  // namespace combogen
