#include "text/number_lines.h"

#include <gtest/gtest.h>

#include "test_support.h"

namespace combogen {
namespace {

TEST(NumberLinesTest, ParsesLinesAndSaysWhatIsWrong) {
    struct Case {
        const char* text;
        std::vector<uint8_t> main, bonus;
        const char* wrong;  // nullptr: parsed
    };
    const std::vector<Case> cases = {
        {"05 11 23 38 41 49", {5, 11, 23, 38, 41, 49}, {}, nullptr},
        {"05 11 + 07 02", {5, 11}, {7, 2}, nullptr},
        {" 5\t11  +7 ", {5, 11}, {7}, nullptr},
        {"05 11 + 05", {5, 11}, {5}, nullptr},  // the bonus pool is separate
        {"05 81", {}, {}, "'81' is not a number from 1 to 80"},
        {"05 00", {}, {}, "'00' is not a number from 1 to 80"},
        {"05 005", {}, {}, "'005' is not a number from 1 to 80"},
        {"05 05", {}, {}, "5 appears twice"},
        {"05 + 07 07", {}, {}, "7 appears twice in the bonus"},
        {"05,06", {}, {}, "'05,' is not a number"},
        {"05 x", {}, {}, "'x' is not a number"},
        {"+ 05", {}, {}, "'+' before any number"},
        {"05 +", {}, {}, "'+' without bonus numbers"},
        {"05 + 06 + 07", {}, {}, "a second '+'"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        NumberLine line;
        const auto wrong = ParseNumberLine(c.text, line);
        if (c.wrong == nullptr) {
            ASSERT_FALSE(wrong) << *wrong;
            EXPECT_EQ(line.main, c.main);
            EXPECT_EQ(line.bonus, c.bonus);
        } else {
            EXPECT_EQ(wrong.value_or("parsed"), c.wrong);
        }
    }
}

TEST(NumberLinesTest, EveryLineEndEndsALineAndNoByteIsDropped) {
    struct Case {
        const char* bytes;
        std::vector<std::string> lines;  // "number: main numbers"
        const char* wrong;               // the error's end after the name; nullptr: read
    };
    const std::vector<Case> cases = {
        {"1 2\r1 3\r", {"1: 1 2", "2: 1 3"}, nullptr},
        {"1 2 3\r4 5 6", {"1: 1 2 3", "2: 4 5 6"}, nullptr},
        {"1 2\r\n\r1 3\n", {"1: 1 2", "3: 1 3"}, nullptr},
        {"1 2 3\n\x1a"
         "4 5 6\n",
         {},
         "' line 2: '\x1a' is not a number"},
        {"1 2 3\x1a\n", {}, "' line 1: '3\x1a' is not a number"},
    };
    testing::TempFolder folder;
    const std::string name = folder.Path("f");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.bytes);
        testing::WriteWholeFile(name, c.bytes);
        std::vector<std::string> lines;
        const auto wrong = ReadNumberLines(name, [&](int64_t number, const NumberLine& line) {
            std::string text = std::to_string(number) + ":";
            for (const uint8_t x : line.main) text.append(1, ' ').append(std::to_string(x));
            lines.push_back(text);
        });
        if (c.wrong == nullptr) {
            ASSERT_FALSE(wrong) << *wrong;
            EXPECT_EQ(lines, c.lines);
        } else {
            ASSERT_TRUE(wrong);
            EXPECT_TRUE(wrong->ends_with(c.wrong)) << *wrong;
        }
    }
}

}  // namespace
}  // namespace combogen
