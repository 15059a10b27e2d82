// The statistics of a run: the p-value function, the test's calibration on correct runs,
// distinct lines and pairs.
#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <utility>
#include <vector>

#include "combination/draw.h"
#include "combination/pool.h"
#include "stats/chi_square.h"
#include "stats/expected_spread.h"
#include "stats/line_tally.h"
#include "stats/report.h"
#include "test_support.h"

namespace combogen {
namespace {

// Closed forms: for 2m degrees of freedom Q = exp(-x/2) sum_{i<m} (x/2)^i / i!; for one,
// Q = erfc(sqrt(x/2)). The cases reach both the series (x/2 < a + 1) and the continued fraction.
TEST(StatsTest, PValuesMatchClosedForms) {
    auto even = [](int degrees, double x) {
        double term = 1, sum = 0;
        for (int i = 0; i < degrees / 2; ++i) {
            sum += term;
            term *= x / 2 / (i + 1);
        }
        return std::exp(-x / 2) * sum;
    };
    for (const auto& [degrees, x] : std::vector<std::pair<int, double>>{{2, 0.1},
                                                                        {2, 9.21034},
                                                                        {4, 3.0},
                                                                        {10, 18.307},
                                                                        {48, 30.0},
                                                                        {48, 65.171},
                                                                        {48, 130.0},
                                                                        {78, 60.0},
                                                                        {78, 180.0}}) {
        const double expected = even(degrees, x);
        EXPECT_NEAR(ChiSquarePValue(x, degrees), expected, 1e-12 + 1e-10 * expected)
            << degrees << " " << x;
    }
    for (const double x : {0.001, 0.5, 3.841459, 10.0, 40.0}) {
        const double expected = std::erfc(std::sqrt(x / 2));
        EXPECT_NEAR(ChiSquarePValue(x, 1), expected, 1e-12 + 1e-10 * expected) << x;
    }
    EXPECT_NEAR(ChiSquarePValue(3.841459, 1), 0.05, 1e-6);  // the table's 5% point
}

struct Form {
    const char* name;
    int n, k;
    std::vector<int> fixed;
    int fixedMin, fixedMax;  // both the fixed count: every line holds all of them
    int degrees;             // numbers whose count can vary, less the constraints among them
};

// The draws of one form, as the run makes them.
void DrawLines(RandomGenerator& g, const Form& form, int lines, LineTally& tally) {
    NumberLists lists;
    lists.FixedCount = static_cast<int>(form.fixed.size());
    for (int i = 0; i < lists.FixedCount; ++i) lists.fixed[i] = static_cast<Number>(form.fixed[i]);
    lists.PoolLength = BuildPool(lists.pool, lists.fixed, lists.FixedCount, form.n);
    const bool all = form.fixedMin == lists.FixedCount && lists.FixedCount > 0;
    for (int line = 0; line < lines; ++line) {
        if (lists.FixedCount == 0) {
            DrawPlain(g, lists, form.k, true);
            tally.Add(lists.pool.data(), form.k, nullptr, 0);
        } else {
            if (all) {
                DrawWithAllFixed(g, lists, form.k, true);
            } else {
                DrawWithSomeFixed(g, lists, form.k, form.fixedMin, form.fixedMax, true);
            }
            tally.Add(lists.combination.data(), form.k, nullptr, 0);
        }
    }
}

NumberSpread SpreadOf(const Form& form) {
    NumberList fixed{};
    for (std::size_t i = 0; i < form.fixed.size(); ++i)
        fixed[i] = static_cast<Number>(form.fixed[i]);
    return FixedRunSpread(form.n, form.k, fixed, static_cast<int>(form.fixed.size()), form.fixedMin,
                          form.fixedMax);
}

// Over many correct runs the statistic must average its degrees of freedom (a test that
// treated the counts as independent cells, or forgot the fixed numbers, would not), and p-values
// below 0.05 must be as rare as that: a correct run does not look biased.
TEST(StatsTest, CorrectRunsFollowChiSquare) {
    const std::vector<Form> forms{
        {"3 of 8", 8, 3, {}, 0, 0, 7},
        {"6 of 49", 49, 6, {}, 0, 0, 48},
        {"4 of 10, 2 and 7 in every line", 10, 4, {2, 7}, 2, 2, 7},
        {"4 of 9, none to two of 1, 5, 9", 9, 4, {1, 5, 9}, 0, 2, 8},
        {"6 of 49, one of 3, 9, 27, 33", 49, 6, {3, 9, 27, 33}, 1, 1, 47},
    };
    constexpr int Runs = 400, Lines = 150;
    RandomGenerator g = testing::ZeroSeededGenerator();
    for (const Form& form : forms) {
        const NumberSpread spread = SpreadOf(form);
        double sum = 0;
        int small = 0;
        for (int run = 0; run < Runs; ++run) {
            LineTally tally(form.n, form.k, Lines);
            DrawLines(g, form, Lines, tally);
            const SpreadTest test = TestCounts(tally.MainCounts(), tally.Lines(), spread);
            ASSERT_EQ(test.degreesOfFreedom, form.degrees) << form.name;
            EXPECT_FALSE(test.approximate);
            sum += test.statistic;
            small += test.pValue < 0.05;
        }
        // The mean of Runs draws of chi-square(d) has standard deviation sqrt(2 d / Runs).
        EXPECT_NEAR(sum / Runs, form.degrees, 4 * std::sqrt(2.0 * form.degrees / Runs))
            << form.name;
        EXPECT_NEAR(small, 0.05 * Runs, 3 * std::sqrt(0.05 * 0.95 * Runs)) << form.name;
    }
}

TEST(StatsTest, BiasIsFound) {
    // The counts of a run with fixed numbers look biased against a spread that ignores them.
    const Form form{"4 of 9, none to two of 1, 5, 9", 9, 4, {1, 5, 9}, 0, 2, 8};
    RandomGenerator g = testing::ZeroSeededGenerator();
    LineTally tally(form.n, form.k, 2000);
    DrawLines(g, form, 2000, tally);
    EXPECT_LT(TestCounts(tally.MainCounts(), tally.Lines(), UniformSpread(9, 4)).pValue, 1e-6);
}

// Without joint probabilities the test approximates the covariances; for equal inclusion
// probabilities the approximation is exact.
TEST(StatsTest, ApproximationIsExactForUniformDraws) {
    RandomGenerator g = testing::ZeroSeededGenerator();
    const Form form{"6 of 49", 49, 6, {}, 0, 0, 48};
    LineTally tally(form.n, form.k, 500);
    DrawLines(g, form, 500, tally);
    const NumberSpread exact = UniformSpread(49, 6);
    NumberSpread approximate = exact;
    approximate.pairInclusion.clear();
    const SpreadTest a = TestCounts(tally.MainCounts(), tally.Lines(), exact);
    const SpreadTest b = TestCounts(tally.MainCounts(), tally.Lines(), approximate);
    EXPECT_TRUE(b.approximate);
    EXPECT_EQ(b.degreesOfFreedom, 48);
    EXPECT_NEAR(a.statistic, b.statistic, 1e-9 * a.statistic);
}

TEST(StatsTest, PairsAndDistinctLinesOfATinyGame) {
    // Three lines of 3 of 5: {1 2 3} twice and {3 4 5}: pairs 12 13 23 34 35 45, six of ten.
    LineTally tally(5, 3, 3);
    const std::vector<std::vector<Number>> lines{{3, 1, 2}, {5, 3, 4}, {1, 2, 3}};
    for (const auto& line : lines) tally.Add(line.data(), 3, nullptr, 0);
    EXPECT_EQ(tally.PairsSeen(), 6);
    EXPECT_EQ(PossiblePairs(UniformSpread(5, 3)), 10);
    EXPECT_EQ(tally.Distinct().Count(), 2u);
    // With 1 and 2 fixed and at most one of them a line, 1 and 2 never meet.
    NumberList fixed{1, 2};
    EXPECT_EQ(PossiblePairs(FixedRunSpread(5, 3, fixed, 2, 0, 1)), 9);

    // Without any probabilities (a filter too large to count) the counts stand alone.
    ExpectedSpread unknown;
    unknown.main.Size = 5;
    unknown.main.Pick = 3;
    const std::string report = StatisticsReport(RunDescription{}, tally, unknown);
    EXPECT_NE(report.find("    01          2\r\n"), std::string::npos) << report;
    EXPECT_NE(report.find("chi-square: not computed"), std::string::npos) << report;
}

// Both ways of counting distinct lines agree with a plain set, numbers above 64 included,
// and the table stops counting at its limit.
TEST(StatsTest, DistinctLinesCountedExactly) {
    RandomGenerator g = testing::ZeroSeededGenerator();
    NumberLists lists;
    FillPool(lists.pool, 80);
    lists.PoolLength = 80;
    std::vector<NumberSet> sets;
    for (int i = 0; i < 3000; ++i) {
        DrawPlain(g, lists, 4, false);
        NumberSet set;
        for (int j = 0; j < 4; ++j) set.Insert(lists.pool[j]);
        sets.push_back(set);
    }
    for (int i = 0; i < 500; ++i) sets.push_back(sets[i * 5]);
    std::set<std::pair<uint64_t, uint64_t>> plain;
    for (const NumberSet& set : sets) plain.insert({set.low, set.high});

    DistinctLines table(80, 4, sets.size());          // a table takes less memory here
    DistinctLines bitmap(80, 4, 1000 * sets.size());  // and here a bitmap of C(80, 4) bits
    DistinctLines limited(80, 4, sets.size(), 1000);
    for (const NumberSet& set : sets) {
        table.Add(set);
        bitmap.Add(set);
        limited.Add(set);
    }
    EXPECT_FALSE(table.UsesBitmap());
    EXPECT_TRUE(bitmap.UsesBitmap());
    EXPECT_EQ(table.Count(), plain.size());
    EXPECT_EQ(bitmap.Count(), plain.size());
    EXPECT_FALSE(limited.Counted());
    EXPECT_EQ(limited.Count(), 1024u);
}

}  // namespace
}  // namespace combogen
