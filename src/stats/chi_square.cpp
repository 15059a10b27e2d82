#include "stats/chi_square.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>
#include <vector>

namespace combogen {

namespace {

constexpr double Epsilon = 1e-15;
constexpr int MaxIterations = 100000;

// x^a e^-x / Gamma(a), the factor both expansions share, in logarithms so that it neither
// overflows nor underflows early.
double GammaPrefactor(double a, double x) { return std::exp(a * std::log(x) - x - std::lgamma(a)); }

// P(a, x) by its power series; converges fast for x < a + 1.
double LowerBySeries(double a, double x) {
    double term = 1.0 / a;
    double sum = term;
    for (int n = 1; n < MaxIterations; ++n) {
        term *= x / (a + n);
        sum += term;
        if (std::fabs(term) < std::fabs(sum) * Epsilon) break;
    }
    return sum * GammaPrefactor(a, x);
}

// Q(a, x) by its continued fraction (modified Lentz); converges fast for x >= a + 1.
double UpperByContinuedFraction(double a, double x) {
    constexpr double Tiny = std::numeric_limits<double>::min() / Epsilon;
    double b = x + 1.0 - a;
    double c = 1.0 / Tiny;
    double d = 1.0 / b;
    double h = d;
    for (int i = 1; i < MaxIterations; ++i) {
        const double an = -i * (i - a);
        b += 2.0;
        d = an * d + b;
        if (std::fabs(d) < Tiny) d = Tiny;
        c = b + an / c;
        if (std::fabs(c) < Tiny) c = Tiny;
        d = 1.0 / d;
        const double step = d * c;
        h *= step;
        if (std::fabs(step - 1.0) < Epsilon) break;
    }
    return h * GammaPrefactor(a, x);
}

constexpr double NeverVaries = 1e-12;   // a probability this close to 0 or 1 is taken as exact
constexpr double RankTolerance = 1e-8;  // relative to the largest variance

// x' A^- x for a symmetric positive semi-definite m x m matrix A (row-major, destroyed), and
// A's rank. A is factored as L D L' with diagonal pivoting, stopping when no pivot is left
// above the tolerance; the pivoted leading block is then invertible, and for x in A's column
// space (as counts of a correct run are, exactly) x' A^- x does not depend on which
// generalized inverse is taken.
std::pair<double, int> QuadraticFormAndRank(std::vector<double>& a, std::vector<double> x, int m) {
    auto at = [&](int i, int j) -> double& { return a[static_cast<std::size_t>(i) * m + j]; };
    double largest = 0;
    for (int i = 0; i < m; ++i) largest = std::max(largest, at(i, i));
    const double tolerance = largest * RankTolerance;

    std::vector<double> pivots;
    int rank = 0;
    for (; rank < m; ++rank) {
        int best = rank;
        for (int i = rank + 1; i < m; ++i) {
            if (at(i, i) > at(best, best)) best = i;
        }
        if (at(best, best) <= tolerance) break;
        if (best != rank) {
            for (int i = 0; i < m; ++i) std::swap(at(rank, i), at(best, i));
            for (int i = 0; i < m; ++i) std::swap(at(i, rank), at(i, best));
            std::swap(x[rank], x[best]);
        }
        const double pivot = at(rank, rank);
        pivots.push_back(pivot);
        for (int i = rank + 1; i < m; ++i) {
            const double factor = at(i, rank) / pivot;
            for (int j = rank + 1; j < m; ++j) at(i, j) -= factor * at(rank, j);
            at(i, rank) = factor;
        }
    }
    // x1' (L D L')^-1 x1 = y' D^-1 y with L y = x1.
    double form = 0;
    for (int i = 0; i < rank; ++i) {
        double y = x[i];
        for (int j = 0; j < i; ++j) y -= at(i, j) * x[j];
        x[i] = y;
        form += y * y / pivots[i];
    }
    return {form, rank};
}

}  // namespace

double RegularizedGammaQ(double a, double x) {
    if (x <= 0) return 1.0;
    if (x < a + 1.0) return std::clamp(1.0 - LowerBySeries(a, x), 0.0, 1.0);
    return std::clamp(UpperByContinuedFraction(a, x), 0.0, 1.0);
}

double ChiSquarePValue(double statistic, int degreesOfFreedom) {
    return RegularizedGammaQ(degreesOfFreedom / 2.0, statistic / 2.0);
}

SpreadTest TestCounts(const NumberCounts& counts, uint64_t lines, const NumberSpread& spread) {
    SpreadTest test;
    test.approximate = !spread.PairsKnown();
    std::vector<int> free;
    for (int v = 1; v <= spread.Size; ++v) {
        const double p = spread.Inclusion(v);
        if (p > NeverVaries && p < 1.0 - NeverVaries) free.push_back(v);
    }
    const int m = static_cast<int>(free.size());
    if (m < 2 || lines == 0 || !spread.Known()) return test;

    std::vector<double> p(m), deviation(m);
    const double l = static_cast<double>(lines);
    for (int i = 0; i < m; ++i) {
        p[i] = spread.Inclusion(free[i]);
        deviation[i] = static_cast<double>(counts[free[i]]) - l * p[i];
    }

    std::vector<double> covariance(static_cast<std::size_t>(m) * m);
    if (spread.PairsKnown()) {
        for (int i = 0; i < m; ++i) {
            for (int j = 0; j < m; ++j) {
                covariance[static_cast<std::size_t>(i) * m + j] =
                    i == j ? p[i] * (1 - p[i])
                           : spread.PairInclusion(free[i], free[j]) - p[i] * p[j];
            }
        }
    } else {
        // Without joint probabilities: the covariance of a fixed-size draw with maximum
        // entropy (Hajek's approximation), c (diag(d) - d d' / D) with d_v = p_v (1 - p_v) and
        // D = sum d, its rows summing to zero as a constant line size demands. c is set so that
        // the variances add up to sum d, as the exact ones do; for equal p it is n / (n - 1)
        // and the result is exact.
        double sum = 0, sumOfSquares = 0;
        std::vector<double> d(m);
        for (int i = 0; i < m; ++i) {
            d[i] = p[i] * (1 - p[i]);
            sum += d[i];
            sumOfSquares += d[i] * d[i];
        }
        const double c = sum * sum / (sum * sum - sumOfSquares);
        for (int i = 0; i < m; ++i) {
            for (int j = 0; j < m; ++j) {
                covariance[static_cast<std::size_t>(i) * m + j] =
                    c * ((i == j ? d[i] : 0.0) - d[i] * d[j] / sum);
            }
        }
    }
    // Every line holds the same count of free numbers, so the deviations sum to zero and C has
    // the null vector (1, ..., 1). Leaving the last number out removes that direction exactly,
    // where a rank found by tolerance could mistake rounding in C for one more dimension; the
    // form is unchanged by it.
    const int kept = m - 1;
    std::vector<double> reduced(static_cast<std::size_t>(kept) * kept);
    for (int i = 0; i < kept; ++i) {
        for (int j = 0; j < kept; ++j) {
            reduced[static_cast<std::size_t>(i) * kept + j] =
                covariance[static_cast<std::size_t>(i) * m + j];
        }
    }
    deviation.pop_back();
    const auto [form, rank] = QuadraticFormAndRank(reduced, std::move(deviation), kept);
    if (rank == 0) return test;
    test.statistic = form / l;
    test.degreesOfFreedom = rank;
    test.pValue = ChiSquarePValue(test.statistic, rank);
    return test;
}

}  // namespace combogen
