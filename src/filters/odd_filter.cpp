// --odd MIN:MAX: how many of the main numbers are odd.
#include "filters/filter.h"
#include "filters/total_filter.h"

namespace combogen {

namespace {

int Weight(int v) { return v & 1; }

}  // namespace

extern const Filter OddFilter{
    .word = "--odd",
    .kind = Filter::Kind::Total,
    .recheckOrder = 0,
    .adviceOrder = 1,
    .on = [](const LineFilters& f) { return f.odd.has_value(); },
    .leaveOut = [](LineFilters& f) { f.odd.reset(); },
    .copy = [](const LineFilters& from, LineFilters& to) { to.odd = from.odd; },
    .value = [](const LineFilters& f) { return RangeText(*f.odd); },
    .passes = [](const LineFilters& f, const Number* numbers,
                 int k) { return Within(TotalOf<Weight>(numbers, k), *f.odd); },
    .meetsAll = [](const LineFilters& f, int, int k) { return f.odd->min <= 0 && f.odd->max >= k; },
    .weight = Weight,
    .range = [](const LineFilters& f) { return *f.odd; },
    // k, not the odd numbers of 1..n: the table is laid out as it always was.
    .highest = [](int, int k) { return k; },
};

}  // namespace combogen
