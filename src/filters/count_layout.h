// What the counts of passing lines keep in a state while the numbers 1..n are decided one at a
// time, each taken or left, and in which order they decide them: arranged once from the
// filters' rows, for the full table and the reachable counts alike.
//
// A state holds the count taken c, how many of them are fixed f (eight-argument runs), up to
// two totals a and b of the Total filters (a sum, an odd count; above the filter's maximum is
// dead) and the run r of taken numbers ending at the last number decided (with a Run filter;
// longer than allowed is dead). Without a run kept, a Total filter whose weights are 0 or 1 is
// kept in no part of the state: the numbers of weight 1 are decided first, so that its total is
// the count taken when the last of them is decided, and the states outside its range die there.
// A filter that every line meets is left out, and a Barred one only stops numbers being taken.
#pragma once

#include <array>

#include "filters/line_rules.h"

namespace combogen {

struct CountState {
    int c = 0, f = 0, a = 0, b = 0, r = 0;
};

struct CountLayout {
    static constexpr int MaxTotals = 2;
    // A total kept in the state; one that is not kept weighs nothing and passes at 0.
    struct Total {
        std::array<int, MaxNumber + 1> weight{};
        CountRange range{};
        int extent = 1;  // totals 0..extent-1 fit the full table
    };

    explicit CountLayout(const LineRules& rules);

    CountState Taken(int v, CountState from) const {
        from.c += 1;
        from.f += fixedStep[v];
        from.a += totals[0].weight[v];
        from.b += totals[1].weight[v];
        from.r += runInState;
        return from;
    }
    bool CanLeave(int v) const { return !(rules.form == FixedForm::All && fixed[v]); }
    // Whether the final state s (k taken) passes what the state keeps.
    bool Accepted(const CountState& s) const {
        return s.c == rules.pickCount && s.a >= totals[0].range.min && s.b >= totals[1].range.min &&
               (rules.form != FixedForm::Some || s.f >= rules.fixedMin);
    }
    // Whether the count taken dies after step (outside the range checked by the order).
    bool DiesAt(int step, int c) const {
        return step == checkStep && (c < checkRange.min || c > checkRange.max);
    }
    // The states after each step of the walk that takes the numbers chosen, into states[0..n].
    void Walk(const bool* chosen, CountState* states) const;

    LineRules rules;  // with the filters that every line meets left out
    std::array<bool, MaxNumber + 1> fixed{}, barred{};
    std::array<int, MaxNumber + 1> fixedStep{};  // 1 for a fixed number in an eight-argument run
    std::array<int, MaxNumber + 1> order{};      // order[step]: the number decided at that step
    std::array<Total, MaxTotals> totals{};
    int totalsKept = 0;
    bool runInState = false;
    int runLimit = 0;    // the longest run allowed, when kept
    int checkStep = -1;  // the step after which the count taken must lie within checkRange
    CountRange checkRange{};
};

}  // namespace combogen
