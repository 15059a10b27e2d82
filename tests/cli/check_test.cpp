// The checks a front end runs on a whole command line, options included.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "cli/check.h"
#include "test_support.h"

namespace combogen {
namespace {

TEST(CheckTest, OptionsSeedFileAndArgumentsInTheRunsOrder) {
    testing::TempFolder folder;
    const std::string out = folder.Path("out.txt");
    const std::string shortSeed = folder.Path("short.bin");
    testing::WriteWholeFile(shortSeed, std::string(10, 'x'));
    const struct {
        std::vector<std::string> args;
        std::optional<Field> field;  // nothing: the run would go ahead
        std::string message;
    } cases[] = {
        {{"--bogus", "10", "49", "6", "1", out}, Field::Options, "unknown option '--bogus'"},
        {{"--seed-file", shortSeed, "10", "81", "6", "1", out},
         Field::Options,
         "seed file '" + shortSeed + "' holds 10 bytes; a seed file holds 2068"},
        {{"--explain", "10", "81", "6", "1", out}, Field::PoolSize, "pool size 81 is not in 1..80"},
        {{"--help"}, std::nullopt, ""},
        {{"--seed", "x", "10", "49", "6", "1", out}, std::nullopt, ""},
    };
    for (const auto& c : cases) {
        const auto rejection = CheckCommandLine(c.args);
        ASSERT_EQ(rejection.has_value(), c.field.has_value()) << c.args[0];
        if (rejection) {
            EXPECT_EQ(rejection->field, *c.field) << c.args[0];
            EXPECT_EQ(rejection->message, c.message) << c.args[0];
        }
    }
    EXPECT_FALSE(std::filesystem::exists(out));  // nothing is written
}

// What the web page asks before a run: filtered runs whose full table of counts would not fit
// now go ahead, and a space in which no line passes says so.
TEST(CheckTest, FiltersAreRefusedOnlyWhenNoLinePasses) {
    testing::TempFolder folder;
    const std::string out = folder.Path("out.txt");
    const struct {
        std::vector<std::string> args;
        std::string message;  // empty: the run would go ahead
    } cases[] = {
        {{"--sum", "700:720", "--odd", "8:12", "--max-run", "3", "1000", "80", "20", "1", out}, ""},
        {{"--sum", "810:810", "--odd", "10:10", "--max-run", "2", "1000", "80", "20", "1", out},
         ""},
        {{"--max-run", "42", "--sum", "1189:1190", "105", "49", "47", "0", out}, ""},
        {{"--max-run", "42", "--sum", "1100:1110", "105", "49", "47", "0", out},
         "no line of 47 from 1..49 has --sum 1100:1110"},
    };
    for (const auto& c : cases) {
        const auto rejection = CheckCommandLine(c.args);
        EXPECT_EQ(rejection ? rejection->message : "", c.message) << c.args[1];
    }
    EXPECT_FALSE(std::filesystem::exists(out));
}

// What the page reads of a refusal: the option or argument, the rule and its values in order.
TEST(CheckTest, ARefusalIsAValue) {
    using V = std::vector<std::string>;
    testing::TempFolder folder;
    const std::string fixed = folder.Path("fixed.txt");
    testing::WriteWholeFile(fixed, "3 7 12\n");
    const struct {
        std::vector<std::string> args;
        std::string subject;
        Rule rule;
        V values;
    } cases[] = {
        {{"--sum", "30:20"}, "--sum", Rule::Reversed, {"30:20", "30", "20"}},
        {{"--bonus", "0:90"}, "--bonus", Rule::Outside, {"0:90", "1", "80"}},
        {{"--max-run", "x"}, "--max-run", Rule::NotInRange, {"x", "1", "80"}},
        {{"--exclude", "3,99"}, "--exclude", Rule::NotInPool, {"99"}},
        {{"--seed", "a", "--seed-file", "f"}, "--seed", Rule::NotTogether, {"--seed-file"}},
        {{"--effort", "5"}, "--effort", Rule::Needs, {"--wheel"}},
        {{"--explain", "1", "49", "50", "1", "o"}, "PICK", Rule::Above, {"50", "49"}},
        {{"--explain", "1", "49", "6", "1", "o", fixed, "2", "1"},
         "FIXED-MAX",
         Rule::Below,
         {"1", "2"}},
        {{"--explain", "0x", "49", "6", "1", "o"}, "LINES", Rule::Malformed, {"0x"}},
        {{"--sum", "21:21", "--odd", "0:0", "1", "49", "6", "1", "o"}, "--sum", Rule::Other, {}},
    };
    for (const auto& c : cases) {
        std::vector<std::string> args = c.args;
        if (args.size() < 5) args.insert(args.end(), {"1", "49", "6", "1", "o"});
        const auto refusal = CheckCommandLine(args);
        ASSERT_TRUE(refusal) << c.args[0];
        EXPECT_EQ(refusal->subject, c.subject) << refusal->message;
        EXPECT_EQ(refusal->rule, c.rule) << refusal->message;
        EXPECT_EQ(refusal->values, c.values) << refusal->message;
    }
}

}  // namespace
}  // namespace combogen
