// The row of a Total filter: a total of per-number weights within the range MIN:MAX that the
// command line sets.
#pragma once

#include <optional>
#include <string>

#include "filters/filter.h"

namespace combogen {

// The total of the weights of k numbers; Weight is a constant, so the loop has no call.
template <int (*Weight)(int)>
int TotalOf(const Number* numbers, int k) {
    int total = 0;
    for (int i = 0; i < k; ++i) total += Weight(numbers[i]);
    return total;
}

// Range: where LineFilters keeps MIN:MAX. Lowest, Highest: the least and the most that a line
// of k numbers from 1..n can total (Highest also sizes the full table).
template <std::optional<CountRange> LineFilters::*Range, int (*Weight)(int),
          int (*Lowest)(int n, int k), int (*Highest)(int n, int k)>
constexpr Filter TotalFilter(const char* word, int recheckOrder, int adviceOrder) {
    return Filter{
        .word = word,
        .kind = Filter::Kind::Total,
        .recheckOrder = recheckOrder,
        .adviceOrder = adviceOrder,
        .on = IsSet<Range>,
        .leaveOut = Unset<Range>,
        .copy = CopySetting<Range>,
        .value =
            [](const LineFilters& f) {
                return std::to_string((f.*Range)->min) + ":" + std::to_string((f.*Range)->max);
            },
        .passes =
            [](const LineFilters& f, const Number* numbers, int k) {
                const int total = TotalOf<Weight>(numbers, k);
                return total >= (f.*Range)->min && total <= (f.*Range)->max;
            },
        .meetsAll =
            [](const LineFilters& f, int n, int k) {
                return (f.*Range)->min <= Lowest(n, k) && (f.*Range)->max >= Highest(n, k);
            },
        .weight = Weight,
        .range = [](const LineFilters& f) { return *(f.*Range); },
        .highest = Highest,
    };
}

}  // namespace combogen
