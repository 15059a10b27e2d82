#include "fixed/fixed_line.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "failure/failure.h"

namespace combogen {
namespace {

TEST(FixedLineTest, CleaningParsingAndRepeats) {
    struct Case {
        std::string line;
        std::string cleaned;
        std::vector<int> fixed;  // distinct, in order of first occurrence
    };
    const Case cases[] = {
        {"3, 17; 42", "3 17 42", {3, 17, 42}},
        {"3-17-42", "3 17 42", {3, 17, 42}},
        {"12abc34", "12 34", {12, 34}},
        {"1.5", "1 5", {1, 5}},
        {"-5", "5", {5}},
        {"07 7 007 14", "07 7 007 14", {7, 14}},
        {"257 1", "257 1", {1}},
        {"  \t 9 \x01\xff 10  ", "9 10", {9, 10}},
        {std::string("4\0005", 3), "4 5", {4, 5}},
        {"none", "", {}},
        {"\t", "", {}},
        {"      ", "", {}},
        {"2147483647 000000000002147483647", "2147483647 000000000002147483647", {255}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("line '" + c.line + "'");
        const std::string cleaned = CleanFixedLine(c.line);
        EXPECT_EQ(cleaned, c.cleaned);
        NumberList numbers{}, fixed{};
        const int count = ParseNumbers(cleaned, numbers);
        const int fixedCount = RemoveDuplicates(numbers, count, fixed);
        EXPECT_EQ(std::vector<int>(fixed.begin(), fixed.begin() + fixedCount), c.fixed);
    }
}

TEST(FixedLineTest, TooLargeARunRaisesConvertError) {
    for (const std::string& run :
         {std::string("2147483648"), std::string("99999999999"), std::string(1100, '7')}) {
        NumberList numbers{};
        try {
            ParseNumbers("12 " + run, numbers);
            ADD_FAILURE() << "no failure for " << run.size() << " digits";
        } catch (const EConvertError& e) {
            EXPECT_EQ(e.Message, "'" + run + "' is not a valid integer value");
            EXPECT_EQ(e.KindName(), "EConvertError");
        }
    }
}

TEST(FixedLineTest, MoreNumbersThanTheListHoldsAreCountedNotStored) {
    std::string line;
    for (int i = 1; i <= 85; ++i) line += std::to_string(i) + " ";
    NumberList numbers{};
    EXPECT_EQ(ParseNumbers(CleanFixedLine(line), numbers), 85);
    EXPECT_EQ(numbers[79], 80);
}

}  // namespace
}  // namespace combogen
