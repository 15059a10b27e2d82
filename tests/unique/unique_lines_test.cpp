#include "unique/unique_lines.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "combination/pool.h"
#include "test_support.h"

namespace combogen {
namespace {

using testing::ZeroSeededGenerator;

// Runs that use up every passing line: each line new, each passing, then one more refused.
TEST(UniqueLinesTest, ExhaustsEveryPassingLineOnceThenRefuses) {
    struct Case {
        const char* name;
        int n, k;
        FixedForm form;
        std::vector<int> fixed;
        int fixedMin, fixedMax;
        std::optional<CountRange> sum;
        bool sorted;
    };
    const Case cases[] = {
        {"5 of 12", 12, 5, FixedForm::None, {}, 0, 0, std::nullopt, true},
        {"3 of 8, --sum 9:11", 8, 3, FixedForm::None, {}, 0, 0, CountRange{9, 11}, false},
        {"4 of 10, fixed 1 2 3 from 0 to 2",
         10,
         4,
         FixedForm::Some,
         {1, 2, 3},
         0,
         2,
         std::nullopt,
         true},
        {"4 of 10, all of fixed 6, --sum 12:20",
         10,
         4,
         FixedForm::All,
         {6},
         0,
         0,
         CountRange{12, 20},
         false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        LineRules rules;
        rules.poolSize = c.n;
        rules.pickCount = c.k;
        rules.form = c.form;
        for (const int v : c.fixed) rules.fixed[rules.fixedCount++] = static_cast<Number>(v);
        rules.fixedMin = c.fixedMin;
        rules.fixedMax = c.fixedMax;
        rules.filters.sum = c.sum;
        const PassingSets sets(rules);
        const auto total = static_cast<int64_t>(sets.Total());
        EXPECT_FALSE(UniqueLines::Refusal(sets, total, "lines"));
        EXPECT_EQ(UniqueLines::Refusal(sets, total + 1, "lines of this game"),
                  "--unique asks for " + std::to_string(total + 1) + " lines, but there are only " +
                      std::to_string(total) + " different lines of this game");

        const ConditionedDraw draw(rules, &sets, c.sorted);
        UniqueLines unique(sets, draw, total);
        RandomGenerator g = ZeroSeededGenerator();
        NumberLists lists;
        lists.fixed = rules.fixed;
        lists.FixedCount = rules.fixedCount;
        lists.PoolLength = BuildPool(lists.pool, rules.fixed, rules.fixedCount, c.n);
        std::set<std::set<int>> seen;
        DrawnLine line;
        for (int64_t i = 0; i < total; ++i) {
            unique.Draw(g, lists, line);
            ASSERT_TRUE(PassesFilters(rules.filters, line.numbers.data(), c.k));
            const std::set<int> numbers(line.numbers.begin(), line.numbers.begin() + c.k);
            ASSERT_EQ(static_cast<int>(numbers.size()), c.k);
            ASSERT_TRUE(seen.insert(numbers).second)
                << "line " << i << " repeats: " << line.text.view();
        }
    }
}

TEST(UniqueLinesTest, HugeSpacesAllowABoundedNumberOfLines) {
    LineRules rules;
    rules.poolSize = 80;
    rules.pickCount = 20;
    const PassingSets sets(rules);
    EXPECT_FALSE(UniqueLines::Refusal(sets, UniqueLines::MaxHashedLines, "lines"));
    EXPECT_EQ(UniqueLines::Refusal(sets, UniqueLines::MaxHashedLines + 1, "lines"),
              "--unique allows at most 4,194,304 lines when more than 1,073,741,824 different "
              "lines are possible");
}

}  // namespace
}  // namespace combogen
