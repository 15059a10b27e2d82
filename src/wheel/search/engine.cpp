#include "wheel/search/engine.h"

#include <algorithm>

#include "wheel/bounds.h"

namespace combogen::wheel_search {

Engine::Engine(const WheelSearch& search, RandomGenerator& g, int m)
    : search_(search), g_(g), v_(search.goal.v), k_(search.goal.k), t_(search.goal.t), m_(m) {
    budget_ = search.effort > 0 ? search.effort : DefaultWheelEffort(search.goal);
    floor_ = WheelLowerBound(search.goal).lines;
    sets_ = Choose(v_, m_);
    count_.assign(sets_, 0);
    uncovered_ = static_cast<int64_t>(sets_);
    hopeless_.assign((sets_ + 63) / 64, 0);
}

WheelFound Engine::Run(std::span<const WheelLine> start) {
    if (start.empty()) {
        Greedy();
    } else {
        for (const WheelLine& line : start) {
            Mask mask = 0;
            for (const uint8_t x : line) mask |= Bit(x);
            AddLine(mask);
        }
    }
    const bool covers = uncovered_ == 0;
    if (!covers) return Result(lines_, false);
    best_ = lines_;
    Anneal();
    // However many lines the caller accepts, the walk goes on towards the lower bound: it stops
    // there, when its budget is spent, or when it has not improved for a third of the budget
    // the default effort gives (and twice the work its last improvement took).
    if (static_cast<int64_t>(best_.size()) > std::max<int64_t>(floor_, 1)) {
        const int64_t base = DefaultWheelEffort(search_.goal);
        Refine(RefineBudget(budget_), RefineBudget(std::min(budget_, base)) / 3);
    }
    return Result(best_, true);
}

void Engine::Report() {
    if (search_.progress && steps_ >= nextReport_) {
        nextReport_ = steps_ + (int64_t{1} << 22);
        const size_t size = best_.empty() ? lines_.size() : best_.size();
        search_.progress(static_cast<int64_t>(size), uncovered_ - hopelessCount_);
    }
}

WheelFound Engine::Result(const std::vector<Mask>& lines, bool covers) const {
    WheelFound found;
    found.covers = covers;
    found.steps = steps_;
    // In the order of the lines' numbers: the first differing number decides.
    std::vector<Mask> sorted = lines;
    std::sort(sorted.begin(), sorted.end(), [](Mask a, Mask b) {
        const Mask d = a ^ b;
        return (a & d & (~d + 1)) != 0;
    });
    for (const Mask line : sorted) {
        uint8_t s[80];
        const int n = Elements(line, s);
        found.lines.emplace_back(s, s + n);
    }
    return found;
}

}  // namespace combogen::wheel_search
