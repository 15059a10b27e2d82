#include "wheel/constructions/golay.h"

#include <gtest/gtest.h>

#include <array>

namespace combogen {
namespace {

TEST(GolayDesignsTest, EveryThreeOf22InExactlyOneLine) {
    const std::vector<WheelLine> lines = SteinerTriplesOf22();
    ASSERT_EQ(lines.size(), 77u);
    std::array<int, 22 * 22 * 22> held{};
    for (const WheelLine& line : lines) {
        ASSERT_EQ(line.size(), 6u);
        for (int i = 0; i < 6; ++i) {
            ASSERT_LT(line[i], 22);
            if (i > 0) {
                ASSERT_LT(line[i - 1], line[i]);
            }
            for (int j = i + 1; j < 6; ++j)
                for (int k = j + 1; k < 6; ++k) ++held[(line[i] * 22 + line[j]) * 22 + line[k]];
        }
    }
    for (int a = 0; a < 22; ++a)
        for (int b = a + 1; b < 22; ++b)
            for (int c = b + 1; c < 22; ++c) EXPECT_EQ(held[(a * 22 + b) * 22 + c], 1);
}

}  // namespace
}  // namespace combogen
