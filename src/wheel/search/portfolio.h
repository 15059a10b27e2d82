// Several walks of the search engine, each from a generator of its own derived from the run's,
// run side by side on the processors the run may use. The wheel taken is chosen by a fixed rule
// (the fewest lines, then the first walk), so the bytes never depend on the thread count.
#pragma once

#include <span>

#include "random/generator.h"
#include "wheel/search.h"

namespace combogen::wheel_search {

// The walks made for every search, whatever the processors: the first from start where it is
// given, the rest from greedy wheels.
inline constexpr int kWalks = 2;

// Whether a is better than b: a wheel that meets the goal before one that does not, then the
// fewer lines, then (lines within a budget) the fewer m-sets unmet. Not better on a tie.
bool Better(const WheelFound& a, const WheelFound& b);

// m: the drawn numbers each walk counts (see Engine). Draws the walks' generators from g.
WheelFound RunPortfolio(const WheelSearch& search, int m, std::span<const WheelLine> start,
                        RandomGenerator& g);

}  // namespace combogen::wheel_search
