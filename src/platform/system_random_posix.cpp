// The random source on POSIX systems: getrandom(2), and the monotonic clock for the fallback.
#include <sys/random.h>

#include <cerrno>
#include <ctime>

#include "platform/system_random.h"

namespace combogen {

bool ReadSystemRandom(std::span<uint8_t> bytes) {
    std::size_t filled = 0;
    while (filled < bytes.size()) {
        const ssize_t got = getrandom(bytes.data() + filled, bytes.size() - filled, 0);
        if (got < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        filled += static_cast<std::size_t>(got);
    }
    return true;
}

uint32_t FallbackSeed() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    const uint64_t nanoseconds = uint64_t(now.tv_sec) * 1000000000u + uint64_t(now.tv_nsec);
    return static_cast<uint32_t>(nanoseconds);
}

}  // namespace combogen
