#include "wheel/constructions/known_wheels.h"

#include <gtest/gtest.h>

#include <algorithm>

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
        {{9, 9, 4, 6}, 1},        // one line
        {{20, 5, 1, 4}, 4},       // 1 if 4: 17 numbers in disjoint lines
        {{7, 4, 4, 4}, 35},       // every 4-set
        {{12, 6, 5, 5}, 132},     // S(5,6,12), ternary Golay code
        {{11, 5, 4, 4}, 66},      // S(4,5,11)
        {{22, 6, 3, 3}, 77},      // S(3,6,22), binary Golay code
        {{23, 7, 4, 4}, 253},     // S(4,7,23)
        {{21, 5, 2, 2}, 21},      // projective plane of order 4
        {{57, 8, 2, 2}, 57},      // projective plane of order 7
        {{16, 4, 2, 2}, 20},      // affine plane of order 4
        {{64, 8, 2, 2}, 72},      // affine plane of order 8
        {{17, 5, 3, 3}, 68},      // inversive plane of order 4
        {{26, 6, 3, 3}, 130},     // inversive plane of order 5
        {{15, 3, 2, 2}, 35},      // STS(15), Bose
        {{19, 3, 2, 2}, 57},      // STS(19), Skolem
        {{16, 4, 3, 3}, 140},     // Boolean SQS(16)
        {{20, 4, 3, 3}, 285},     // SQS(20), doubled SQS(10)
        {{14, 6, 2, 2}, 7},       // inflation: 7 pairs as the Fano plane's points
        {{30, 6, 2, 2}, 31},      // restriction of the projective plane of order 5
        {{23, 6, 3, 3}, 104},     // one-point extension: S(3,6,22) and C(22,5,2)
        {{59, 6, 2, 6}, 27},      // groups of 14, 14, 14, 9, 8, each 2 if 2
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

}  // namespace
}  // namespace combogen
