// Restriction: a design on more numbers cut down to v. Numbers are dropped one at a time, each
// the one whose lines are most depleted already (so that whole lines go), lines left with
// fewer than t numbers dropped, the others padded to k with kept numbers. E.g. the projective
// plane of order 5 (31 numbers) less one number covers the pairs of 30 in 31 lines.
#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>

#include "wheel/constructions/table.h"

#include "combination/number_list.h"

namespace combogen::constructions {
namespace {

// The designs restricted from: on at most this many more numbers than the goal's.
int MostDropped(const WheelGoal& g) { return std::max(g.k + 1, g.v / 8); }

// A line as bits: v is at most 80.
using Bits = std::pair<uint64_t, uint64_t>;
void Set(Bits& b, int x) { (x < 64 ? b.first : b.second) |= uint64_t{1} << (x % 64); }
bool Has(const Bits& b, int x) { return ((x < 64 ? b.first : b.second) >> (x % 64) & 1) != 0; }

// The design's lines on the kept numbers, relabelled 0..v-1 in order, padded as PadLine does;
// sorted, each once.
std::vector<Bits> Restrict(const WheelGoal& goal, int from, const std::vector<WheelLine>& lines) {
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
    std::vector<Bits> out;
    out.reserve(lines.size());
    for (size_t i = 0; i < lines.size(); ++i) {
        if (kept[i] < t) continue;
        Bits bits{0, 0};
        int first = goal.v;
        for (const uint8_t x : lines[i])
            if (label[x] >= 0) {
                Set(bits, label[x]);
                first = std::min(first, label[x]);
            }
        // The numbers after the first, cyclically, up to k.
        for (int d = 1, n = kept[i]; n < k; ++d) {
            const int x = (first + d) % goal.v;
            if (!Has(bits, x)) {
                Set(bits, x);
                ++n;
            }
        }
        out.push_back(bits);
    }
    std::sort(out.begin(), out.end());
    out.erase(std::unique(out.begin(), out.end()), out.end());
    return out;
}

struct Restricted {
    std::vector<Bits> lines;
    std::string how;
    int from = 0;
};

// The smallest restriction of a base row's design, built.
std::optional<Restricted> Best(const WheelGoal& goal) {
    if (goal.k >= goal.v) return std::nullopt;
    std::optional<Restricted> best;
    Parts plain(nullptr);
    for (int from = goal.v + 1; from <= std::min(MaxNumber, goal.v + MostDropped(goal)); ++from) {
        const WheelGoal source{from, goal.k, goal.t, goal.t};
        for (const Row& row : Rows()) {
            if (!row.base || !row.size(source, plain)) continue;
            const std::shared_ptr<const Construction> design = BaseDesign(row, source);
            if (!design) continue;
            std::vector<Bits> lines = Restrict(goal, from, design->lines);
            if (!best || lines.size() < best->lines.size())
                best = Restricted{std::move(lines), design->how, from};
        }
    }
    return best;
}

std::optional<int64_t> RestrictionSize(const WheelGoal& goal, Parts&) {
    const std::optional<Restricted> best = Best(goal);
    if (!best) return std::nullopt;
    return static_cast<int64_t>(best->lines.size());
}

std::optional<Construction> RestrictionBuild(const WheelGoal& goal, Parts&) {
    const std::optional<Restricted> best = Best(goal);
    if (!best) return std::nullopt;
    Construction c{{},
                   best->how + " on " + std::to_string(best->from) + " numbers, restricted to " +
                       std::to_string(goal.v)};
    for (const Bits& bits : best->lines) {
        WheelLine line;
        for (int x = 0; x < goal.v; ++x)
            if (Has(bits, x)) line.push_back(static_cast<uint8_t>(x));
        c.lines.push_back(line);
    }
    return c;
}

}  // namespace

const Row kRestrictionRow{"restriction", false, RestrictionSize, RestrictionBuild};

}  // namespace combogen::constructions
