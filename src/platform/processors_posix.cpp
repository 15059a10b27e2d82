// Usable processors on POSIX systems: the affinity mask where Linux has one, else those online.
#include <fcntl.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <ctime>

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

#if defined(__linux__)
namespace {

// "0.52 0.58 0.59 3/411 12345": the fourth field counts the runnable threads, this one too.
int RunnableThreads() {
    const int fd = open("/proc/loadavg", O_RDONLY | O_CLOEXEC);
    if (fd < 0) return 1;
    char text[128];
    const ssize_t length = read(fd, text, sizeof text - 1);
    close(fd);
    if (length <= 0) return 1;
    text[length] = '\0';
    const char* slash = std::strchr(text, '/');
    if (slash == nullptr) return 1;
    const char* start = slash;
    while (start > text && start[-1] != ' ') --start;
    return std::atoi(start);
}

}  // namespace
#endif

int OtherRunnableThreads() {
#if defined(__linux__)
    int fewest = RunnableThreads();
    for (int look = 1; look < 8 && fewest > 1; ++look) {
        const timespec pause{0, 100'000};
        nanosleep(&pause, nullptr);
        const int runnable = RunnableThreads();
        if (runnable < fewest) fewest = runnable;
    }
    return fewest > 1 ? fewest - 1 : 0;
#else
    return 0;
#endif
}

}  // namespace combogen
