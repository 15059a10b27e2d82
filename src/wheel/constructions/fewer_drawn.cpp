// A wheel for "t if m-1" serves "t if m": m drawn numbers hold m - 1 of them. Keeps the table's
// sizes from growing with m where a row's own method does worse for the larger m.
#include <string>

#include "wheel/constructions/table.h"

namespace combogen::constructions {
namespace {

std::optional<int64_t> FewerDrawnSize(const WheelGoal& g, Parts& parts) {
    if (g.m <= g.t) return std::nullopt;
    return parts.TableSize({g.v, g.k, g.t, g.m - 1});
}

std::optional<Construction> FewerDrawnBuild(const WheelGoal& g, Parts& parts) {
    if (g.m <= g.t) return std::nullopt;
    const WheelGoal fewer{g.v, g.k, g.t, g.m - 1};
    std::optional<Construction> wheel = parts.BuildTable(fewer);
    if (!wheel) return std::nullopt;
    // The innermost "t if m'" names the method.
    if (wheel->how.rfind("the wheel for ", 0) != 0)
        wheel->how = "the wheel for " + std::to_string(g.t) + " if " + std::to_string(fewer.m) +
                     ": " + wheel->how;
    return wheel;
}

}  // namespace

const Row kFewerDrawnRow{"fewer drawn", false, FewerDrawnSize, FewerDrawnBuild};

}  // namespace combogen::constructions
