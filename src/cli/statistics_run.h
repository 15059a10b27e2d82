// --stats and --chart: counting the lines of a run and writing the report files after it.
#pragma once

#include <memory>
#include <optional>
#include <span>
#include <string>

#include "cli/fixed_run.h"
#include "cli/option_lines.h"
#include "cli/options.h"
#include "stats/expected_spread.h"
#include "stats/line_tally.h"

namespace combogen {

class StatisticsRun {
public:
    // args are the positional arguments.
    StatisticsRun(const Options& options, std::span<const std::string> args);

    bool Wanted() const { return options_.statsFile || options_.chartFile; }

    // The lines' expected spread, and an empty count; after the lists are prepared. With
    // filters, each number's probability comes from optionLines' counts, and the joint ones
    // are unknown.
    void Start(const RunSettings& settings, const NumberLists& lists,
               const OptionLines* optionLines);
    // Null unless started: a run without --stats and --chart counts nothing.
    LineTally* Tally() { return counting_ ? &counting_->tally : nullptr; }

    // After the output file is closed: writes the report files, the statistics first. The
    // reason when one cannot be written; a file left incomplete is removed.
    std::optional<std::string> Finish() const;

private:
    const Options& options_;
    std::span<const std::string> args_;
    struct Counting {
        ExpectedSpread spread;
        LineTally tally;
    };
    std::unique_ptr<Counting> counting_;
    int pool_ = 0, pick_ = 0;  // a wheel's game, for its prize table
};

}  // namespace combogen
