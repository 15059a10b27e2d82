// Inflation: the numbers cut into n groups of at most g, a covering of the n groups by sets of
// j groups (j g <= k) read as lines of the groups' numbers: t numbers lie in at most t groups,
// and those in some set of j. C(v,k,t) <= C(n,j,t), n = ceil(v/g). E.g. 14 numbers in 7 pairs,
// the Fano plane's lines read as lines of 6: the pairs of 14 in 7 lines.
#include <algorithm>
#include <string>

#include "wheel/constructions/table.h"

namespace combogen::constructions {
namespace {

struct Shape {
    int j = 0, g = 0, n = 0;
};

// Each line is padded from the groups outside it, all but one number of each, so that distinct
// sets of groups give distinct lines: the k - u numbers missing from a line of u numbers are
// at most the v - u - (n - j) there are.
bool Paddable(const WheelGoal& goal, const Shape& s) { return goal.k + s.n - s.j <= goal.v; }

std::optional<Shape> BestShape(const WheelGoal& goal, Parts& parts, int64_t* size) {
    std::optional<Shape> best;
    for (int j = goal.t; j < goal.k; ++j) {
        const int g = goal.k / j;
        if (g < 2) break;
        const Shape s{j, g, (goal.v + g - 1) / g};
        if (s.n <= j || !Paddable(goal, s)) continue;
        const std::optional<int64_t> cost = parts.Cost({s.n, j, goal.t, goal.t});
        if (cost && (!best || *cost < *size)) {
            best = s;
            *size = *cost;
        }
    }
    return best;
}

std::optional<int64_t> InflationSize(const WheelGoal& goal, Parts& parts) {
    int64_t size = 0;
    if (!BestShape(goal, parts, &size)) return std::nullopt;
    return size;
}

std::optional<Construction> InflationBuild(const WheelGoal& goal, Parts& parts) {
    int64_t size = 0;
    const std::optional<Shape> s = BestShape(goal, parts, &size);
    if (!s) return std::nullopt;
    const WheelGoal partGoal{s->n, s->j, goal.t, goal.t};
    const std::optional<Construction> part = parts.Build(partGoal);
    if (!part) return std::nullopt;
    // Group i: the numbers from first[i] to first[i + 1], the larger groups first.
    std::vector<int> first(static_cast<size_t>(s->n + 1), 0);
    for (int i = 0; i < s->n; ++i)
        first[static_cast<size_t>(i + 1)] =
            first[static_cast<size_t>(i)] + goal.v / s->n + (i < goal.v % s->n);
    Construction c{{},
                   "groups of " + std::to_string(s->g) + " numbers as the points of " +
                       PartText(partGoal, *part)};
    for (const WheelLine& block : part->lines) {
        WheelLine line;
        std::vector<bool> in(static_cast<size_t>(s->n), false);
        for (const uint8_t group : block) {
            in[group] = true;
            for (int x = first[group]; x < first[group + 1u]; ++x)
                line.push_back(static_cast<uint8_t>(x));
        }
        // All but one number of each outside group, the groups in cyclic order after the first.
        for (int d = 1; d < s->n && static_cast<int>(line.size()) < goal.k; ++d) {
            const int group = (block[0] + d) % s->n;
            if (in[static_cast<size_t>(group)]) continue;
            for (int x = first[static_cast<size_t>(group)];
                 x + 1 < first[static_cast<size_t>(group + 1)] &&
                 static_cast<int>(line.size()) < goal.k;
                 ++x)
                line.push_back(static_cast<uint8_t>(x));
        }
        c.lines.push_back(line);
    }
    return c;
}

}  // namespace

const Row kInflationRow{"inflation", false, InflationSize, InflationBuild};

}  // namespace combogen::constructions
