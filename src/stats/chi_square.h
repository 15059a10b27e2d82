// The chi-square test of a run's per-number counts against the spread a correct run has.
#pragma once

#include <array>
#include <cstdint>

#include "stats/expected_spread.h"

namespace combogen {

// Q(a, x) = Gamma(a, x) / Gamma(a), the regularized upper incomplete gamma function, for a > 0
// and x >= 0.
double RegularizedGammaQ(double a, double x);

// The probability that chi-square with degreesOfFreedom (at least 1) exceeds statistic.
double ChiSquarePValue(double statistic, int degreesOfFreedom);

using NumberCounts = std::array<uint64_t, MaxNumber + 1>;  // [v]: lines that held v

struct SpreadTest {
    double statistic = 0;
    int degreesOfFreedom = 0;  // 0: no number's count can vary, so there is nothing to test
    double pValue = 1;
    bool approximate = false;  // the covariances came from the inclusion probabilities alone
};

// The counts of one pool over `lines` lines against the spread. The lines are independent
// draws, so the counts have mean lines * p and covariance lines * C, where C is one line's
// covariance of the numbers' presence: C[v][v] = p_v (1 - p_v), C[v][w] = p_vw - p_v p_w.
// The counts are not independent cells (a line holds a fixed count of distinct numbers, so
// they sum to a constant), which is why the statistic is the Mahalanobis distance
// x' C^- x / lines, x = counts - lines * p, with C^- a generalized inverse: for many lines
// it follows chi-square with rank(C) degrees of freedom. Numbers in every line or in none
// have no variance and drop out. For k of n alike it is
// sum (O - E)^2 / (lines p (1 - p)) * (n - 1) / n with n - 1 degrees of freedom.
SpreadTest TestCounts(const NumberCounts& counts, uint64_t lines, const NumberSpread& spread);

}  // namespace combogen
