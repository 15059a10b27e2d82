#include "wheel/coverage_order.h"

#include <gtest/gtest.h>

#include "test_support.h"
#include "wheel/guarantee.h"
#include "wheel/search.h"

namespace combogen {
namespace {

uint64_t Met(int v, int t, int m, std::vector<WheelLine> lines) {
    return CheckGuarantee(v, t, m, lines).metDraws;
}

TEST(CoverageOrderTest, EachPlaceTakesTheLineMeetingTheMostDrawsLeft) {
    // m-sets marked one by one (12 numbers), and the t-sets standing in for 45 million 6-sets.
    for (const WheelGoal goal : {WheelGoal{12, 6, 3, 4}, WheelGoal{59, 6, 2, 6}}) {
        SCOPED_TRACE(goal.v);
        RandomGenerator g = testing::ZeroSeededGenerator();
        WheelSearch search;
        search.goal = goal;
        search.effort = 100'000;
        const WheelFound found = FindWheel(search, g);
        ASSERT_TRUE(found.covers);
        const std::vector<WheelLine> ordered = OrderByCoverage(goal.v, goal.t, goal.m, found.lines);
        ASSERT_EQ(ordered.size(), found.lines.size());
        const int counted = goal.v == 12 ? goal.m : goal.t;
        for (size_t n = 0; n < ordered.size(); ++n) {
            std::vector<WheelLine> prefix(ordered.begin(), ordered.begin() + n + 1);
            const uint64_t placed = Met(goal.v, goal.t, counted, prefix);
            for (size_t later = n + 1; later < ordered.size(); ++later) {
                prefix.back() = ordered[later];
                EXPECT_LE(Met(goal.v, goal.t, counted, prefix), placed) << "place " << n;
            }
        }
    }
}

}  // namespace
}  // namespace combogen
