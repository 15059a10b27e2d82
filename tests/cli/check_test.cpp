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

}  // namespace
}  // namespace combogen
