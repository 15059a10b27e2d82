// The run's random generator: an ISAAC-family generator whose mixing step uses rotations
// (in the manner of ISAAC+). Every random decision of a run comes from RandomBelow.
#pragma once

#include <bit>
#include <cstdint>
#include <cstring>

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

namespace detail {

// mm[rotr(x, 2) & 255]. The rotation only moves bits 0 and 1 to the top, where the mask drops
// them, so the index is bits 2..9 of x and x & 0x3FC is the entry's byte offset: reading at that
// offset spares a shift in every step.
inline uint32_t EntryAtBits2To9(const uint32_t* mm, uint32_t x) {
    uint32_t entry;
    std::memcpy(&entry, reinterpret_cast<const unsigned char*>(mm) + (x & 0x3FCu), sizeof entry);
    return entry;
}

// Keeps the compiler from folding value back into a longer expression: the generator's steps
// rely on one order of operations for their speed (the result is the same in any order).
inline void KeepAsWritten([[maybe_unused]] uint32_t& value) {
#if defined(__GNUC__) && (defined(__x86_64__) || defined(__i386__) || defined(__aarch64__))
    asm("" : "+r"(value));
#endif
}

}  // namespace detail

// A round's 256 steps, for a round function that defines COMBOGEN_STEP(mix, i, partner): four
// steps an iteration, each mixing a with its own rotation, in two halves so that the partner
// entry mm[i+128 mod 256] is at a constant distance.
#define COMBOGEN_FOUR_STEPS(i, partner)                         \
    COMBOGEN_STEP(a ^ std::rotl(a, 13), (i), (partner));        \
    COMBOGEN_STEP(a ^ std::rotr(a, 6), (i) + 1, (partner) + 1); \
    COMBOGEN_STEP(a ^ std::rotl(a, 2), (i) + 2, (partner) + 2); \
    COMBOGEN_STEP(a ^ std::rotr(a, 16), (i) + 3, (partner) + 3);
#define COMBOGEN_ROUND_OF_STEPS               \
    for (unsigned i = 0; i < 128; i += 4) {   \
        COMBOGEN_FOUR_STEPS(i, i + 128);      \
    }                                         \
    for (unsigned i = 128; i < 256; i += 4) { \
        COMBOGEN_FOUR_STEPS(i, i - 128);      \
    }

// How GenerateRoundThen leaves the round's outputs.
enum class RoundOutputs {
    // In randrsl, with randcnt 0, exactly as GenerateRound; each step in the fewest instructions.
    Stored,
    // Handed to use only: randcnt is left at 256 and lastOutput at the last output, as after
    // 256 steps, and randrsl is not written, since nothing reads it before the next round
    // overwrites it. Each step is ordered for the least waiting, at about two instructions more.
    Taken,
    // Thrown away: left as Taken leaves them, each step in the fewest instructions. For the
    // warm-up's rounds that another round follows.
    Skipped,
};

// A generation round, handing each output to use(output) the moment it is made, in order. Each
// step waits on the one before it (a table load indexed by the previous step's result), so the
// work use does with an output runs alongside the steps that follow instead of after the round.
template <RoundOutputs outputs, class UseOutput>
inline void GenerateRoundThen(RandomGenerator& g, UseOutput&& use) {
    uint32_t* const mm = g.mm;
    uint32_t* const r = g.randrsl;
    uint32_t a = g.aa;
    uint32_t b = g.bb + ++g.cc;
    // b = loaded ^ sum, kept as its two parts: y below takes sum in first, so that each step
    // waits only for the previous step's load, not also for the xor that makes b.
    uint32_t loaded = b;
    uint32_t sum = 0;

    // One step: mix a, then x = mm[i], a += mm[i+128 mod 256], y = mm[rotr(x,2)] + a ^ b,
    // b = mm[rotr(y,10)] ^ (a + x). The table is indexed with rotated values.
#define COMBOGEN_STEP(mix, i, partner)                                   \
    {                                                                    \
        const uint32_t x = mm[i];                                        \
        a = ((mix) + mm[partner]);                                       \
        if constexpr (outputs == RoundOutputs::Taken) {                  \
            uint32_t early = (detail::EntryAtBits2To9(mm, x) + a) ^ sum; \
            detail::KeepAsWritten(early);                                \
            const uint32_t y = early ^ loaded;                           \
            mm[i] = y;                                                   \
            loaded = mm[std::rotr(y, 10) & 255];                         \
            sum = a + x;                                                 \
            b = loaded ^ sum;                                            \
        } else {                                                         \
            const uint32_t y = (detail::EntryAtBits2To9(mm, x) + a) ^ b; \
            mm[i] = y;                                                   \
            b = mm[std::rotr(y, 10) & 255] ^ (a + x);                    \
        }                                                                \
        if constexpr (outputs == RoundOutputs::Stored) r[i] = b;         \
        use(b);                                                          \
    }
    COMBOGEN_ROUND_OF_STEPS
#undef COMBOGEN_STEP

    g.aa = a;
    g.bb = b;
    if constexpr (outputs == RoundOutputs::Stored) {
        g.randcnt = 0;
    } else {
        g.randcnt = 256;
        g.lastOutput = b;
    }
}

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
