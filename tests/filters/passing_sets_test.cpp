#include "filters/passing_sets.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <map>
#include <string>
#include <vector>

#include "combination/pool.h"
#include "filters/conditioned_draw.h"
#include "test_support.h"
#include "unique/unique_lines.h"

namespace combogen {
namespace {

using testing::ZeroSeededGenerator;

// Small games checked against brute force over all subsets of 1..n.
struct Game {
    const char* name;
    LineRules rules;
    bool mostPass;  // which way the lines are drawn: again until one passes, or from the counts
};

LineRules Rules(int n, int k, FixedForm form, std::vector<int> fixed, int fixedMin, int fixedMax) {
    LineRules rules;
    rules.poolSize = n;
    rules.pickCount = k;
    rules.form = form;
    for (const int v : fixed) rules.fixed[rules.fixedCount++] = static_cast<Number>(v);
    rules.fixedMin = fixedMin;
    rules.fixedMax = fixedMax;
    return rules;
}

std::vector<Game> Games() {
    std::vector<Game> games;
    LineRules narrow = Rules(8, 3, FixedForm::None, {}, 0, 0);
    narrow.filters.sum = CountRange{9, 11};  // a quarter pass: drawn from the counts
    games.push_back({"3 of 8, --sum 9:11", narrow, false});
    LineRules wide = narrow;
    wide.filters.sum = CountRange{8, 16};  // most pass: drawn again until one passes
    games.push_back({"3 of 8, --sum 8:16", wide, true});
    LineRules some = Rules(8, 3, FixedForm::Some, {2, 5, 7}, 0, 2);
    some.filters.sum = CountRange{10, 13};
    some.filters.odd = CountRange{1, 2};
    games.push_back({"3 of 8, fixed 2 5 7 from 0 to 2, --sum 10:13 --odd 1:2", some, false});
    LineRules runs = Rules(9, 4, FixedForm::All, {4}, 0, 0);
    runs.filters.maxRun = 2;
    runs.filters.odd = CountRange{1, 3};
    runs.filters.excluded[8] = runs.filters.anyExcluded = true;
    games.push_back({"4 of 9, all of fixed 4, --max-run 2 --odd 1:3 --exclude 8", runs, false});
    return games;
}

// Each passing set of the game (as a bit mask of 1..n) with its exact probability.
std::map<unsigned, double> ExactProbabilities(const LineRules& rules) {
    std::map<unsigned, double> p;
    double total = 0;
    unsigned fixedBits = 0;
    for (int i = 0; i < rules.fixedCount; ++i) fixedBits |= 1u << (rules.fixed[i] - 1);
    for (unsigned bits = 0; bits < (1u << rules.poolSize); ++bits) {
        if (std::popcount(bits) != rules.pickCount) continue;
        const int e = std::popcount(bits & fixedBits);
        double weight = 1;
        if (rules.form == FixedForm::All && e != rules.fixedCount) continue;
        if (rules.form == FixedForm::Some) {
            if (e < rules.fixedMin || e > rules.fixedMax) continue;
            weight = 1.0 / static_cast<double>(
                               Binomial(rules.fixedCount, e) *
                               Binomial(rules.poolSize - rules.fixedCount, rules.pickCount - e));
        }
        Number numbers[MaxNumber];
        int k = 0;
        for (int v = 1; v <= rules.poolSize; ++v) {
            if (bits >> (v - 1) & 1) numbers[k++] = static_cast<Number>(v);
        }
        if (!PassesFilters(rules.filters, numbers, k)) continue;
        p[bits] = weight;
        total += weight;
    }
    for (auto& [bits, weight] : p) weight /= total;
    return p;
}

unsigned Bits(const Number* numbers, int k) {
    unsigned bits = 0;
    for (int i = 0; i < k; ++i) bits |= 1u << (numbers[i] - 1);
    return bits;
}

NumberLists ListsFor(const LineRules& rules) {
    NumberLists lists;
    lists.fixed = rules.fixed;
    lists.FixedCount = rules.fixedCount;
    lists.PoolLength = BuildPool(lists.pool, rules.fixed, rules.fixedCount, rules.poolSize);
    return lists;
}

// Every rank unranks to a passing line and ranks back; every passing line has one rank; the
// inclusion probabilities are exact.
void ExpectMatchesBruteForce(const PassingSets& sets, const Game& game) {
    const std::map<unsigned, double> exact = ExactProbabilities(game.rules);
    ASSERT_EQ(sets.Total(), exact.size());
    std::map<unsigned, int> seen;
    for (int cls = 0; cls < sets.ClassCount(); ++cls) {
        for (WideCount u = 0; u < sets.ClassSize(cls); ++u) {
            Number numbers[MaxNumber];
            sets.Unrank(cls, u, numbers);
            ASSERT_TRUE(exact.count(Bits(numbers, game.rules.pickCount)));
            ++seen[Bits(numbers, game.rules.pickCount)];
            int rankCls = -1;
            WideCount rank = 0;
            sets.Rank(numbers, rankCls, rank);
            EXPECT_EQ(rankCls, cls);
            EXPECT_TRUE(rank == u);
        }
    }
    EXPECT_EQ(seen.size(), exact.size()) << "every passing set has exactly one rank";

    const auto inclusion = sets.InclusionProbabilities();
    for (int v = 1; v <= game.rules.poolSize; ++v) {
        double expected = 0;
        for (const auto& [bits, p] : exact) expected += (bits >> (v - 1) & 1) * p;
        EXPECT_NEAR(inclusion[v], expected, 1e-12) << "number " << v;
    }
}

TEST(PassingSetsTest, RanksCountAndProbabilitiesMatchBruteForce) {
    for (const Game& game : Games()) {
        SCOPED_TRACE(game.name);
        const PassingSets sets(game.rules);
        EXPECT_EQ(sets.MostPass(), game.mostPass);
        ExpectMatchesBruteForce(sets, game);
    }
}

// Without --sum, --odd or --max-run the ranks are the combinatorial number system's over the
// numbers not excluded: a seeded --unique run depends on this order. Pools on both sides of 64;
// with all fixed numbers, each rank's set holds them and ranks back to itself.
TEST(PassingSetsTest, RanksWithoutFiltersInColexOrder) {
    const struct {
        int n, k;
        std::vector<int> excluded, fixed;
    } cases[] = {{8, 3, {}, {}},
                 {12, 5, {3, 10}, {}},
                 {70, 2, {}, {}},
                 {66, 3, {65}, {}},
                 {9, 4, {}, {4, 7}}};
    for (const auto& c : cases) {
        LineRules rules =
            Rules(c.n, c.k, c.fixed.empty() ? FixedForm::None : FixedForm::All, c.fixed, 0, 0);
        for (const int v : c.excluded) rules.filters.excluded[v] = rules.filters.anyExcluded = true;
        const PassingSets sets(rules);
        SCOPED_TRACE(std::to_string(c.k) + " of " + std::to_string(c.n));
        for (WideCount u = 0; u < sets.ClassSize(0); ++u) {
            Number numbers[MaxNumber];
            sets.Unrank(0, u, numbers);
            int cls = -1;
            WideCount rank = 0;
            sets.Rank(numbers, cls, rank);
            ASSERT_TRUE(rank == u && cls == 0);
            if (!c.fixed.empty()) {
                for (const int v : c.fixed) ASSERT_NE(std::count(numbers, numbers + c.k, v), 0);
                continue;
            }
            std::sort(numbers, numbers + c.k);
            WideCount colex = 0;
            for (int i = 0; i < c.k; ++i) {
                int allowedBelow = 0;
                for (int v = 1; v < numbers[i]; ++v) allowedBelow += !rules.filters.excluded[v];
                colex += Binomial(allowedBelow, i + 1);
            }
            ASSERT_TRUE(colex == u);
        }
    }
}

// Lines drawn from the zero seed against the exact conditional probabilities: the chi-square
// statistic must stay below the 0.001 critical value of its degrees of freedom.
TEST(ConditionedDrawTest, DrawsEachPassingLineWithItsExactProbability) {
    constexpr int Lines = 200000;
    for (const bool sorted : {true, false}) {
        for (const Game& game : Games()) {
            SCOPED_TRACE(std::string(game.name) + (sorted ? ", sorted" : ", unsorted"));
            const PassingSets sets(game.rules);
            const ConditionedDraw draw(game.rules, &sets, sorted);
            const std::map<unsigned, double> exact = ExactProbabilities(game.rules);
            RandomGenerator g = ZeroSeededGenerator();
            NumberLists lists = ListsFor(game.rules);
            std::map<unsigned, int> counts;
            DrawnLine line;
            for (int i = 0; i < Lines; ++i) {
                draw.Draw(g, lists, line);
                ++counts[Bits(line.numbers.data(), game.rules.pickCount)];
            }
            double chiSquare = 0;
            for (const auto& [bits, p] : exact) {
                const double expected = p * Lines;
                chiSquare += (counts[bits] - expected) * (counts[bits] - expected) / expected;
            }
            EXPECT_EQ(counts.size(), exact.size()) << "only passing lines, and all of them";
            // Wilson-Hilferty: the 0.001 quantile of chi-square with df degrees of freedom.
            const double df = static_cast<double>(exact.size() - 1);
            const double a = 2.0 / (9 * df);
            const double critical = df * std::pow(1 - a + 3.09 * std::sqrt(a), 3);
            EXPECT_LT(chiSquare, critical) << exact.size() << " passing lines";
        }
    }
}

TEST(ConditionedDrawTest, AFilterEveryLinePassesKeepsTheRunsBytes) {
    for (const Game& game : Games()) {
        SCOPED_TRACE(game.name);
        LineRules everything = game.rules;
        everything.filters = {};
        everything.filters.sum = CountRange{0, 1000};
        everything.filters.odd = CountRange{0, 80};
        const PassingSets sets(everything);
        const ConditionedDraw draw(everything, &sets, false);
        RandomGenerator g = ZeroSeededGenerator();
        RandomGenerator twin = g;
        NumberLists lists = ListsFor(everything);
        NumberLists twinLists = lists;
        DrawnLine line, plain;
        for (int i = 0; i < 50; ++i) {
            draw.Draw(g, lists, line);
            DrawUnfiltered(twin, twinLists, everything, false, plain);
            ASSERT_EQ(line.text.view(), plain.text.view());
        }
    }
}

// Games where the reachable states differ most from the full table: more than half the pool
// taken, every filter, fixed numbers in both forms.
std::vector<Game> ReachableGames() {
    std::vector<Game> games = Games();
    LineRules most = Rules(10, 7, FixedForm::None, {}, 0, 0);
    most.filters.sum = CountRange{36, 40};
    most.filters.maxRun = 3;
    most.filters.odd = CountRange{3, 4};
    games.push_back({"7 of 10, --sum 36:40 --max-run 3 --odd 3:4", most, false});
    LineRules some = Rules(11, 7, FixedForm::Some, {1, 6, 9, 10}, 1, 3);
    some.filters.sum = CountRange{35, 45};
    some.filters.maxRun = 4;
    some.filters.excluded[3] = some.filters.anyExcluded = true;
    games.push_back(
        {"7 of 11, fixed 1 6 9 10 from 1 to 3, --sum 35:45 --max-run 4 --exclude 3", some, false});
    LineRules all = Rules(12, 8, FixedForm::All, {2, 7}, 0, 0);
    all.filters.odd = CountRange{4, 4};
    all.filters.sum = CountRange{50, 56};
    games.push_back({"8 of 12, all of fixed 2 7, --odd 4:4 --sum 50:56", all, false});
    return games;
}

// The chi-square statistic of Lines draws against the exact probabilities, and its 0.001
// critical value (Wilson-Hilferty).
template <class DrawOne>
std::pair<double, double> ChiSquare(const std::map<unsigned, double>& exact, int k, DrawOne draw) {
    constexpr int Lines = 200000;
    std::map<unsigned, int> counts;
    for (int i = 0; i < Lines; ++i) {
        const Number* numbers = draw();
        ++counts[Bits(numbers, k)];
    }
    double chiSquare = 0;
    for (const auto& [bits, p] : exact) {
        const double expected = p * Lines;
        chiSquare += (counts[bits] - expected) * (counts[bits] - expected) / expected;
    }
    if (counts.size() != exact.size()) chiSquare = 1e300;  // a line that does not pass
    const double df = static_cast<double>(exact.size() - 1);
    const double a = 2.0 / (9 * df);
    return {chiSquare, df * std::pow(1 - a + 3.09 * std::sqrt(a), 3)};
}

TEST(ReachableCountsTest, RanksCountAndProbabilitiesMatchBruteForce) {
    for (const Game& game : ReachableGames()) {
        SCOPED_TRACE(game.name);
        const PassingSets sets(game.rules, PassingSets::Table::Reachable);
        ASSERT_TRUE(sets.Reachable());
        ExpectMatchesBruteForce(sets, game);
        EXPECT_TRUE(PassingSets::PassingTotal(game.rules) == sets.Total());
    }
}

// Each way of drawing from the reachable counts: all filters counted, and only some counted
// with the others rechecked. Both are forced to draw from the counts even where most pass.
TEST(ReachableCountsTest, DrawsEachPassingLineWithItsExactProbability) {
    for (const bool sorted : {true, false}) {
        for (const Game& game : ReachableGames()) {
            for (const bool countAll : {true, false}) {
                LineRules counted = game.rules;
                if (!countAll) {
                    // Unsorted lines are the same sets shuffled: once is enough.
                    if (!sorted || (!counted.filters.maxRun && !counted.filters.odd)) continue;
                    counted.filters.maxRun.reset();
                    counted.filters.odd.reset();
                }
                SCOPED_TRACE(std::string(game.name) + (sorted ? ", sorted" : ", unsorted") +
                             (countAll ? "" : ", --odd and --max-run rechecked"));
                const PassingSets sets(counted, PassingSets::Table::Reachable);
                const ConditionedDraw draw(game.rules, &sets, sorted, true);
                RandomGenerator g = ZeroSeededGenerator();
                NumberLists lists = ListsFor(game.rules);
                DrawnLine line;
                const auto [chiSquare, critical] =
                    ChiSquare(ExactProbabilities(game.rules), game.rules.pickCount, [&] {
                        draw.Draw(g, lists, line);
                        return line.numbers.data();
                    });
                EXPECT_LT(chiSquare, critical);
            }
        }
    }
}

// The test above has the power to see a wrong weight: each of these is caught.
TEST(ReachableCountsTest, AMisWeightedDrawIsCaught) {
    const Game some = Games()[2];  // fixed numbers 0 to 2: classes of different weight
    const PassingSets sets(some.rules, PassingSets::Table::Reachable);
    RandomGenerator g = ZeroSeededGenerator();
    Number numbers[MaxNumber];
    const auto classesAlike = [&] {  // every class as likely as the others
        const int cls = static_cast<int>(WideBelow(g, sets.ClassCount()));
        sets.Unrank(cls, WideBelow(g, sets.ClassSize(cls)), numbers);
        return numbers;
    };
    const auto linesAlike = [&] {  // every passing line as likely, whatever its class
        WideCount u = WideBelow(g, sets.Total());
        int cls = 0;
        while (u >= sets.ClassSize(cls)) u -= sets.ClassSize(cls++);
        sets.Unrank(cls, u, numbers);
        return numbers;
    };
    const auto lastTwice = [&] {  // the last line of a class twice as likely
        const int cls = sets.DrawClass(g);
        const WideCount size = sets.ClassSize(cls);
        sets.Unrank(cls, std::min(WideBelow(g, size + 1), size - 1), numbers);
        return numbers;
    };
    const std::map<unsigned, double> exact = ExactProbabilities(some.rules);
    const int k = some.rules.pickCount;
    for (const auto& [chiSquare, critical] :
         {ChiSquare(exact, k, classesAlike), ChiSquare(exact, k, linesAlike),
          ChiSquare(exact, k, lastTwice)}) {
        EXPECT_GT(chiSquare, critical);
    }
}

// --unique over counts of fewer filters, the others rechecked: the second line of a run
// against its exact probability, sum over y != x of p(y) p(x) / (1 - p(y)); drawing it
// without the marks (repeats allowed) is caught where the classes weigh lines unequally (with
// equal weights both are uniform).
TEST(ReachableCountsTest, UniqueOverARecheckDrawsWithoutReplacement) {
    for (const Game& game : ReachableGames()) {
        if (!game.rules.filters.maxRun && !game.rules.filters.odd) continue;
        SCOPED_TRACE(game.name);
        LineRules counted = game.rules;
        counted.filters.maxRun.reset();
        counted.filters.odd.reset();
        const PassingSets sets(counted, PassingSets::Table::Reachable);
        const ConditionedDraw draw(game.rules, &sets, true, true);
        const std::map<unsigned, double> first = ExactProbabilities(game.rules);
        std::map<unsigned, double> second;
        for (const auto& [x, px] : first) {
            for (const auto& [y, py] : first) {
                if (x != y) second[x] += py * px / (1 - py);
            }
        }
        RandomGenerator g = ZeroSeededGenerator();
        NumberLists lists = ListsFor(game.rules);
        DrawnLine line;
        for (const bool marked : {true, false}) {
            if (!marked && game.rules.form != FixedForm::Some) continue;
            const auto [chiSquare, critical] = ChiSquare(second, game.rules.pickCount, [&] {
                if (!marked) {
                    draw.Draw(g, lists, line);
                    draw.Draw(g, lists, line);
                    return line.numbers.data();
                }
                UniqueLines unique(sets, draw, 2, true);
                unique.Draw(g, lists, line);
                unique.Draw(g, lists, line);
                return line.numbers.data();
            });
            if (marked) {
                EXPECT_LT(chiSquare, critical);
            } else {
                EXPECT_GT(chiSquare, critical) << "repeats allowed";
            }
        }
    }
}

// Games too large for brute force where the full table still fits: the two tables agree on
// every count, in 64 bits (20 of 80) and in 128 (40 of 80), and the reachable ranks hold.
TEST(ReachableCountsTest, AgreesWithTheFullTable) {
    std::vector<LineRules> games;
    LineRules keno = Rules(80, 20, FixedForm::None, {}, 0, 0);
    keno.filters.sum = CountRange{700, 720};
    keno.filters.maxRun = 3;
    games.push_back(keno);
    LineRules some = Rules(80, 20, FixedForm::Some, {3, 9, 27, 33, 61}, 1, 3);
    some.filters.sum = CountRange{800, 820};
    some.filters.odd = CountRange{10, 10};
    games.push_back(some);
    LineRules half = Rules(80, 40, FixedForm::None, {}, 0, 0);
    half.filters.sum = CountRange{1620, 1620};
    games.push_back(half);
    for (const LineRules& rules : games) {
        SCOPED_TRACE(DescribeFilters(rules.filters) + ", " + std::to_string(rules.pickCount));
        const PassingSets full(rules);
        const PassingSets reachable(rules, PassingSets::Table::Reachable);
        ASSERT_FALSE(full.TooLarge());
        ASSERT_EQ(full.ClassCount(), reachable.ClassCount());
        ASSERT_TRUE(PassingSets::PassingTotal(rules) == full.Total());
        RandomGenerator g = ZeroSeededGenerator();
        for (int cls = 0; cls < full.ClassCount(); ++cls) {
            ASSERT_TRUE(full.ClassSize(cls) == reachable.ClassSize(cls));
            for (int i = 0; i < 200; ++i) {
                const WideCount u = WideBelow(g, reachable.ClassSize(cls));
                Number numbers[MaxNumber];
                reachable.Unrank(cls, u, numbers);
                ASSERT_TRUE(PassesFilters(rules.filters, numbers, rules.pickCount));
                int rankCls = -1;
                WideCount rank = 0;
                reachable.Rank(numbers, rankCls, rank);
                ASSERT_TRUE(rankCls == cls && rank == u);
            }
        }
    }
}

}  // namespace
}  // namespace combogen
