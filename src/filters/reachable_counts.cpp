#include "filters/reachable_counts.h"

#include <algorithm>

#include "combination/binomial.h"

namespace combogen {

namespace {

// What the numbers on one side of a step offer.
struct Side {
    int allowed = 0, forced = 0, fixed = 0, free = 0;
    // Per total, the weights of the allowed numbers, ascending.
    std::array<std::vector<int>, CountLayout::MaxTotals> weights;
    int Least(int t, int j) const {
        int sum = 0;
        for (int i = 0; i < j; ++i) sum += weights[t][i];
        return sum;
    }
    int Most(int t, int j) const {
        int sum = 0;
        for (int i = 0; i < j; ++i) sum += weights[t][weights[t].size() - 1 - i];
        return sum;
    }
};

Side SideOf(const CountLayout& layout, int from, int to) {
    Side side;
    for (int step = from; step <= to; ++step) {
        const int v = layout.order[step];
        if (layout.barred[v]) continue;
        ++side.allowed;
        side.forced += !layout.CanLeave(v);
        (layout.fixed[v] ? side.fixed : side.free) += 1;
        for (int t = 0; t < CountLayout::MaxTotals; ++t) {
            side.weights[t].push_back(layout.totals[t].weight[v]);
        }
    }
    for (std::vector<int>& weights : side.weights) std::sort(weights.begin(), weights.end());
    return side;
}

}  // namespace

int ReachableCounts::CountBytes(const LineRules& rules) {
    return Binomial(rules.poolSize, rules.pickCount) >> 64 == 0 ? 8 : 16;
}

std::vector<ReachableCounts::Box> ReachableCounts::Boxes(const CountLayout& layout,
                                                         uint64_t& entries) {
    const LineRules& rules = layout.rules;
    const int n = rules.poolSize;
    const int k = rules.pickCount;
    const bool some = rules.form == FixedForm::Some;
    std::vector<Box> boxes(std::size_t(n + 1) * (k + 2));
    entries = 0;
    for (int step = 0; step <= n; ++step) {
        const Side done = SideOf(layout, 1, step);
        const Side rest = SideOf(layout, step + 1, n);
        for (int c = 0; c <= k; ++c) {
            const int more = k - c;
            if (c < done.forced || c > done.allowed || more > rest.allowed || more < rest.forced) {
                continue;
            }
            if (layout.DiesAt(step, c)) continue;
            int fLo = 0, fHi = 0;
            if (some) {
                fLo = std::max({0, c - done.free, rules.fixedMin - std::min(more, rest.fixed)});
                fHi = std::min({c, done.fixed, rules.fixedMax - std::max(0, more - rest.free)});
            }
            // A total not kept weighs nothing and lies in 0:0.
            std::array<int, CountLayout::MaxTotals> lo{}, hi{};
            bool empty = fLo > fHi;
            for (int t = 0; t < CountLayout::MaxTotals; ++t) {
                const CountRange& range = layout.totals[t].range;
                lo[t] = std::max(done.Least(t, c), range.min - rest.Most(t, more));
                hi[t] = std::min(done.Most(t, c), range.max - rest.Least(t, more));
                empty = empty || lo[t] > hi[t];
            }
            if (empty) continue;
            Box& box = boxes[std::size_t(step) * (k + 2) + c];
            box.f0 = fLo;
            box.fw = fHi - fLo + 1;
            box.a0 = lo[0];
            box.aw = hi[0] - lo[0] + 1;
            box.b0 = lo[1];
            box.bw = hi[1] - lo[1] + 1;
            box.rw = layout.runInState ? std::min(layout.runLimit, c) + 1 : 1;
            box.base = static_cast<std::size_t>(entries);
            box.bStride = box.rw;
            box.aStride = box.bw * box.bStride;
            box.fStride = box.aw * box.aStride;
            // In 64 bits for the boxes of tables too large to keep; only kept ones are walked.
            box.origin = static_cast<std::ptrdiff_t>(
                static_cast<int64_t>(entries) - int64_t{box.f0} * box.fStride -
                int64_t{box.a0} * box.aStride - int64_t{box.b0} * box.bStride);
            entries += box.Size();
        }
    }
    return boxes;
}

uint64_t ReachableCounts::Entries(const CountLayout& layout) {
    uint64_t entries = 0;
    Boxes(layout, entries);
    return entries;
}

ReachableCounts::ReachableCounts(const CountLayout& layout)
    : layout_(layout), n_(layout.rules.poolSize), k_(layout.rules.pickCount) {
    const LineRules& rules = layout.rules;
    for (int v = 1; v <= n_; ++v) {
        leavable_[v] = layout.CanLeave(v);
        fTaken_[v] = layout.fixedStep[v];
        aTaken_[v] = layout.totals[0].weight[v];
        bTaken_[v] = layout.totals[1].weight[v];
    }
    uint64_t entries = 0;
    boxes_ = Boxes(layout, entries);
    entries_ = static_cast<std::size_t>(entries);
    wide_ = CountBytes(rules) > 8;
    if (wide_) {
        Fill(wideTable_);
    } else {
        Fill(narrowTable_);
    }
    const bool some = rules.form == FixedForm::Some;
    const int classes = some ? rules.fixedMax - rules.fixedMin + 1 : 1;
    finals_.assign(classes, {});
    finalEnds_.assign(classes, {});
    const Box& last = BoxAt(n_, k_);
    const std::size_t perF = std::size_t(last.aw) * last.bw * last.rw;
    for (std::size_t i = 0; i < last.Size(); ++i) {
        const WideCount ways = Count(last.base + i);
        if (ways == 0) continue;
        const int cls = some ? last.f0 + static_cast<int>(i / perF) - rules.fixedMin : 0;
        const WideCount before = finalEnds_[cls].empty() ? 0 : finalEnds_[cls].back();
        finals_[cls].push_back(last.base + i);
        finalEnds_[cls].push_back(before + ways);
    }
}

ReachableCounts::ReachableCounts(const CountLayout& layout, BoxesOnly)
    : layout_(layout), n_(layout.rules.poolSize), k_(layout.rules.pickCount) {
    uint64_t entries = 0;
    boxes_ = Boxes(layout, entries);
    entries_ = static_cast<std::size_t>(entries);
}

std::vector<WideCount> ReachableCounts::Totals(const CountLayout& layout) {
    const LineRules& rules = layout.rules;
    const ReachableCounts counts(layout, BoxesOnly{});
    const int n = counts.n_, k = counts.k_;
    const bool some = rules.form == FixedForm::Some;
    std::vector<WideCount> totals(some ? rules.fixedMax - rules.fixedMin + 1 : 1, 0);
    // A step's boxes lie one after another, so each step is a range of the table's indices.
    std::vector<std::size_t> start(n + 1, 0), size(n + 1, 0);
    std::size_t widest = 0;
    for (int step = 0; step <= n; ++step) {
        bool first = true;
        for (int c = 0; c <= k; ++c) {
            const Box& box = counts.BoxAt(step, c);
            if (box.Size() == 0) continue;
            if (first) start[step] = box.base, first = false;
            size[step] += box.Size();
        }
        widest = std::max(widest, size[step]);
    }
    if (counts.BoxAt(0, 0).Size() == 0 || counts.BoxAt(n, k).Size() == 0) return totals;
    std::vector<WideCount> before(widest, 0), after(widest, 0);
    before[counts.BoxAt(0, 0).Index(CountState{}) - start[0]] = 1;
    for (int step = 1; step <= n; ++step) {
        std::fill(after.begin(), after.begin() + size[step], 0);
        const std::size_t from0 = start[step - 1], to0 = start[step];
        counts.ForEachMove(step, [&](std::size_t from, std::size_t to, bool) {
            after[to - to0] += before[from - from0];
        });
        before.swap(after);
    }
    const Box& last = counts.BoxAt(n, k);
    const std::size_t perF = std::size_t(last.aw) * last.bw * last.rw;
    for (std::size_t i = 0; i < last.Size(); ++i) {
        const int cls = some ? last.f0 + static_cast<int>(i / perF) - rules.fixedMin : 0;
        totals[cls] += before[last.base + i - start[n]];
    }
    return totals;
}

WideCount ReachableCounts::At(int step, const CountState& t) const {
    if (t.c < 0 || t.c > k_) return 0;
    const Box& box = BoxAt(step, t.c);
    return box.Holds(t) ? Count(box.Index(t)) : 0;
}

template <class Visit>
void ReachableCounts::ForEachMove(int step, Visit&& visit) const {
    const int v = layout_.order[step];
    const bool canLeave = layout_.CanLeave(v);
    const bool canTake = !layout_.barred[v];
    for (int c = 0; c <= k_; ++c) {
        const Box& from = BoxAt(step - 1, c);
        if (from.Size() == 0) continue;
        const Box& left = BoxAt(step, c);
        const Box& taken = BoxAt(step, c + 1);
        std::size_t index = from.base;
        CountState s;
        s.c = c;
        for (s.f = from.f0; s.f < from.f0 + from.fw; ++s.f) {
            for (s.a = from.a0; s.a < from.a0 + from.aw; ++s.a) {
                for (s.b = from.b0; s.b < from.b0 + from.bw; ++s.b) {
                    CountState l = s;
                    l.r = 0;
                    const bool leaves = canLeave && left.Holds(l);
                    const std::size_t leftIndex = leaves ? left.Index(l) : 0;
                    for (s.r = 0; s.r < from.rw; ++s.r, ++index) {
                        if (leaves) visit(index, leftIndex, false);
                        if (canTake) {
                            const CountState t = layout_.Taken(v, s);
                            if (taken.Holds(t)) visit(index, taken.Index(t), true);
                        }
                    }
                }
            }
        }
    }
}

template <class Cell>
void ReachableCounts::Fill(std::vector<Cell>& table) {
    table.assign(entries_, 0);
    if (BoxAt(0, 0).Size() == 0) return;
    table[BoxAt(0, 0).Index(CountState{})] = 1;
    for (int step = 1; step <= n_; ++step) {
        ForEachMove(step,
                    [&table](std::size_t from, std::size_t to, bool) { table[to] += table[from]; });
    }
}

void ReachableCounts::Unrank(int cls, WideCount u, Number* out) const {
    if (wide_) {
        layout_.runInState ? UnrankIn<true>(wideTable_.data(), cls, u, out)
                           : UnrankIn<false>(wideTable_.data(), cls, u, out);
    } else {
        layout_.runInState ? UnrankIn<true>(narrowTable_.data(), cls, u, out)
                           : UnrankIn<false>(narrowTable_.data(), cls, u, out);
    }
}

template <bool runs, class Cell>
void ReachableCounts::UnrankIn(const Cell* table, int cls, WideCount rank, Number* out) const {
    const std::vector<WideCount>& ends = finalEnds_[cls];
    const std::size_t j = std::upper_bound(ends.begin(), ends.end(), rank) - ends.begin();
    // Below the final state's count, which fits a cell.
    Cell u = static_cast<Cell>(j > 0 ? rank - ends[j - 1] : rank);
    const Box& last = BoxAt(n_, k_);
    std::size_t at = finals_[cls][j] - last.base;
    // The state, in registers of the index's width; the count taken is left.
    std::ptrdiff_t r = static_cast<std::ptrdiff_t>(at % last.rw);
    at /= last.rw;
    std::ptrdiff_t b = last.b0 + static_cast<std::ptrdiff_t>(at % last.bw);
    at /= last.bw;
    std::ptrdiff_t a = last.a0 + static_cast<std::ptrdiff_t>(at % last.aw);
    std::ptrdiff_t f = last.f0 + static_cast<std::ptrdiff_t>(at / last.aw);
    const int* order = layout_.order.data();
    const std::ptrdiff_t perStep = k_ + 2;
    // The boxes after step - 1; the walk ends at its k-th number taken, never below step 1.
    const Box* row = boxes_.data() + std::ptrdiff_t(n_ - 1) * perStep;
    std::ptrdiff_t left = k_;
    if (left == 0) return;
    for (int step = n_;; --step, row -= perStep) {
        const int v = order[step];
        if constexpr (runs) {
            if (r == 0) {
                // v left, and the run before it may have had any length: those counts lie side
                // by side. The state before is kept, as every state the walk passes through is.
                const Cell* ways = table + row[left].LeftIndex(f, a, b);
                while (u >= ways[r]) u -= ways[r++];
                continue;
            }
            r -= 1;  // v taken: the run before it was one shorter
        } else {
            // v left, unless the count before it says otherwise
            const Box& box = row[left];
            if (leavable_[v] && box.HoldsLeft(f, a, b)) {
                const Cell ways = table[box.LeftIndex(f, a, b)];
                if (u < ways) continue;
                u -= ways;
            }
        }
        out[--left] = static_cast<Number>(v);
        if (left == 0) break;
        f -= fTaken_[v];
        a -= aTaken_[v];
        b -= bTaken_[v];
    }
    if (layout_.checkStep >= 0) std::sort(out, out + k_);
}

void ReachableCounts::Rank(const Number* numbers, int& cls, WideCount& u) const {
    bool chosen[MaxNumber + 1] = {};
    for (int i = 0; i < k_; ++i) chosen[numbers[i]] = true;
    std::array<CountState, MaxNumber + 1> states{};
    layout_.Walk(chosen, states.data());
    const CountState& last = states[n_];
    const LineRules& rules = layout_.rules;
    cls = rules.form == FixedForm::Some ? last.f - rules.fixedMin : 0;
    const std::vector<std::size_t>& finals = finals_[cls];
    const std::size_t index = BoxAt(n_, k_).Index(last);
    const std::size_t j = std::lower_bound(finals.begin(), finals.end(), index) - finals.begin();
    u = j > 0 ? finalEnds_[cls][j - 1] : 0;
    // The ways passed over at each step, in the order Unrank weighs them.
    for (int step = n_; step >= 1; --step) {
        const int v = layout_.order[step];
        const CountState& s = states[step];
        if (layout_.runInState) {
            if (chosen[v]) continue;
            for (int r = 0; r < states[step - 1].r; ++r) {
                CountState before = s;
                before.r = r;
                u += At(step - 1, before);
            }
        } else if (chosen[v] && leavable_[v]) {
            u += At(step - 1, s);
        }
    }
}

std::array<double, MaxNumber + 1> ReachableCounts::Inclusion(
    const std::vector<double>& weight) const {
    std::array<double, MaxNumber + 1> p{};
    std::vector<std::size_t> starts(n_ + 2);
    // Each step's boxes lie together, from the first kept one.
    for (int step = 0; step <= n_; ++step) {
        starts[step] = entries_;
        for (int c = 0; c <= k_; ++c) {
            if (BoxAt(step, c).Size() > 0) {
                starts[step] = BoxAt(step, c).base;
                break;
            }
        }
    }
    starts[n_ + 1] = entries_;
    for (int step = n_; step >= 0; --step) starts[step] = std::min(starts[step], starts[step + 1]);
    const Box& last = BoxAt(n_, k_);
    std::vector<double> after(starts[n_ + 1] - starts[n_]), before;
    double total = 0;
    const std::size_t perF = std::size_t(last.aw) * last.bw * last.rw;
    const LineRules& rules = layout_.rules;
    for (std::size_t i = 0; i < last.Size(); ++i) {
        const int cls = rules.form == FixedForm::Some
                            ? last.f0 + static_cast<int>(i / perF) - rules.fixedMin
                            : 0;
        after[last.base + i - starts[n_]] = weight[cls];
        total += static_cast<double>(Count(last.base + i)) * weight[cls];
    }
    if (total == 0) return p;
    for (int step = n_; step >= 1; --step) {
        before.assign(starts[step] - starts[step - 1], 0.0);
        double taking = 0;
        const std::size_t from0 = starts[step - 1], to0 = starts[step];
        ForEachMove(step, [&](std::size_t from, std::size_t to, bool taken) {
            const double a = after[to - to0];
            before[from - from0] += a;
            if (taken) taking += static_cast<double>(Count(from)) * a;
        });
        p[layout_.order[step]] = taking / total;
        after.swap(before);
    }
    return p;
}

}  // namespace combogen
