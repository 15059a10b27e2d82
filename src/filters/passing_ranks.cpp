// Ranks of the passing lines in the full table: Unrank walks the table back from n to 1, Rank
// inverts that walk.
#include <algorithm>
#include <bit>

#include "filters/passing_sets.h"

namespace combogen {

void PassingSets::Unrank(int cls, WideCount u, Number* out) const {
    if (reachable_) return reachable_->Unrank(cls, u, out);
    UnrankFull(cls, u, out);
}

void PassingSets::Rank(const Number* numbers, int& cls, WideCount& u) const {
    if (reachable_) return reachable_->Rank(numbers, cls, u);
    RankFull(numbers, cls, u);
}

void PassingSets::UnrankFull(int cls, WideCount u, Number* out) const {
    const int n = layout_.rules.poolSize;
    const int k = layout_.rules.pickCount;
    const std::size_t layer = layer_;
    if (countOnly_) {
        // The walk below with the count as the whole state: one final state (all k taken), and
        // step v decides v. at: where row v - 1 of the table starts.
        int left = k;
        const WideCount* at = table_.data() + static_cast<std::size_t>(n - 1) * layer;
        for (int v = n; v >= 1 && left > 0; --v, at -= layer) {
            if (leavable_[v]) {
                const WideCount leftWays = at[left];
                if (u < leftWays) continue;
                u -= leftWays;
            }
            out[--left] = static_cast<Number>(v);
        }
        return;
    }
    const std::vector<WideCount>& ends = finalEnds_[cls];
    const std::size_t j = std::upper_bound(ends.begin(), ends.end(), u) - ends.begin();
    if (j > 0) u -= ends[j - 1];
    // The state is followed as its index alone, and the run apart (its part of the index).
    std::size_t index = finals_[cls][j];
    const bool runs = layout_.runInState;
    std::size_t r = runs ? index % static_cast<std::size_t>(rd_) : 0;
    const int* order = layout_.order.data();
    const WideCount* before = table_.data() + static_cast<std::size_t>(n - 1) * layer;
    int left = k;  // numbers still to find
    for (int step = n; step >= 1 && left > 0; --step, before -= layer) {
        const int v = order[step];
        if (runs) {
            if (r == 0) {
                // v left: the run before it may have had any length, and those states lie side
                // by side from this index (u is below the sum of their counts).
                const WideCount* ways = before + index;
                while (u >= ways[r]) u -= ways[r++];
                index += r;
                continue;
            }
            r -= 1;
        } else {
            const WideCount leftWays = leavable_[v] ? before[index] : 0;
            if (u < leftWays) continue;
            u -= leftWays;
        }
        out[--left] = static_cast<Number>(v);
        index -= takenStep_[v];
    }
    // The numbers of weight 1 first leaves the others ahead of them.
    if (layout_.checkStep >= 0) std::sort(out, out + k);
}

void PassingSets::RankFull(const Number* numbers, int& cls, WideCount& u) const {
    const LineRules& rules = layout_.rules;
    const int n = rules.poolSize;
    const int k = rules.pickCount;
    const std::size_t layer = layer_;
    if (countOnly_ && n <= 64) {
        // As below for a count alone: the taken numbers in ascending order, each adding the ways
        // to have left it.
        uint64_t bits = 0;
        for (int i = 0; i < k; ++i) bits |= uint64_t{1} << (numbers[i] - 1);
        WideCount below = 0;
        for (int c = 1; bits != 0; ++c, bits &= bits - 1) {
            const int v = std::countr_zero(bits) + 1;
            if (leavable_[v]) below += table_[(v - 1) * layer + c];
        }
        cls = 0;
        u = below;
        return;
    }
    bool chosen[MaxNumber + 1] = {};
    for (int i = 0; i < k; ++i) chosen[numbers[i]] = true;
    const int* order = layout_.order.data();
    // The states are followed as their indices; the count of fixed numbers gives the class.
    std::size_t index = 0;
    int fixedTaken = 0;
    WideCount below = 0;
    if (!layout_.runInState) {
        // Without run lengths a left number keeps the state, so only the taken numbers add to
        // the rank: the ways to have left each of them, in the order the table decides them.
        for (int step = 1; step <= n; ++step) {
            const int v = order[step];
            if (!chosen[v]) continue;
            index += takenStep_[v];
            fixedTaken += layout_.fixedStep[v];
            if (leavable_[v]) below += table_[(step - 1) * layer + index];
        }
    } else {
        // Each number left adds the ways to have come to it with a shorter run than the line's:
        // those states lie side by side from the index of the state after it.
        std::array<std::size_t, MaxNumber + 1> after{}, run{};
        std::size_t r = 0;
        for (int step = 1; step <= n; ++step) {
            const int v = order[step];
            run[step - 1] = r;
            if (chosen[v]) {
                index += takenStep_[v];
                fixedTaken += layout_.fixedStep[v];
                r += 1;
            } else {
                index -= r;
                r = 0;
            }
            after[step] = index;
        }
        for (int step = n; step >= 1; --step) {
            if (chosen[order[step]]) continue;
            const WideCount* ways = &table_[(step - 1) * layer + after[step]];
            for (std::size_t shorter = 0; shorter < run[step - 1]; ++shorter)
                below += ways[shorter];
        }
    }
    cls = rules.form == FixedForm::Some ? fixedTaken - rules.fixedMin : 0;
    const std::vector<std::size_t>& finals = finals_[cls];
    const std::size_t j = std::lower_bound(finals.begin(), finals.end(), index) - finals.begin();
    u = (j > 0 ? finalEnds_[cls][j - 1] : 0) + below;
}

}  // namespace combogen
