// The plain-text statistics report of a run, and its SVG bar chart.
#pragma once

#include <string>
#include <vector>

#include "stats/expected_spread.h"
#include "stats/line_tally.h"

namespace combogen {

struct RunDescription {
    std::vector<std::string> options;    // as given, values included
    std::vector<std::string> arguments;  // the positional arguments
    std::string lineEnd = "\r\n";        // the run's own line end
    // A wheel's prize table (lines ended by "\n"): in place of the test of the main numbers'
    // counts, which lines chosen to meet a guarantee cannot pass.
    std::string prizeTable;
};

// For each number its count against the expected count, the chi-square test of those counts,
// the count of distinct lines and the share of possible pairs of numbers that came up; the
// same for the bonus numbers when the run has them.
std::string StatisticsReport(const RunDescription& run, const LineTally& tally,
                             const ExpectedSpread& spread);

// The counts as bars against the expected counts, main numbers above, bonus numbers (if any)
// in a panel of their own below. Self-contained SVG.
std::string CountChart(const LineTally& tally, const ExpectedSpread& spread);

// Pairs v < w that a line can hold. With joint probabilities known, those above zero;
// otherwise every pair of numbers that can appear.
int PossiblePairs(const NumberSpread& spread);

}  // namespace combogen
