// Unions over groups, for "t if m" with t < m: the numbers cut into groups, group i wheeled
// "t if m_i" (t <= m_i <= k), with the sum of (m_i - 1) at most m - 1, so that m drawn numbers
// put m_i or more into some group i. A group of at most k numbers takes one line (it and the
// numbers after it); a group may also be left unwheeled, taking up as many drawn numbers as it
// has. The sizes and m_i are chosen by dynamic programming over the groups' costs.
#include <algorithm>
#include <string>

#include "wheel/constructions/table.h"

namespace combogen::constructions {
namespace {

constexpr int64_t kNone = INT64_MAX / 4;

struct Option {
    int absorbs = 0;     // the drawn numbers the group can take without meeting its goal
    int64_t cost = 0;    // its lines
    int m = 0;           // its "t if m"; 0 unwheeled
};

struct Plan {
    int64_t size = kNone;
    std::vector<std::pair<int, Option>> groups;  // size and option, from number 0 on
};

// The ways to wheel a group of s numbers.
std::vector<Option> OptionsFor(const WheelGoal& g, int s, Parts& parts) {
    std::vector<Option> options{{s, 0, 0}};
    if (s < g.t) return options;
    if (s <= g.k) {
        options.push_back({g.t - 1, 1, g.t});
        return options;
    }
    if (const auto cost = parts.Cost({s, g.k, g.t, g.t})) options.push_back({g.t - 1, *cost, g.t});
    // The table has no wheel for "t if m_i" of its own (its unions of the group are the unions
    // of the group's parts, already among the plans): a search may do better than a covering.
    if (parts.Searching())
        for (int mi = g.t + 1; mi <= std::min(g.k, s) && mi <= g.m; ++mi) {
            const int64_t estimate = Estimate({s, g.k, g.t, mi});
            if (estimate <= KnownWheelMaxLines) options.push_back({mi - 1, estimate, mi});
        }
    return options;
}

Plan BestPlan(const WheelGoal& g, Parts& parts) {
    Plan plan;
    if (g.m <= g.t || g.k >= g.v) return plan;
    const int top = g.m - 1;  // the drawn numbers all groups together may take
    std::vector<std::vector<Option>> options(static_cast<size_t>(g.v));
    for (int s = 1; s < g.v; ++s) options[static_cast<size_t>(s)] = OptionsFor(g, s, parts);
    // best[n][a]: the fewest lines over the first n numbers, the groups taking at most a.
    const size_t width = static_cast<size_t>(top + 1);
    std::vector<int64_t> best(static_cast<size_t>(g.v + 1) * width, kNone);
    std::vector<std::pair<int, int>> choice(best.size(), {0, -1});  // group size, option
    for (int a = 0; a <= top; ++a) best[static_cast<size_t>(a)] = 0;
    for (int n = 1; n <= g.v; ++n)
        for (int a = 0; a <= top; ++a) {
            const size_t at = static_cast<size_t>(n) * width + static_cast<size_t>(a);
            // n = v: the last group, at most v - 1 numbers, so that there are two groups or more.
            for (int s = 1; s <= std::min(n, g.v - 1); ++s) {
                const std::vector<Option>& opts = options[static_cast<size_t>(s)];
                for (size_t o = 0; o < opts.size(); ++o) {
                    if (opts[o].absorbs > a) continue;
                    const int64_t before =
                        best[static_cast<size_t>(n - s) * width + static_cast<size_t>(a - opts[o].absorbs)];
                    if (before + opts[o].cost < best[at]) {
                        best[at] = before + opts[o].cost;
                        choice[at] = {s, static_cast<int>(o)};
                    }
                }
            }
        }
    const size_t last = static_cast<size_t>(g.v) * width + static_cast<size_t>(top);
    if (best[last] > KnownWheelMaxLines) return plan;
    plan.size = best[last];
    for (int n = g.v, a = top; n > 0;) {
        const auto [s, o] = choice[static_cast<size_t>(n) * width + static_cast<size_t>(a)];
        const Option& opt = options[static_cast<size_t>(s)][static_cast<size_t>(o)];
        plan.groups.push_back({s, opt});
        n -= s;
        a -= opt.absorbs;
    }
    std::reverse(plan.groups.begin(), plan.groups.end());
    return plan;
}

std::optional<int64_t> UnionSize(const WheelGoal& g, Parts& parts) {
    const Plan plan = BestPlan(g, parts);
    if (plan.size == kNone) return std::nullopt;
    return plan.size;
}

std::optional<Construction> UnionBuild(const WheelGoal& g, Parts& parts) {
    const Plan plan = BestPlan(g, parts);
    if (plan.size == kNone) return std::nullopt;
    Construction c{{}, "groups of"};
    std::string parts_text;
    int first = 0;
    for (const auto& [s, opt] : plan.groups) {
        c.how += (first ? ", " : " ") + std::to_string(s);
        std::string text;
        if (opt.m == 0) {
            text = std::to_string(s) + " numbers unwheeled";
        } else if (s <= g.k) {
            WheelLine line;
            for (int x = first; x < first + s; ++x) line.push_back(static_cast<uint8_t>(x));
            c.lines.push_back(PadLine(line, g.k, g.v));
            text = std::to_string(s) + " numbers in one line";
        } else {
            const WheelGoal part{s, g.k, g.t, opt.m};
            const std::optional<Construction> wheel =
                opt.m > g.t ? parts.Search(part) : parts.Build(part);
            if (!wheel) return std::nullopt;
            for (WheelLine line : wheel->lines) {
                for (uint8_t& x : line) x = static_cast<uint8_t>(x + first);
                c.lines.push_back(line);
            }
            text = PartText(part, *wheel);
        }
        parts_text += (parts_text.empty() ? "" : "; ") + text;
        first += s;
    }
    c.how += " numbers: " + parts_text;
    return c;
}

}  // namespace

const Row kGroupUnionRow{"union over groups", false, UnionSize, UnionBuild};

}  // namespace combogen::constructions
