// The run's random generator: an ISAAC-family generator whose mixing step uses rotations
// (in the manner of ISAAC+). Every random decision of a run comes from RandomBelow.
#pragma once

#include <cstdint>

namespace combogen {

struct RandomGenerator {
    uint32_t mm[256];       // the internal table
    uint32_t randrsl[256];  // outputs of the latest round, handed out from index 0 up
    uint32_t aa;            // accumulator
    uint32_t bb;            // previous output
    uint32_t cc;            // round counter
    uint32_t lastOutput;    // the value most recently handed out
    uint16_t randcnt;       // read position in randrsl; 256 or more: the round is used up
    uint16_t spare;         // completes the 2068-byte seeding image
};

// Refills randrsl with 256 new outputs and rewinds randcnt.
void GenerateRound(RandomGenerator& g);

// Advances by one output and leaves it in lastOutput. A new round runs only when the
// current one is used up, never in advance.
inline void StepGenerator(RandomGenerator& g) {
    if (g.randcnt > 255) GenerateRound(g);
    g.lastOutput = g.randrsl[g.randcnt++];
}

inline uint32_t NextWord(RandomGenerator& g) {
    StepGenerator(g);
    return g.lastOutput;
}

// Steps count times; a count of 0 or less does nothing.
void SkipWords(RandomGenerator& g, int32_t count);

// floor(v * n / 2^32) for an output v and n below 2^16: the bounded draw's value. The draw is
// defined on v's 16-bit halves in 32-bit arithmetic, ((v >> 16) * n + (((v & 0xFFFF) * n) >> 16))
// >> 16; for such n that sum never wraps and equals the top half of the 64-bit product v * n,
// which takes one multiplication.
inline uint32_t ScaleBelow(uint32_t v, uint64_t n) { return static_cast<uint32_t>((v * n) >> 32); }

// A value in 0..n-1 (n >= 1), that is floor(v * n / 2^32) for the next output v. Consumes
// exactly one output, also for n = 1. Only the low 16 bits of the range count; a range of 0
// gives 0.
inline uint16_t RandomBelow(RandomGenerator& g, uint16_t n) {
    return static_cast<uint16_t>(ScaleBelow(NextWord(g), n));
}

}  // namespace combogen
