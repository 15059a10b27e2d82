#include "combination/pool.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <utility>

namespace combogen {

namespace {

// One pass to mark each number in a set of 256 bits, one to read them back in order. False,
// with the list untouched, when a number occurs twice.
bool SortDistinct(Number* first, int length) {
    uint64_t present[4] = {};
    bool distinct = true;
    for (int i = 0; i < length; ++i) {
        const uint64_t bit = uint64_t{1} << (first[i] & 63);
        uint64_t& word = present[first[i] >> 6];
        distinct &= (word & bit) == 0;
        word |= bit;
    }
    if (!distinct) return false;
    for (int w = 0; w < 4; ++w) {
        for (uint64_t bits = present[w]; bits != 0; bits &= bits - 1) {
            *first++ = static_cast<Number>(64 * w + std::countr_zero(bits));
        }
    }
    return true;
}

}  // namespace

void FillPool(NumberList& pool, int n) {
    for (int i = 0; i < n; ++i) pool[i] = static_cast<Number>(i + 1);
}

int BuildPool(NumberList& pool, const NumberList& fixed, int fixedCount, int n) {
    bool isFixed[256] = {};
    for (int i = 0; i < fixedCount; ++i) isFixed[fixed[i]] = true;
    int length = 0;
    for (int v = 1; v <= n; ++v) {
        if (!isFixed[v]) pool[length++] = static_cast<Number>(v);
    }
    return length;
}

void Shuffle(RandomGenerator& g, NumberList& list, int length) {
    // Each swap takes RandomBelow(g, n). The outputs are read straight from the current round,
    // as many as it has left, and the read position is stored once per round: the list is
    // bytes, which the compiler must assume can alias the generator, so stepping through
    // StepGenerator would reload and store it at every draw.
    Number* const entries = list.data();
    std::size_t n = length > 0 ? static_cast<std::size_t>(length) : 0;
    while (n >= 2) {
        if (g.randcnt > 255) GenerateRound(g);
        const uint32_t* next = g.randrsl + g.randcnt;
        const std::size_t left = 256 - g.randcnt;
        const std::size_t last = n - 2 < left ? 2 : n - left + 1;  // the last n this round serves
        // Unrolled, the loop's own counting is spread over four swaps: a tenth fewer instructions.
#pragma GCC unroll 4
        for (; n >= last; --n) {
            std::swap(entries[n - 1], entries[ScaleBelow(*next++, n)]);
        }
        g.randcnt = static_cast<uint16_t>(next - g.randrsl);
        g.lastOutput = next[-1];
    }
}

void detail::SortLargeOrRepeated(NumberList& list, int length) {
    // Every list sorted in a run holds distinct numbers, and a set of bits sorts those without a
    // comparison to mispredict: a line of six sorts in half the time insertion takes. std::sort
    // serves any other list.
    if (!SortDistinct(list.data(), length)) std::sort(list.begin(), list.begin() + length);
}

}  // namespace combogen
