// --sum MIN:MAX: the sum of the main numbers.
#include "filters/filter.h"
#include "filters/total_filter.h"

namespace combogen {

namespace {

int Weight(int v) { return v; }

// The sums of the k lowest and the k highest numbers of 1..n.
int Lowest(int k) { return k * (k + 1) / 2; }
int Highest(int n, int k) { return k * (2 * n - k + 1) / 2; }

}  // namespace

extern const Filter SumFilter{
    .word = "--sum",
    .kind = Filter::Kind::Total,
    .recheckOrder = 2,
    .adviceOrder = 3,
    .on = [](const LineFilters& f) { return f.sum.has_value(); },
    .leaveOut = [](LineFilters& f) { f.sum.reset(); },
    .copy = [](const LineFilters& from, LineFilters& to) { to.sum = from.sum; },
    .value = [](const LineFilters& f) { return RangeText(*f.sum); },
    .passes = [](const LineFilters& f, const Number* numbers,
                 int k) { return Within(TotalOf<Weight>(numbers, k), *f.sum); },
    .meetsAll = [](const LineFilters& f, int n,
                   int k) { return f.sum->min <= Lowest(k) && f.sum->max >= Highest(n, k); },
    .weight = Weight,
    .range = [](const LineFilters& f) { return *f.sum; },
    .highest = Highest,
};

}  // namespace combogen
