// --sum MIN:MAX: the sum of the main numbers.
#include "filters/total_filter.h"

namespace combogen {

namespace {

int Weight(int v) { return v; }
// The sums of the k lowest and the k highest numbers of 1..n.
int Lowest(int, int k) { return k * (k + 1) / 2; }
int Highest(int n, int k) { return k * (2 * n - k + 1) / 2; }

}  // namespace

extern const Filter SumFilter =
    TotalFilter<&LineFilters::sum, Weight, Lowest, Highest>("--sum", 2, 3);

}  // namespace combogen
