// One-point extension: a wheel on v - 1 numbers, and one with lines of k - 1 for "t-1 if m-1"
// on them with the last number added to each line. Of m drawn numbers, those without the last
// number are met by the first; with it, the other m - 1 put t - 1 in a line of the second,
// which holds the last number too. C(v,k,t) <= C(v-1,k,t) + C(v-1,k-1,t-1).
#include "wheel/constructions/table.h"

namespace combogen::constructions {
namespace {

// The two parts, where the row serves goal.
std::optional<std::pair<WheelGoal, WheelGoal>> PartsOf(const WheelGoal& g) {
    if (g.t < 2 || g.k >= g.v) return std::nullopt;
    return std::make_pair(WheelGoal{g.v - 1, g.k, g.t, g.m},
                          WheelGoal{g.v - 1, g.k - 1, g.t - 1, g.m - 1});
}

std::optional<int64_t> ExtensionSize(const WheelGoal& g, Parts& parts) {
    const auto p = PartsOf(g);
    if (!p) return std::nullopt;
    return SumWithin(parts.Cost(p->first), parts.Cost(p->second));
}

std::optional<Construction> ExtensionBuild(const WheelGoal& g, Parts& parts) {
    const auto p = PartsOf(g);
    if (!p) return std::nullopt;
    std::optional<Construction> without = parts.Build(p->first);
    std::optional<Construction> with = parts.Build(p->second);
    if (!without || !with) return std::nullopt;
    Construction c{{},
                   "one-point extension of " + PartText(p->first, *without) + " and " +
                       PartText(p->second, *with)};
    c.lines = std::move(without->lines);
    c.lines.reserve(c.lines.size() + with->lines.size());
    for (WheelLine& line : with->lines) {
        line.push_back(static_cast<uint8_t>(g.v - 1));
        c.lines.push_back(std::move(line));
    }
    return c;
}

}  // namespace

const Row kExtensionRow{"one-point extension", false, ExtensionSize, ExtensionBuild};

}  // namespace combogen::constructions
