// Sets of numbers as bits, their subsets in order, and binomial coefficients: the arithmetic
// every stage of the wheel search shares.
#pragma once

#include <bit>
#include <cstdint>

#include "combination/number_list.h"
#include "random/wide_draw.h"

namespace combogen::wheel_search {

// A set of numbers as bits: v is at most 80.
using Mask = WideCount;

inline Mask Bit(int i) { return Mask{1} << i; }
inline int PopCount(Mask x) {
    return std::popcount(static_cast<uint64_t>(x)) + std::popcount(static_cast<uint64_t>(x >> 64));
}

struct MaskHash {
    size_t operator()(Mask x) const {
        const uint64_t h = static_cast<uint64_t>(x) * 0x9E3779B97F4A7C15ull ^
                           static_cast<uint64_t>(x >> 64) * 0xC2B2AE3D27D4EB4Full;
        return static_cast<size_t>(h ^ (h >> 29));
    }
};

// Binomial coefficients up to MaxNumber, saturating at the top of 64 bits.
struct Binomials {
    uint64_t c[MaxNumber + 1][MaxNumber + 1] = {};
    Binomials();
};
const Binomials& Binom();
inline uint64_t Choose(int n, int r) { return r < 0 || r > n ? 0 : Binom().c[n][r]; }

// Calls f(chosen) with each r-subset of elems[0..n) in lexicographic order; chosen ascends.
template <class F>
void ForEachSubset(const uint8_t* elems, int n, int r, F&& f) {
    if (r > n || r < 0) return;
    int idx[MaxNumber];
    uint8_t chosen[MaxNumber];
    for (int i = 0; i < r; ++i) idx[i] = i, chosen[i] = elems[i];
    for (;;) {
        f(static_cast<const uint8_t*>(chosen));
        int i = r - 1;
        while (i >= 0 && idx[i] == n - r + i) --i;
        if (i < 0) return;
        ++idx[i];
        chosen[i] = elems[idx[i]];
        for (int j = i + 1; j < r; ++j) idx[j] = idx[j - 1] + 1, chosen[j] = elems[idx[j]];
    }
}

// The numbers of x, ascending, into out; returns how many.
inline int Elements(Mask x, uint8_t* out) {
    int n = 0;
    for (uint64_t w = static_cast<uint64_t>(x); w != 0; w &= w - 1)
        out[n++] = static_cast<uint8_t>(std::countr_zero(w));
    for (uint64_t w = static_cast<uint64_t>(x >> 64); w != 0; w &= w - 1)
        out[n++] = static_cast<uint8_t>(64 + std::countr_zero(w));
    return n;
}

}  // namespace combogen::wheel_search
