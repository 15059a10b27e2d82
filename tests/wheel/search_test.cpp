#include "wheel/search.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cstring>
#include <set>

#include "test_support.h"

namespace combogen {
namespace {

using Bits = uint64_t;  // the tests wheel at most 64 numbers

Bits ToBits(std::span<const uint8_t> line) {
    Bits b = 0;
    for (const uint8_t x : line) b |= Bits{1} << x;
    return b;
}

// Every m-subset of 0..v-1 as bits, by brute force.
std::vector<Bits> Subsets(int v, int r) {
    std::vector<Bits> out;
    for (Bits b = 0; b < (Bits{1} << v); ++b)
        if (std::popcount(b) == r) out.push_back(b);
    return out;
}

// The goal checked set by set, apart from the search's own counting.
bool Meets(const WheelGoal& goal, const std::vector<Bits>& lines) {
    for (const Bits drawn : Subsets(goal.v, goal.m)) {
        bool met = false;
        for (const Bits line : lines) met = met || std::popcount(line & drawn) >= goal.t;
        if (!met) return false;
    }
    return true;
}

// Checks the shape of a found wheel and returns its lines as bits.
std::vector<Bits> Checked(const WheelGoal& goal, const WheelFound& found) {
    std::vector<Bits> lines;
    for (const WheelLine& line : found.lines) {
        EXPECT_EQ(static_cast<int>(line.size()), goal.k);
        EXPECT_TRUE(std::is_sorted(line.begin(), line.end()));
        EXPECT_TRUE(std::adjacent_find(line.begin(), line.end()) == line.end());
        for (const uint8_t x : line) EXPECT_LT(x, goal.v);
        lines.push_back(ToBits(line));
    }
    EXPECT_EQ(std::set<Bits>(lines.begin(), lines.end()).size(), lines.size()) << "a repeated line";
    return lines;
}

// Whether some wheel of at most depth more lines meets the goal: branches on the lines through
// the first m-set still unmet.
bool Exists(const WheelGoal& goal, const std::vector<Bits>& sets, const std::vector<Bits>& all,
            std::vector<Bits>& lines, int depth) {
    const Bits* unmet = nullptr;
    for (const Bits& s : sets) {
        bool met = false;
        for (const Bits line : lines) met = met || std::popcount(line & s) >= goal.t;
        if (!met) {
            unmet = &s;
            break;
        }
    }
    if (unmet == nullptr) return true;
    if (depth == 0) return false;
    for (const Bits line : all) {
        if (std::popcount(line & *unmet) < goal.t) continue;
        lines.push_back(line);
        const bool found = Exists(goal, sets, all, lines, depth - 1);
        lines.pop_back();
        if (found) return true;
    }
    return false;
}

WheelFound Find(const WheelGoal& goal, int64_t effort = 0, uint32_t skip = 0) {
    RandomGenerator g = testing::ZeroSeededGenerator();
    SkipWords(g, static_cast<int32_t>(skip));
    WheelSearch search;
    search.goal = goal;
    search.effort = effort;
    return FindWheel(search, g);
}

TEST(WheelSearchTest, SmallWheelsMeetTheirGoal) {
    const WheelGoal goals[] = {{6, 3, 2, 2}, {7, 3, 2, 2}, {7, 4, 3, 3}, {6, 4, 2, 3},
                               {7, 5, 3, 4}, {8, 4, 2, 4}, {7, 3, 3, 3}, {6, 2, 1, 2}};
    for (const WheelGoal& goal : goals) {
        SCOPED_TRACE(::testing::Message()
                     << goal.v << "/" << goal.k << "/" << goal.t << "/" << goal.m);
        const WheelFound found = Find(goal);
        ASSERT_TRUE(found.covers);
        const std::vector<Bits> lines = Checked(goal, found);
        EXPECT_TRUE(Meets(goal, lines));
    }
}

}  // namespace
}  // namespace combogen
