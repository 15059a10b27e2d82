// Chi-square tests of whole draws: every number, every place and every count of fixed numbers
// must come up as often as chance says. A fixed seed keeps them from ever flaking.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "combination/draw.h"
#include "combination/pool.h"
#include "test_support.h"

namespace combogen {
namespace {

constexpr int Lines = 200000;

// The numbers of a line, read back from its text.
std::vector<int> NumbersOf(const CombinationText& text) {
    std::vector<int> numbers;
    for (int i = 0; i + 1 < text.length; i += 3) {
        numbers.push_back((text.chars[i] - '0') * 10 + (text.chars[i + 1] - '0'));
    }
    return numbers;
}

struct Tally {
    std::string name;
    std::vector<long> counts;  // all categories equally likely
    // The variance of a count relative to a multinomial's: (n - k) / (n - 1) when each line
    // adds k distinct categories of n, since they are drawn without replacement.
    double varianceFactor = 1.0;
};

// Pearson's statistic, corrected so that it follows chi-square with size - 1 degrees of freedom.
double ChiSquare(const Tally& tally) {
    double total = 0;
    for (const long count : tally.counts) total += static_cast<double>(count);
    const double expected = total / static_cast<double>(tally.counts.size());
    double sum = 0;
    for (const long count : tally.counts) {
        sum += (static_cast<double>(count) - expected) * (static_cast<double>(count) - expected);
    }
    return sum / expected / tally.varianceFactor;
}

// The upper 0.001 point of chi-square (Wilson-Hilferty): 84.12 for 48 degrees of freedom
// (exact 84.04); for 3 and 4 it gives 16.55 and 18.72 (exact 16.27 and 18.47), a significance
// of about 0.0009 there.
double CriticalValue(int degrees) {
    const double z = 3.090232;  // the normal distribution's upper 0.001 point
    const double h = 2.0 / (9.0 * degrees);
    return degrees * std::pow(1.0 - h + z * std::sqrt(h), 3);
}

TEST(RandomnessTest, DrawsAreUniform) {
    RandomGenerator g = testing::ZeroSeededGenerator();
    std::vector<Tally> tallies;

    // Six of 49, sorted: how often each number comes.
    Tally numbers{"each number of sorted lines", std::vector<long>(49), (49.0 - 6) / (49 - 1)};
    NumberLists plain;
    FillPool(plain.pool, 49);
    plain.PoolLength = 49;
    for (int line = 0; line < Lines; ++line) {
        for (const int v : NumbersOf(DrawPlain(g, plain, 6, true))) ++numbers.counts[v - 1];
    }
    tallies.push_back(numbers);

    // Six of 49, unsorted: each place holds each number equally often, and a line does not
    // depend on the one before, though the pool's order carries over (a shuffle that always
    // moves every entry would show here).
    std::vector<Tally> places;
    for (int p = 1; p <= 6; ++p) {
        places.push_back(
            {"place " + std::to_string(p) + " of unsorted lines", std::vector<long>(49)});
    }
    Tally steps{"place 1 minus place 1 of the line before, mod 49", std::vector<long>(49)};
    int previous = 0;
    for (int line = 0; line < Lines; ++line) {
        const std::vector<int> drawn = NumbersOf(DrawPlain(g, plain, 6, false));
        for (int p = 0; p < 6; ++p) ++places[p].counts[drawn[p] - 1];
        if (line > 0) ++steps.counts[(drawn[0] - previous + 49) % 49];
        previous = drawn[0];
    }
    tallies.insert(tallies.end(), places.begin(), places.end());
    tallies.push_back(steps);

    // Six of 49 with one to four of five fixed numbers: the count is uniform over 1..4, and a
    // line with a single one holds each of the five equally often.
    const std::vector<int> fixedNumbers{3, 9, 27, 33, 41};
    NumberLists some;
    for (std::size_t i = 0; i < fixedNumbers.size(); ++i) {
        some.fixed[i] = static_cast<Number>(fixedNumbers[i]);
    }
    some.FixedCount = 5;
    some.PoolLength = BuildPool(some.pool, some.fixed, some.FixedCount, 49);
    Tally fixedCounts{"count of fixed numbers a line", std::vector<long>(4)};
    Tally single{"the fixed number of lines with one", std::vector<long>(5)};
    for (int line = 0; line < Lines; ++line) {
        int count = 0;
        int which = 0;
        for (const int v : NumbersOf(DrawWithSomeFixed(g, some, 6, 1, 4, true))) {
            for (int f = 0; f < 5; ++f) {
                if (v == fixedNumbers[f]) ++count, which = f;
            }
        }
        ASSERT_TRUE(count >= 1 && count <= 4) << count;
        ++fixedCounts.counts[count - 1];
        if (count == 1) ++single.counts[which];
    }
    tallies.push_back(fixedCounts);
    tallies.push_back(single);

    for (const Tally& tally : tallies) {
        const int degrees = static_cast<int>(tally.counts.size()) - 1;
        EXPECT_LT(ChiSquare(tally), CriticalValue(degrees))
            << tally.name << ", " << degrees << " degrees of freedom";
    }
}

}  // namespace
}  // namespace combogen
