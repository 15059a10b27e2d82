// The whole wheel search: known designs where they serve, wheels built from groups or parts
// where the m-sets are too many to count, else a walk of the search engine.
#include "wheel/search.h"

#include <algorithm>

#include "wheel/bounds.h"
#include "wheel/golay_designs.h"
#include "wheel/search/engine.h"
#include "wheel/search/portfolio.h"
#include "wheel/search/sets.h"

namespace combogen {

using wheel_search::Bit;
using wheel_search::Choose;
using wheel_search::Elements;
using wheel_search::Engine;
using wheel_search::Mask;
using wheel_search::PopCount;

namespace {

// The most m-sets whose coverage counts are kept: two bytes each, 128 MiB.
constexpr uint64_t kMaxSets = uint64_t{1} << 26;
// Beyond this many m-sets, a wheel that splits into groups is built from the groups' wheels.
constexpr uint64_t kSplitSets = uint64_t{1} << 22;

// The Steiner system S(5,6,12): the supports of the weight-6 words of the extended ternary Golay
// code, 132 lines that meet every 5-set exactly once. Its lines through the last number, that
// number dropped, are S(4,5,11), 66 lines. Both meet the lower bound, so no search beats them.
std::vector<Mask> SteinerFromGolay(int v) {
    static const int kRows[6][6] = {{0, 1, 1, 1, 1, 1}, {1, 0, 1, 2, 2, 1}, {1, 1, 0, 1, 2, 2},
                                    {1, 2, 1, 0, 1, 2}, {1, 2, 2, 1, 0, 1}, {1, 1, 2, 2, 1, 0}};
    std::vector<Mask> lines;
    for (int code = 0; code < 729; ++code) {
        int c[6];
        for (int i = 0, rest = code; i < 6; ++i, rest /= 3) c[i] = rest % 3;
        Mask support = 0;
        for (int j = 0; j < 12; ++j) {
            int sum = 0;
            for (int i = 0; i < 6; ++i) sum += c[i] * (j < 6 ? (i == j) : kRows[i][j - 6]);
            if (sum % 3 != 0) support |= Bit(j);
        }
        if (PopCount(support) != 6) continue;
        if (v == 11) {
            if (!(support & Bit(11))) continue;
            support &= ~Bit(11);
        }
        lines.push_back(support);
    }
    std::sort(lines.begin(), lines.end());
    lines.erase(std::unique(lines.begin(), lines.end()), lines.end());
    return lines;
}

// Searches `part` over the numbers of `search` from `first` on, with its filters and progress;
// the lines, in its numbers, are added to `found`.
void FindPartWheel(const WheelSearch& search, WheelSearch part, int first,
                   RandomGenerator& generator, WheelFound& found) {
    part.progress = search.progress;
    if (search.allowed)
        part.allowed = [&search, first](std::span<const uint8_t> line) {
            uint8_t s[80];
            for (size_t j = 0; j < line.size(); ++j) s[j] = static_cast<uint8_t>(line[j] + first);
            return search.allowed(std::span<const uint8_t>(s, line.size()));
        };
    const WheelFound wheel = FindWheel(part, generator);
    found.covers = found.covers && wheel.covers;
    found.steps += wheel.steps;
    for (const WheelLine& line : wheel.lines) {
        WheelLine shifted = line;
        for (uint8_t& x : shifted) x = static_cast<uint8_t>(x + first);
        found.lines.push_back(shifted);
    }
}

// The v numbers cut into groups of near-equal size, each wheeled on its own for "t if t" with
// an even share of the effort: of m drawn numbers, with (t-1) * groups < m, some group holds t.
WheelFound SplitWheel(const WheelSearch& search, int groups, RandomGenerator& generator) {
    const WheelGoal& goal = search.goal;
    const int64_t effort = search.effort > 0 ? search.effort : DefaultWheelEffort(goal);
    WheelFound found;
    found.covers = true;
    int first = 0;
    for (int i = 0; i < groups; ++i) {
        const int size = goal.v / groups + (i < goal.v % groups);
        WheelSearch part;
        part.goal = {size, goal.k, goal.t, goal.t};
        part.effort = std::max<int64_t>(effort / groups, 1);
        part.threads = search.threads;
        FindPartWheel(search, part, first, generator, found);
        first += size;
    }
    // Groups in ascending order, each sorted: the whole is sorted too.
    return found;
}

// "3 if m" (m of 5 or 6) on lines of 6, in two parts: S(3,6,22) on the first 22 numbers, and
// "3 if m-2" searched on the rest. Of m drawn numbers, three or more among the 22 lie in one
// line of S(3,6,22); else m-2 or more are among the rest. S(3,6,22) has the fewest lines that
// hold every three of 22, so only the rest is searched. Empty where it does not apply or the
// filters refuse a line of S(3,6,22).
WheelFound SteinerAndRest(const WheelSearch& search, RandomGenerator& generator) {
    const WheelGoal& goal = search.goal;
    constexpr int kFirst = 22;
    if (goal.k != 6 || goal.t != 3 || goal.m < 5 || goal.v - kFirst < goal.k) return {};
    WheelFound found;
    found.covers = true;
    found.lines = SteinerTriplesOf22();
    if (search.allowed)
        for (const WheelLine& line : found.lines)
            if (!search.allowed(line)) return {};
    WheelSearch rest;
    rest.goal = {goal.v - kFirst, goal.k, goal.t, goal.m - 2};
    rest.effort = search.effort;
    rest.threads = search.threads;
    // Every line of the first part starts below 22, every line of the rest above: still sorted.
    FindPartWheel(search, rest, kFirst, generator, found);
    return found;
}

// The better of two outcomes (wheel_search::Better); a, the earlier, where they tie. The steps
// of both.
WheelFound Smaller(WheelFound a, WheelFound b) {
    const int64_t steps = a.steps + b.steps;
    WheelFound& kept = wheel_search::Better(b, a) ? b : a;
    kept.steps = steps;
    return std::move(kept);
}

// A known design for the goal whose every line is allowed, or nothing.
WheelFound KnownWheel(const WheelSearch& search) {
    const WheelGoal& goal = search.goal;
    WheelFound found;
    if (goal.t == goal.m && ((goal.v == 12 && goal.k == 6 && goal.t == 5) ||
                             (goal.v == 11 && goal.k == 5 && goal.t == 4))) {
        for (const Mask line : SteinerFromGolay(goal.v)) {
            uint8_t s[80];
            const int n = Elements(line, s);
            found.lines.emplace_back(s, s + n);
        }
        found.method = goal.v == 12 ? "Steiner system S(5,6,12)" : "Steiner system S(4,5,11)";
    }
    if (found.lines.empty()) return {};
    for (const WheelLine& line : found.lines)
        if (search.allowed && !search.allowed(line)) return {};
    std::sort(found.lines.begin(), found.lines.end(), [](const WheelLine& a, const WheelLine& b) {
        return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end());
    });
    found.covers = true;
    return found;
}

}  // namespace

int64_t DefaultWheelEffort(const WheelGoal& goal) {
    // A step is one m-set counted or 64 lines scanned, a few nanoseconds: about a second of
    // search for ten numbers, a few for sixty. The search stops sooner once it stalls.
    return std::clamp<int64_t>(int64_t{goal.v} * 2'500'000, 30'000'000, 150'000'000);
}

WheelFound FindWheel(const WheelSearch& search, RandomGenerator& generator) {
    const WheelGoal& goal = search.goal;
    if (goal.v < 1 || goal.v > 80 || goal.t < 1 || goal.t > goal.m || goal.m > goal.k ||
        goal.k > goal.v)
        return {};
    WheelFound known = KnownWheel(search);
    const auto floor = static_cast<size_t>(std::max<int64_t>(WheelLowerBound(goal).lines, 1));
    if (known.covers && known.lines.size() <= floor) return known;
    // Many m-sets, and m drawn numbers put t in one of several groups: a covering of each group's
    // t-sets is far cheaper to search than the m-sets, and about as small.
    const int groups = goal.t >= 2 ? (goal.m - 1) / (goal.t - 1) : 1;
    if (Choose(goal.v, goal.m) > kSplitSets && groups >= 2 && goal.v / groups >= goal.k) {
        WheelFound found = SplitWheel(search, groups, generator);
        found.method = "groups";
        WheelFound other = SteinerAndRest(search, generator);
        other.method = "Steiner system S(3,6,22) and a search of the rest";
        return Smaller(Smaller(std::move(known), std::move(found)), std::move(other));
    }
    // Too many m-sets to count: a wheel that meets every t-set meets every m-set in t numbers.
    int m = goal.m;
    if (Choose(goal.v, m) > kMaxSets) m = goal.t;
    if (Choose(goal.v, m) > kMaxSets) return known;
    // A known design starts the first walk where the walk counts the goal's own m-sets.
    const bool startable =
        known.covers && m == goal.m &&
        (search.budget == 0 || static_cast<int64_t>(known.lines.size()) <= search.budget);
    const std::span<const WheelLine> start =
        startable ? std::span<const WheelLine>(known.lines) : std::span<const WheelLine>();
    WheelFound searched = wheel_search::RunPortfolio(search, m, start, generator);
    searched.method = "search";
    return Smaller(std::move(known), std::move(searched));
}

}  // namespace combogen
