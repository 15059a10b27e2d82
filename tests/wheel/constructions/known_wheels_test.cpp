#include "wheel/constructions/known_wheels.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cstdint>

#include "wheel/bounds.h"
#include "wheel/guarantee.h"

namespace combogen {
namespace {

// Lines as the interface promises them: k ascending numbers below v, distinct, sorted.
void ExpectWellFormed(const WheelGoal& goal, const std::vector<WheelLine>& lines) {
    for (const WheelLine& line : lines) {
        ASSERT_EQ(static_cast<int>(line.size()), goal.k);
        EXPECT_TRUE(std::is_sorted(line.begin(), line.end()));
        EXPECT_EQ(std::adjacent_find(line.begin(), line.end()), line.end());
        EXPECT_LT(line.back(), goal.v);
    }
    EXPECT_TRUE(std::is_sorted(lines.begin(), lines.end()));
    EXPECT_EQ(std::adjacent_find(lines.begin(), lines.end()), lines.end());
}

TEST(KnownWheelsTest, EachFamilyBuildsItsSizeAndMeetsTheGoal) {
    const struct {
        WheelGoal goal;
        int64_t lines;
    } cases[] = {
        {{9, 9, 4, 6}, 1},     // one line
        {{20, 5, 1, 4}, 4},    // 1 if 4: 17 numbers in disjoint lines
        {{7, 4, 4, 4}, 35},    // every 4-set
        {{12, 6, 5, 5}, 132},  // S(5,6,12), ternary Golay code
        {{11, 5, 4, 4}, 66},   // S(4,5,11)
        {{22, 6, 3, 3}, 77},   // S(3,6,22), binary Golay code
        {{24, 8, 5, 5}, 759},  // S(5,8,24)
        {{21, 5, 2, 2}, 21},   // projective plane of order 4
        {{57, 8, 2, 2}, 57},   // projective plane of order 7
        {{16, 4, 2, 2}, 20},   // affine plane of order 4
        {{64, 8, 2, 2}, 72},   // affine plane of order 8
        {{17, 5, 3, 3}, 68},   // inversive plane of order 4
        {{26, 6, 3, 3}, 130},  // inversive plane of order 5
        {{15, 3, 2, 2}, 35},   // STS(15), Bose
        {{19, 3, 2, 2}, 57},   // STS(19), Skolem
        {{16, 4, 3, 3}, 140},  // Boolean SQS(16)
        {{20, 4, 3, 3}, 285},  // SQS(20), doubled SQS(10)
        {{14, 6, 2, 2}, 7},    // inflation: 7 pairs as the Fano plane's points
        {{30, 6, 2, 2}, 31},   // restriction of the projective plane of order 5
        {{23, 6, 3, 3}, 104},  // one-point extension: S(3,6,22) and C(22,5,2)
        {{59, 6, 2, 6}, 27},   // groups of 14, 14, 14, 9, 8, each 2 if 2
    };
    for (const auto& c : cases) {
        const WheelGoal& g = c.goal;
        SCOPED_TRACE(testing::Message() << g.v << "/" << g.k << "/" << g.t << " if " << g.m);
        EXPECT_EQ(KnownWheelSize(g), c.lines);
        const std::optional<Construction> built = BuildKnownWheel(g);
        ASSERT_TRUE(built);
        SCOPED_TRACE(built->how);
        EXPECT_EQ(static_cast<int64_t>(built->lines.size()), c.lines);
        ExpectWellFormed(g, built->lines);
        EXPECT_TRUE(CheckGuarantee(g.v, g.t, g.m, built->lines).met);
    }
}

// The sets of r of the numbers below v as bits, in lexicographic order of their numbers' bits.
std::vector<uint32_t> Subsets(int v, int r) {
    std::vector<uint32_t> sets;
    for (uint32_t s = 0; s < (uint32_t{1} << v); ++s)
        if (std::popcount(s) == r) sets.push_back(s);
    return sets;
}

// A stand-in for the wheel search on small goals: greedy, the first line meeting most unmet
// m-sets in t numbers each time. Records the goals asked.
struct GreedySearch {
    std::vector<WheelGoal> asked;
    std::optional<std::vector<WheelLine>> operator()(const WheelGoal& g) {
        asked.push_back(g);
        const std::vector<uint32_t> lines = Subsets(g.v, g.k);
        std::vector<uint32_t> unmet = Subsets(g.v, g.m);
        std::vector<WheelLine> wheel;
        while (!unmet.empty()) {
            uint32_t best = 0;
            size_t most = 0;
            for (const uint32_t line : lines) {
                size_t met = 0;
                for (const uint32_t s : unmet) met += std::popcount(line & s) >= g.t;
                if (met > most) {
                    most = met;
                    best = line;
                }
            }
            std::erase_if(unmet, [&](uint32_t s) { return std::popcount(best & s) >= g.t; });
            WheelLine line;
            for (int x = 0; x < g.v; ++x)
                if (best >> x & 1) line.push_back(static_cast<uint8_t>(x));
            wheel.push_back(line);
        }
        return wheel;
    }
};

TEST(KnownWheelsTest, SteinerSystemsForEveryOrderInRange) {
    // Every goal a Steiner system of the table serves: as many lines as the bound, and met.
    std::vector<WheelGoal> goals;
    for (int v = 7; v <= 79; v += 2)
        if (v % 6 == 1 || v % 6 == 3) goals.push_back({v, 3, 2, 2});  // Bose and Skolem
    for (const int v : {8, 10, 16, 20, 32, 40, 64, 80}) goals.push_back({v, 4, 3, 3});
    for (const int q : {2, 3, 4, 5, 7, 8}) {
        goals.push_back({q * q + q + 1, q + 1, 2, 2});
        goals.push_back({q * q, q, 2, 2});
        goals.push_back({q * q + 1, q + 1, 3, 3});
    }
    for (const WheelGoal& g : goals) {
        SCOPED_TRACE(testing::Message() << g.v << "/" << g.k << "/" << g.t);
        const std::optional<Construction> built = BuildKnownWheel(g);
        ASSERT_TRUE(built);
        EXPECT_EQ(static_cast<int64_t>(built->lines.size()), WheelLowerBound(g).lines);
        ExpectWellFormed(g, built->lines);
        if (*DrawCount(g.v, g.t) * built->lines.size() < 20'000'000) {
            EXPECT_TRUE(CheckGuarantee(g.v, g.t, g.m, built->lines).met);
        }
    }
}

TEST(KnownWheelsTest, EverySmallGoalIsMetAtTheSizeGiven) {
    // Every goal on up to 13 numbers: the size KnownWheelSize gives is the wheel's, never below
    // the lower bound, and the wheel is met.
    for (int v = 1; v <= 13; ++v)
        for (int k = 1; k <= v; ++k)
            for (int t = 1; t <= k; ++t)
                for (int m = t; m <= k; ++m) {
                    const WheelGoal g{v, k, t, m};
                    SCOPED_TRACE(testing::Message() << v << "/" << k << "/" << t << " if " << m);
                    const std::optional<int64_t> size = KnownWheelSize(g);
                    const std::optional<Construction> built = BuildKnownWheel(g);
                    ASSERT_EQ(size.has_value(), built.has_value());
                    if (!built) continue;
                    ASSERT_EQ(static_cast<int64_t>(built->lines.size()), *size);
                    EXPECT_GE(*size, WheelLowerBound(g).lines);
                    ExpectWellFormed(g, built->lines);
                    ASSERT_TRUE(CheckGuarantee(v, t, m, built->lines).met) << built->how;
                }
}

TEST(KnownWheelsTest, MidSizedGoalsAreMetAtTheSizeGiven) {
    // Where restriction, inflation, filled-up lines, extension and unions take over from the
    // designs: pairs and triples on up to 40 numbers, and "t if m" on up to 30.
    std::vector<WheelGoal> goals;
    for (int v = 14; v <= 40; ++v)
        for (const int k : {4, 5, 6, 7}) {
            goals.push_back({v, k, 2, 2});
            if (v <= 30) goals.push_back({v, k, 3, 3});
        }
    for (int v = 14; v <= 30; v += 4)
        for (const int t : {2, 3})
            for (const int m : {t + 1, 6}) goals.push_back({v, 6, t, m});
    for (const WheelGoal& g : goals) {
        SCOPED_TRACE(testing::Message() << g.v << "/" << g.k << "/" << g.t << " if " << g.m);
        const std::optional<int64_t> size = KnownWheelSize(g);
        const std::optional<Construction> built = BuildKnownWheel(g);
        ASSERT_TRUE(size && built);
        ASSERT_EQ(static_cast<int64_t>(built->lines.size()), *size);
        EXPECT_GE(*size, WheelLowerBound(g).lines);
        ExpectWellFormed(g, built->lines);
        ASSERT_TRUE(CheckGuarantee(g.v, g.t, g.m, built->lines).met) << built->how;
    }
}

TEST(KnownWheelsTest, PartsTheTableBuildsPoorlyAreSearched) {
    const struct {
        WheelGoal goal, part;  // the part searched
    } cases[] = {
        // One-point extension: the table's C(19,4,2) is well above its bound; C(19,3,1) = 7.
        {{20, 4, 2, 2}, {19, 4, 2, 2}},
        // Unions over groups: 5 numbers in one line ("3 if 3"), 11 searched for "3 if 4".
        {{16, 6, 3, 6}, {11, 6, 3, 4}},
    };
    for (const auto& c : cases) {
        const WheelGoal& g = c.goal;
        SCOPED_TRACE(testing::Message() << g.v << "/" << g.k << "/" << g.t << " if " << g.m);
        GreedySearch greedy;
        const std::optional<Construction> built =
            BuildKnownWheel(g, [&greedy](const WheelGoal& part) { return greedy(part); });
        ASSERT_TRUE(built);
        SCOPED_TRACE(built->how);
        ASSERT_EQ(greedy.asked.size(), 1u);
        EXPECT_EQ(greedy.asked[0].v, c.part.v);
        EXPECT_EQ(greedy.asked[0].k, c.part.k);
        EXPECT_EQ(greedy.asked[0].t, c.part.t);
        EXPECT_EQ(greedy.asked[0].m, c.part.m);
        EXPECT_LT(static_cast<int64_t>(built->lines.size()), *KnownWheelSize(g));
        ExpectWellFormed(g, built->lines);
        EXPECT_TRUE(CheckGuarantee(g.v, g.t, g.m, built->lines).met);
    }
}

TEST(KnownWheelsTest, ThreeIfSixOn49SearchesThreeIfFourOn27BesideS3622) {
    // Of 6 drawn numbers, 3 among the first 22 are in a line of S(3,6,22), else 4 are among
    // the other 27: the search is asked for those, and nothing else.
    const WheelGoal goal{49, 6, 3, 6};
    std::vector<WheelGoal> asked;
    const std::optional<Construction> built = BuildKnownWheel(
        goal, [&asked](const WheelGoal& part) -> std::optional<std::vector<WheelLine>> {
            asked.push_back(part);
            return std::nullopt;
        });
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].v, 27);
    EXPECT_EQ(asked[0].k, 6);
    EXPECT_EQ(asked[0].t, 3);
    EXPECT_EQ(asked[0].m, 4);
    // The search failed: the table's own wheel.
    ASSERT_TRUE(built);
    EXPECT_EQ(static_cast<int64_t>(built->lines.size()), KnownWheelSize(goal));
}

TEST(KnownWheelsTest, AFailedOrWorseSearchLeavesTheTablesWheel) {
    const WheelGoal g{16, 6, 3, 6};
    for (const bool fails : {true, false}) {
        const std::optional<Construction> built = BuildKnownWheel(
            g, [fails](const WheelGoal& part) -> std::optional<std::vector<WheelLine>> {
                if (fails) return std::nullopt;
                // Every k-set: a wheel, but a long one.
                std::vector<WheelLine> all;
                for (const uint32_t s : Subsets(part.v, part.k)) {
                    WheelLine line;
                    for (int x = 0; x < part.v; ++x)
                        if (s >> x & 1) line.push_back(static_cast<uint8_t>(x));
                    all.push_back(line);
                }
                return all;
            });
        ASSERT_TRUE(built);
        EXPECT_EQ(static_cast<int64_t>(built->lines.size()), *KnownWheelSize(g));
        EXPECT_TRUE(CheckGuarantee(g.v, g.t, g.m, built->lines).met);
    }
}

}  // namespace
}  // namespace combogen
