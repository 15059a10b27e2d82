// What a correct run's lines look like number by number: the basis of the expected counts, the
// chi-square test and the share of pairs that can occur.
#pragma once

#include <array>
#include <vector>

#include "combination/number_list.h"

namespace combogen {

// One pool of numbers 1..Size as a run draws from it, each line holding Pick of them.
struct NumberSpread {
    int Size = 0;  // 0: the pool is not used (a run without bonus numbers)
    int Pick = 0;
    // [v]: the probability that v is in a line; index 0 is unused.
    std::array<double, MaxNumber + 1> inclusion{};
    // [v * (MaxNumber + 1) + w]: the probability that v and w (v != w) are both in a line. Empty
    // when unknown; the test then approximates the counts' covariances from inclusion alone.
    std::vector<double> pairInclusion;
    // Why inclusion is unknown (all zero), for the report.
    const char* unknownWhy = "they are not known for this run";

    double Inclusion(int v) const { return inclusion[v]; }
    // False when no probability was given (all zero): there is nothing to compare counts with.
    bool Known() const {
        for (int v = 1; v <= Size; ++v) {
            if (inclusion[v] > 0) return true;
        }
        return false;
    }
    bool PairsKnown() const { return !pairInclusion.empty(); }
    double PairInclusion(int v, int w) const { return pairInclusion[v * (MaxNumber + 1) + w]; }
};

struct ExpectedSpread {
    NumberSpread main;
    NumberSpread bonus;
};

// Pick of 1..size, every subset alike: the bonus pool, and the main pool of a run without fixed
// numbers or filters.
NumberSpread UniformSpread(int size, int pick);

// The main pool of a run with fixed numbers: each line holds e of the fixedCount fixed
// numbers, e uniform in fixedMin..fixedMax (both fixedCount for a line that holds all of
// them), and pick - e of the other numbers of 1..size; each part a uniform subset. Requires
// 0 <= fixedMin <= fixedMax <= fixedCount, fixedMax <= pick and pick - fixedMin <= size -
// fixedCount.
NumberSpread FixedRunSpread(int size, int pick, const NumberList& fixed, int fixedCount,
                            int fixedMin, int fixedMax);

}  // namespace combogen
