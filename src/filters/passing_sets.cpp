#include "filters/passing_sets.h"

#include <algorithm>

namespace combogen {

uint64_t PassingSets::ReachableBytes(const LineRules& rules) {
    const CountLayout layout(rules);
    return ReachableCounts::Entries(layout) * ReachableCounts::CountBytes(layout.rules);
}

WideCount PassingSets::PassingTotal(const LineRules& rules) {
    WideCount total = 0;
    for (const WideCount part : ReachableCounts::Totals(CountLayout(rules))) total += part;
    return total;
}

PassingSets::PassingSets(const LineRules& rules, Table table) : layout_(rules) {
    const LineRules& arranged = layout_.rules;
    const bool some = arranged.form == FixedForm::Some;
    fd_ = some ? arranged.fixedMax + 1 : 1;
    ad_ = layout_.totals[0].extent;
    bd_ = layout_.totals[1].extent;
    rd_ = layout_.runInState ? std::max(layout_.runLimit, 0) + 1 : 1;
    // A count alone: the rank walks want no state but the count (the full table only).
    countOnly_ = !some && layout_.totalsKept == 0 && !layout_.runInState && layout_.checkStep < 0;
    classCount_ = some ? arranged.fixedMax - arranged.fixedMin + 1 : 1;
    classSize_.assign(classCount_, 0);
    classSpace_.assign(classCount_, 0);
    classWeightEnds_.assign(classCount_, 0);
    finals_.assign(classCount_, {});
    finalEnds_.assign(classCount_, {});
    if (table == Table::Reachable) {
        if (ReachableCounts::Entries(layout_) * ReachableCounts::CountBytes(arranged) >
            MaxReachableBytes) {
            tooLarge_ = true;
            return;
        }
        reachable_ = std::make_unique<ReachableCounts>(layout_);
        for (int cls = 0; cls < classCount_; ++cls) classSize_[cls] = reachable_->ClassSize(cls);
    } else {
        CountFull();
        if (tooLarge_) return;
    }
    Weigh();
}

void PassingSets::CountFull() {
    const LineRules& rules = layout_.rules;
    const int n = rules.poolSize;
    const int k = rules.pickCount;
    const bool some = rules.form == FixedForm::Some;
    const uint64_t layer = uint64_t(k + 1) * fd_ * ad_ * bd_ * rd_;
    if (layer * uint64_t(n + 1) > MaxTableEntries) {
        tooLarge_ = true;
        return;
    }
    layer_ = static_cast<std::size_t>(layer);
    table_.assign(layer_ * (n + 1), 0);
    for (int v = 1; v <= n; ++v) {
        takenStep_[v] = Index(layout_.Taken(v, CountState{}));
        leavable_[v] = layout_.CanLeave(v);
    }
    table_[Index(CountState{})] = 1;
    for (int step = 1; step <= n; ++step) {
        const int v = layout_.order[step];
        const WideCount* from = &table_[(step - 1) * layer_];
        WideCount* to = &table_[step * layer_];
        const bool canLeave = layout_.CanLeave(v);
        for (std::size_t index = 0; index < layer_; ++index) {
            const WideCount ways = from[index];
            if (ways == 0) continue;
            const CountState state = Decode(index);
            if (canLeave) to[Index(state.c, state.f, state.a, state.b, 0)] += ways;
            if (CanTake(v, state)) to[Index(layout_.Taken(v, state))] += ways;
        }
        if (step == layout_.checkStep) {
            for (std::size_t index = 0; index < layer_; ++index) {
                if (layout_.DiesAt(step, Decode(index).c)) to[index] = 0;
            }
        }
    }
    for (std::size_t index = 0; index < layer_; ++index) {
        const CountState state = Decode(index);
        const WideCount ways = At(n, index);
        if (ways == 0 || !layout_.Accepted(state)) continue;
        const int cls = some ? state.f - rules.fixedMin : 0;
        classSize_[cls] += ways;
        finals_[cls].push_back(index);
        finalEnds_[cls].push_back(classSize_[cls]);
    }
}

void PassingSets::Weigh() {
    const LineRules& rules = layout_.rules;
    const int n = rules.poolSize;
    const int k = rules.pickCount;
    const bool some = rules.form == FixedForm::Some;
    const int pool = n - rules.fixedCount;
    for (int cls = 0; cls < classCount_; ++cls) {
        const int e = rules.fixedMin + cls;
        classSpace_[cls] = rules.form == FixedForm::None ? Binomial(n, k)
                           : rules.form == FixedForm::All
                               ? Binomial(pool, k - rules.fixedCount)
                               : Binomial(rules.fixedCount, e) * Binomial(pool, k - e);
    }
    if (!some) {
        classWeightEnds_[0] = 1;
        weightTotal_ = 1;
        mostPass_ = 2 * classSize_[0] >= classSpace_[0];
        return;
    }
    // Each class's passing share as a fixed-point number whose largest is near 2^90: the
    // class draw is then exact to about 2^-90, far finer than the bounded draw itself.
    int topExponent = -200;
    for (int cls = 0; cls < classCount_; ++cls) {
        if (classSize_[cls] == 0) continue;
        topExponent = std::max(topExponent, BitWidth(classSize_[cls]) - BitWidth(classSpace_[cls]));
    }
    if (topExponent == -200) {
        mostPass_ = false;  // nothing passes
        return;
    }
    const int shift = 90 - topExponent;
    for (int cls = 0; cls < classCount_; ++cls) {
        weightTotal_ += ScaledRatio(classSize_[cls], classSpace_[cls], shift);
        classWeightEnds_[cls] = weightTotal_;
    }
    // Mean share >= 1/2, that is the sum of the shares >= classCount / 2.
    mostPass_ = shift < 120 && 2 * weightTotal_ >= (WideCount(classCount_) << shift);
}

CountState PassingSets::Decode(std::size_t index) const {
    CountState s;
    s.r = static_cast<int>(index % rd_);
    index /= rd_;
    s.b = static_cast<int>(index % bd_);
    index /= bd_;
    s.a = static_cast<int>(index % ad_);
    index /= ad_;
    s.f = static_cast<int>(index % fd_);
    s.c = static_cast<int>(index / fd_);
    return s;
}

bool PassingSets::CanTake(int v, const CountState& from) const {
    if (layout_.barred[v] || from.c >= layout_.rules.pickCount) return false;
    if (from.f + layout_.fixedStep[v] >= fd_) return false;
    // A total not kept weighs nothing and has extent 1.
    if (from.a + layout_.totals[0].weight[v] >= ad_) return false;
    if (from.b + layout_.totals[1].weight[v] >= bd_) return false;
    return !(layout_.runInState && from.r + 1 >= rd_);
}

WideCount PassingSets::Total() const {
    WideCount total = 0;
    for (const WideCount size : classSize_) total += size;
    return total;
}

int PassingSets::DrawClass(RandomGenerator& g) const {
    if (classCount_ == 1) return 0;
    // The first class whose running total of weights passes u.
    const WideCount u = WideBelow(g, weightTotal_);
    return static_cast<int>(std::upper_bound(classWeightEnds_.begin(), classWeightEnds_.end(), u) -
                            classWeightEnds_.begin());
}

}  // namespace combogen
