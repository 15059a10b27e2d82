#include "filters/passing_sets.h"

#include <algorithm>
#include <bit>

namespace combogen {

void PassingSets::Arrange() {
    const LineRules& rules = rules_;
    LineFilters& filters = rules_.filters;
    const int n = rules.poolSize;
    const int k = rules.pickCount;
    for (int i = 0; i < rules.fixedCount; ++i) isFixed_[rules.fixed[i]] = true;
    const bool some = rules.form == FixedForm::Some;
    fd_ = some ? rules.fixedMax + 1 : 1;
    const int lowestSum = k * (k + 1) / 2;
    const int highestSum = k * (2 * n - k + 1) / 2;
    if (filters.sum && filters.sum->min <= lowestSum && filters.sum->max >= highestSum) {
        filters.sum.reset();
    }
    if (filters.odd && filters.odd->min <= 0 && filters.odd->max >= k) filters.odd.reset();
    if (filters.maxRun && *filters.maxRun >= k) filters.maxRun.reset();
    sumInState_ = filters.sum.has_value();
    runInState_ = filters.maxRun.has_value();
    oddInState_ = filters.odd && runInState_;
    if (sumInState_) sd_ = std::clamp(filters.sum->max, 0, highestSum) + 1;
    if (oddInState_) od_ = std::clamp(filters.odd->max, 0, k) + 1;
    if (runInState_) rd_ = std::max(*filters.maxRun, 0) + 1;
    int step = 0;
    if (filters.odd && !runInState_) {
        for (int v = 1; v <= n; v += 2) order_[++step] = v;
        oddCheckStep_ = step;
        for (int v = 2; v <= n; v += 2) order_[++step] = v;
    } else {
        for (int v = 1; v <= n; ++v) order_[++step] = v;
    }
    // A count alone: the rank walks want no state but the count (the full table only).
    countOnly_ = !some && !sumInState_ && !runInState_ && !oddInState_ && oddCheckStep_ < 0;
}

namespace {

ReachableCounts::Layout LayoutOf(bool sum, bool odd, bool run,
                                 const std::array<int, MaxNumber + 1>& order, int oddCheckStep) {
    ReachableCounts::Layout layout;
    layout.sumInState = sum;
    layout.oddInState = odd;
    layout.runInState = run;
    layout.order = order;
    layout.oddCheckStep = oddCheckStep;
    return layout;
}

}  // namespace

uint64_t PassingSets::ReachableBytes(const LineRules& rules) {
    const PassingSets arranged(rules, ArrangeOnly{});
    const ReachableCounts::Layout layout =
        LayoutOf(arranged.sumInState_, arranged.oddInState_, arranged.runInState_, arranged.order_,
                 arranged.oddCheckStep_);
    return ReachableCounts::Entries(arranged.rules_, layout) *
           ReachableCounts::CountBytes(arranged.rules_);
}

WideCount PassingSets::PassingTotal(const LineRules& rules) {
    const PassingSets arranged(rules, ArrangeOnly{});
    const ReachableCounts::Layout layout =
        LayoutOf(arranged.sumInState_, arranged.oddInState_, arranged.runInState_, arranged.order_,
                 arranged.oddCheckStep_);
    WideCount total = 0;
    for (const WideCount part : ReachableCounts::Totals(arranged.rules_, layout)) total += part;
    return total;
}

PassingSets::PassingSets(const LineRules& rules, ArrangeOnly) : rules_(rules) { Arrange(); }

PassingSets::PassingSets(const LineRules& rules, Table table) : rules_(rules) {
    Arrange();
    const bool some = rules.form == FixedForm::Some;
    classCount_ = some ? rules.fixedMax - rules.fixedMin + 1 : 1;
    classSize_.assign(classCount_, 0);
    classSpace_.assign(classCount_, 0);
    classWeightEnds_.assign(classCount_, 0);
    finals_.assign(classCount_, {});
    finalEnds_.assign(classCount_, {});
    if (table == Table::Reachable) {
        const ReachableCounts::Layout layout =
            LayoutOf(sumInState_, oddInState_, runInState_, order_, oddCheckStep_);
        if (ReachableCounts::Entries(rules_, layout) * ReachableCounts::CountBytes(rules_) >
            MaxReachableBytes) {
            tooLarge_ = true;
            return;
        }
        reachable_ = std::make_unique<ReachableCounts>(rules_, layout);
        for (int cls = 0; cls < classCount_; ++cls) classSize_[cls] = reachable_->ClassSize(cls);
    } else {
        CountFull();
        if (tooLarge_) return;
    }
    Weigh();
}

void PassingSets::CountFull() {
    const LineRules& rules = rules_;
    const int n = rules.poolSize;
    const int k = rules.pickCount;
    const bool some = rules.form == FixedForm::Some;
    int step = 0;
    const uint64_t layer = uint64_t(k + 1) * fd_ * sd_ * od_ * rd_;
    if (layer * uint64_t(n + 1) > MaxTableEntries) {
        tooLarge_ = true;
        return;
    }
    layer_ = static_cast<std::size_t>(layer);
    table_.assign(layer_ * (n + 1), 0);
    table_[Index(0, 0, 0, 0, 0)] = 1;
    for (step = 1; step <= n; ++step) {
        const int v = order_[step];
        const WideCount* from = &table_[(step - 1) * layer_];
        WideCount* to = &table_[step * layer_];
        const bool canLeave = CanLeave(v);
        for (std::size_t index = 0; index < layer_; ++index) {
            const WideCount ways = from[index];
            if (ways == 0) continue;
            const State state = Decode(index);
            if (canLeave) to[Index(state.c, state.f, state.s, state.o, 0)] += ways;
            if (CanTake(v, state)) {
                const State t = Taken(v, state);
                to[Index(t.c, t.f, t.s, t.o, t.r)] += ways;
            }
        }
        if (step == oddCheckStep_) {
            for (std::size_t index = 0; index < layer_; ++index) {
                if (DiesAt(step, Decode(index))) to[index] = 0;
            }
        }
    }
    for (std::size_t index = 0; index < layer_; ++index) {
        const State state = Decode(index);
        const WideCount ways = At(n, index);
        if (ways == 0 || !Accepted(state)) continue;
        const int cls = some ? state.f - rules.fixedMin : 0;
        classSize_[cls] += ways;
        finals_[cls].push_back(index);
        finalEnds_[cls].push_back(classSize_[cls]);
    }
}

void PassingSets::Weigh() {
    const LineRules& rules = rules_;
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

PassingSets::State PassingSets::Decode(std::size_t index) const {
    State s{};
    s.r = static_cast<int>(index % rd_);
    index /= rd_;
    s.o = static_cast<int>(index % od_);
    index /= od_;
    s.s = static_cast<int>(index % sd_);
    index /= sd_;
    s.f = static_cast<int>(index % fd_);
    s.c = static_cast<int>(index / fd_);
    return s;
}

bool PassingSets::CanLeave(int v) const { return !(rules_.form == FixedForm::All && isFixed_[v]); }

bool PassingSets::CanTake(int v, const State& from) const {
    if (rules_.filters.excluded[v] || from.c >= rules_.pickCount) return false;
    if (rules_.form == FixedForm::Some && isFixed_[v] && from.f + 1 >= fd_) return false;
    if (sumInState_ && from.s + v >= sd_) return false;
    if (oddInState_ && from.o + (v & 1) >= od_) return false;
    return !(runInState_ && from.r + 1 >= rd_);
}

PassingSets::State PassingSets::Taken(int v, const State& from) const {
    State t = from;
    t.c += 1;
    if (rules_.form == FixedForm::Some && isFixed_[v]) t.f += 1;
    if (sumInState_) t.s += v;
    if (oddInState_) t.o += v & 1;
    if (runInState_) t.r += 1;
    return t;
}

bool PassingSets::DiesAt(int step, const State& s) const {
    return step == oddCheckStep_ &&
           (s.c < rules_.filters.odd->min || s.c > rules_.filters.odd->max);
}

bool PassingSets::Accepted(const State& s) const {
    const LineFilters& filters = rules_.filters;
    return s.c == rules_.pickCount && (!sumInState_ || s.s >= filters.sum->min) &&
           (!oddInState_ || s.o >= filters.odd->min) &&
           (rules_.form != FixedForm::Some || s.f >= rules_.fixedMin);
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

void PassingSets::Unrank(int cls, WideCount u, Number* out) const {
    if (reachable_) return reachable_->Unrank(cls, u, out);
    if (countOnly_) {
        // The walk below with the count as the whole state: one final state (all k taken), and
        // step v decides v. at: where row v - 1 of the table starts.
        const bool allFixed = rules_.form == FixedForm::All;
        int left = rules_.pickCount;
        std::size_t at = static_cast<std::size_t>(rules_.poolSize - 1) * layer_;
        for (int v = rules_.poolSize; v >= 1 && left > 0; --v, at -= layer_) {
            if (!allFixed || !isFixed_[v]) {
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
    State s = Decode(index);      // followed step by step from here, without dividing again
    int left = rules_.pickCount;  // numbers still to find
    for (int step = rules_.poolSize; step >= 1 && left > 0; --step) {
        const int v = order_[step];
        if (runInState_) {
            if (s.r == 0) {  // v left: the run before it may have had any length
                for (int r = 0; r < rd_; ++r) {
                    const std::size_t before = Index(s.c, s.f, s.s, s.o, r);
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
            const WideCount leftWays = CanLeave(v) ? At(step - 1, index) : 0;
            if (u < leftWays) continue;
            u -= leftWays;
        }
        out[--left] = static_cast<Number>(v);
        s.c -= 1;
        if (rules_.form == FixedForm::Some && isFixed_[v]) s.f -= 1;
        if (sumInState_) s.s -= v;
        if (oddInState_) s.o -= v & 1;
        if (runInState_) s.r -= 1;
        index = Index(s.c, s.f, s.s, s.o, s.r);
    }
    // Odd numbers first leaves the evens ahead of the odds.
    if (oddCheckStep_ >= 0) std::sort(out, out + rules_.pickCount);
}

void PassingSets::Rank(const Number* numbers, int& cls, WideCount& u) const {
    if (reachable_) return reachable_->Rank(numbers, cls, u);
    if (countOnly_ && rules_.poolSize <= 64) {
        // As below for a count alone: the taken numbers in ascending order, each adding the ways
        // to have left it.
        const bool allFixed = rules_.form == FixedForm::All;
        uint64_t bits = 0;
        for (int i = 0; i < rules_.pickCount; ++i) bits |= uint64_t{1} << (numbers[i] - 1);
        WideCount below = 0;
        for (int c = 1; bits != 0; ++c, bits &= bits - 1) {
            const int v = std::countr_zero(bits) + 1;
            if (!allFixed || !isFixed_[v]) below += table_[(v - 1) * layer_ + c];
        }
        cls = 0;
        u = below;
        return;
    }
    bool chosen[MaxNumber + 1] = {};
    for (int i = 0; i < rules_.pickCount; ++i) chosen[numbers[i]] = true;
    if (!runInState_) {
        // Without run lengths a left number keeps the state, so only the taken numbers add to
        // the rank: the ways to have left each of them, in the order the table decides them.
        State state{};
        WideCount below = 0;
        for (int step = 1; step <= rules_.poolSize; ++step) {
            const int v = order_[step];
            if (!chosen[v]) continue;
            state = Taken(v, state);
            if (CanLeave(v)) below += At(step - 1, Index(state.c, state.f, state.s, state.o, 0));
        }
        cls = rules_.form == FixedForm::Some ? state.f - rules_.fixedMin : 0;
        const std::vector<std::size_t>& finals = finals_[cls];
        const std::size_t finalIndex = Index(state.c, state.f, state.s, state.o, 0);
        const std::size_t j =
            std::lower_bound(finals.begin(), finals.end(), finalIndex) - finals.begin();
        u = (j > 0 ? finalEnds_[cls][j - 1] : 0) + below;
        return;
    }
    const int n = rules_.poolSize;
    std::array<State, MaxNumber + 1> states{};
    for (int step = 1; step <= n; ++step) {
        const int v = order_[step];
        if (chosen[v]) {
            states[step] = Taken(v, states[step - 1]);
        } else {
            states[step] = states[step - 1];
            states[step].r = 0;
        }
    }
    const State& last = states[n];
    const std::size_t finalIndex = Index(last.c, last.f, last.s, last.o, last.r);
    cls = rules_.form == FixedForm::Some ? last.f - rules_.fixedMin : 0;
    const std::vector<std::size_t>& finals = finals_[cls];
    const std::size_t j =
        std::lower_bound(finals.begin(), finals.end(), finalIndex) - finals.begin();
    u = j > 0 ? finalEnds_[cls][j - 1] : 0;
    for (int step = n; step >= 1; --step) {
        const int v = order_[step];
        const State& s = states[step];
        if (chosen[v]) continue;
        for (int r = 0; r < states[step - 1].r; ++r)
            u += At(step - 1, Index(s.c, s.f, s.s, s.o, r));
    }
}

std::array<double, MaxNumber + 1> PassingSets::InclusionProbabilities() const {
    std::array<double, MaxNumber + 1> p{};
    if (tooLarge_ || Total() == 0) return p;
    if (reachable_) {
        std::vector<double> weight(classCount_, 1.0);
        if (rules_.form == FixedForm::Some) {
            for (int cls = 0; cls < classCount_; ++cls) {
                weight[cls] = 1.0 / static_cast<double>(classSpace_[cls]);
            }
        }
        return reachable_->Inclusion(weight);
    }
    const int n = rules_.poolSize;
    // after[index]: the weight of the passing lines that complete a state, each weighted by its
    // probability under the unfiltered drawing (relative).
    std::vector<double> after(layer_), before(layer_);
    double total = 0;
    for (std::size_t index = 0; index < layer_; ++index) {
        const State s = Decode(index);
        if (!Accepted(s)) continue;
        after[index] = rules_.form == FixedForm::Some
                           ? 1.0 / static_cast<double>(classSpace_[s.f - rules_.fixedMin])
                           : 1.0;
        total += static_cast<double>(At(n, index)) * after[index];
    }
    for (int step = n; step >= 1; --step) {
        const int v = order_[step];
        if (step == oddCheckStep_) {
            for (std::size_t index = 0; index < layer_; ++index) {
                if (DiesAt(step, Decode(index))) after[index] = 0;
            }
        }
        double taking = 0;
        for (std::size_t index = 0; index < layer_; ++index) {
            const State s = Decode(index);
            double weight = CanLeave(v) ? after[Index(s.c, s.f, s.s, s.o, 0)] : 0.0;
            if (CanTake(v, s)) {
                const State t = Taken(v, s);
                const double taken = after[Index(t.c, t.f, t.s, t.o, t.r)];
                weight += taken;
                taking += static_cast<double>(At(step - 1, index)) * taken;
            }
            before[index] = weight;
        }
        p[v] = taking / total;
        after.swap(before);
    }
    return p;
}

}  // namespace combogen
