#include "line_checks/draw_file.h"

#include <gtest/gtest.h>

#include "test_support.h"

namespace combogen {
namespace {

TEST(DrawFileTest, ReadsEachLayoutAndSplitsByTheLinesShape) {
    struct Case {
        const char* bytes;
        std::size_t pick, bonusCount;  // the lines'
        std::vector<uint8_t> main, bonus;
        const char* date;
    };
    const std::vector<Case> cases = {
        // A quoted field holds the separator; a column without numbers is left out.
        {"Date,Ball 1,Ball 2,Notes\n2024-01-01,\"1\",2,\"rain, wind\"\n",
         2,
         0,
         {1, 2},
         {},
         "2024-01-01"},
        // The most frequent separator in the header wins over a comma inside quotes.
        {"\"Draw, date\";Winning Numbers\n\"2024-01-02\";\"9 8 7\"\n",
         2,
         1,
         {9, 8},
         {7},
         "2024-01-02"},
        // A second pool's ball may repeat a main number.
        {"Draw Date\tWinning Numbers\tMultiplier\n2020-09-26\t11 21 27 36 62 21\t3\n",
         5,
         1,
         {11, 21, 27, 36, 62},
         {21},
         "2020-09-26"},
        // Lines without a bonus part: every number of one column is a main number.
        {"Date,Winning Numbers\n2020-09-26,11 21 27\n", 2, 0, {11, 21, 27}, {}, "2020-09-26"},
        // Bonus columns stay bonus numbers whatever the lines.
        {"Date,N1,N2,Bonus\n2021-03-03,4,5,6\n", 2, 0, {4, 5}, {6}, "2021-03-03"},
        {"04 05 + 06\r04 05\r", 2, 0, {4, 5}, {6}, ""},
    };
    testing::TempFolder folder;
    const std::string name = folder.Path("draws");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.bytes);
        testing::WriteWholeFile(name, c.bytes);
        std::vector<PastDraw> draws;
        const auto wrong = ReadDrawFile(name, draws);
        ASSERT_FALSE(wrong) << *wrong;
        std::vector<uint8_t> main, bonus;
        ASSERT_FALSE(SplitDraw(draws.front(), c.pick, c.bonusCount, main, bonus));
        EXPECT_EQ(main, c.main);
        EXPECT_EQ(bonus, c.bonus);
        EXPECT_EQ(draws.front().date, c.date);
    }
}

}  // namespace
}  // namespace combogen
