#include "cli/option_lines.h"

#include <gtest/gtest.h>

#include "combination/pool.h"
#include "test_support.h"

namespace combogen {
namespace {

using testing::ZeroSeededGenerator;

// The bonus numbers come after the main numbers from the same generator: the bonus pool, kept
// for the run, shuffled in full, its first K taken (sorted in place when the run sorts).
TEST(OptionLinesTest, BonusNumbersFromTheZeroSeed) {
    for (const bool sorted : {true, false}) {
        LineRules rules;
        rules.poolSize = 50;
        rules.pickCount = 5;
        Options options;
        options.bonus = BonusPool{2, 12};
        RandomGenerator g = ZeroSeededGenerator();
        RandomGenerator twin = g;
        NumberLists lists, twinLists;
        FillPool(lists.pool, 50);
        lists.PoolLength = 50;
        twinLists = lists;
        OptionLines lines;
        ASSERT_FALSE(lines.Prepare(rules, options, lists, sorted, 3));
        NumberList bonus{};
        FillPool(bonus, 12);
        std::vector<std::string> texts;
        for (int i = 0; i < 3; ++i) {
            LineText text;
            lines.Next(g, lists, text);
            texts.emplace_back(text.view());
            std::string expected(DrawPlain(twin, twinLists, 5, sorted).view());
            Shuffle(twin, bonus, 12);
            if (sorted) SortAscending(bonus, 2);
            expected += " + " + std::string(FormatCombination(bonus, 2).view());
            EXPECT_EQ(texts.back(), expected);
        }
        if (sorted) {
            EXPECT_EQ(texts,
                      (std::vector<std::string>{"05 16 18 19 35 + 06 08", "01 14 18 27 44 + 01 06",
                                                "03 34 35 44 50 + 01 04"}));
        }
    }
}

}  // namespace
}  // namespace combogen
