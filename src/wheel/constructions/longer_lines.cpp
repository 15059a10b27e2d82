// Longer lines: a design with lines of k' < k (a base row's Steiner system), each line filled up
// with the numbers after its first, cyclically, serves lines of k. E.g. the projective plane of
// order 3, 13 lines of 4, covers the pairs of 13 numbers in 13 lines of 5. Two lines of a
// Steiner system S(t,k',v) share at most t - 1 numbers, so for k < 2k' - t + 1 no two filled
// lines are alike: the size is the design's.
#include <string>

#include "wheel/constructions/table.h"

namespace combogen::constructions {
namespace {

struct Source {
    const Row* row = nullptr;
    WheelGoal goal;
    int64_t size = 0;
};

std::optional<Source> Best(const WheelGoal& g) {
    std::optional<Source> best;
    Parts plain(nullptr);
    for (int shorter = g.k - 1; shorter > g.t && g.k < 2 * shorter - g.t + 1; --shorter) {
        const WheelGoal goal{g.v, shorter, g.t, g.t};
        for (const Row& row : Rows()) {
            if (!row.base) continue;
            const std::optional<int64_t> size = row.size(goal, plain);
            if (size && (!best || *size < best->size)) best = Source{&row, goal, *size};
        }
    }
    return best;
}

std::optional<int64_t> LongerSize(const WheelGoal& g, Parts&) {
    if (g.k >= g.v) return std::nullopt;
    const std::optional<Source> best = Best(g);
    if (!best) return std::nullopt;
    return best->size;
}

std::optional<Construction> LongerBuild(const WheelGoal& g, Parts&) {
    if (g.k >= g.v) return std::nullopt;
    const std::optional<Source> best = Best(g);
    if (!best) return std::nullopt;
    const std::shared_ptr<const Construction> design = BaseDesign(*best->row, best->goal);
    if (!design) return std::nullopt;
    std::optional<Construction> wheel = *design;
    for (WheelLine& line : wheel->lines) line = PadLine(line, g.k, g.v);
    wheel->how = wheel->how + ", its lines filled up to " + std::to_string(g.k);
    return wheel;
}

}  // namespace

const Row kLongerLinesRow{"longer lines", false, LongerSize, LongerBuild};

}  // namespace combogen::constructions
