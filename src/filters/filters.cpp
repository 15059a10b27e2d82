#include "filters/filter.h"

namespace combogen {

// Each filter's row, in its own file.
extern const Filter SumFilter, OddFilter, RunFilter, ExcludeFilter;

std::span<const Filter* const> Filters() {
    static constexpr const Filter* All[] = {&SumFilter, &OddFilter, &RunFilter, &ExcludeFilter};
    return All;
}

std::string Describe(const Filter& filter, const LineFilters& filters) {
    return std::string(filter.word) + " " + filter.value(filters);
}

}  // namespace combogen
