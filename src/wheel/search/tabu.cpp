// The second stage: a tabu search at a fixed size. Each move takes a random unmet m-set and, of
// every swap of one number that makes a line meet it, makes the one leaving the fewest sets
// unmet, even when that is more than before; a number just swapped out of a line stays out for
// a few moves. Each success drops the least useful line, until the wheel has at most the lines
// asked for or the budget is spent.
#include <algorithm>

#include "wheel/search/engine.h"

#include "combination/number_list.h"

namespace combogen::wheel_search {

namespace {

constexpr uint64_t kDirectRefineSteps = 14'000'000'000;
// "k-1 if k" weighs its swaps from tables (OneSwapDeltas) while counting the steps of the sets
// as they were weighed one by one, so that its walk and its wheels stay as they were; its steps
// take about 0.6 times as long, and it gets three times as many. 15 numbers "5 if 6" then takes
// some 30 s; from seed 1 its walk falls from 167 lines to 153 after 3.4e10.
constexpr uint64_t kOneSwapRefineSteps = 3 * kDirectRefineSteps;
constexpr uint64_t kRefineTimes = 25;
// Weighing one swap costs about as much as 40 of the sets it changes (some 100 ns), however few
// those are: counted so, the budget follows the time from case to case.
constexpr int64_t kCandidateSteps = 40;
// Up to this many numbers the second stage keeps the m-sets' counts by their bits (2^v of
// them), so that the sets a swap changes are found by adding masks, not by ranking.
constexpr int kMaskNumbers = 22;
// A number swapped out of a line stays out for 2 to 4 moves, drawn anew each time: a fixed
// tenure lets the search cycle. Measured from seeds 1 to 4, 15 numbers "5 if 6" ends at 155 to
// 167 lines with 2 to 4, at 168 to 170 with 3 to 6 or 2 to 7; 16 numbers "3 if 3" does better
// with the longer ones (65 or 66 against 67 or 68).
constexpr uint64_t kTenure = 2;
constexpr uint32_t kTenureSpan = 3;

}  // namespace

void Engine::Refine(int64_t budget, int64_t patience) {
    const int64_t start = steps_;
    const int64_t end = budget > INT64_MAX - steps_ ? INT64_MAX : steps_ + budget;
    int64_t improved = steps_;
    if (OneSwapForm())
        oneSwapSteps_ = static_cast<int64_t>(Choose(k_ - 1, t_ - 1) * Choose(v_ - k_ - 1, m_ - t_));
    if (v_ <= kMaskNumbers) {
        CountByMask();
    } else if (unmet_.Empty()) {
        unmet_.Reset(sets_);
    }
    IndexHolders();
    tabu_.assign(lines_.size() * v_, 0);
    while (steps_ < end) {
        if (uncovered_ == 0) {
            best_ = lines_;
            improved = steps_;
            if (static_cast<int64_t>(lines_.size()) <= std::max<int64_t>(floor_, 1)) return;
            const size_t slot = RemoveLine();
            // The line moved into the dropped one's place keeps its own tabu numbers.
            std::copy_n(tabu_.end() - v_, v_, tabu_.begin() + slot * v_);
            tabu_.resize(tabu_.size() - v_);
            continue;
        }
        if (best_.empty() && uncovered_ < leastUnmet_) {
            leastUnmet_ = uncovered_;
            partial_ = lines_;
            improved = steps_;
        }
        if (steps_ - improved > std::max(2 * (improved - start), patience)) return;
        Report();
        TabuMove();
    }
}

// Scaled as the first stage's budget by the effort asked for: a fixed number of steps where the
// counts are kept by mask (a step costs less there), else a multiple of the first's.
int64_t Engine::RefineBudget(int64_t firstBudget) const {
    const uint64_t direct = OneSwapForm() ? kOneSwapRefineSteps : kDirectRefineSteps;
    const WideCount scaled = v_ <= kMaskNumbers
                                 ? WideCount(firstBudget) * direct /
                                       static_cast<uint64_t>(DefaultWheelEffort(search_.goal))
                                 : WideCount(firstBudget) * kRefineTimes;
    return scaled > WideCount(INT64_MAX) ? INT64_MAX : static_cast<int64_t>(scaled);
}

// Whether the second stage weighs swaps as OneSwapDeltas does: m = k = t + 1, the counts kept
// by mask, and k small enough for NearLines' four bit planes.
bool Engine::OneSwapForm() const {
    return v_ <= kMaskNumbers && m_ == k_ && t_ == k_ - 1 && m_ <= 15;
}

// The change in the count of unmet m-sets if x in line were replaced by y.
int64_t Engine::SwapDelta(Mask line, int x, int y) {
    int64_t delta = 0;
    ForEachSwapped(line, x, y, [&](uint64_t lost, uint64_t gained) {
        delta += (count_[lost] == 1) - (count_[gained] == 0);
    });
    return delta;
}

void Engine::TabuMove() {
    ++iteration_;
    uint8_t s[MaxNumber];
    Mask drawn = 0;
    if (byMask_) {
        drawn = DrawUnmet();
        Elements(drawn, s);
    } else {
        Unrank(DrawUnmet(), s);
        for (int i = 0; i < m_; ++i) drawn |= Bit(s[i]);
    }
    if (NearLines(s, drawn) == 0) {
        // No line is one swap away: a random line one number nearer, whatever the cost.
        const uint32_t which = Below(lines_.size());
        const Mask line = lines_[which];
        int x = 0, y = 0;
        RandomSwapToward(line, drawn, x, y);
        const Mask next = line ^ Bit(x) ^ Bit(y);
        if (!present_.Contains(next) && Allowed(next)) Swap(which, x, y);
        return;
    }
    int64_t best = INT64_MAX;
    uint32_t ties = 0, bestLine = 0;
    int bestX = 0, bestY = 0;
    const bool oneSwap = OneSwapForm();
    if (oneSwap) {
        unmetNow_.clear();
        unmet_.ForEachListed([&](uint32_t i) {
            if (count_[i] == 0) unmetNow_.push_back(i);
        });
        nearSlot_.resize(lines_.size());
        uint16_t slots = 0;
        for (size_t w = 0; w < words_; ++w)
            for (uint64_t bits = near_[w]; bits != 0; bits &= bits - 1)
                nearSlot_[w * 64 + static_cast<size_t>(std::countr_zero(bits))] = slots++;
        nearGained_.assign(slots, {});
        OneSwapGains(static_cast<uint32_t>(drawn));
    }
    for (size_t w = 0; w < words_; ++w) {
        for (uint64_t bits = near_[w]; bits != 0; bits &= bits - 1) {
            const uint32_t which = static_cast<uint32_t>(w * 64 + std::countr_zero(bits));
            const Mask line = lines_[which];
            uint8_t outs[MaxNumber], ins[MaxNumber];
            const int nOut = Elements(line & ~drawn, outs);
            const int nIn = Elements(drawn & ~line, ins);
            int64_t oneSwapDelta[2][2];
            if (oneSwap) {
                OneSwapDeltas(static_cast<uint32_t>(line), outs, ins, nearGained_[nearSlot_[which]],
                              oneSwapDelta);
            } else if (byMask_) {
                // The sets each swap changes, by the number out and by the number in.
                uint8_t e[MaxNumber];
                for (int i = 0; i < nOut; ++i)
                    SubsetMasks(e, Elements(line & ~Bit(outs[i]), e), t_ - 1, outSubs_[i]);
                for (int j = 0; j < nIn; ++j)
                    SubsetMasks(e, Elements(~(line | Bit(ins[j])) & All(), e), m_ - t_, inSubs_[j]);
            }
            for (int i = 0; i < nOut; ++i) {
                for (int j = 0; j < nIn; ++j) {
                    const int x = outs[i], y = ins[j];
                    if (tabu_[which * v_ + y] > iteration_) continue;
                    const Mask next = line ^ Bit(x) ^ Bit(y);
                    if (present_.Contains(next) || !Allowed(next)) continue;
                    int64_t delta = 0;
                    if (oneSwap) {
                        delta = oneSwapDelta[i][j];
                        steps_ += oneSwapSteps_ + kCandidateSteps;
                    } else if (byMask_) {
                        const uint32_t bx = uint32_t{1} << x, by = uint32_t{1} << y;
                        for (const uint32_t a : outSubs_[i])
                            for (const uint32_t b : inSubs_[j])
                                delta += (count_[a | b | bx] == 1) - (count_[a | b | by] == 0);
                        steps_ += static_cast<int64_t>(outSubs_[i].size() * inSubs_[j].size()) +
                                  kCandidateSteps;
                    } else {
                        delta = SwapDelta(line, x, y);
                        steps_ += kCandidateSteps;
                    }
                    if (delta < best) {
                        best = delta, ties = 1, bestLine = which, bestX = x, bestY = y;
                    } else if (delta == best && Below(++ties) == 0) {
                        bestLine = which, bestX = x, bestY = y;
                    }
                }
            }
        }
    }
    if (best == INT64_MAX) return;
    Swap(bestLine, bestX, bestY);
    tabu_[bestLine * v_ + bestX] = iteration_ + kTenure + Below(kTenureSpan);
}

}  // namespace combogen::wheel_search
