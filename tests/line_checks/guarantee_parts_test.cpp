#include "line_checks/guarantee_parts.h"

#include <gtest/gtest.h>

#include "random/generator.h"
#include "test_support.h"

namespace combogen {
namespace {

// Lines inside random blocks of the numbers (so that they fall apart into groups, some
// numbers in none) against the whole check; the example must be an unmet draw.
TEST(GuaranteePartsTest, AgreesWithTheWholeCheck) {
    RandomGenerator g = testing::ZeroSeededGenerator();
    for (int round = 0; round < 40; ++round) {
        const int v = 6 + RandomBelow(g, 10), block = 2 + RandomBelow(g, 4);
        const int m = 1 + RandomBelow(g, static_cast<uint16_t>(v));
        const int t = 1 + RandomBelow(g, static_cast<uint16_t>(std::min(m, block)));
        std::vector<WheelLine> lines;
        for (int i = RandomBelow(g, 8); i >= 0; --i) {
            const int start = block * RandomBelow(g, static_cast<uint16_t>(v / block));
            WheelLine line;
            for (int x = start; x < start + block && x < v; ++x) {
                if (RandomBelow(g, 3) > 0) line.push_back(static_cast<uint8_t>(x));
            }
            if (!line.empty()) lines.push_back(line);
        }
        SCOPED_TRACE(::testing::Message() << "round " << round << ": " << t << " if " << m
                                          << " over " << v << ", blocks of " << block);
        const GuaranteeCheck whole = CheckGuarantee(v, t, m, lines);
        const GuaranteeCheck parts = CheckGuaranteeByParts(v, t, m, lines, 1 << 20);
        if (parts.stopped) continue;  // one group: nothing to compare
        EXPECT_EQ(parts.metDraws, whole.metDraws);
        EXPECT_EQ(parts.met, whole.met);
        if (parts.met) continue;
        ASSERT_EQ(static_cast<int>(parts.unmet.size()), m);
        for (const WheelLine& line : lines) {
            int held = 0;
            for (const uint8_t x : line) {
                held += std::count(parts.unmet.begin(), parts.unmet.end(), x) > 0;
            }
            EXPECT_LT(held, t);
        }
    }
}

}  // namespace
}  // namespace combogen
