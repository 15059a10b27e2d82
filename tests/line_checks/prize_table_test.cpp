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

// b distinct bits of 0..n-1, perhaps with bit 0 always (a key number).
uint32_t RandomSet(RandomGenerator& g, int n, int b, bool key) {
    uint32_t set = key ? 1u : 0u;
    while (std::popcount(set) < b) set |= 1u << RandomBelow(g, static_cast<uint16_t>(n));
    return set;
}

// Random lines over small games against every draw counted one by one: the wheeled numbers a
// part of the pool or all of it, key-number lines (all holding 0), bonus pools or none or bonus
// numbers drawn of the same pool after the main ones, and across the word boundary of the bit
// sets.
TEST(PrizeTableTest, AgreesWithEveryDrawCountedAndTheClosedForm) {
    RandomGenerator g = testing::ZeroSeededGenerator();
    for (int round = 0; round < 60; ++round) {
        const int v = 4 + RandomBelow(g, 7);
        const int pool = v + RandomBelow(g, static_cast<uint16_t>(13 - v));
        const int draw = 1 + RandomBelow(g, static_cast<uint16_t>(pool));
        const int k = 1 + RandomBelow(g, static_cast<uint16_t>(v));
        const bool key = round % 3 == 0 && k > 1;
        const int count = 1 + RandomBelow(g, 140);
        BonusGame bonus;
        int b = 0;
        if (round % 2 == 1) {
            bonus.pool = 1 + RandomBelow(g, 4);
            bonus.draw = 1 + RandomBelow(g, static_cast<uint16_t>(bonus.pool));
            b = 1 + RandomBelow(g, static_cast<uint16_t>(bonus.pool));
        } else if (round % 4 == 2 && draw < pool) {
            bonus.samePool = true;
            bonus.draw = b = 1 + RandomBelow(g, static_cast<uint16_t>(std::min(2, pool - draw)));
        }
        std::vector<WheelLine> lines;
        std::vector<uint32_t> bits, bonusBits;
        for (int i = 0; i < count; ++i) {
            bits.push_back(RandomSet(g, v, k, key));
            WheelLine line;
            for (int x = 0; x < v; ++x) {
                if (bits.back() >> x & 1) line.push_back(static_cast<uint8_t>(x));
            }
            lines.push_back(line);
            if (bonus.pool == 0) continue;  // with the same pool, bits are the bonus numbers too
            bonusBits.push_back(RandomSet(g, bonus.pool, b, false));
            std::vector<uint8_t>& numbers = bonus.lines.emplace_back();
            for (int x = 0; x < bonus.pool; ++x) {
                if (bonusBits.back() >> x & 1) numbers.push_back(static_cast<uint8_t>(x + 1));
            }
        }
        SCOPED_TRACE(::testing::Message()
                     << "round " << round << ": " << draw << " of " << pool << " + " << bonus.draw
                     << " of " << bonus.pool << ", " << count << " lines of " << k << " + " << b);
        const PrizeTable table = ComputePrizes(pool, draw, v, k, lines, bonus);
        const std::size_t tiers = static_cast<std::size_t>((k + 1) * (b + 1));
        std::vector<WideCount> reaching(tiers, 0);
        std::vector<uint64_t> byH(81, 0);
        std::vector<std::vector<uint64_t>> most(81, std::vector<uint64_t>(tiers, 0));
        std::vector<std::vector<uint64_t>> fewest(81, std::vector<uint64_t>(tiers, ~0ull));
        std::vector<std::vector<WideCount>> total(81, std::vector<WideCount>(tiers, 0));
        std::vector<int> floor(81, k + 1);
        const uint32_t wheeled = (1u << v) - 1;
        for (uint32_t d = 0; d < (1u << pool); ++d) {
            if (std::popcount(d) != draw) continue;
            const auto h = static_cast<std::size_t>(std::popcount(d & wheeled));
            const int span = bonus.samePool ? pool : bonus.pool;
            for (uint32_t e = 0; e < 1u << span; ++e) {
                if (span > 0 && std::popcount(e) != bonus.draw) continue;
                if (bonus.samePool && (e & d) != 0) continue;
                ++byH[h];
                std::vector<uint64_t> exactly(tiers, 0);
                std::vector<bool> reached(tiers, false);
                int best = 0;
                for (int line = 0; line < count; ++line) {
                    const auto l = static_cast<std::size_t>(line);
                    const int j = std::popcount(bits[l] & d);
                    const int i = bonus.samePool    ? std::popcount(bits[l] & e)
                                  : bonus.pool == 0 ? 0
                                                    : std::popcount(bonusBits[l] & e);
                    ++exactly[table.Tier(j, i)];
                    for (int jj = 0; jj <= j; ++jj) {
                        for (int ii = 0; ii <= i; ++ii) reached[table.Tier(jj, ii)] = true;
                    }
                    best = std::max(best, j);
                }
                floor[h] = std::min(floor[h], best);
                for (std::size_t t = 0; t < tiers; ++t) {
                    fewest[h][t] = std::min(fewest[h][t], exactly[t]);
                    most[h][t] = std::max(most[h][t], exactly[t]);
                    total[h][t] += exactly[t];
                    reaching[t] += reached[t];
                }
            }
        }
        const uint64_t bonusDraws = bonus.samePool    ? C(pool - draw, bonus.draw)
                                    : bonus.pool == 0 ? 1
                                                      : C(bonus.pool, bonus.draw);
        for (int j = 0; j <= k; ++j) {
            for (int i = 0; i <= b; ++i) {
                const std::size_t t = table.Tier(j, i);
                EXPECT_TRUE(table.drawsReaching[t] == reaching[t]) << j << "+" << i;
                // Every line, wheel or not, has the same chance of each tier as a random line.
                const WideCount closed =
                    WideCount{C(k, j)} * C(pool - k, draw - j) * count *
                    (bonus.samePool    ? C(k - j, i) * C(pool - draw - (k - j), b - i)
                     : bonus.pool == 0 ? 1
                                       : C(b, i) * C(bonus.pool - b, bonus.draw - i));
                EXPECT_TRUE(table.lineDraws[t] == closed) << j << "+" << i;
            }
        }
        EXPECT_EQ(RandomLineReaching(pool, draw, k, 1), C(pool, draw) - C(pool - k, draw));
        // One random line's chance, a closed form, is the share of draws one line reaches.
        BonusGame first = bonus;
        if (!first.lines.empty()) first.lines.resize(1);
        const PrizeTable one = ComputePrizes(pool, draw, v, k, {lines.data(), 1}, first);
        for (int j = 0; j <= k; ++j) {
            for (int i = 0; i <= b; ++i) {
                const auto share = static_cast<long double>(one.drawsReaching[one.Tier(j, i)]);
                EXPECT_NEAR(static_cast<double>(RandomLinesChance(one, j, i)),
                            static_cast<double>(share / one.draws), 1e-12)
                    << j << "+" << i;
            }
        }
        for (const DrawnAmong& row : table.byDrawn) {
            const auto h = static_cast<std::size_t>(row.h);
            EXPECT_EQ(row.draws, byH[h]) << "h " << h;
            if (row.draws == 0) continue;
            const uint64_t each = C(pool - v, draw - row.h);
            EXPECT_EQ(row.floor, floor[h]) << "h " << h;
            for (std::size_t t = 0; t < tiers; ++t) {
                EXPECT_EQ(row.tiers[t].least, fewest[h][t]) << "h " << h << " tier " << t;
                EXPECT_EQ(row.tiers[t].most, most[h][t]) << "h " << h << " tier " << t;
                EXPECT_TRUE(row.tiers[t].total * each == total[h][t]) << "h " << h;
            }
            // The hole is an h-set that gets no more than the floor.
            uint32_t hole = 0;
            for (const uint8_t x : row.hole) hole |= 1u << x;
            int holeBest = 0;
            for (const uint32_t line : bits)
                holeBest = std::max(holeBest, std::popcount(line & hole));
            EXPECT_EQ(std::popcount(hole), row.h);
            EXPECT_EQ(holeBest, row.floor) << "h " << h;
        }
        EXPECT_EQ(table.draws, C(pool, draw) * bonusDraws);
    }
}

}  // namespace
}  // namespace combogen
