// The rows of the table of known wheels, and what a row may ask of the table for its parts.
// Internal to src/wheel/constructions.
#pragma once

#include <algorithm>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <tuple>
#include <vector>

#include "wheel/constructions/known_wheels.h"

namespace combogen::constructions {

// The table as a row sees it: sizes and wheels for parts, in one of two modes. Without a search
// a part's cost is the table's size for it; with one, a covering the table builds only above
// Estimate (or a part it has no wheel for) costs the estimate and is searched when built.
class Parts {
public:
    explicit Parts(const PartSearch* search) : search_(search) {}
    bool Searching() const { return search_ != nullptr; }
    // The table's size for goal in this mode (the best row, its parts costed in this mode).
    std::optional<int64_t> TableSize(const WheelGoal& goal);
    // What a part costs: the table's size, or searching, Estimate(goal) where that is smaller
    // and t = m, or the table has none.
    std::optional<int64_t> Cost(const WheelGoal& goal);
    // The part's wheel (lines in no particular order), as costed: the table's, else searched.
    std::optional<Construction> Build(const WheelGoal& goal);
    // The part searched (a row that costed it by Estimate though the table has a wheel for
    // it); the table's wheel without search where the search fails or does worse.
    std::optional<Construction> Search(const WheelGoal& goal);
    // The best row's wheel for goal in this mode, its lines in no particular order.
    std::optional<Construction> BuildTable(const WheelGoal& goal);

private:
    const PartSearch* search_;
    // What the search gave for each goal asked (a wheel may have several groups alike).
    std::map<std::tuple<int, int, int, int>, std::optional<std::vector<WheelLine>>> searched_;
};

// What a search is expected to reach for goal: a margin over the lower bound, wider where the
// bound counts m-sets (t < m) and is weak.
int64_t Estimate(const WheelGoal& goal);

// One family: which goals it serves and at what size, and its builder. size returns nothing
// where the row does not serve goal; build gives exactly that many lines (numbers 0..v-1, each
// line k distinct numbers, any order; the table sorts them).
struct Row {
    const char* name;
    // A design of its own, built from no parts: a source for restriction.
    bool base;
    std::optional<int64_t> (*size)(const WheelGoal& goal, Parts& parts);
    std::optional<Construction> (*build)(const WheelGoal& goal, Parts& parts);
};

std::span<const Row> Rows();

// The rows, one file each.
extern const Row kWholeLineRow, kOneIfMRow, kAllKSetsRow, kGolayRow, kProjectivePlaneRow,
    kAffinePlaneRow, kInversivePlaneRow, kTripleSystemRow, kBooleanQuadrupleRow,
    kDoubledQuadrupleRow, kInflationRow, kRestrictionRow, kExtensionRow, kGroupUnionRow,
    kFewerDrawnRow, kLongerLinesRow;

// A base row's wheel for goal (its size function serving it), built once and kept: restriction
// and filled-up lines ask for the same designs again and again.
// Nothing (null) where the row builds nothing.
std::shared_ptr<const Construction> BaseDesign(const Row& row, const WheelGoal& goal);

// Helpers.
// 1 <= t <= m <= k <= v <= 80.
bool ValidGoal(const WheelGoal& goal);
// a + b, or nothing when either is nothing or the sum exceeds KnownWheelMaxLines.
std::optional<int64_t> SumWithin(std::optional<int64_t> a, std::optional<int64_t> b);
// line (distinct numbers below v, at most k of them) filled up to k with the numbers following
// its first number cyclically (first + 1, first + 2, ... mod v) that it lacks; sorted.
WheelLine PadLine(WheelLine line, int k, int v);
// "v numbers, lines of k, t if m (n lines: how)", the how left out when long.
std::string PartText(const WheelGoal& goal, const Construction& part);
// Lines in lexicographic order (spelled out: GCC 12 warns falsely on vector's <=>).
inline bool LineLess(const WheelLine& a, const WheelLine& b) {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end());
}
// Each line sorted, the lines sorted and duplicates dropped.
void Normalize(std::vector<WheelLine>& lines);
// The prime p and exponent e with q = p^e, or nothing where q is not a prime power.
std::optional<std::pair<int, int>> PrimePower(int q);

}  // namespace combogen::constructions
