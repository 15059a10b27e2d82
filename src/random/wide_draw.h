// Exact uniform draws from ranges wider than the bounded draw serves: counts of possible lines
// reach C(80,40), about 2^77.
#pragma once

#include <bit>
#include <cstdint>

#include "random/generator.h"

namespace combogen {

// Exact integer arithmetic, the same on every platform; GCC and Clang provide it on the
// 64-bit targets and on WebAssembly.
__extension__ typedef unsigned __int128 WideCount;

inline int BitWidth(WideCount v) {
    const uint64_t high = static_cast<uint64_t>(v >> 64);
    return high != 0 ? 64 + std::bit_width(high) : std::bit_width(static_cast<uint64_t>(v));
}

// A value in 0..n-1 with every value equally likely: as many outputs as n - 1 needs bits, the
// top ones masked off, drawn again while the value is n or more (fewer than two tries on
// average). n of 0 or 1 gives 0 and uses no output.
inline WideCount WideBelow(RandomGenerator& g, WideCount n) {
    if (n <= 1) return 0;
    const int bits = BitWidth(n - 1);
    const WideCount mask = bits >= 128 ? ~WideCount{0} : (WideCount{1} << bits) - 1;
    for (;;) {
        WideCount v = 0;
        for (int taken = 0; taken < bits; taken += 32) v = (v << 32) | NextWord(g);
        v &= mask;
        if (v < n) return v;
    }
}

// floor(num * 2^shift / den) for num <= den, by long division; the caller keeps the result
// below 2^127. Used to turn ratios of counts into comparable integers.
inline WideCount ScaledRatio(WideCount num, WideCount den, int shift) {
    WideCount quotient = num >= den ? 1 : 0;
    WideCount rest = num >= den ? num - den : num;
    for (int i = 0; i < shift; ++i) {
        quotient <<= 1;
        rest <<= 1;
        if (rest >= den) {
            rest -= den;
            quotient |= 1;
        }
    }
    return quotient;
}

}  // namespace combogen
