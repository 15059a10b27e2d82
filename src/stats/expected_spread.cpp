#include "stats/expected_spread.h"

namespace combogen {

namespace {

constexpr int Stride = MaxNumber + 1;

}  // namespace

NumberSpread UniformSpread(int size, int pick) {
    return FixedRunSpread(size, pick, NumberList{}, 0, 0, 0);
}

NumberSpread FixedRunSpread(int size, int pick, const NumberList& fixed, int fixedCount,
                            int fixedMin, int fixedMax) {
    NumberSpread spread;
    spread.Size = size;
    spread.Pick = pick;
    spread.pairInclusion.assign(Stride * Stride, 0.0);

    // The moments of e (fixed numbers in a line) and of pick - e (pool numbers in a line) that
    // single and joint inclusion need; the draw takes uniform subsets of both parts.
    const int range = fixedMax - fixedMin + 1;
    double e1 = 0, e2 = 0, crossMoment = 0, rest1 = 0, rest2 = 0;
    for (int e = fixedMin; e <= fixedMax; ++e) {
        const double taken = e, left = pick - e;
        e1 += taken / range;
        e2 += taken * (taken - 1) / range;
        crossMoment += taken * left / range;
        rest1 += left / range;
        rest2 += left * (left - 1) / range;
    }
    const double f = fixedCount, p = size - fixedCount;

    std::array<bool, Stride> isFixed{};
    for (int i = 0; i < fixedCount; ++i) isFixed[fixed[i]] = true;
    for (int v = 1; v <= size; ++v) {
        spread.inclusion[v] = isFixed[v] ? e1 / f : rest1 / p;
    }
    for (int v = 1; v <= size; ++v) {
        for (int w = 1; w <= size; ++w) {
            if (v == w) continue;
            double both;
            if (isFixed[v] && isFixed[w]) {
                both = e2 / (f * (f - 1));
            } else if (!isFixed[v] && !isFixed[w]) {
                both = rest2 / (p * (p - 1));
            } else {
                both = crossMoment / (f * p);
            }
            spread.pairInclusion[v * Stride + w] = both;
        }
    }
    return spread;
}

}  // namespace combogen
