#include "wheel/guarantee.h"

#include <gtest/gtest.h>

#include <bit>

#include "random/generator.h"
#include "test_support.h"
#include "wheel/bounds.h"

namespace combogen {
namespace {

// The Fano plane: its 7 lines hold every pair of 0..6 exactly once.
const std::vector<WheelLine> Fano = {{0, 1, 2}, {0, 3, 4}, {0, 5, 6}, {1, 3, 5},
                                     {1, 4, 6}, {2, 3, 6}, {2, 4, 5}};

TEST(GuaranteeTest, SmallDesignsCountedByHand) {
    struct Case {
        const char* what;
        int v, t, m;
        std::vector<WheelLine> lines;
        bool met;
        uint64_t draws, metDraws;
        WheelLine unmet;
    };
    std::vector<WheelLine> fanoLess = Fano;
    fanoLess.erase(fanoLess.begin() + 3);  // {1,3,5}: its 3 pairs go unmet
    const std::vector<Case> cases = {
        {"Fano plane, 2 if 2", 7, 2, 2, Fano, true, 21, 21, {}},
        {"Fano less a line", 7, 2, 2, fanoLess, false, 21, 18, {1, 3}},
        // Any 3 of 7 hold a pair, so some line holds 2 of them.
        {"Fano plane, 2 if 3", 7, 2, 3, Fano, true, 35, 35, {}},
        // 3 if 3: only the 7 lines themselves.
        {"Fano plane, 3 if 3", 7, 3, 3, Fano, false, 35, 7, {0, 1, 3}},
        // {0,1} and {2,3}: every 3 of 4 hold one of the two pairs.
        {"two pairs, 2 if 3", 4, 2, 3, {{0, 1}, {2, 3}}, true, 4, 4, {}},
        {"one pair, 2 if 3", 4, 2, 3, {{0, 1}}, false, 4, 2, {0, 2, 3}},
        {"one line, 1 if 1", 3, 1, 1, {{1}}, false, 3, 1, {0}},
        {"no line", 5, 1, 2, {}, false, 10, 0, {0, 1}},
        // 1 if 3 over 6: the lines must leave at most 2 numbers unused.
        {"union of 4, 1 if 3", 6, 1, 3, {{0, 1}, {2, 3}}, true, 20, 20, {}},
        {"union of 3, 1 if 3", 6, 1, 3, {{0, 1, 2}}, false, 20, 19, {3, 4, 5}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const GuaranteeCheck check = CheckGuarantee(c.v, c.t, c.m, c.lines);
        EXPECT_EQ(check.met, c.met);
        EXPECT_EQ(check.draws, c.draws);
        EXPECT_EQ(check.metDraws, c.metDraws);
        EXPECT_EQ(check.unmet, c.unmet);
    }
}

// Random line sets against a set-by-set count, across the word boundary of the bit sets.
TEST(GuaranteeTest, AgreesWithCountingEverySet) {
    RandomGenerator g = testing::ZeroSeededGenerator();
    for (int round = 0; round < 60; ++round) {
        const int v = 5 + RandomBelow(g, 8);
        const int k = 2 + RandomBelow(g, static_cast<uint16_t>(v - 2));
        const int m = 1 + RandomBelow(g, static_cast<uint16_t>(v));
        const int t = 1 + RandomBelow(g, static_cast<uint16_t>(std::min(m, k)));
        const int count = RandomBelow(g, 140);
        std::vector<WheelLine> lines;
        std::vector<uint32_t> bits;
        for (int i = 0; i < count; ++i) {
            uint32_t b = 0;
            while (std::popcount(b) < k) b |= 1u << RandomBelow(g, static_cast<uint16_t>(v));
            bits.push_back(b);
            WheelLine line;
            for (int x = 0; x < v; ++x) {
                if (b >> x & 1) line.push_back(static_cast<uint8_t>(x));
            }
            lines.push_back(line);
        }
        uint64_t draws = 0, met = 0;
        // Masks in increasing order are not the sets in lexicographic order: compare the sets.
        WheelLine firstUnmetSet;
        for (uint32_t d = 0; d < (1u << v); ++d) {
            if (std::popcount(d) != m) continue;
            ++draws;
            bool hit = false;
            for (const uint32_t b : bits) hit = hit || std::popcount(b & d) >= t;
            if (hit) {
                ++met;
                continue;
            }
            WheelLine set;
            for (int x = 0; x < v; ++x) {
                if (d >> x & 1) set.push_back(static_cast<uint8_t>(x));
            }
            if (firstUnmetSet.empty() || set < firstUnmetSet) firstUnmetSet = set;
        }
        SCOPED_TRACE(::testing::Message() << "v " << v << " k " << k << " " << t << " if " << m
                                          << ", " << count << " lines");
        const GuaranteeCheck check = CheckGuarantee(v, t, m, lines);
        EXPECT_EQ(check.draws, draws);
        EXPECT_EQ(check.metDraws, met);
        EXPECT_EQ(check.met, met == draws);
        EXPECT_EQ(check.unmet, firstUnmetSet);
    }
}

TEST(GuaranteeTest, DrawCountsAndTheirLimit) {
    EXPECT_EQ(DrawCount(49, 6), 13983816u);
    EXPECT_EQ(DrawCount(59, 6), 45057474u);
    EXPECT_EQ(DrawCount(80, 0), 1u);
    EXPECT_EQ(DrawCount(5, 6), 0u);
    EXPECT_EQ(DrawCount(80, 15), DrawCount(80, 65));
    EXPECT_FALSE(DrawCount(80, 40).has_value());
}

TEST(GuaranteeTest, TheLimitHoldsAgainstTheCountNotAnIntermediateProduct) {
    EXPECT_EQ(DrawCount(80, 18), 355214207837288800u);
    EXPECT_EQ(DrawCount(64, 32), 1832624140942590534u);
    EXPECT_FALSE(DrawCount(66, 33).has_value());  // 7.2e18
}

TEST(GuaranteeTest, AStepLimitStopsTheCheckAndMostStepsBoundsIt) {
    // Three lines over 30 numbers leave nearly every 6-set unmet: visited one by one.
    const std::vector<WheelLine> lines = {{0, 1, 2}, {3, 4, 5}, {6, 7, 29}};
    EXPECT_TRUE(CheckGuarantee(30, 3, 6, lines, 1000).stopped);
    const uint64_t most = MostCheckSteps(30, 6).value();
    const GuaranteeCheck whole = CheckGuarantee(30, 3, 6, lines, most);
    EXPECT_FALSE(whole.stopped);
    EXPECT_EQ(whole.metDraws, 3 * DrawCount(27, 3).value() - 3);  // both of two lines: 3 sets
}

TEST(BoundsTest, SchoenheimAndTheCountingBound) {
    struct Case {
        WheelGoal goal;
        int64_t lines;
        BoundKind kind;
    };
    const std::vector<Case> cases = {
        {{7, 3, 2, 2}, 7, BoundKind::Schoenheim},     // the Fano plane meets it
        {{49, 6, 3, 3}, 948, BoundKind::Schoenheim},  // ceil(49/6 * ceil(48/5 * ceil(47/4)))
        {{10, 5, 4, 4}, 50, BoundKind::Schoenheim},
        {{9, 3, 2, 2}, 12, BoundKind::Schoenheim},  // ceil(9/3 * ceil(8/2))
        {{12, 6, 1, 3}, 2, BoundKind::Union},       // ceil((12-3+1)/6)
        {{20, 6, 1, 2}, 4, BoundKind::Union},       // ceil(19/6); the counting bound is 2
        {{9, 5, 4, 4}, 27, BoundKind::DeCaen},      // 5 * 5 / (6 * 4) * 126 / 5 = 26.25
        {{49, 6, 3, 6}, 54, BoundKind::Counting},   // 13983816 / 260624 = 53.65
        {{80, 40, 20, 20}, 28948150, BoundKind::Schoenheim},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message()
                     << c.goal.v << "/" << c.goal.k << " " << c.goal.t << " if " << c.goal.m);
        const WheelBound bound = WheelLowerBound(c.goal);
        EXPECT_EQ(bound.lines, c.lines);
        EXPECT_EQ(bound.kind, c.kind);
    }
}

}  // namespace
}  // namespace combogen
