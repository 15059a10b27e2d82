// The reason given for every rejection, as --explain prints it and the web page shows it.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "cli/run.h"
#include "test_support.h"

namespace combogen {
namespace {

using testing::WriteWholeFile;
using testing::ZeroSeed;

TEST(ExplainTest, EveryRejectionSaysWhichRuleItBroke) {
    testing::TempFolder folder;
    const std::string out = folder.Path("out.txt");
    const std::string fixed = folder.Path("fixed.txt");
    const std::string count =
        "expected 5, 6 or 8 arguments (LINES POOL PICK SORT OUTPUT [FIXED-FILE [FIXED-MIN "
        "FIXED-MAX]]), got ";
    std::string eightyOneNumbers;
    for (int i = 1; i <= 81; ++i) eightyOneNumbers += "1 ";
    const struct {
        std::vector<std::string> args;  // "OUT" and "FIXED" stand for files of the folder
        std::string fixedLine;
        Field field;
        std::string message;
    } cases[] = {
        {{"1", "49", "6", "1"}, "", Field::ArgumentCount, count + "4"},
        {{"1", "49", "6", "1", "OUT", "FIXED", "1"}, "", Field::ArgumentCount, count + "7"},
// The system's own words for these differ on Windows.
#ifndef _WIN32
        {{"1", "49", "6", "1", "OUT", "missing.txt"},
         "",
         Field::FixedFile,
         "cannot open fixed-number file 'missing.txt': No such file or directory"},
        {{"1", "49", "6", "1", "OUT", "."},
         "",
         Field::FixedFile,
         "cannot read fixed-number file '.': Is a directory"},
        {{"1", "49", "6", "1", "no/such/folder.txt"},
         "",
         Field::Output,
         "cannot create 'no/such/folder.txt': No such file or directory"},
#endif
        {{"x", "49", "6", "1", "OUT"},
         "",
         Field::LineCount,
         "line count 'x' is not a whole number"},
        {{"0", "49", "6", "1", "OUT"}, "", Field::LineCount, "line count 0 is less than 1"},
        {{"1", "49 ", "6", "1", "OUT"},
         "",
         Field::PoolSize,
         "pool size '49 ' is not a whole number"},
        {{"1", "$51", "6", "1", "OUT"},
         "",
         Field::PoolSize,
         "pool size 81 ('$51') is not in 1..80"},
        {{"1", "49", "six", "1", "OUT"},
         "",
         Field::PickCount,
         "pick count 'six' is not a whole number"},
        {{"1", "49", "0", "1", "OUT"}, "", Field::PickCount, "pick count 0 is less than 1"},
        {{"1", "6", "49", "1", "OUT"},
         "",
         Field::PickCount,
         "pick count 49 is more than the pool of 6"},
        {{"1", "49", "6", "yes", "OUT"}, "", Field::Sort, "sort flag 'yes' is not a whole number"},
        {{"1", "49", "6", "2", "OUT"}, "", Field::Sort, "sort flag 2 is neither 0 nor 1"},
        {{"1", "49", "6", "1", "OUT", "FIXED", "a", "1"},
         "1 2",
         Field::FixedMin,
         "fixed minimum 'a' is not a whole number"},
        {{"1", "49", "6", "1", "OUT", "FIXED", "-1", "1"},
         "1 2",
         Field::FixedMin,
         "fixed minimum -1 is negative"},
        {{"1", "49", "6", "1", "OUT", "FIXED", "6", "6"},
         "1 2",
         Field::FixedMin,
         "fixed minimum 6 is not less than the pick count 6"},
        {{"1", "49", "6", "1", "OUT", "FIXED", "1", "b"},
         "1 2",
         Field::FixedMax,
         "fixed maximum 'b' is not a whole number"},
        {{"1", "49", "6", "1", "OUT", "FIXED", "2", "1"},
         "1 2",
         Field::FixedMax,
         "fixed maximum 1 is less than the fixed minimum 2"},
        // Whole numbers beyond 32 bits break the same rule as a value in range would.
        {{"2147483648", "49", "6", "1", "OUT"},
         "",
         Field::LineCount,
         "line count 2147483648 is more than 2147483647"},
        {{"1", "-99999999999", "6", "1", "OUT"},
         "",
         Field::PoolSize,
         "pool size -99999999999 is not in 1..80"},
        {{"1", "49", " +4294967296", "1", "OUT"},
         "",
         Field::PickCount,
         "pick count  +4294967296 is more than the pool of 49"},
        {{"1", "49", "6", "1", "OUT", "FIXED", "-2147483649", "1"},
         "1 2",
         Field::FixedMin,
         "fixed minimum -2147483649 is negative"},
        {{"1", "49", "6", "1", "OUT", "FIXED", "0", "$123456789"},
         "1 2",
         Field::FixedMax,
         "fixed maximum '$123456789' is not a whole number"},
        {{"1", "49", "6", "1", "OUT", "FIXED", "1", "6"},
         "1 2",
         Field::FixedMax,
         "fixed maximum 6 is not less than the pick count 6"},
        {{"1", "49", "6", "1", "OUT", "FIXED"},
         eightyOneNumbers,
         Field::FixedFile,
         "the fixed-number line lists 81 numbers, more than 80"},
        {{"1", "49", "6", "1", "OUT", "FIXED", "1", "4"},
         "1 2 3",
         Field::FixedMax,
         "the fixed-number line lists 3 distinct numbers, fewer than the fixed maximum 4"},
        {{"1", "49", "3", "1", "OUT", "FIXED"},
         "1 2 3",
         Field::FixedFile,
         "3 fixed numbers leave no room in a line of 3: there must be fewer fixed numbers than "
         "the pick count"},
        {{"1", "49", "6", "1", "OUT", "FIXED"},
         "7 52",
         Field::FixedFile,
         "fixed number 52 is above the pool of 49"},
        // At its full value, not 44 (300 modulo 256).
        {{"1", "49", "6", "1", "OUT", "FIXED"},
         "300 44",
         Field::FixedFile,
         "fixed number 300 is above the pool of 49"},
        {{"1", "49", "6", "1", "./fixed.txt", "fixed.txt"},
         "7 12",
         Field::Output,
         "the output file './fixed.txt' is the fixed-number file 'fixed.txt'"},
        {{"1", "49", "6", "1", "OUT", "FIXED"},
         "0 7",
         Field::FixedFile,
         "fixed number 0 can never be drawn"},
        {{"1", "12", "10", "1", "OUT", "FIXED", "0", "3"},
         "1 2 3",
         Field::FixedMin,
         "the pool of 12 less 3 fixed numbers leaves 9, too few to fill a line of 10 holding "
         "only 0 of them"},
    };
    const std::filesystem::path start = std::filesystem::current_path();
    std::filesystem::current_path(folder.Path(""));
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message);
        std::vector<std::string> args = c.args;
        for (auto& arg : args) {
            if (arg == "OUT") arg = out;
            if (arg == "FIXED") arg = fixed;
        }
        WriteWholeFile(fixed, c.fixedLine);
        Rejection why;
        EXPECT_EQ(RunCombogen(args, ZeroSeed, Options{}, &why), RunEnd::Rejected);
        EXPECT_EQ(why.message, c.message);
        EXPECT_EQ(why.field, c.field);
        EXPECT_FALSE(std::filesystem::exists(out));
        // The checks without a run agree, up to the output file, which they never touch.
        const auto checked = CheckArguments(args, Options{});
        if (c.field != Field::Output) {
            ASSERT_TRUE(checked.has_value());
            EXPECT_EQ(checked->message, c.message);
        } else {
            EXPECT_FALSE(checked.has_value());
        }
    }
    Rejection why;
    EXPECT_EQ(RunCombogen(
                  std::vector<std::string>{"1", "49", "6", "1", out},
                  [](std::span<uint8_t>) { return false; }, Options{}, &why),
              RunEnd::Rejected);
    EXPECT_EQ(why.message, "the system's random source failed");
    std::filesystem::current_path(start);
}

TEST(ExplainTest, ChecksTurnATooLargeFixedNumberIntoARejection) {
    testing::TempFolder folder;
    WriteWholeFile(folder.Path("fixed.txt"), "12 2147483648");
    const auto checked = CheckArguments(
        std::vector<std::string>{"1", "49", "6", "1", "out.txt", folder.Path("fixed.txt")},
        Options{});
    ASSERT_TRUE(checked.has_value());
    EXPECT_EQ(checked->message, "'2147483648' is not a valid integer value");
}

}  // namespace
}  // namespace combogen
