// Steiner systems from the Golay codes: block designs that meet every t-set of their points in
// exactly one line, so that no wheel for their goal has fewer lines.
#pragma once

#include <vector>

#include "wheel/goal.h"

namespace combogen {

// The octads of the extended binary Golay code: S(5,8,24), 759 lines of 8 of 0..23. Those
// through 23, it dropped: S(4,7,23), 253 lines of 7 of 0..22; those through 22 and 23, both
// dropped: S(3,6,22), 77 lines of 6 of 0..21. v is 24, 23 or 22. Sorted.
std::vector<WheelLine> GolayOctads(int v);

// S(3,6,22): GolayOctads(22).
std::vector<WheelLine> SteinerTriplesOf22();

// The supports of the weight-6 words of the extended ternary Golay code: S(5,6,12), 132 lines
// of 6 of 0..11. Those through 11, it dropped: S(4,5,11), 66 lines of 5 of 0..10. v is 12 or
// 11. Sorted.
std::vector<WheelLine> TernaryGolayHexads(int v);

}  // namespace combogen
