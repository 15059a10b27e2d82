#include "combination/draw.h"

#include <algorithm>
#include <cstring>

#include "combination/pool.h"

namespace combogen {

namespace {

// Cell v-1 holds the label of v and a blank: "01 02 03 ... 80 ", and one spare byte at the end so
// that every cell can be copied as four bytes.
constexpr std::array<char, 3 * MaxNumber + 1> Labels = [] {
    std::array<char, 3 * MaxNumber + 1> cells{};
    for (int v = 1; v <= MaxNumber; ++v) {
        cells[3 * (v - 1)] = static_cast<char>('0' + v / 10);
        cells[3 * (v - 1) + 1] = static_cast<char>('0' + v % 10);
        cells[3 * (v - 1) + 2] = ' ';
    }
    return cells;
}();

// The first `fromFixed` fixed numbers, then pool entries up to k; sorted or shuffled.
CombinationText ComposeCombination(RandomGenerator& g, NumberLists& lists, int k, int fromFixed,
                                   bool sortOutput) {
    std::copy_n(lists.fixed.begin(), fromFixed, lists.combination.begin());
    std::copy_n(lists.pool.begin(), k - fromFixed, lists.combination.begin() + fromFixed);
    if (sortOutput) {
        SortAscending(lists.combination, k);
    } else {
        Shuffle(g, lists.combination, k);
    }
    return FormatCombination(lists.combination, k);
}

}  // namespace

CombinationText FormatCombination(const NumberList& list, int k) {
    CombinationText text;
    char* out = text.chars.data();
    // Four bytes per cell, one move each: the fourth lands where the next label goes, or past
    // the text's end.
    for (int i = 0; i < k; ++i, out += 3) std::memcpy(out, &Labels[3 * (list[i] - 1)], 4);
    text.length = k > 0 ? 3 * k - 1 : 0;
    return text;
}

CombinationText DrawPlain(RandomGenerator& g, NumberLists& lists, int k, bool sortOutput) {
    Shuffle(g, lists.pool, lists.PoolLength);
    if (sortOutput) SortAscending(lists.pool, k);
    return FormatCombination(lists.pool, k);
}

CombinationText DrawWithAllFixed(RandomGenerator& g, NumberLists& lists, int k, bool sortOutput) {
    Shuffle(g, lists.pool, lists.PoolLength);
    return ComposeCombination(g, lists, k, lists.FixedCount, sortOutput);
}

CombinationText DrawWithSomeFixed(RandomGenerator& g, NumberLists& lists, int k, int fixedMin,
                                  int fixedMax, bool sortOutput) {
    Shuffle(g, lists.pool, lists.PoolLength);
    Shuffle(g, lists.fixed, lists.FixedCount);
    const int fromFixed = fixedMin + RandomBelow(g, static_cast<uint16_t>(fixedMax - fixedMin + 1));
    return ComposeCombination(g, lists, k, fromFixed, sortOutput);
}

}  // namespace combogen
