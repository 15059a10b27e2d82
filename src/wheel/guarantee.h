// The exhaustive check of a wheel's guarantee: every m-set of the wheeled numbers against the
// lines, "t if m" met when each of them has at least t numbers in some line.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "wheel/goal.h"

namespace combogen {

// The most m-sets a check takes on: C(v, m) above this is refused before checking.
inline constexpr uint64_t MaxCheckedDraws = uint64_t{1} << 62;

// C(n, r), or nothing above MaxCheckedDraws.
std::optional<uint64_t> DrawCount(int n, int r);

struct GuaranteeCheck {
    bool met = false;
    uint64_t draws = 0;          // C(v, m)
    uint64_t metDraws = 0;       // the m-sets some line holds at least t of
    std::vector<uint8_t> unmet;  // the first unmet m-set in lexicographic order; empty when met
    bool stopped = false;        // mostSteps ran out: nothing above is the answer
    uint64_t steps = 0;          // taken, when mostSteps was given
};

// Whether lines (numbers 0..v-1, any order, any size) give "t if m" over 0..v-1. Requires
// 1 <= t <= m <= v <= 80 and DrawCount(v, m). With mostSteps above 0 the check stops after
// that many sets of the search (partial m-sets tried), which a file of few lines over many
// numbers can need by the trillion.
GuaranteeCheck CheckGuarantee(int v, int t, int m, std::span<const WheelLine> lines,
                              uint64_t mostSteps = 0);

// The steps a check of "t if m" over v numbers can take at most, whatever the lines: every
// partial m-set once. Nothing above MaxCheckedDraws.
std::optional<uint64_t> MostCheckSteps(int v, int m);

}  // namespace combogen
