// Composing one combination at a time, and rendering it as a line of text.
#pragma once

#include <array>
#include <string_view>

#include "combination/number_list.h"
#include "random/generator.h"

namespace combogen {

// The lists a run keeps from the first line to the last; their order carries over from one
// line to the next.
struct NumberLists {
    NumberList pool{};
    int PoolLength = 0;
    NumberList fixed{};  // distinct, each in 1..80
    int FixedCount = 0;
    NumberList combination{};
};

// A line's text: up to 80 two-digit labels joined by single blanks. Held in place, so that
// drawing a line allocates nothing. The last byte is room for FormatCombination's four-byte moves.
struct CombinationText {
    std::array<char, 3 * NumberCapacity + 1> chars;
    int length = 0;
    std::string_view view() const { return {chars.data(), static_cast<std::size_t>(length)}; }
};

// The labels of the first k entries (each in 1..80), joined by single blanks: 3k-1 characters.
CombinationText FormatCombination(const NumberList& list, int k);

// k numbers from the pool, in shuffled order or ascending.
CombinationText DrawPlain(RandomGenerator& g, NumberLists& lists, int k, bool sortOutput);

// Every fixed number and k - FixedCount numbers from the pool. Requires FixedCount < k.
CombinationText DrawWithAllFixed(RandomGenerator& g, NumberLists& lists, int k, bool sortOutput);

// Between fixedMin and fixedMax fixed numbers, the count drawn anew, and the rest from the
// pool. Requires 0 <= fixedMin <= fixedMax <= FixedCount, fixedMax < k and
// k - fixedMin <= PoolLength.
CombinationText DrawWithSomeFixed(RandomGenerator& g, NumberLists& lists, int k, int fixedMin,
                                  int fixedMax, bool sortOutput);

}  // namespace combogen
