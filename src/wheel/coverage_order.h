// The order of a wheel's lines: each first N of them meet as many draws as a greedy choice can
// make them, so that a player who cuts the file anywhere keeps the most of its guarantee.
#pragma once

#include <vector>

#include "wheel/goal.h"

namespace combogen {

// The lines (numbers 0..v-1, each ascending) reordered: at each place the line that meets, in t
// or more numbers, the most m-sets the lines before it leave unmet; the earliest of the given
// order on a tie. Where the m-sets are too many to mark one by one, the t-sets stand in for
// them.
std::vector<WheelLine> OrderByCoverage(int v, int t, int m, std::vector<WheelLine> lines);

}  // namespace combogen
