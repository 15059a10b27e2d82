// The whole wheel search: the table of known designs first (its parts searched where that
// helps), then walks of the search engine from it, or groups searched under the filters where
// the m-sets are too many to count.
#include "wheel/search.h"

#include <algorithm>
#include <optional>

#include "combination/number_list.h"
#include "wheel/bounds.h"
#include "wheel/constructions/known_wheels.h"
#include "wheel/search/portfolio.h"
#include "wheel/search/sets.h"

namespace combogen {

using wheel_search::Choose;

namespace {

// The most m-sets whose coverage counts are kept: two bytes each, 128 MiB.
constexpr uint64_t kMaxSets = uint64_t{1} << 26;
// Beyond this many m-sets, a wheel that splits into groups is built from the groups' wheels.
constexpr uint64_t kSplitSets = uint64_t{1} << 22;
// The most m-sets of a part of a known design that is searched.
constexpr uint64_t kMostPartSets = uint64_t{1} << 17;

// Searches `part` over the numbers of `search` from `first` on, with its filters and progress;
// the lines, in its numbers, are added to `found`.
void FindPartWheel(const WheelSearch& search, WheelSearch part, int first,
                   RandomGenerator& generator, WheelFound& found) {
    part.progress = search.progress;
    if (search.allowed)
        part.allowed = [&search, first](std::span<const uint8_t> line) {
            uint8_t s[MaxNumber];
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

// The better of two outcomes (wheel_search::Better); a, the earlier, where they tie. The steps
// of both.
WheelFound Smaller(WheelFound a, WheelFound b) {
    const int64_t steps = a.steps + b.steps;
    WheelFound& kept = wheel_search::Better(b, a) ? b : a;
    kept.steps = steps;
    return std::move(kept);
}

// The wheel search for a part of a known design: asked only where the goal has too many m-sets
// to search as a whole (a goal the walks can count is better searched whole than in parts), and
// only for a part of at most kMostPartSets, which takes seconds (27 numbers "3 if 4": 17,550
// sets); a larger part, as 53 numbers "2 if 5" (2.9 million), would take minutes.
std::optional<std::vector<WheelLine>> SearchPart(const WheelSearch& search, const WheelGoal& part,
                                                 RandomGenerator& generator) {
    if (Choose(search.goal.v, search.goal.m) <= kSplitSets ||
        Choose(part.v, part.m) > kMostPartSets)
        return std::nullopt;
    WheelSearch sub;
    sub.goal = part;
    sub.effort = search.effort;
    sub.threads = search.threads;
    sub.progress = search.progress;
    WheelFound found = wheel_search::RunPortfolio(sub, part.m, {}, generator);
    if (!found.covers) return std::nullopt;
    return std::move(found.lines);
}

// The table's wheel for the goal, its parts searched where that helps; with filters, the
// table's own, only when every line passes. Nothing where the table has none.
WheelFound KnownWheel(const WheelSearch& search, RandomGenerator& generator) {
    std::optional<Construction> known;
    if (search.allowed) {
        known = BuildKnownWheel(search.goal);
        if (known)
            for (const WheelLine& line : known->lines)
                if (!search.allowed(line)) return {};
    } else {
        const PartSearch parts = [&](const WheelGoal& part) {
            return SearchPart(search, part, generator);
        };
        known = BuildKnownWheel(search.goal, parts);
    }
    if (!known) return {};
    WheelFound found;
    found.covers = true;
    found.lines = std::move(known->lines);
    found.method = std::move(known->how);
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
    if (goal.v < 1 || goal.v > MaxNumber || goal.t < 1 || goal.t > goal.m || goal.m > goal.k ||
        goal.k > goal.v)
        return {};
    WheelFound known = KnownWheel(search, generator);
    const auto floor = static_cast<size_t>(std::max<int64_t>(WheelLowerBound(goal).lines, 1));
    if (known.covers && known.lines.size() <= floor) return known;
    // Many m-sets, and m drawn numbers put t in one of several groups: the table's unions over
    // groups serve; with filters, or where the table has nothing, each group is searched
    // "t if t" under the filters.
    const int groups = goal.t >= 2 ? (goal.m - 1) / (goal.t - 1) : 1;
    if (Choose(goal.v, goal.m) > kSplitSets && groups >= 2 && goal.v / groups >= goal.k) {
        if (known.covers && !search.allowed) return known;
        WheelFound split = SplitWheel(search, groups, generator);
        split.method = "groups, each searched";
        return Smaller(std::move(known), std::move(split));
    }
    // Too many m-sets to count: a wheel that meets every t-set meets every m-set in t numbers.
    int m = goal.m;
    if (Choose(goal.v, m) > kMaxSets) m = goal.t;
    if (Choose(goal.v, m) > kMaxSets) return known;
    // A known design near the lower bound starts the first walk, where the walk counts the
    // goal's own m-sets and the design is within the budget; one further off would only hold
    // the walk near its structure, and a greedy start does better.
    const bool startable =
        known.covers && m == goal.m && known.lines.size() * 20 <= floor * 21 &&
        (search.budget == 0 || static_cast<int64_t>(known.lines.size()) <= search.budget);
    const std::span<const WheelLine> start =
        startable ? std::span<const WheelLine>(known.lines) : std::span<const WheelLine>();
    WheelFound searched = wheel_search::RunPortfolio(search, m, start, generator);
    searched.method = "search";
    // Past the budget, the walks' lines within it beat the known design.
    if (search.budget > 0 && static_cast<int64_t>(known.lines.size()) > search.budget)
        return searched;
    return Smaller(std::move(known), std::move(searched));
}

}  // namespace combogen
