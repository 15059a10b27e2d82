// Unions over groups, for "t if m" with t < m: the numbers cut into groups, group i wheeled
// "t if m_i" (t <= m_i <= k), with the sum of (m_i - 1) at most m - 1, so that m drawn numbers
// put m_i or more into some group i. A group of at most k numbers takes one line (it and the
// numbers after it); a group may also be left unwheeled, taking up as many drawn numbers as it
// has. The sizes and m_i are chosen by dynamic programming over the groups' costs.
#include <algorithm>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <tuple>

#include "wheel/constructions/table.h"

#include "combination/number_list.h"

namespace combogen::constructions {
namespace {

constexpr int64_t kNone = INT64_MAX / 4;

struct Option {
    int absorbs = 0;   // the drawn numbers the group can take without meeting its goal
    int64_t cost = 0;  // its lines
    int m = 0;         // its "t if m"; 0 unwheeled
};

struct Plan {
    int64_t size = kNone;
    std::vector<std::pair<int, Option>> groups;  // size and option, from number 0 on
};

// The ways to wheel a group of s numbers, for any m (a group's m_i is at most k).
std::vector<Option> OptionsFor(int k, int t, int s, Parts& parts) {
    std::vector<Option> options{{s, 0, 0}};
    if (s < t) return options;
    if (s <= k) {
        options.push_back({t - 1, 1, t});
        return options;
    }
    if (const auto cost = parts.Cost({s, k, t, t})) options.push_back({t - 1, *cost, t});
    // The table has no wheel for "t if m_i" of its own (its unions of the group are the unions
    // of the group's parts, already among the plans): a search may do better than a covering.
    if (parts.Searching())
        for (int mi = t + 1; mi <= std::min(k, s); ++mi) {
            const int64_t estimate = Estimate({s, k, t, mi});
            if (estimate <= KnownWheelMaxLines) options.push_back({mi - 1, estimate, mi});
        }
    return options;
}

// The groupings of n <= MaxNumber numbers for lines of k and "t if ...", for every n and every
// number of drawn numbers the groups may take together: shared by all v and m.
struct Groupings {
    static constexpr int kMaxN = MaxNumber;
    int width = 0;                             // the drawn numbers taken: 0..k-1
    std::vector<std::vector<Option>> options;  // by group size, 1..79
    std::vector<int64_t> best;                 // [n * width + a]: fewest lines, taking at most a
    std::vector<std::pair<int, int>> choice;   // the last group's size and option
    int64_t Best(int n, int a) const { return best[static_cast<size_t>(n * width + a)]; }
};

const Groupings& GroupingsFor(int k, int t, Parts& parts) {
    static std::mutex mutex;
    static std::map<std::tuple<int, int, bool>, std::shared_ptr<const Groupings>> cache;
    const auto key = std::make_tuple(k, t, parts.Searching());
    {
        std::lock_guard<std::mutex> lock(mutex);
        const auto it = cache.find(key);
        if (it != cache.end()) return *it->second;
    }
    auto gr = std::make_shared<Groupings>();
    gr->width = k;
    gr->options.resize(Groupings::kMaxN);
    for (int s = 1; s < Groupings::kMaxN; ++s)
        gr->options[static_cast<size_t>(s)] = OptionsFor(k, t, s, parts);
    const size_t cells = static_cast<size_t>((Groupings::kMaxN + 1) * k);
    gr->best.assign(cells, kNone);
    gr->choice.assign(cells, {0, -1});
    for (int a = 0; a < k; ++a) gr->best[static_cast<size_t>(a)] = 0;
    for (int n = 1; n <= Groupings::kMaxN; ++n)
        for (int a = 0; a < k; ++a) {
            const size_t at = static_cast<size_t>(n * k + a);
            for (int s = 1; s <= std::min(n, Groupings::kMaxN - 1); ++s) {
                const std::vector<Option>& opts = gr->options[static_cast<size_t>(s)];
                for (size_t o = 0; o < opts.size(); ++o) {
                    if (opts[o].absorbs > a) continue;
                    const int64_t total = gr->Best(n - s, a - opts[o].absorbs) + opts[o].cost;
                    if (total < gr->best[at]) {
                        gr->best[at] = total;
                        gr->choice[at] = {s, static_cast<int>(o)};
                    }
                }
            }
        }
    std::lock_guard<std::mutex> lock(mutex);
    return *cache.emplace(key, std::move(gr)).first->second;
}

Plan BestPlan(const WheelGoal& g, Parts& parts) {
    Plan plan;
    if (g.m <= g.t || g.k >= g.v) return plan;
    const Groupings& gr = GroupingsFor(g.k, g.t, parts);
    // The last group has at most v - 1 numbers, so that there are two groups or more.
    const int top = g.m - 1;
    int lastSize = 0, lastOption = -1;
    int64_t best = kNone;
    for (int s = 1; s < g.v; ++s) {
        const std::vector<Option>& opts = gr.options[static_cast<size_t>(s)];
        for (size_t o = 0; o < opts.size(); ++o) {
            if (opts[o].absorbs > top) continue;
            const int64_t total = gr.Best(g.v - s, top - opts[o].absorbs) + opts[o].cost;
            if (total < best) {
                best = total;
                lastSize = s;
                lastOption = static_cast<int>(o);
            }
        }
    }
    if (best > KnownWheelMaxLines) return plan;
    plan.size = best;
    const Option& last = gr.options[static_cast<size_t>(lastSize)][static_cast<size_t>(lastOption)];
    plan.groups.push_back({lastSize, last});
    for (int n = g.v - lastSize, a = top - last.absorbs; n > 0;) {
        const auto [s, o] = gr.choice[static_cast<size_t>(n * gr.width + a)];
        const Option& opt = gr.options[static_cast<size_t>(s)][static_cast<size_t>(o)];
        plan.groups.push_back({s, opt});
        n -= s;
        a -= opt.absorbs;
    }
    std::reverse(plan.groups.begin(), plan.groups.end());
    // Unwheeled groups side by side are one unwheeled group.
    std::vector<std::pair<int, Option>> merged;
    for (const auto& group : plan.groups) {
        if (group.second.m == 0 && !merged.empty() && merged.back().second.m == 0) {
            merged.back().first += group.first;
            merged.back().second.absorbs += group.first;
        } else {
            merged.push_back(group);
        }
    }
    plan.groups = std::move(merged);
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
    std::string partsText;
    int first = 0;
    for (const auto& [s, opt] : plan.groups) {
        c.how += (first ? ", " : " ") + std::to_string(s);
        std::string text;
        if (opt.m == 0) {
            text = std::to_string(s) + (s == 1 ? " number" : " numbers") + " unwheeled";
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
        partsText += (partsText.empty() ? "" : "; ") + text;
        first += s;
    }
    c.how += " numbers: " + partsText;
    return c;
}

}  // namespace

const Row kGroupUnionRow{"union over groups", false, UnionSize, UnionBuild};

}  // namespace combogen::constructions
