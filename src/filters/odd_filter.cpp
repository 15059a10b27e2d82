// --odd MIN:MAX: how many of the main numbers are odd.
#include "filters/total_filter.h"

namespace combogen {

namespace {

int Weight(int v) { return v & 1; }
int Lowest(int, int) { return 0; }
// k, not the odd numbers of 1..n: the full table is laid out as it always was.
int Highest(int, int k) { return k; }

}  // namespace

extern const Filter OddFilter =
    TotalFilter<&LineFilters::odd, Weight, Lowest, Highest>("--odd", 0, 1);

}  // namespace combogen
