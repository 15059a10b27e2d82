// The pool of drawable numbers, and the two reorderings a combination goes through.
#pragma once

#include <bit>
#include <cstdint>

#include "combination/number_list.h"
#include "random/generator.h"

namespace combogen {

// pool <- 1..n.
void FillPool(NumberList& pool, int n);

// pool <- the numbers 1..n that are not among the first fixedCount entries of fixed,
// ascending. Returns how many there are.
int BuildPool(NumberList& pool, const NumberList& fixed, int fixedCount, int n);

// For n = length down to 2: swap entry n-1 with entry RandomBelow(n). Fewer than two
// entries use no random value.
void Shuffle(RandomGenerator& g, NumberList& list, int length);

namespace detail {

// Sorts a list whose numbers are all below 64 and distinct, the usual line, in one word: each
// number marked as a bit, read back in order, with no comparison to mispredict. False, with the
// list untouched, for any other list.
inline bool SortSmallDistinct(Number* first, int length) {
    uint64_t present = 0;
    uint64_t repeated = 0;
    for (int i = 0; i < length; ++i) {
        if (first[i] >= 64) return false;
        const uint64_t bit = uint64_t{1} << first[i];
        repeated |= present & bit;
        present |= bit;
    }
    if (repeated != 0) return false;
    for (; present != 0; present &= present - 1) {
        *first++ = static_cast<Number>(std::countr_zero(present));
    }
    return true;
}

// Any other list.
void SortLargeOrRepeated(NumberList& list, int length);

}  // namespace detail

inline void SortAscending(NumberList& list, int length) {
    if (!detail::SortSmallDistinct(list.data(), length)) detail::SortLargeOrRepeated(list, length);
}

}  // namespace combogen
