// A table of known constructions for wheels: general algebraic and combinatorial methods
// (Steiner systems from codes and geometries, triple and quadruple systems, and ways of building
// a wheel from smaller ones), each a row of the table, the smallest result kept.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "wheel/goal.h"

namespace combogen {

struct Construction {
    std::vector<WheelLine> lines;  // distinct, each k ascending numbers in 0..v-1, sorted
    std::string how;               // a short plain description of the method
};

// A search for a part the table cannot build well (the wheel search); may be empty. Returns
// lines meeting the part's goal, or nothing.
using PartSearch = std::function<std::optional<std::vector<WheelLine>>(const WheelGoal&)>;

// The smallest wheel the table can build for goal, or nothing where no row serves (or its
// wheel would exceed KnownWheelMaxLines). Deterministic; with a search, parts of the rows that
// build from parts (one-point extension, unions over groups) may be searched where the table's
// own wheel for the part is far above its lower bound, and the result is never larger than
// without the search.
std::optional<Construction> BuildKnownWheel(const WheelGoal& goal, const PartSearch& search = {});

// The size BuildKnownWheel gives without search, computed without building lines where the size
// follows from the method (memoized); nothing where it gives nothing.
std::optional<int64_t> KnownWheelSize(const WheelGoal& goal);

// No row builds a wheel of more lines than this.
inline constexpr int64_t KnownWheelMaxLines = 50'000;

}  // namespace combogen
