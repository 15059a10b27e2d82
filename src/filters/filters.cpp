#include "filters/filter.h"

#include <iterator>

namespace combogen {

// Each filter's row, in its own file.
extern const Filter SumFilter, OddFilter, RunFilter, ExcludeFilter;

std::span<const Filter* const> Filters() {
    static constexpr const Filter* All[] = {&SumFilter, &OddFilter, &RunFilter, &ExcludeFilter};
    static_assert(std::size(All) <= FilterCount);
    return All;
}

FilterCheck::FilterCheck(const LineFilters& filters) : filters_(filters) {
    for (const Filter* filter : Filters()) {
        if (filter->on(filters)) passes_[count_++] = filter->passes;
    }
}

std::string Describe(const Filter& filter, const LineFilters& filters) {
    return std::string(filter.word) + " " + filter.value(filters);
}

}  // namespace combogen
