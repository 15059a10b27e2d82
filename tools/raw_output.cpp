// Writes the run's random stream, seeded exactly as a run seeds it, to standard output as raw
// 32-bit little-endian words without end, for statistical test suites that read a byte stream
// (dieharder -g 200). Stops when standard output goes away: killed by SIGPIPE under the
// default disposition, or quietly on a failed write when SIGPIPE is ignored.
#include <cstdint>
#include <cstdio>
#include <vector>

#include "random/generator.h"
#include "random/seeding.h"

int main() {
    combogen::RandomGenerator generator;
    if (!combogen::SeedGenerator(generator, combogen::ReadSystemRandom)) {
        std::fputs("combogen_raw_output: the system random source failed\n", stderr);
        return 1;
    }
    std::vector<uint8_t> buffer(1 << 20);
    for (;;) {
        for (std::size_t i = 0; i < buffer.size(); i += 4) {
            const uint32_t word = combogen::NextWord(generator);
            buffer[i] = static_cast<uint8_t>(word);
            buffer[i + 1] = static_cast<uint8_t>(word >> 8);
            buffer[i + 2] = static_cast<uint8_t>(word >> 16);
            buffer[i + 3] = static_cast<uint8_t>(word >> 24);
        }
        if (std::fwrite(buffer.data(), 1, buffer.size(), stdout) != buffer.size()) return 0;
    }
}
