// The lines of a run with line options: filters, --unique and --bonus. A run without them
// never comes here and draws exactly as before.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "combination/bonus.h"
#include "filters/conditioned_draw.h"
#include "unique/unique_lines.h"

namespace combogen {

struct LineOptions {
    bool unique = false;
    int bonusCount = 0;  // K of --bonus K:N; 0 without it
    int bonusPool = 0;   // N
    LineFilters filters;

    bool Any() const { return unique || bonusCount > 0 || filters.Any(); }
};

class OptionLines {
public:
    // rules as the run's arguments and fixed list give them, options.filters included. Returns
    // what makes the run impossible (no line passes, too few for --unique, a table too large),
    // or nothing. Called before the output file is created.
    std::optional<std::string> Prepare(const LineRules& rules, const LineOptions& options,
                                       bool sortOutput, int64_t lineCount);

    void Next(RandomGenerator& g, NumberLists& lists, LineText& text);

private:
    LineRules rules_;
    bool sortOutput_ = false;
    std::unique_ptr<PassingSets> sets_;
    std::unique_ptr<ConditionedDraw> draw_;
    std::unique_ptr<UniqueLines> unique_;
    BonusPool bonus_;
    DrawnLine line_;
};

// "lines of 6 from 1..49", with the fixed numbers' part when there is one.
std::string DescribeLines(const LineRules& rules);

}  // namespace combogen
