#include "wheel/search/engine.h"

#include <algorithm>

#include "combination/number_list.h"
#include "wheel/bounds.h"

namespace combogen::wheel_search {

namespace {

// The tabu search's least patience, in steps for each m-set: 3.6e8 steps (a fraction of a
// second) for 13 numbers "4 if 4", whose walks were seen to make their last gain by 2.2e8.
constexpr uint64_t kPatiencePerSet = 500'000;
// "k-1 if k" counts its steps as if each swap's sets were weighed one by one, and its walks
// break out of long plateaus late (15 numbers "5 if 6": from 165 to 157 lines after 1.05e10
// steps): four times the patience.
constexpr uint64_t kOneSwapPatience = 4;
// Beyond this many m-sets a walk has no tabu search: its steps, each a set ranked, cost many
// times what the budget assumes (45 numbers "4 if 6", 8 million sets: minutes, not seconds).
constexpr uint64_t kMostTabuSets = uint64_t{1} << 22;

}  // namespace

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
    const size_t most = search_.budget > 0 ? static_cast<size_t>(search_.budget) : SIZE_MAX;
    if (start.empty()) {
        Greedy(most);
    } else {
        for (const WheelLine& line : start) {
            Mask mask = 0;
            for (const uint8_t x : line) mask |= Bit(x);
            AddLine(mask);
        }
    }
    if (uncovered_ != 0) {
        if (search_.budget == 0 || lines_.empty()) return Result(lines_, false);
        // Within the budget: the tabu search at this size, keeping the lines that leave the
        // fewest sets unmet, and going on as below should they come to meet every one.
        partial_ = lines_;
        leastUnmet_ = uncovered_;
        if (sets_ <= kMostTabuSets) {
            ListUnmet();
            Refine(RefineBudget(budget_), Patience());
        }
        if (best_.empty()) {
            WheelFound found = Result(partial_, false);
            found.unmet = leastUnmet_;
            return found;
        }
        return Result(best_, true);
    }
    best_ = lines_;
    Anneal();
    // However many lines the caller accepts, the walk goes on towards the lower bound: it stops
    // there, when its budget is spent, or when it has not improved for twice the work its last
    // improvement took and its patience.
    if (static_cast<int64_t>(best_.size()) > std::max<int64_t>(floor_, 1) && sets_ <= kMostTabuSets)
        Refine(RefineBudget(budget_), Patience());
    return Result(best_, true);
}

// A third of the tabu budget the default effort gives, less for few m-sets, where a walk that
// stalls has long since found its best.
int64_t Engine::Patience() const {
    const int64_t base = DefaultWheelEffort(search_.goal);
    const WideCount bySets =
        WideCount(sets_) * kPatiencePerSet * (OneSwapForm() ? kOneSwapPatience : 1);
    return std::min<int64_t>(
        RefineBudget(std::min(budget_, base)) / 3,
        bySets > WideCount(INT64_MAX) ? INT64_MAX : static_cast<int64_t>(bySets));
}

void Engine::Report() {
    if (search_.progress && steps_ >= nextReport_) {
        nextReport_ = steps_ + (int64_t{1} << 22);
        const size_t size = best_.empty() ? lines_.size() : best_.size();
        // The most a walk takes: its first stage's budget and the tabu search's.
        const double most =
            static_cast<double>(budget_) + static_cast<double>(RefineBudget(budget_));
        search_.progress(static_cast<int64_t>(size), uncovered_ - hopelessCount_,
                         std::min(1.0, static_cast<double>(steps_) / most));
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
        uint8_t s[MaxNumber];
        const int n = Elements(line, s);
        found.lines.emplace_back(s, s + n);
    }
    return found;
}

}  // namespace combogen::wheel_search
