#include "combination/draw.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <tuple>
#include <vector>

#include "combination/pool.h"
#include "test_support.h"

namespace combogen {
namespace {

using testing::ZeroSeededGenerator;

NumberList ListOf(std::initializer_list<int> values) {
    NumberList list{};
    int i = 0;
    for (const int v : values) list[i++] = static_cast<Number>(v);
    return list;
}

std::vector<int> Entries(const NumberList& list, int length) {
    return {list.begin(), list.begin() + length};
}

TEST(PoolTest, BuildPoolLeavesOutTheFixedNumbers) {
    NumberList pool{};
    EXPECT_EQ(BuildPool(pool, ListOf({3, 5}), 2, 6), 4);
    EXPECT_EQ(Entries(pool, 4), (std::vector<int>{1, 2, 4, 6}));
    EXPECT_EQ(BuildPool(pool, ListOf({3, 5}), 0, 3), 3);  // only the first FixedCount count
    EXPECT_EQ(Entries(pool, 3), (std::vector<int>{1, 2, 3}));
}

TEST(PoolTest, ShuffleOfTenFromTheZeroSeed) {
    RandomGenerator g = ZeroSeededGenerator();
    RandomGenerator twin = g;
    NumberList list{};
    FillPool(list, 10);
    Shuffle(g, list, 10);
    EXPECT_EQ(Entries(list, 10), (std::vector<int>{10, 4, 7, 3, 9, 2, 1, 8, 6, 5}));

    std::vector<int> draws;
    for (uint16_t n = 10; n >= 2; --n) draws.push_back(RandomBelow(twin, n));
    EXPECT_EQ(draws, (std::vector<int>{4, 5, 7, 0, 1, 1, 2, 0, 0}));
    EXPECT_EQ(g.randcnt, twin.randcnt) << "a shuffle of L entries uses L-1 draws";
}

TEST(PoolTest, ShortListsUseNoRandomValue) {
    for (const int length : {0, 1}) {
        RandomGenerator g = ZeroSeededGenerator();
        NumberList list = ListOf({7});
        Shuffle(g, list, length);
        EXPECT_EQ(g.randcnt, 64);
        EXPECT_EQ(list[0], 7);
    }
}

TEST(PoolTest, ShuffleTakesOneDrawPerSwapAcrossRounds) {
    // The shuffle reads a round's outputs directly: it must use them exactly as RandomBelow
    // does, also when a round ends or is due before the first draw.
    for (const uint16_t start : {0, 177, 178, 255, 256}) {
        RandomGenerator g = ZeroSeededGenerator();
        g.randcnt = start;
        RandomGenerator reference = g;
        NumberList list{};
        FillPool(list, 80);
        NumberList expected = list;
        Shuffle(g, list, 80);
        for (int n = 80; n >= 2; --n) {
            std::swap(expected[n - 1], expected[RandomBelow(reference, static_cast<uint16_t>(n))]);
        }
        EXPECT_EQ(list, expected) << "from randcnt " << start;
        EXPECT_EQ(std::memcmp(&g, &reference, sizeof g), 0) << "from randcnt " << start;
    }
}

TEST(PoolTest, SortAscendingAnyLength) {
    // Distinct numbers spread over all 256 values, and lists with repeats, which the set of bits
    // cannot hold; entries past the length stay as they were.
    struct Case {
        int length;
        int step;  // entry i is (i * step + 11) mod modulus
        int modulus;
    };
    for (const Case c : {Case{0, 1, 256}, Case{1, 1, 256}, Case{6, 37, 256}, Case{79, 101, 256},
                         Case{6, 2, 4}, Case{20, 7, 5}}) {
        NumberList list;
        list.fill(0xEE);
        for (int i = 0; i < c.length; ++i) {
            list[i] = static_cast<Number>((i * c.step + 11) % c.modulus);
        }
        std::vector<int> expected = Entries(list, c.length);
        std::sort(expected.begin(), expected.end());
        SortAscending(list, c.length);
        EXPECT_EQ(Entries(list, c.length), expected) << "length " << c.length;
        EXPECT_EQ(list[c.length], 0xEE) << "length " << c.length;
    }
}

TEST(PoolTest, SortAscendingSmallNumbers) {
    // Numbers below 64 take a path of their own: every length up to 64, distinct, and a repeat.
    for (int length = 0; length <= 64; ++length) {
        NumberList list{};
        for (int i = 0; i < length; ++i) list[i] = static_cast<Number>((i * 37 + 5) % 64);
        if (length == 7) list[6] = list[2];
        std::vector<int> expected = Entries(list, length);
        std::sort(expected.begin(), expected.end());
        SortAscending(list, length);
        EXPECT_EQ(Entries(list, length), expected) << "length " << length;
    }
}

TEST(FormatTest, LabelsJoinedBySingleBlanks) {
    EXPECT_EQ(FormatCombination(ListOf({3, 17, 42, 49}), 4).view(), "03 17 42 49");
    EXPECT_EQ(FormatCombination(ListOf({80}), 1).view(), "80");
    NumberList all{};
    FillPool(all, 80);
    const CombinationText text = FormatCombination(all, 80);
    EXPECT_EQ(text.length, 239);
    EXPECT_EQ(text.view().substr(0, 9), "01 02 03 ");
    EXPECT_EQ(text.view().substr(231), "78 79 80");
}

TEST(DrawTest, PlainLinesFromTheZeroSeed) {
    const struct {
        int pool, pick;
        bool sorted;
        std::vector<std::string> lines;
    } cases[] = {
        {49, 6, true, {"05 16 17 18 25 28", "06 09 26 36 40 44", "05 08 16 20 37 48"}},
        {10,
         10,
         false,
         {"10 04 07 03 09 02 01 08 06 05", "04 01 05 07 02 03 06 10 08 09",
          "09 01 10 02 07 05 04 08 03 06"}},
    };
    for (const auto& c : cases) {
        RandomGenerator g = ZeroSeededGenerator();
        NumberLists lists;
        FillPool(lists.pool, c.pool);
        lists.PoolLength = c.pool;
        std::vector<std::string> lines;
        for (int i = 0; i < 3; ++i)
            lines.emplace_back(DrawPlain(g, lists, c.pick, c.sorted).view());
        EXPECT_EQ(lines, c.lines) << c.pick << " of " << c.pool;
    }
}

TEST(DrawTest, PoolOfOneAlwaysGivesOne) {
    RandomGenerator g = ZeroSeededGenerator();
    NumberLists lists;
    FillPool(lists.pool, 1);
    lists.PoolLength = 1;
    for (int i = 0; i < 3; ++i) EXPECT_EQ(DrawPlain(g, lists, 1, false).view(), "01");
    EXPECT_EQ(g.randcnt, 64) << "no random value is used";
}

TEST(DrawTest, AllFixedSortedTwentyOfEighty) {
    RandomGenerator g = ZeroSeededGenerator();
    NumberLists lists;
    lists.fixed = ListOf({7, 23, 45});
    lists.FixedCount = 3;
    lists.PoolLength = BuildPool(lists.pool, lists.fixed, 3, 80);
    EXPECT_EQ(DrawWithAllFixed(g, lists, 20, true).view(),
              "05 06 07 13 15 16 19 23 24 26 30 33 41 43 45 54 55 64 70 73");
}

TEST(DrawTest, AllFixedUnsortedHoldsEveryFixedNumber) {
    RandomGenerator g = ZeroSeededGenerator();
    NumberLists lists;
    lists.fixed = ListOf({7, 49});
    lists.FixedCount = 2;
    lists.PoolLength = BuildPool(lists.pool, lists.fixed, 2, 49);
    bool fixedNotFirst = false;
    for (int i = 0; i < 50; ++i) {
        const std::string line(DrawWithAllFixed(g, lists, 6, false).view());
        EXPECT_NE(line.find("07"), std::string::npos) << line;
        EXPECT_NE(line.find("49"), std::string::npos) << line;
        fixedNotFirst |= !line.starts_with("07 49");
    }
    EXPECT_TRUE(fixedNotFirst) << "the fixed numbers should land at random places";
}

TEST(DrawTest, SomeFixedSortedTwentyOfEighty) {
    RandomGenerator g = ZeroSeededGenerator();
    NumberLists lists;
    lists.fixed = ListOf({3, 9, 27, 33, 61});
    lists.FixedCount = 5;
    lists.PoolLength = BuildPool(lists.pool, lists.fixed, 5, 80);
    std::vector<int> fixedPerLine;
    for (int i = 0; i < 3; ++i) {
        const std::string line(DrawWithSomeFixed(g, lists, 20, 1, 3, true).view());
        if (i == 0) {
            EXPECT_EQ(line, "03 06 07 13 15 16 19 22 25 27 28 31 33 34 44 53 54 59 63 70");
        }
        int count = 0;
        for (const char* label : {"03", "09", "27", "33", "61"}) {
            count += line.find(label) != std::string::npos;
        }
        fixedPerLine.push_back(count);
    }
    EXPECT_EQ(fixedPerLine, (std::vector<int>{3, 1, 3}));
}

TEST(DrawTest, SomeFixedWithNoneForcedStillKeepsThemOut) {
    RandomGenerator g = ZeroSeededGenerator();
    NumberLists lists;
    lists.fixed = ListOf({1, 2});
    lists.FixedCount = 2;
    lists.PoolLength = BuildPool(lists.pool, lists.fixed, 2, 8);
    for (int i = 0; i < 20; ++i) {
        const uint16_t before = g.randcnt;
        const std::string line(DrawWithSomeFixed(g, lists, 6, 0, 0, true).view());
        EXPECT_EQ(line, "03 04 05 06 07 08");
        // 5 for the pool, 1 for the fixed list, 1 for the count of fixed numbers.
        EXPECT_EQ((g.randcnt - before + 256) % 256, 7);
    }
}

TEST(DrawTest, PlainLinesAreDrawPlainLines) {
    // The same lines, and the same pool afterwards, as DrawPlain one line after another: from a
    // round half used and from one due; pools of one, two (the most lines a round completes),
    // with numbers above 63, and the whole pool.
    const struct {
        int pool, pick;
        bool sorted;
        uint16_t start;
    } cases[] = {{49, 6, true, 64}, {49, 6, false, 256}, {2, 1, false, 255},  {2, 2, true, 64},
                 {1, 1, true, 64},  {80, 20, true, 0},   {80, 80, false, 256}};
    for (const auto& c : cases) {
        RandomGenerator g = ZeroSeededGenerator();
        g.randcnt = c.start;
        RandomGenerator reference = g;
        NumberLists lists;
        FillPool(lists.pool, c.pool);
        lists.PoolLength = c.pool;
        NumberLists referenceLists = lists;
        PlainLines lines;
        std::string ended;
        int drawn = 0;
        // Until a call ends between two lines, for the pools to compare.
        while (drawn < 600 || (c.pool > 1 && lines.nextRange != c.pool)) {
            DrawPlainLines(g, lists, c.pick, c.sorted, lines);
            for (int i = 0; i < lines.count; ++i, ++drawn) {
                const std::string expected(
                    DrawPlain(reference, referenceLists, c.pick, c.sorted).view());
                ASSERT_EQ(lines.Line(i), expected)
                    << c.pick << " of " << c.pool << ", line " << drawn;
                ended += expected + "\r\n";
            }
            ASSERT_EQ(lines.Ended(lines.count), ended) << c.pick << " of " << c.pool;
            ended.clear();
        }
        EXPECT_EQ(lists.pool, referenceLists.pool) << c.pick << " of " << c.pool;
        // The same outputs taken: the state that later outputs come from (randrsl is not read
        // again before the next round overwrites it).
        EXPECT_EQ(std::memcmp(g.mm, reference.mm, sizeof g.mm), 0) << c.pick << " of " << c.pool;
        EXPECT_EQ(std::tie(g.aa, g.bb, g.cc, g.lastOutput, g.randcnt),
                  std::tie(reference.aa, reference.bb, reference.cc, reference.lastOutput,
                           reference.randcnt))
            << c.pick << " of " << c.pool;
    }
}

}  // namespace
}  // namespace combogen
