// Ranks of the passing lines in the full table: Unrank walks the table back from n to 1, Rank
// inverts that walk.
#include <algorithm>
#include <bit>

#include "filters/passing_sets.h"

namespace combogen {

void PassingSets::Unrank(int cls, WideCount u, Number* out) const {
    if (reachable_) return reachable_->Unrank(cls, u, out);
    const LineRules& rules = layout_.rules;
    if (countOnly_) {
        // The walk below with the count as the whole state: one final state (all k taken), and
        // step v decides v. at: where row v - 1 of the table starts.
        int left = rules.pickCount;
        std::size_t at = static_cast<std::size_t>(rules.poolSize - 1) * layer_;
        for (int v = rules.poolSize; v >= 1 && left > 0; --v, at -= layer_) {
            if (layout_.CanLeave(v)) {
                const WideCount leftWays = table_[at + static_cast<std::size_t>(left)];
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
    std::size_t index = finals_[cls][j];
    CountState s = Decode(index);  // followed step by step from here, without dividing again
    int left = rules.pickCount;    // numbers still to find
    for (int step = rules.poolSize; step >= 1 && left > 0; --step) {
        const int v = layout_.order[step];
        if (layout_.runInState) {
            if (s.r == 0) {  // v left: the run before it may have had any length
                for (int r = 0; r < rd_; ++r) {
                    const std::size_t before = Index(s.c, s.f, s.a, s.b, r);
                    const WideCount ways = At(step - 1, before);
                    if (u < ways) {
                        index = before;
                        s.r = r;
                        break;
                    }
                    u -= ways;
                }
                continue;
            }
        } else {
            const WideCount leftWays = layout_.CanLeave(v) ? At(step - 1, index) : 0;
            if (u < leftWays) continue;
            u -= leftWays;
        }
        out[--left] = static_cast<Number>(v);
        s.c -= 1;
        s.f -= layout_.fixedStep[v];
        s.a -= layout_.totals[0].weight[v];
        s.b -= layout_.totals[1].weight[v];
        s.r -= layout_.runInState;
        index = Index(s);
    }
    // The numbers of weight 1 first leaves the others ahead of them.
    if (layout_.checkStep >= 0) std::sort(out, out + rules.pickCount);
}

void PassingSets::Rank(const Number* numbers, int& cls, WideCount& u) const {
    if (reachable_) return reachable_->Rank(numbers, cls, u);
    const LineRules& rules = layout_.rules;
    if (countOnly_ && rules.poolSize <= 64) {
        // As below for a count alone: the taken numbers in ascending order, each adding the ways
        // to have left it.
        uint64_t bits = 0;
        for (int i = 0; i < rules.pickCount; ++i) bits |= uint64_t{1} << (numbers[i] - 1);
        WideCount below = 0;
        for (int c = 1; bits != 0; ++c, bits &= bits - 1) {
            const int v = std::countr_zero(bits) + 1;
            if (layout_.CanLeave(v)) below += table_[(v - 1) * layer_ + c];
        }
        cls = 0;
        u = below;
        return;
    }
    bool chosen[MaxNumber + 1] = {};
    for (int i = 0; i < rules.pickCount; ++i) chosen[numbers[i]] = true;
    const bool some = rules.form == FixedForm::Some;
    if (!layout_.runInState) {
        // Without run lengths a left number keeps the state, so only the taken numbers add to
        // the rank: the ways to have left each of them, in the order the table decides them.
        CountState state;
        WideCount below = 0;
        for (int step = 1; step <= rules.poolSize; ++step) {
            const int v = layout_.order[step];
            if (!chosen[v]) continue;
            state = layout_.Taken(v, state);
            if (layout_.CanLeave(v)) {
                below += At(step - 1, Index(state.c, state.f, state.a, state.b, 0));
            }
        }
        cls = some ? state.f - rules.fixedMin : 0;
        const std::vector<std::size_t>& finals = finals_[cls];
        const std::size_t finalIndex = Index(state.c, state.f, state.a, state.b, 0);
        const std::size_t j =
            std::lower_bound(finals.begin(), finals.end(), finalIndex) - finals.begin();
        u = (j > 0 ? finalEnds_[cls][j - 1] : 0) + below;
        return;
    }
    const int n = rules.poolSize;
    std::array<CountState, MaxNumber + 1> states{};
    layout_.Walk(chosen, states.data());
    const CountState& last = states[n];
    cls = some ? last.f - rules.fixedMin : 0;
    const std::vector<std::size_t>& finals = finals_[cls];
    const std::size_t j =
        std::lower_bound(finals.begin(), finals.end(), Index(last)) - finals.begin();
    u = j > 0 ? finalEnds_[cls][j - 1] : 0;
    for (int step = n; step >= 1; --step) {
        const CountState& s = states[step];
        if (chosen[layout_.order[step]]) continue;
        for (int r = 0; r < states[step - 1].r; ++r)
            u += At(step - 1, Index(s.c, s.f, s.a, s.b, r));
    }
}

}  // namespace combogen
