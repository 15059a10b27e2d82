#include "wheel/bounds.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "combination/binomial.h"

namespace combogen {

namespace {

constexpr int64_t Saturated = std::numeric_limits<int64_t>::max();

int64_t Schoenheim(int v, int k, int t) {
    if (t == 0) return 1;
    const int64_t inner = Schoenheim(v - 1, k - 1, t - 1);
    if (inner > (Saturated - k) / v) return Saturated;
    return (v * inner + k - 1) / k;
}

double Choose(int n, int r) { return static_cast<double>(Binomial(n, r)); }

}  // namespace

WheelBound WheelLowerBound(const WheelGoal& goal) {
    const int v = goal.v, k = goal.k, t = goal.t, m = goal.m;
    if (t == m) {
        const int64_t schoenheim = Schoenheim(v, k, t);
        if (k >= v) return {schoenheim, BoundKind::Schoenheim};
        const double deCaen =
            (t + 1.0) * (v - t) / ((k + 1.0) * (v - k)) * Choose(v, t) / Choose(k, t) * (1 - 1e-9);
        if (deCaen < 9e18 && static_cast<int64_t>(std::ceil(deCaen)) > schoenheim)
            return {static_cast<int64_t>(std::ceil(deCaen)), BoundKind::DeCaen};
        return {schoenheim, BoundKind::Schoenheim};
    }
    // Each line meets in t or more numbers at most sum_j C(k,j) C(v-k,m-j) of the C(v,m) sets.
    double perLine = 0;
    for (int j = t; j <= std::min(k, m); ++j) perLine += Choose(k, j) * Choose(v - k, m - j);
    // Shaded down by far more than the doubles' error, so that the bound never overshoots.
    const double ratio = Choose(v, m) / perLine * (1 - 1e-9);
    const int64_t counting = ratio >= 9e18 ? Saturated : static_cast<int64_t>(std::ceil(ratio));
    const int64_t unionBound = (v - m + t + k - 1) / k;
    if (unionBound >= counting) return {unionBound, BoundKind::Union};
    return {std::max<int64_t>(counting, 1), BoundKind::Counting};
}

const char* BoundName(BoundKind kind) {
    switch (kind) {
        case BoundKind::Schoenheim: return "Schoenheim bound";
        case BoundKind::DeCaen: return "de Caen bound";
        case BoundKind::Counting: return "counting bound";
        case BoundKind::Union: return "union bound";
    }
    return "";
}

}  // namespace combogen
