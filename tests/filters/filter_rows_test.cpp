#include "filters/filter.h"

#include <gtest/gtest.h>

#include <bit>
#include <set>
#include <string>

#include "filters/passing_sets.h"

namespace combogen {
namespace {

// Each filter alone, and the odd count with a run (kept in the state rather than by the
// order), on small games: the full table, the reachable counts, the count a step at a time and
// the recheck of every line must agree, since all read the filter's one row.
TEST(FilterRowsTest, CountsAndRecheckAgreeForEveryFilter) {
    struct Case {
        const char* words;  // as DescribeFilters gives them
        LineFilters filters;
    };
    LineFilters sum, odd, run, excluded, oddAndRun;
    sum.sum = CountRange{14, 19};
    odd.odd = CountRange{1, 2};
    run.maxRun = 2;
    excluded.excluded[4] = excluded.excluded[9] = excluded.anyExcluded = true;
    oddAndRun.odd = CountRange{3, 4};
    oddAndRun.maxRun = 1;
    const Case cases[] = {
        {"--sum 14:19", sum},
        {"--odd 1:2", odd},
        {"--max-run 2", run},
        {"--exclude 4,9", excluded},
        {"--odd 3:4 and --max-run 1", oddAndRun},
    };
    std::set<const Filter*> covered;
    for (const Case& c : cases) {
        EXPECT_EQ(DescribeFilters(c.filters), c.words);
        for (const Filter* filter : Filters()) {
            if (filter->on(c.filters)) covered.insert(filter);
        }
        for (const int n : {9, 11}) {
            LineRules rules;
            rules.poolSize = n;
            rules.pickCount = 4;
            rules.filters = c.filters;
            // Every subset of 1..n with 4 members, as a bit set.
            WideCount passing = 0;
            for (unsigned bits = 0; bits < 1u << n; ++bits) {
                if (std::popcount(bits) != 4) continue;
                Number line[4];
                int i = 0;
                for (int v = 1; v <= n; ++v) {
                    if ((bits >> (v - 1) & 1) != 0) line[i++] = static_cast<Number>(v);
                }
                passing += PassesFilters(c.filters, line, 4);
            }
            SCOPED_TRACE(std::string(c.words) + " n=" + std::to_string(n));
            EXPECT_GT(passing, 0);
            EXPECT_EQ(PassingSets(rules).Total(), passing);
            EXPECT_EQ(PassingSets(rules, PassingSets::Table::Reachable).Total(), passing);
            EXPECT_EQ(PassingSets::PassingTotal(rules), passing);
        }
    }
    // A filter registered without a case here is caught.
    EXPECT_EQ(covered.size(), Filters().size());
}

}  // namespace
}  // namespace combogen
