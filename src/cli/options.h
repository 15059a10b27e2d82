// The options that come before the positional arguments. None of them changes a run without
// them: a command line whose first argument is no option word is the plain run.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "cli/rejection.h"
#include "filters/line_rules.h"
#include "line_checks/prize_report.h"
#include "text/number_lines.h"

namespace combogen {

// K more numbers a line from a separate pool 1..N.
struct BonusPool {
    int count = 0;
    int pool = 0;
};

// T:M of --wheel and --guarantee: some line holds at least T of the drawn numbers whenever M
// of them are among the wheeled numbers; 1 <= T <= M <= 80.
struct Prize {
    int t = 0;
    int m = 0;
};

struct Options {
    bool help = false;
    bool version = false;
    bool explain = false;
    std::optional<std::string> seedText;  // the seeding image is these bytes, repeated
    std::optional<std::string> seedFile;  // the seeding image is the file's first 2068 bytes
    std::optional<std::string> saveSeed;  // where the system's seeding image is kept
    bool unique = false;
    bool lineFeedOnly = false;
    std::size_t blockSize = 128;
    std::optional<BonusPool> bonus;
    LineFilters filters;       // --sum, --odd, --max-run; --exclude is kept as given, below
    std::vector<int> exclude;  // distinct, ascending, each in 1..80
    std::optional<std::string> statsFile;
    std::optional<std::string> chartFile;
    std::optional<Prize> wheel;
    std::vector<int> numbers;             // --numbers: distinct, ascending, each in 1..80
    std::optional<int> effort;            // --effort: percent of the search's default effort
    bool budget = false;                  // --budget: LINES lines meeting the most draws
    std::optional<NumberLine> checkDraw;  // --check
    // --check with a value that is no draw: a file of past draws, and why it is no draw.
    std::optional<std::string> checkDrawsFile;
    std::string checkNotADraw;
    std::optional<Prize> guarantee;
    std::optional<PrizeGame> prizes;   // --prizes POOL:DRAW[+K[:N]]
    std::optional<PrizeGame> game;     // --game: which numbers of a past draw are main, bonus
    std::vector<std::string> asGiven;  // the option words as typed, for the statistics report

    // True when the lines differ from the plain run's in any way but the line end and the
    // hand-over size.
    bool ChangesDraws() const { return unique || bonus || filters.Any() || !exclude.empty(); }
};

struct CommandLine {
    Options options;
    std::vector<std::string> positional;
};

// True for a word that can begin an option: "--" alone, or "--" and a letter. Any other word,
// "--5" among them, is the first positional argument, as in a run without options.
bool IsOptionWord(std::string_view word);

// Options up to the first argument that is no option word, or up to "--"; the rest are
// the positional arguments. Option values come as the next argument or after '='. On a bad
// option or value, error holds one line saying what is wrong, and nothing else is set.
CommandLine ParseCommandLine(std::span<const std::string> args, std::string& error);
// The same, with the refusal as a value: which option, which rule, the values.
CommandLine ParseCommandLine(std::span<const std::string> args, Rejection& refusal);

// --help: every argument and option, with examples.
std::string UsageText();

// --version.
std::string VersionText();

}  // namespace combogen
