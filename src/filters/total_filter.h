// What the Total filters' files share: a line's total and the range's words.
#pragma once

#include <string>

#include "filters/line_rules.h"

namespace combogen {

// The total of the weights of k numbers; Weight is a constant, so the loop has no call.
template <int (*Weight)(int)>
int TotalOf(const Number* numbers, int k) {
    int total = 0;
    for (int i = 0; i < k; ++i) total += Weight(numbers[i]);
    return total;
}

inline bool Within(int value, const CountRange& range) {
    return value >= range.min && value <= range.max;
}

inline std::string RangeText(const CountRange& range) {
    return std::to_string(range.min) + ":" + std::to_string(range.max);
}

}  // namespace combogen
