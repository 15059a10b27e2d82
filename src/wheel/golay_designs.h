// Steiner systems from the binary Golay code: block designs that meet every t-set of their
// points in exactly one line, so that no wheel for their goal has fewer lines.
#pragma once

#include <vector>

#include "wheel/goal.h"

namespace combogen {

// S(3,6,22): 77 lines of 6 of the numbers 0..21 that hold every three of them exactly once.
std::vector<WheelLine> SteinerTriplesOf22();

}  // namespace combogen
