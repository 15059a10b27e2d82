// A run with --wheel: the fewest lines over the wheeled numbers that give "T if M", found by the
// search from the run's generator, checked in full, then written as any run's lines. It names
// the files of any run (OUTPUT, FIXED-FILE, the seed and report files) and no others.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "cli/fixed_run.h"
#include "cli/options.h"
#include "cli/rejection.h"
#include "combination/bonus.h"
#include "filters/line_rules.h"
#include "stats/line_tally.h"
#include "text/text_file.h"
#include "wheel/search.h"

namespace combogen {

class WheelRun {
public:
    // After the lists are prepared: the wheeled numbers, the goal and every rule they must meet
    // (8 arguments refused, T <= M <= PICK less the key numbers <= the numbers wheeled, the
    // lower bound within LINES). What is wrong, or nothing.
    std::optional<Rejection> Prepare(const RunSettings& settings, const NumberLists& lists,
                                     const Options& options);

    // The search and the check of its wheel. A refusal when no wheel of at most LINES lines was
    // found. A wheel that fails its check is a fault of the program and is raised.
    std::optional<Rejection> Find(RandomGenerator& g);

    // The settings of the lines written: LineCount the wheel's size.
    RunSettings Written() const;

    // The lines, sorted or each in shuffled order, with bonus numbers drawn after them.
    void Write(RandomGenerator& g, OutputTextFile& output, LineTally* tally);

private:
    RunSettings settings_;
    const Options* options_ = nullptr;
    std::vector<Number> keys_;     // in every line
    std::vector<Number> wheeled_;  // index i of the search is wheeled_[i]
    LineFilters filters_;
    WheelGoal goal_;
    std::vector<WheelLine> lines_;
    BonusDraw bonus_;
};

}  // namespace combogen
