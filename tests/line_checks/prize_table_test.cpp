#include "line_checks/prize_table.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>

#include "random/generator.h"
#include "test_support.h"
#include "wheel/guarantee.h"

namespace combogen {
namespace {

uint64_t C(int n, int r) { return DrawCount(n, r).value_or(0); }

// Random lines over small games against every draw counted one by one, with the wheeled
// numbers a part of the pool or all of it, key-number lines (all holding 0) among them, and
// across the word boundary of the bit sets.
TEST(PrizeTableTest, AgreesWithEveryDrawCountedAndTheClosedForm) {
    RandomGenerator g = testing::ZeroSeededGenerator();
    for (int round = 0; round < 40; ++round) {
        const int v = 4 + RandomBelow(g, 8);
        const int pool = v + RandomBelow(g, static_cast<uint16_t>(15 - v));
        const int draw = 1 + RandomBelow(g, static_cast<uint16_t>(pool));
        const int k = 1 + RandomBelow(g, static_cast<uint16_t>(v));
        const bool key = round % 3 == 0 && k > 1;
        const int count = 1 + RandomBelow(g, 140);
        std::vector<WheelLine> lines;
        std::vector<uint32_t> bits;
        for (int i = 0; i < count; ++i) {
            uint32_t b = key ? 1u : 0u;
            while (std::popcount(b) < k) b |= 1u << RandomBelow(g, static_cast<uint16_t>(v));
            bits.push_back(b);
            WheelLine line;
            for (int x = 0; x < v; ++x) {
                if (b >> x & 1) line.push_back(static_cast<uint8_t>(x));
            }
            lines.push_back(line);
        }
        SCOPED_TRACE(::testing::Message() << "round " << round << ": " << draw << " of " << pool
                                          << ", " << count << " lines of " << k << " over " << v);
        const PrizeTable table = ComputePrizes(pool, draw, v, k, lines);
        const std::size_t tiers = static_cast<std::size_t>(k) + 1;
        std::vector<uint64_t> reaching(tiers, 0), byH(static_cast<std::size_t>(v) + 1, 0);
        std::vector<std::vector<uint64_t>> most(81, std::vector<uint64_t>(tiers, 0));
        std::vector<std::vector<uint64_t>> fewest(81, std::vector<uint64_t>(tiers, ~0ull));
        std::vector<std::vector<WideCount>> total(81, std::vector<WideCount>(tiers, 0));
        std::vector<int> floor(81, k + 1);
        const uint32_t wheeled = (1u << v) - 1;
        for (uint32_t d = 0; d < (1u << pool); ++d) {
            if (std::popcount(d) != draw) continue;
            const auto h = static_cast<std::size_t>(std::popcount(d & wheeled));
            ++byH[h];
            std::vector<uint64_t> exactly(tiers, 0);
            int best = 0;
            for (const uint32_t b : bits) {
                const int j = std::popcount(b & d);
                ++exactly[static_cast<std::size_t>(j)];
                best = std::max(best, j);
            }
            floor[h] = std::min(floor[h], best);
            for (std::size_t j = 0; j < tiers; ++j) {
                fewest[h][j] = std::min(fewest[h][j], exactly[j]);
                most[h][j] = std::max(most[h][j], exactly[j]);
                total[h][j] += exactly[j];
                reaching[j] += static_cast<int>(j) <= best;
            }
        }
        for (std::size_t j = 0; j < tiers; ++j) {
            const int jj = static_cast<int>(j);
            EXPECT_EQ(table.drawsReaching[j], reaching[j]) << "tier " << j;
            const WideCount closed = WideCount{C(k, jj)} * C(pool - k, draw - jj) * count;
            EXPECT_TRUE(table.lineDraws[j] == closed) << "tier " << j;
        }
        EXPECT_EQ(RandomLineReaching(pool, draw, k, 1), C(pool, draw) - C(pool - k, draw));
        for (const DrawnAmong& row : table.byDrawn) {
            const auto h = static_cast<std::size_t>(row.h);
            EXPECT_EQ(row.draws, byH[h]) << "h " << h;
            if (row.draws == 0) continue;
            const uint64_t each = C(pool - v, draw - row.h);
            EXPECT_EQ(row.floor, floor[h]) << "h " << h;
            for (std::size_t j = 0; j < tiers; ++j) {
                EXPECT_EQ(row.tiers[j].least, fewest[h][j]) << "h " << h << " tier " << j;
                EXPECT_EQ(row.tiers[j].most, most[h][j]) << "h " << h << " tier " << j;
                EXPECT_TRUE(WideCount{row.tiers[j].total} * each == total[h][j]);
            }
            // The hole gets no more than the floor.
            int holeBest = 0;
            uint32_t hole = 0;
            for (const uint8_t x : row.hole) hole |= 1u << x;
            for (const uint32_t b : bits) holeBest = std::max(holeBest, std::popcount(b & hole));
            EXPECT_EQ(static_cast<int>(row.hole.size()), row.h);
            EXPECT_EQ(holeBest, row.floor) << "h " << h;
        }
    }
}

}  // namespace
}  // namespace combogen
