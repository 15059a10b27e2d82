// A wheel's prize table as an SVG chart, for --chart of a wheel run.
#pragma once

#include <string>

#include "line_checks/prize_table.h"

namespace combogen {

// For each count j of matched numbers, the share of draws in which some line holds at least
// j, beside the same for as many random lines. Self-contained SVG.
std::string PrizeChart(const PrizeTable& table);

}  // namespace combogen
