// The lines of a run with line options: filters, --unique and --bonus. A run without them
// never comes here and draws exactly as before.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "cli/fixed_run.h"
#include "cli/options.h"
#include "cli/rejection.h"
#include "combination/bonus.h"
#include "filters/conditioned_draw.h"
#include "unique/unique_lines.h"

namespace combogen {

class OptionLines {
public:
    // rules as the run's arguments and fixed list give them, lists the run's lists; the options
    // add the filters. Returns what makes the run impossible (a number both left out and fixed,
    // no line passes, too few lines for --unique, counts too large even over the states that
    // can reach a passing line), or nothing. checkOnly leaves the lines unprepared.
    std::optional<Rejection> Prepare(const LineRules& rules, const Options& options,
                                     const NumberLists& lists, bool sortOutput, int64_t lineCount,
                                     bool checkOnly = false);

    void Next(RandomGenerator& g, NumberLists& lists, LineText& text);

    // The main numbers of the line Next gave last, in the line's order.
    const DrawnLine& Last() const { return line_; }
    // Its bonus numbers are the first count entries of the pool (none without --bonus).
    const BonusDraw& Bonus() const { return bonus_; }

    // For reports: the probability that each number 1..MaxNumber is among a line's main numbers,
    // with the fixed numbers and filters; all 0 when the counts were too large to keep or cover
    // only some of the filters.
    std::array<double, MaxNumber + 1> MainNumberOdds() const;
    // True when a filter limits the lines (a number left out that the pool does not hold
    // limits nothing).
    bool Filtered() const { return rules_.filters.Any(); }
    // For reports: the probability that both v and w are among a line's main numbers, at
    // [v * (MaxNumber + 1) + w], from going through every passing line; empty when there are
    // more than limit of them or the counts were too large to keep.
    std::vector<double> MainPairOdds(uint64_t limit) const;

private:
    LineRules rules_;
    bool sortOutput_ = false;
    std::unique_ptr<PassingSets> sets_;
    bool recheck_ = false;  // sets_ counts fewer filters than the run has
    std::unique_ptr<ConditionedDraw> draw_;
    std::unique_ptr<UniqueLines> unique_;
    BonusDraw bonus_;
    DrawnLine line_;
};

// What a line's main numbers are drawn from, as the arguments and the fixed list give it,
// without filters.
LineRules RulesOf(const RunSettings& settings, const NumberLists& lists);

// Adds the options' filters to rules. Returns an error text for a number both left out and
// fixed, or nothing.
std::optional<std::string> AddFilters(const Options& options, LineRules& rules);

}  // namespace combogen
