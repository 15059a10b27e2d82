// Restriction: a design on more numbers cut down to v. Numbers are dropped one at a time, each
// the one whose lines are most depleted already (so that whole lines go), lines left with
// fewer than t numbers dropped, the others padded to k with kept numbers. E.g. the projective
// plane of order 5 (31 numbers) less one number covers the pairs of 30 in 31 lines.
#include <algorithm>
#include <string>

#include "wheel/constructions/table.h"

namespace combogen::constructions {
namespace {

// The designs restricted from: on at most this many more numbers than the goal's.
int MostDropped(const WheelGoal& g) { return std::max(g.k + 1, g.v / 8); }

std::vector<WheelLine> Restrict(const WheelGoal& goal, int from, const std::vector<WheelLine>& lines) {
    const int t = goal.t, k = goal.k;
    std::vector<std::vector<int>> through(static_cast<size_t>(from));
    for (size_t i = 0; i < lines.size(); ++i)
        for (const uint8_t x : lines[i]) through[x].push_back(static_cast<int>(i));
    std::vector<int> kept(lines.size(), k);
    std::vector<bool> dropped(static_cast<size_t>(from), false);
    for (int step = 0; step < from - goal.v; ++step) {
        int best = -1;
        int64_t bestDying = -1, bestDepletion = -1;
        for (int p = 0; p < from; ++p) {
            if (dropped[static_cast<size_t>(p)]) continue;
            int64_t dying = 0, depletion = 0;
            for (const int i : through[static_cast<size_t>(p)]) {
                const int left = kept[static_cast<size_t>(i)];
                if (left < t) continue;
                if (left == t) ++dying;
                depletion += int64_t{k - left} * (k - left);
            }
            if (dying > bestDying || (dying == bestDying && depletion > bestDepletion)) {
                best = p;
                bestDying = dying;
                bestDepletion = depletion;
            }
        }
        dropped[static_cast<size_t>(best)] = true;
        for (const int i : through[static_cast<size_t>(best)]) --kept[static_cast<size_t>(i)];
    }
    std::vector<int> label(static_cast<size_t>(from), -1);
    for (int x = 0, next = 0; x < from; ++x)
        if (!dropped[static_cast<size_t>(x)]) label[static_cast<size_t>(x)] = next++;
    std::vector<WheelLine> out;
    for (size_t i = 0; i < lines.size(); ++i) {
        if (kept[i] < t) continue;
        WheelLine line;
        for (const uint8_t x : lines[i])
            if (label[x] >= 0) line.push_back(static_cast<uint8_t>(label[x]));
        out.push_back(PadLine(line, k, goal.v));
    }
    Normalize(out);
    return out;
}

struct Restricted {
    Construction wheel;
    int from = 0;
};

// The smallest restriction of a base row's design, built.
std::optional<Restricted> Best(const WheelGoal& goal) {
    if (goal.k >= goal.v) return std::nullopt;
    std::optional<Restricted> best;
    Parts plain(nullptr);
    for (int from = goal.v + 1; from <= std::min(80, goal.v + MostDropped(goal)); ++from) {
        const WheelGoal source{from, goal.k, goal.t, goal.t};
        for (const Row& row : Rows()) {
            if (!row.base || !row.size(source, plain)) continue;
            const std::optional<Construction> design = BaseDesign(row, source);
            if (!design) continue;
            std::vector<WheelLine> lines = Restrict(goal, from, design->lines);
            if (!best || lines.size() < best->wheel.lines.size())
                best = Restricted{{std::move(lines), design->how}, from};
        }
    }
    if (best)
        best->wheel.how = best->wheel.how + " on " + std::to_string(best->from) +
                          " numbers, restricted to " + std::to_string(goal.v);
    return best;
}

std::optional<int64_t> RestrictionSize(const WheelGoal& goal, Parts&) {
    const std::optional<Restricted> best = Best(goal);
    if (!best) return std::nullopt;
    return static_cast<int64_t>(best->wheel.lines.size());
}

std::optional<Construction> RestrictionBuild(const WheelGoal& goal, Parts&) {
    std::optional<Restricted> best = Best(goal);
    if (!best) return std::nullopt;
    return std::move(best->wheel);
}

}  // namespace

const Row kRestrictionRow{"restriction", false, RestrictionSize, RestrictionBuild};

}  // namespace combogen::constructions
