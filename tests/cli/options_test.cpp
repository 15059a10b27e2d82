#include "cli/options.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace combogen {
namespace {

TEST(OptionsTest, ParsingTable) {
    const struct {
        std::vector<std::string> args;
        std::string error;                    // empty: parsed
        std::vector<std::string> positional;  // when parsed
    } cases[] = {
        {{"10", "49", "6", "1", "out.txt"}, "", {"10", "49", "6", "1", "out.txt"}},
        // Options end at the first positional argument, or at "--".
        {{"10", "--lf", "6", "1", "--x"}, "", {"10", "--lf", "6", "1", "--x"}},
        {{"--lf", "--", "--x", "49"}, "", {"--x", "49"}},
        {{"--seed", "abc", "--unique", "1"}, "", {"1"}},
        {{"--seed=a=b", "1"}, "", {"1"}},
        {{"--bonus", "2:12", "--sum", "21:21", "--odd", "0:6", "--max-run", "3"}, "", {}},
        {{"--exclude", "13,4;13", "--block-size", "65536", "--stats", "s", "--chart", "c"}, "", {}},
        {{"--bogus"}, "unknown option '--bogus'", {}},
        {{"-x", "--lf"}, "", {"-x", "--lf"}},
        // Only "--" and "--" with a letter begin an option: "--5" is the line count.
        {{"--5", "49", "6", "1", "o"}, "", {"--5", "49", "6", "1", "o"}},
        {{"--lf", "--$5", "49"}, "", {"--$5", "49"}},
        {{"--lf", "---", "49"}, "", {"---", "49"}},
        {{"--Lf"}, "unknown option '--Lf'", {}},
        {{"--seed"}, "option --seed needs a value (TEXT)", {}},
        {{"--seed", ""}, "--seed needs a text that is not empty", {}},
        {{"--lf=1"}, "option --lf takes no value", {}},
        {{"--lf", "--lf"}, "option --lf is given twice", {}},
        {{"--seed", "a", "--seed-file", "f"}, "--seed and --seed-file cannot be used together", {}},
        {{"--save-seed", "s", "--seed", "a"},
         "--save-seed keeps the system's seed; it cannot be used with --seed or --seed-file",
         {}},
        {{"--block-size", "127"},
         "--block-size '127' is not a whole number from 128 to 1048576",
         {}},
        {{"--block-size", "1048577"},
         "--block-size '1048577' is not a whole number from 128 to 1048576",
         {}},
        {{"--block-size", "+256"},
         "--block-size '+256' is not a whole number from 128 to 1048576",
         {}},
        {{"--bonus", "3:2"}, "--bonus 3:2: K is greater than N", {}},
        {{"--bonus", "0:12"}, "--bonus 0:12 is outside 1..80", {}},
        {{"--bonus", "2"}, "--bonus takes K:N, two whole numbers, not '2'", {}},
        {{"--sum", "200:100"}, "--sum 200:100: MIN is greater than MAX", {}},
        {{"--odd", "1:81"}, "--odd 1:81 is outside 0..80", {}},
        {{"--max-run", "0"}, "--max-run '0' is not a whole number from 1 to 80", {}},
        {{"--exclude", "4,81"}, "--exclude: 81 is not a number from 1 to 80", {}},
        {{"--exclude", ","}, "--exclude ',' lists no number", {}},
    };
    for (const auto& c : cases) {
        std::string shown;
        for (const auto& arg : c.args) shown += "'" + arg + "' ";
        SCOPED_TRACE(shown);
        std::string error;
        const CommandLine parsed = ParseCommandLine(c.args, error);
        EXPECT_EQ(error, c.error);
        if (c.error.empty()) {
            EXPECT_EQ(parsed.positional, c.positional);
        }
    }

    std::string error;
    const Options o = ParseCommandLine(std::vector<std::string>{"--exclude", "13,4;13", "--bonus",
                                                                "2:12", "--seed=a=b"},
                                       error)
                          .options;
    EXPECT_EQ(o.exclude, (std::vector<int>{4, 13}));
    EXPECT_EQ(o.bonus->count, 2);
    EXPECT_EQ(o.bonus->pool, 12);
    EXPECT_EQ(*o.seedText, "a=b");
}

}  // namespace
}  // namespace combogen
