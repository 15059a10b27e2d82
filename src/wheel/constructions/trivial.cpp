// The trivial wheels: one line of every number, "1 if m", and every k-set.
#include <algorithm>
#include <limits>

#include "combination/binomial.h"
#include "wheel/constructions/table.h"

namespace combogen::constructions {
namespace {

std::optional<int64_t> WholeLineSize(const WheelGoal& g, Parts&) {
    return g.k == g.v ? std::optional<int64_t>(1) : std::nullopt;
}

std::optional<Construction> WholeLineBuild(const WheelGoal& g, Parts&) {
    WheelLine line;
    for (int x = 0; x < g.v; ++x) line.push_back(static_cast<uint8_t>(x));
    return Construction{{line}, "one line of every number"};
}

// Of m drawn numbers one is among any v - m + 1 numbers: those in disjoint lines.
std::optional<int64_t> OneIfMSize(const WheelGoal& g, Parts&) {
    if (g.t != 1) return std::nullopt;
    return (g.v - g.m + 1 + g.k - 1) / g.k;
}

std::optional<Construction> OneIfMBuild(const WheelGoal& g, Parts&) {
    const int used = g.v - g.m + 1;
    Construction c{{}, "disjoint lines over all but m - 1 numbers"};
    for (int first = 0; first < used; first += g.k) {
        WheelLine line;
        for (int x = first; x < std::min(first + g.k, used); ++x)
            line.push_back(static_cast<uint8_t>(x));
        c.lines.push_back(PadLine(line, g.k, g.v));
    }
    return c;
}

// t = k (so m = k): every k-set must be a line.
std::optional<int64_t> AllKSetsSize(const WheelGoal& g, Parts&) {
    if (g.t != g.k) return std::nullopt;
    const auto count = static_cast<int64_t>(
        std::min<WideCount>(Binomial(g.v, g.k), std::numeric_limits<int64_t>::max()));
    return count <= KnownWheelMaxLines ? std::optional<int64_t>(count) : std::nullopt;
}

std::optional<Construction> AllKSetsBuild(const WheelGoal& g, Parts&) {
    Construction c{{}, "every set of k numbers"};
    std::vector<int> idx(static_cast<size_t>(g.k));
    for (int i = 0; i < g.k; ++i) idx[static_cast<size_t>(i)] = i;
    while (true) {
        c.lines.emplace_back(idx.begin(), idx.end());
        int i = g.k - 1;
        while (i >= 0 && idx[static_cast<size_t>(i)] == g.v - g.k + i) --i;
        if (i < 0) break;
        ++idx[static_cast<size_t>(i)];
        for (int j = i + 1; j < g.k; ++j)
            idx[static_cast<size_t>(j)] = idx[static_cast<size_t>(j - 1)] + 1;
    }
    return c;
}

}  // namespace

const Row kWholeLineRow{"whole line", false, WholeLineSize, WholeLineBuild};
const Row kOneIfMRow{"1 if m", false, OneIfMSize, OneIfMBuild};
const Row kAllKSetsRow{"all k-sets", false, AllKSetsSize, AllKSetsBuild};

}  // namespace combogen::constructions
