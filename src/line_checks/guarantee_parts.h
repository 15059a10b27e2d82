// The guarantee check of lines that fall apart into groups sharing no number: a draw is unmet
// when each group's share of it is, so the unmet draws are counted group by group (the m-sets
// of each group's numbers, checked as a wheel of their own) and combined by their sizes,
// without visiting the draws one by one. Numbers in no line are a group with no line.
#pragma once

#include <cstdint>
#include <span>

#include "wheel/guarantee.h"

namespace combogen {

// As CheckGuarantee, for lines over 0..v-1; the example unmet draw is one such draw, not
// always the first. stopped when a group's check runs out of mostSteps, or when the lines
// form one group (nothing to gain over the whole check).
GuaranteeCheck CheckGuaranteeByParts(int v, int t, int m, std::span<const WheelLine> lines,
                                     uint64_t mostSteps);

}  // namespace combogen
