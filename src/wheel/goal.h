// What a wheel must do, and its lines: the types every part of the wheel code shares, so that
// the bounds, the constructions, the check and the search need not include one another.
#pragma once

#include <cstdint>
#include <vector>

namespace combogen {

// The fewest lines of k numbers out of v such that whenever m of the drawn numbers are among
// the v, some line holds at least t of them ("t if m"; a covering design C(v,k,t) when m = t).
// Numbers are the indices 0..v-1 here; a run maps them to the player's.
struct WheelGoal {
    int v = 0;  // numbers wheeled, 1..80
    int k = 0;  // numbers a line holds
    int t = 0;  // the prize: at least t of the drawn numbers in one line
    int m = 0;  // the condition: m of the drawn numbers among the v; 1 <= t <= m <= k <= v
};

// One line: its numbers, ascending, each in 0..v-1.
using WheelLine = std::vector<uint8_t>;

}  // namespace combogen
